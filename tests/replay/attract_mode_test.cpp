// The attract mode in the real game: the title left alone starts the demo of the next demo
// stage, the demo plays the recorded input with the pause shut, and it ends after 3600 updates,
// on Escape or a player's Shot or Bomb, or at once without a demo.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "ReplayScreenFixture.h"
#include "core/Layers.h"
#include "core/System.h"
#include "replay/AttractMode.h"
#include "replay/ReplayLoad.h"
#include "screens/ChooseLevel.h"
#include "screens/Title.h"
#include "screens/TitleInit.h"
#include "stage/StageControl.h"

namespace vg {
namespace {

using namespace vg::testing;

const std::string kDemo = "replay/demo.rpl";

class AttractModeTest : public ReplayScreenTest {
  protected:
    void toTitle() {
        makeHost(true);
        ASSERT_TRUE(runUntil([&] { return findTask<Title>(system()) != nullptr; }, 400));
        host->run(3);
    }
    bool onTitle() { return findTask<Title>(system()) && !findTask<AttractMode>(system()); }
    // The title's countdown run out: the demo starts on the next frame. The attract mode made
    // (it may have ended at once), or null.
    AttractMode* startDemo() {
        system().idleCountdown = 1;
        runUntil([&] { return system().firstOfLayer(layer::kAttract) != nullptr; }, 5);
        return dynamic_cast<AttractMode*>(system().firstOfLayer(layer::kAttract));
    }
};

TEST_F(AttractModeTest, TheTitleLeftAloneShowsTheDemoForSixtySeconds) {
    ASSERT_TRUE(writeReplay(kDemo, {3700, 3700, 3700}, 1, "DEMO", 0));
    toTitle();
    const int32_t countdown = system().idleCountdown;
    EXPECT_GT(countdown, Title::kIdleFrames - 5);
    // 600 title frames without a menu action, then the System's frame step starts the demo.
    const uint32_t before = host->framesRun();
    ASSERT_TRUE(runUntil([&] { return findTask<AttractMode>(system()) != nullptr; }, 700));
    EXPECT_EQ(host->framesRun() - before, static_cast<uint32_t>(countdown + 1));
    AttractMode* demo = findTask<AttractMode>(system());
    ASSERT_NE(demo, nullptr);
    EXPECT_EQ(demo->layer, layer::kAttract);
    EXPECT_EQ(demo->demoStage, 0);
    EXPECT_EQ(system().demoIndex, 1);

    // The stage start clears every layer but the attract mode's.
    host->run(2);
    System& s = system();
    ASSERT_NE(findTask<StageControl>(s), nullptr);
    EXPECT_EQ(findTask<Title>(s), nullptr);
    EXPECT_EQ(findTask<AttractMode>(s), demo);
    EXPECT_EQ(s.replay.playingBack, 1);
    EXPECT_EQ(s.stageIndex, 0);
    EXPECT_EQ(s.difficulty, 1);
    EXPECT_EQ(s.keyRecords[0].buttons, kButtonShot) << "the demo's input plays";
    EXPECT_EQ(s.keyRecords[1].buttons, 0);
    // The pause stays shut, and a direction or the pause key does not end the demo.
    EXPECT_EQ(s.inStage, 0);
    press("V");
    press("Up");
    EXPECT_EQ(s.firstOfLayer(layer::kPause), nullptr);
    EXPECT_EQ(findTask<AttractMode>(s), demo);

    // Back to the title once 3600 updates have passed.
    ASSERT_TRUE(runUntil([&] { return findTask<TitleInit>(s) != nullptr; }, 4000));
    EXPECT_EQ(demo->frame, AttractMode::kDuration + 1);
    host->run(2);
    EXPECT_TRUE(onTitle());
    EXPECT_EQ(s.replay.playingBack, 0);
    EXPECT_EQ(s.fieldView, 0);
}

TEST_F(AttractModeTest, ShotBombOrEscapeEndTheDemoAndTheDemoStagesTakeTurns) {
    ASSERT_TRUE(writeReplay(kDemo, {3700, 3700, 3700}, 1, "DEMO", 0));
    toTitle();
    struct Case {
        const char* key;
        bool interrupts;
    };
    // Z and X are player 1's Shot and Bomb, Q and W player 2's; C (Auto), the arrows and V
    // (Pause) do not end the demo.
    const Case cases[] = {{"Z", true}, {"C", false},    {"X", true},   {"Left", false}, {"Q", true},
                          {"W", true}, {"Down", false}, {"Esc", true}, {"V", false}};
    std::vector<int> stages;
    for (const Case& c : cases) {
        AttractMode* demo = startDemo();
        ASSERT_NE(demo, nullptr) << c.key;
        stages.push_back(demo->demoStage);
        host->run(30);
        host->tap(c.key);
        EXPECT_EQ(findTask<TitleInit>(system()) != nullptr, c.interrupts) << c.key;
        if (!c.interrupts) {
            // Ended by hand, to go on with the next case.
            host->press("Esc");
            host->run(1);
            host->release("Esc");
        }
        ASSERT_TRUE(runUntil([&] { return onTitle(); }, 5)) << c.key;
        host->run(2);
    }
    EXPECT_EQ(stages, (std::vector<int>{0, 1, 2, 0, 1, 2, 0, 1, 2}));
}

TEST_F(AttractModeTest, WithoutTheDemoOrItsStageTheTitleComesBackAtOnce) {
    // No demo file.
    toTitle();
    ASSERT_NE(startDemo(), nullptr);
    EXPECT_NE(findTask<TitleInit>(system()), nullptr);
    EXPECT_EQ(findTask<StageControl>(system()), nullptr);
    ASSERT_TRUE(runUntil([&] { return onTitle(); }, 3));

    // A demo without the second demo stage: the first plays, the second returns at once.
    ASSERT_TRUE(writeReplay(kDemo, {3700}, 1, "DEMO", 0));
    host->run(2);
    AttractMode* demo = startDemo();
    ASSERT_NE(demo, nullptr);
    EXPECT_EQ(demo->demoStage, 1);
    EXPECT_NE(findTask<TitleInit>(system()), nullptr);
    EXPECT_EQ(system().replay.playingBack, 0);
}

// The demo plays on its own difficulty, stage, ships, play mode and play settings; when it ends
// the player's are back: "Hard" chosen before the demo is what GAME START offers after it.
TEST_F(AttractModeTest, AnInterruptedDemoGivesThePlayerTheirChoiceBack) {
    ASSERT_TRUE(writeReplay(kDemo, {3700, 3700, 3700}, 1, "DEMO", 0));
    toTitle();
    System& s = system();
    // "Hard" chosen at GAME START, then back to the title.
    press("Z");
    ASSERT_TRUE(runUntil([&] { return findTask<ChooseLevel>(s) != nullptr; }, 100));
    host->run(2);
    press("Down");
    press("Down");
    ASSERT_EQ(s.difficulty, 2);
    press("X");
    ASSERT_TRUE(runUntil([&] { return onTitle(); }, 100));
    host->run(2);
    // What a game left behind, and the player's own settings.
    s.stageIndex = 3;
    s.playMode = 1;
    s.playerRecord[0] = newPlayer(2);
    s.playerRecord[0].score = 4321;
    s.playerRecord[1] = newPlayer(3);
    s.config.buzz = 1;
    s.config.opticalEffect = 1;
    s.config.bulletChangeCount = 1;
    const std::array<PlayerRecord, 2> records = s.playerRecord;

    ASSERT_NE(startDemo(), nullptr);
    host->run(40);
    ASSERT_NE(findTask<StageControl>(s), nullptr);
    EXPECT_EQ(s.difficulty, 1);
    EXPECT_EQ(s.stageIndex, 0);
    EXPECT_EQ(s.playMode, 0);
    EXPECT_EQ(s.playerRecord[0].shipType, 0);
    EXPECT_FALSE(s.playerRecord[1].present());
    EXPECT_EQ(s.config.buzz, 0) << "the demo plays with its own settings";

    host->tap("Z");
    ASSERT_TRUE(runUntil([&] { return onTitle(); }, 5));
    EXPECT_EQ(s.difficulty, 2);
    EXPECT_EQ(s.stageIndex, 3);
    EXPECT_EQ(s.playMode, 1);
    for (int p = 0; p < 2; ++p) {
        EXPECT_EQ(s.playerRecord[p].shipType, records[p].shipType) << p;
        EXPECT_EQ(s.playerRecord[p].score, records[p].score) << p;
        EXPECT_EQ(s.playerRecord[p].lives, records[p].lives) << p;
    }
    EXPECT_EQ(s.config.buzz, 1);
    EXPECT_EQ(s.config.opticalEffect, 1);
    EXPECT_EQ(s.config.bulletChangeCount, 1);

    // GAME START offers "Hard" again.
    host->run(3);
    press("Z");
    ASSERT_TRUE(runUntil([&] { return findTask<ChooseLevel>(s) != nullptr; }, 100));
    EXPECT_EQ(s.difficulty, 2);
}

// A stage's hand-over ends every task, the attract mode too: the rest plays as any replay
// played back does, on to the next recorded stage and then the replay list.
TEST_F(AttractModeTest, ADemoStageThatEndsEarlyGoesOnToTheNextThenToTheReplayList) {
    ASSERT_TRUE(writeReplay(kDemo, {200, 200}, 1, "DEMO", 0));
    const std::string script = (folder_ / "short.dat").string();
    std::ofstream(script) << "60,STAGE_COMPLETE\n";
    toTitle();
    system().testStageScript = script;
    AttractMode* demo = startDemo();
    ASSERT_NE(demo, nullptr);
    ASSERT_TRUE(runUntil([&] { return system().stageIndex == 1; }, 200));
    ASSERT_TRUE(runUntil([&] { return findTask<StageControl>(system()) != nullptr; }, 5));
    EXPECT_EQ(system().replay.playingBack, 1) << "the demo's second stage plays";
    EXPECT_EQ(system().keyRecords[0].buttons, kButtonShot);
    ASSERT_TRUE(runUntil([&] { return findTask<ReplayLoad>(system()) != nullptr; }, 200));
    EXPECT_EQ(findTask<AttractMode>(system()), nullptr);
}

}  // namespace
}  // namespace vg
