// The stage flow: StageInit's order and every way out of it, the hand-over of StageComplete,
// progress and clear marks, the banners, the ending's runner.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "StageFixture.h"
#include "core/GameRandom.h"
#include "core/Layers.h"
#include "core/TaskQuery.h"
#include "effects/BlackFrame.h"
#include "enemy/Bullet.h"
#include "enemy/ShadowRender.h"
#include "panels/ComboFrame.h"
#include "panels/LaserFrame.h"
#include "panels/OutFrame.h"
#include "player/Pickups.h"
#include "player/PlayerBase.h"
#include "player/PlayerCollision.h"
#include "player/PlayerShadowRender.h"
#include "replay/ReplayLoad.h"
#include "resources/ImageSlots.h"
#include "screens/NameEntry.h"
#include "screens/TitleInit.h"
#include "stage/Back.h"
#include "stage/Ending.h"
#include "stage/StageBanners.h"
#include "stage/StageControl.h"
#include "stage/StageInit.h"
#include "stage/StageOverlays.h"

namespace vg {
namespace {

using testing::countTasks;
using testing::findTask;

PlayerRecord record(uint8_t ship, int8_t lives, int32_t score = 0) {
    PlayerRecord r;
    r.shipType = ship;
    r.lives = lives;
    r.bombs = 3;
    r.energy = 32;
    r.score = score;
    r.finalScore = score;
    return r;
}

class StageFlowTest : public testing::StageTest {
  protected:
    // A recorded full game at `stage` with one player, StageInit run by hand (no frame).
    StageInit& prepare(uint8_t stage, uint8_t playMode = 0) {
        makeHost();
        System& s = system();
        s.stageIndex = stage;
        s.playMode = playMode;
        s.replay.recording = 1;
        s.replay.playingBack = 0;
        s.playerRecord[0] = record(0, 2);
        s.playerRecord[1] = PlayerRecord{};
        return *s.spawnFront<StageInit>(layer::kScreens);
    }
    // Layer of the first live T, or -1.
    template <class T>
    int layerOf() {
        T* task = findTask<T>(system());
        return task ? task->layer : -1;
    }
};

TEST_F(StageFlowTest, StageInitBuildsAStageInItsOrder) {
    StageInit& init = prepare(0);
    System& s = system();
    s.fieldScroll = 0;
    s.shakeOffsetX = 5 << 16;
    for (int i = 0; i < 7; ++i) gameRandom().randomNext();
    init.update();

    EXPECT_EQ(init.state, kTaskEnded);
    EXPECT_EQ(s.fieldView, 1);
    EXPECT_EQ(s.inStage, 1);
    EXPECT_EQ(s.playMode, 0);
    EXPECT_EQ(s.fieldScroll, 16 << 16);
    EXPECT_EQ(s.shakeOffsetX, 0);
    GameRandom fresh;
    fresh.randomSeed(4357);
    EXPECT_EQ(gameRandom().randomNext(), fresh.randomNext()) << "re-seeded with 4357";

    EXPECT_EQ(layerOf<PlayerCollision>(), layer::kPlayerCollision);
    EXPECT_EQ(layerOf<ComboFrame>(), layer::kFrame);
    EXPECT_EQ(layerOf<LaserFrame>(), layer::kFrame);
    EXPECT_EQ(layerOf<BlackFrame>(), layer::kFrame);
    EXPECT_EQ(layerOf<OutFrame>(), layer::kOutFrame);
    EXPECT_EQ(layerOf<StageControl>(), layer::kStageControl);
    EXPECT_EQ(layerOf<StageTop>(), layer::kBanner);
    EXPECT_EQ(findTask<StageTop>(s)->stageIndex, 0);
    // Each added to the front: the last made comes first.
    EXPECT_NE(dynamic_cast<BlackFrame*>(s.firstOfLayer(layer::kFrame)), nullptr);
    // No data.pck here: no script, and the stage runs all the same.
    EXPECT_TRUE(findTask<StageControl>(s)->events.empty());
    EXPECT_TRUE(s.imageSlots[kSlotBackground].empty());

    // The shadows, front of layer 11 in the order PlayerShadow, Shadow, ItemShadow.
    std::vector<std::string> shadows;
    for (Task* t = s.firstOfLayer(layer::kShadow); t && t->layer == layer::kShadow; t = t->next) {
        if (dynamic_cast<PlayerShadowRender*>(t)) shadows.push_back("player");
        if (dynamic_cast<ShadowRender*>(t)) shadows.push_back("enemy");
        if (dynamic_cast<ItemShadowRender*>(t)) shadows.push_back("item");
    }
    EXPECT_EQ(shadows, (std::vector<std::string>{"item", "enemy", "player"}));

    const PlayerBase* ship = PlayerBase::find(s, 0);
    ASSERT_NE(ship, nullptr);
    EXPECT_EQ(ship->lifeState, PlayerState::Waiting);
    EXPECT_EQ(ship->stateTimer, 148);
    EXPECT_EQ(ship->lives, 2);
    EXPECT_EQ(PlayerBase::find(s, 1), nullptr);

    // The stage keeps running without its files.
    host->run(300);
    EXPECT_EQ(s.fieldView, 1);
    EXPECT_EQ(s.stageStarted, 1);
    EXPECT_EQ(findTask<StageControl>(s)->eventClock, 300);
}

// The stage-specific tasks of every stage index.
TEST_F(StageFlowTest, StageSpecificTasksTable) {
    struct Case {
        uint8_t stage;
        int backVariant;
        bool stage2Effect;
        bool stage3Effect;
        bool backOver;
        int shadows;
    };
    const Case cases[] = {
        {0, 0, false, false, false, 3}, {1, 0, true, false, false, 3},
        {2, 0, false, true, false, 0},  {3, 1, false, false, true, 3},
        {4, 0, false, false, false, 3},
    };
    for (const Case& c : cases) {
        prepare(c.stage).update();
        System& s = system();
        const Back* back = findTask<Back>(s);
        ASSERT_NE(back, nullptr) << int{c.stage};
        EXPECT_EQ(back->variant, c.backVariant) << int{c.stage};
        EXPECT_EQ(findTask<ScreenEffectStage2>(s) != nullptr, c.stage2Effect) << int{c.stage};
        EXPECT_EQ(findTask<ScreenEffectStage3>(s) != nullptr, c.stage3Effect) << int{c.stage};
        EXPECT_EQ(findTask<BackOver>(s) != nullptr, c.backOver) << int{c.stage};
        if (c.backOver) {
            // In front of the Back in layer 1, so drawn under it.
            EXPECT_NE(dynamic_cast<BackOver*>(s.firstOfLayer(layer::kBack)), nullptr);
        }
        int shadowTasks = 0;
        forEachInLayer<Task>(s, layer::kShadow, [&](Task&) { ++shadowTasks; });
        EXPECT_EQ(shadowTasks, c.shadows) << int{c.stage};
    }
}

TEST_F(StageFlowTest, ShipsOnlyForPresentPlayersOfARealType) {
    struct Case {
        PlayerRecord player1;
        bool present;
    };
    const Case cases[] = {
        {record(1, 0), true},    {record(3, 4), true},
        {record(255, 2), false},  // what a one-player game used to leave in the second record
        {record(4, 2), false},   {record(1, -1), false},
    };
    for (const Case& c : cases) {
        StageInit& init = prepare(0);
        system().playerRecord[1] = c.player1;
        init.update();
        EXPECT_EQ(PlayerBase::find(system(), 1) != nullptr, c.present)
            << int{c.player1.shipType} << " lives " << int{c.player1.lives};
    }
}

TEST_F(StageFlowTest, SingleStagePlayBeginsThenEndsAtNameEntry) {
    StageInit& init = prepare(2, 1);
    init.update();
    EXPECT_EQ(system().playMode, 2);
    EXPECT_NE(findTask<StageControl>(system()), nullptr);
    // The StageInit after that stage: name entry; nothing recorded.
    system().config.furthestStage = 1;
    system().stageIndex = 3;
    system().endAll();
    StageInit* next = system().spawnFront<StageInit>(layer::kScreens);
    next->update();
    EXPECT_NE(dynamic_cast<NameEntryInit*>(system().firstOfLayer(layer::kScreens)), nullptr);
    EXPECT_EQ(system().config.furthestStage, 1);
    EXPECT_EQ(system().config.gameCleared, 0);
}

TEST_F(StageFlowTest, WaysOutWithoutAStage) {
    struct Case {
        const char* name;
        uint8_t stage;
        uint8_t playMode;
        uint8_t recording;
        uint8_t playingBack;
        bool stageBuilt;
        enum Next { Title, NameEntry, Replays } next;
    };
    const Case cases[] = {
        {"replay stage without a record: back to the replays", 1, 0, 0, 1, false, Case::Replays},
        {"replay past its last stage", 5, 0, 0, 1, false, Case::Replays},
        {"neither recording nor playing back after the game", 5, 0, 0, 0, false, Case::Title},
        {"neither, single stage over", 0, 2, 0, 0, false, Case::Title},
        {"recorded full game finished: the ending (no ending.dat: name entry)", 5, 0, 1, 0, false,
         Case::NameEntry},
    };
    for (const Case& c : cases) {
        StageInit& init = prepare(c.stage, c.playMode);
        system().replay.recording = c.recording;
        system().replay.playingBack = c.playingBack;
        init.update();
        EXPECT_EQ(findTask<StageControl>(system()) != nullptr, c.stageBuilt) << c.name;
        Task* next = system().firstOfLayer(layer::kScreens);
        switch (c.next) {
            case Case::Replays:
                EXPECT_NE(dynamic_cast<ReplayLoadInit*>(next), nullptr) << c.name;
                break;
            case Case::NameEntry:
                EXPECT_NE(dynamic_cast<NameEntryInit*>(next), nullptr) << c.name;
                break;
            case Case::Title:
                EXPECT_NE(dynamic_cast<TitleInit*>(next), nullptr) << c.name;
                break;
        }
        EXPECT_EQ(system().inStage, 0) << c.name;
    }
}

TEST_F(StageFlowTest, APlayedBackStageStartsFromItsRecordedRecords) {
    makeHost();
    System& s = system();
    // Record a short stage 1 with player 0 on 4 lives.
    s.replay.Reset();
    s.replay.recording = 1;
    s.replay.BeginStage(1, 1, record(2, 4, 500), PlayerRecord{});
    for (int i = 0; i < 30; ++i) {
        uint8_t input0 = 0x10;
        uint8_t input1 = 0;
        s.replay.Step(input0, input1);
    }
    s.replay.EndStage(900, 0, 1);
    ASSERT_TRUE(s.replay.HasStage(1));
    s.replay.recording = 0;
    s.replay.playingBack = 1;
    s.stageIndex = 1;
    s.playMode = 0;
    s.playerRecord[0] = record(0, 1, 77);  // what the last stage left: not what was recorded
    s.spawnFront<StageInit>(layer::kScreens)->update();
    const PlayerBase* ship = PlayerBase::find(s, 0);
    ASSERT_NE(ship, nullptr);
    EXPECT_EQ(ship->lives, 4);
    EXPECT_EQ(ship->score, 500);
    EXPECT_EQ(PlayerBase::find(s, 1), nullptr);
}

TEST_F(StageFlowTest, AFinishedGameSetsItsClearMarks) {
    StageInit& init = prepare(5);
    System& s = system();
    s.difficulty = 2;
    s.playerRecord[0] = record(1, 0, 123450);
    s.playerRecord[1] = record(3, 1, 123451);  // continued: its score ends in the count
    init.update();
    EXPECT_EQ(s.config.gameCleared, 1);
    EXPECT_EQ(s.config.extraCleared, 0);
    EXPECT_EQ(s.config.clearMarks[2], 1 << 1);
    EXPECT_EQ(s.config.furthestStage, 4);

    // Extra clears Extra; an absent player (ship 255, or lives -1) marks nothing.
    StageInit& extra = prepare(5);
    system().difficulty = 3;
    system().playerRecord[0] = record(255, 2, 1000);
    system().playerRecord[1] = record(2, -1, 1000);
    extra.update();
    EXPECT_EQ(system().config.extraCleared, 1);
    EXPECT_EQ(system().config.clearMarks[3], 0);
    for (int d = 0; d < 5; ++d) {
        if (d != 3) {
            EXPECT_EQ(system().config.clearMarks[d], 0) << d;
        }
    }

    // Not recording (a replay): nothing is recorded.
    StageInit& replay = prepare(5);
    system().replay.recording = 0;
    system().playerRecord[0] = record(0, 1, 10);
    replay.update();
    EXPECT_EQ(system().config.gameCleared, 0);
    EXPECT_EQ(system().config.clearMarks[0], 0);
}

TEST_F(StageFlowTest, FurthestStageNeverDecreases) {
    struct Step {
        uint8_t stage;
        uint8_t playMode;
        uint8_t recording;
        uint8_t expected;
    };
    // One System through several starts.
    makeHost();
    System& s = system();
    const Step steps[] = {
        {0, 0, 1, 0}, {1, 0, 1, 0}, {3, 0, 1, 2}, {1, 0, 1, 2}, {4, 1, 1, 2},  // single stage
        {4, 2, 1, 2}, {4, 0, 0, 2},                                            // a replay
        {5, 0, 1, 4},
    };
    for (const Step& step : steps) {
        s.stageIndex = step.stage;
        s.playMode = step.playMode;
        s.replay.recording = step.recording;
        s.replay.playingBack = step.recording ? 0 : 1;
        s.playerRecord[0] = record(0, 1);
        StageInit* init = s.spawnFront<StageInit>(layer::kScreens);
        init->update();
        EXPECT_EQ(s.config.furthestStage, step.expected) << int{step.stage};
        s.endAll();
        host->run(1);
    }
}

TEST_F(StageFlowTest, StageCompleteSurvivesItsOwnClearingAndHandsOver) {
    prepare(0).update();
    System& s = system();
    host->run(200);
    ASSERT_EQ(s.stageStarted, 1);
    PlayerBase* ship = PlayerBase::find(s, 0);
    ASSERT_NE(ship, nullptr);
    ship->score = 4560;
    ship->lives = 5;
    s.spawnFront<StageComplete>(layer::kBanner);

    host->run(1);  // update 0
    EXPECT_EQ(s.stageStarted, 0);
    EXPECT_EQ(s.inStage, 0);
    EXPECT_EQ(ship->lifeState, PlayerState::Autopilot);
    EXPECT_EQ(s.playerRecord[0].score, 4560);
    EXPECT_EQ(s.playerRecord[0].finalScore, 4560);
    EXPECT_EQ(s.playerRecord[0].lives, 5);
    EXPECT_EQ(s.playerRecord[0].shipType, ship->shipType());

    host->run(31);  // updates 1..31: layers 0..28 end on the last
    StageComplete* complete = findTask<StageComplete>(s);
    ASSERT_NE(complete, nullptr) << "layer 29 is spared by the clearing of 0..28";
    EXPECT_EQ(complete->counter, 32);
    int live = 0;
    for (int l = 0; l <= layer::kFrame; ++l) live += countInLayer<Task>(s, l);
    EXPECT_EQ(live, 0);
    EXPECT_EQ(s.stageIndex, 0);

    host->run(1);  // update 32
    EXPECT_EQ(s.stageIndex, 1);
    EXPECT_EQ(findTask<StageComplete>(s), nullptr);
    EXPECT_NE(dynamic_cast<StageInit*>(s.head()->next), nullptr) << "at the very front";
    host->run(1);
    EXPECT_NE(findTask<ScreenEffectStage2>(s), nullptr) << "the second stage started";
}

// In a game of two, a player whose last ship was lost during the stage leaves the game at its
// end: the next stage starts without that ship, carrying the score it reached.
TEST_F(StageFlowTest, APlayerOutOfShipsIsNotBackAtTheNextStage) {
    StageInit& init = prepare(0);
    System& s = system();
    s.playerRecord[1] = record(1, 2);
    init.update();
    host->run(200);
    PlayerBase* second = PlayerBase::find(s, 1);
    ASSERT_NE(second, nullptr);
    second->score = 9870;
    second->lives = 0;
    second->hit();
    host->runUntil([&] { return PlayerBase::find(s, 1) == nullptr; }, 200);
    ASSERT_EQ(PlayerBase::find(s, 1), nullptr);
    s.spawnFront<StageComplete>(layer::kBanner);
    host->run(1);
    EXPECT_EQ(s.playerRecord[1].lives, -1);
    EXPECT_EQ(s.playerRecord[1].score, 9870);
    EXPECT_GE(s.playerRecord[0].lives, 0);
    host->runUntil([&] { return findTask<StageTop>(s) && s.stageIndex == 1; }, 100);
    host->run(1);
    EXPECT_NE(PlayerBase::find(s, 0), nullptr);
    EXPECT_EQ(PlayerBase::find(s, 1), nullptr);
}

TEST_F(StageFlowTest, AScriptedGameRunsThroughEveryStageToTheEnd) {
    prepare(0);
    System& s = system();
    s.testStageScript =
        writeScript("quick.dat", "0,MAP_POS_Y,100\n40,WARNING,0\n200,STAGE_COMPLETE\n");
    std::vector<uint8_t> stagesSeen;
    const bool finished = host->runUntil(
        [&] {
            if (const StageTop* top = findTask<StageTop>(s)) {
                if (stagesSeen.empty() || stagesSeen.back() != top->stageIndex) {
                    stagesSeen.push_back(top->stageIndex);
                }
            }
            return findTask<NameEntry>(s) != nullptr;
        },
        5 * 400);
    ASSERT_TRUE(finished);
    EXPECT_EQ(stagesSeen, (std::vector<uint8_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(s.stageIndex, 5);
    EXPECT_EQ(s.config.gameCleared, 1);
    EXPECT_EQ(s.config.furthestStage, 4);
}

TEST_F(StageFlowTest, StageTopCancelsBulletsAndStartsTheStageAfter182Updates) {
    makeHost();
    System& s = system();
    StageTop* top = s.spawnFront<StageTop>(layer::kBanner, uint8_t{3});
    Bullet* bullet = fireAngled(s, 100 << 16, 100 << 16, 90 << 16, 1 << 16, 0, -1);
    ASSERT_NE(bullet, nullptr);
    int updates = 0;
    while (top->isLive() && updates < 500) {
        top->update();
        ++updates;
        if (updates == 1) {
            EXPECT_EQ(bullet->type, kBulletCancelled);
        }
        if (updates == 181) {
            EXPECT_EQ(s.stageStarted, 0);
        }
    }
    EXPECT_EQ(updates, 182);
    EXPECT_EQ(s.stageStarted, 1);
}

TEST_F(StageFlowTest, WarningLivesItsCourseAndAFrozenBannerDrawsNoNumbers) {
    makeHost();
    System& s = system();
    Warning* warning = s.spawnFront<Warning>(layer::kBanner);
    int updates = 0;
    while (warning->isLive() && updates < 500) {
        warning->update();
        ++updates;
        if (updates == 50) {
            GameRandom before = gameRandom();
            warning->draw(s.playField);
            EXPECT_NE(gameRandom().index(), before.index()) << "jitter draws numbers";
            warning->state = kTaskFrozen;
            const int32_t jitter0 = warning->jitter[0];
            before = gameRandom();
            warning->draw(s.playField);
            EXPECT_EQ(gameRandom().index(), before.index()) << "a frozen banner takes none";
            EXPECT_EQ(warning->jitter[0], jitter0);
            warning->state = kTaskActive;
        }
    }
    EXPECT_EQ(updates, 129);
}

TEST_F(StageFlowTest, EndingRunnerFinishesOnANewPressAfter64FramesThenGoesToNameEntry) {
    makeHost();
    System& s = system();
    EndingRunner* runner = s.spawnFront<EndingRunner>(layer::kFrame);
    host->press("Z");
    host->run(70);
    EXPECT_EQ(runner->finished, 0) << "a held button is no press";
    host->release("Z");
    host->run(1);
    host->press("X");
    host->run(1);
    EXPECT_EQ(runner->finished, 1);
    EXPECT_TRUE(host->runUntil([&] { return findTask<NameEntry>(s) != nullptr; }, 70));
    EXPECT_EQ(findTask<EndingRunner>(s), nullptr);
}

TEST_F(StageFlowTest, EndingRunnerScattersRipplesFromTheGenerator) {
    makeHost();
    System& s = system();
    EndingRunner* runner = s.spawnFront<EndingRunner>(layer::kFrame);
    gameRandom().randomSeed(4357);
    for (int i = 0; i < 400; ++i) runner->draw(s.playField);
    const int ripples = countInLayer<Task>(s, layer::kRipple);
    // One in sixteen frames on average.
    EXPECT_GT(ripples, 10);
    EXPECT_LT(ripples, 50);
}

}  // namespace
}  // namespace vg
