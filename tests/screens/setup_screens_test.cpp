// The game set-up screens (difficulty, ship and stage choice) driven through the headless host
// with held and released keys; every wait is for a state, not a frame number.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ScreenFixture.h"
#include "core/Layers.h"
#include "screens/CharacterSelect.h"
#include "screens/ChooseLevel.h"
#include "screens/StageSelect.h"
#include "screens/Title.h"
#include "screens/TitleInit.h"
#include "stage/StageBanners.h"
#include "stage/StageControl.h"
#include "stage/StageInit.h"
#include "tests/support/GoldenPictures.h"

namespace vg {
namespace {

using testing::findTask;

class SetupScreensTest : public testing::ScreenTest {
  protected:
    // The title, ready for input, with `config` changes applied after the save was read.
    void toTitle() {
        start("5 Z\n");
        ASSERT_TRUE(host->runUntil(
            [&] {
                const Title* title = findTask<Title>(system());
                // From its third update the title reads input; one frame with nothing held.
                return title && title->n >= 3;
            },
            200));
    }
    // One fresh press: down for a frame, then up for a frame.
    void tap(const char* key) {
        host->tap(key);
        host->run(1);
    }
    // Until a T exists and has had one update with nothing held (a new screen ignores buttons
    // already down when it opens).
    template <class T>
    bool waitFor(uint32_t limit = 100) {
        if (!host->runUntil([&] { return findTask<T>(system()) != nullptr; }, limit)) return false;
        host->run(1);
        return findTask<T>(system()) != nullptr;
    }
    // Title item `item` confirmed, up to the difficulty choice.
    void toChooseLevel(int item = Title::kItemGameStart) {
        toTitle();
        for (int i = 0; i < item; ++i) tap("Down");
        tap("Z");
        ASSERT_TRUE(waitFor<ChooseLevel>());
    }
    void toCharacterSelect(int item = Title::kItemGameStart) {
        toChooseLevel(item);
        tap("Z");
        ASSERT_TRUE(waitFor<CharacterSelect>());
    }
};

TEST_F(SetupScreensTest, GameStartThroughDifficultyAndShipIntoTheFirstStage) {
    toChooseLevel();
    System& s = system();
    EXPECT_EQ(s.playMode, 0);
    EXPECT_EQ(s.stageIndex, 0);
    tap("Down");
    EXPECT_EQ(s.difficulty, 1);
    host->tap("Z");
    // The label flies for 8 frames before the ship choice starts.
    uint32_t flight = 0;
    ASSERT_TRUE(host->runUntil(
        [&] {
            ++flight;
            return findTask<CharacterSelect>(s) != nullptr;
        },
        20));
    EXPECT_GE(flight, 8u);
    EXPECT_LE(flight, 10u);
    host->run(1);
    tap("Z");
    ASSERT_TRUE(waitFor<StageControl>(30));
    EXPECT_EQ(s.replay.recording, 1);
    EXPECT_EQ(s.replay.playingBack, 0);
    EXPECT_EQ(s.difficulty, 1);
    EXPECT_EQ(s.inStage, 1);
    const PlayerRecord& one = s.playerRecord[0];
    EXPECT_EQ(one.shipType, 0);
    EXPECT_EQ(one.lives, 2);
    EXPECT_EQ(one.power, 0);
    EXPECT_EQ(one.bombs, 3);
    EXPECT_EQ(one.energy, 32);
    EXPECT_EQ(one.score, 0);
    // The player who never joined is no player at all.
    EXPECT_EQ(s.playerRecord[1].shipType, 255);
    EXPECT_LT(s.playerRecord[1].lives, 0);
    EXPECT_EQ(findTask<StageTop>(s)->stageIndex, 0);
}

TEST_F(SetupScreensTest, DifficultyWrapsWithinWhatIsOffered) {
    struct Case {
        uint8_t gameCleared, extraCleared, start;
        const char* key;
        uint8_t expected;
    };
    const Case cases[] = {
        {0, 0, 0, "Up", 2},   {0, 0, 2, "Down", 0},
        {1, 0, 0, "Up", 3},   {1, 1, 0, "Up", 4},  // Extra2 has no row, but is chosen
        {1, 1, 4, "Down", 0}, {0, 0, 1, "Up", 0},
    };
    for (const Case& c : cases) {
        toChooseLevel();
        System& s = system();
        s.config.gameCleared = c.gameCleared;
        s.config.extraCleared = c.extraCleared;
        s.difficulty = c.start;
        tap(c.key);
        EXPECT_EQ(s.difficulty, c.expected) << int{c.start} << " " << c.key;
        host.reset();
    }
}

TEST_F(SetupScreensTest, ChooseLevelInitTakesBackDifficultiesNotOffered) {
    struct Case {
        uint8_t gameCleared, extraCleared, stored, expected;
    };
    const Case cases[] = {
        {0, 0, 3, 0}, {1, 0, 3, 3}, {1, 0, 4, 0}, {1, 1, 4, 4}, {0, 0, 2, 2}, {1, 1, 200, 0},
    };
    for (const Case& c : cases) {
        toTitle();
        System& s = system();
        s.config.gameCleared = c.gameCleared;
        s.config.extraCleared = c.extraCleared;
        s.difficulty = c.stored;
        tap("Z");
        ASSERT_TRUE(waitFor<ChooseLevel>());
        EXPECT_EQ(s.difficulty, c.expected) << int{c.stored};
        host.reset();
    }
}

TEST_F(SetupScreensTest, CancelAndEscapeReturnToTheTitle) {
    for (const char* key : {"X", "Esc"}) {
        toChooseLevel();
        tap(key);
        EXPECT_TRUE(waitFor<Title>(10)) << key;
        EXPECT_EQ(findTask<ChooseLevel>(system()), nullptr);
        host.reset();
    }
}

TEST_F(SetupScreensTest, ASecondPlayerJoinsAndTheGameWaitsForEveryoneReady) {
    toCharacterSelect();
    System& s = system();
    CharacterSelect* select = findTask<CharacterSelect>(s);
    tap("Q");  // player 2 joins
    EXPECT_EQ(menuMemory().chosenShip[1], 0);
    tap("Down");  // player 1: TYPE-B
    EXPECT_EQ(menuMemory().chosenShip[0], 1);
    tap("Z");
    EXPECT_GT(select->ready[0], 0);
    EXPECT_EQ(select->startCounter, 0) << "player 2 is not ready";
    // Cancelling a ready player only clears the mark.
    tap("X");
    EXPECT_EQ(select->ready[0], 0);
    EXPECT_NE(findTask<CharacterSelect>(s), nullptr);
    tap("Z");
    tap("Q");
    EXPECT_GT(select->startCounter, 0);
    ASSERT_TRUE(waitFor<StageControl>(30));
    EXPECT_EQ(s.playerRecord[0].shipType, 1);
    EXPECT_EQ(s.playerRecord[1].shipType, 0);
    EXPECT_EQ(s.playerRecord[1].lives, 2);
}

TEST_F(SetupScreensTest, VariantsOnlyOnceUnlockedAndCancelGoesBack) {
    toCharacterSelect();
    System& s = system();
    tap("Right");
    EXPECT_EQ(menuMemory().chosenShip[0], 0) << "TYPE-A2 is locked";
    s.config.clearMarks[2] = 0x01;  // TYPE-A cleared on Hard
    tap("Right");
    EXPECT_EQ(menuMemory().chosenShip[0], 2);
    tap("Up");
    EXPECT_EQ(menuMemory().chosenShip[0], 1);
    tap("Left");
    EXPECT_EQ(menuMemory().chosenShip[0], 1) << "TYPE-B2 is locked";
    tap("X");
    EXPECT_TRUE(waitFor<ChooseLevel>(10));
    // Coming back keeps the ship chosen last time.
    tap("Z");
    ASSERT_TRUE(waitFor<CharacterSelect>(20));
    EXPECT_EQ(menuMemory().chosenShip[0], 1);
}

TEST_F(SetupScreensTest, StageChoiceOffersTheStagesReachedAndSetsTheirPower) {
    toCharacterSelect(Title::kItemStageSelect);
    System& s = system();
    EXPECT_EQ(s.playMode, 1);
    tap("Z");
    ASSERT_TRUE(waitFor<StageSelect>(30));
    // furthestStage 0: only stage 0, Up and Down keep it there.
    tap("Up");
    EXPECT_EQ(menuMemory().stageCursor, 0);
    tap("Down");
    EXPECT_EQ(menuMemory().stageCursor, 0);
    s.config.furthestStage = 3;
    tap("Up");
    EXPECT_EQ(menuMemory().stageCursor, 3);
    tap("Up");
    tap("Z");
    EXPECT_EQ(s.stageIndex, 2);
    EXPECT_EQ(s.playerRecord[0].power, 3);
    EXPECT_EQ(s.playerRecord[1].power, 3);
    // A 64-frame fade, then the stage.
    uint32_t fade = 0;
    ASSERT_TRUE(host->runUntil(
        [&] {
            ++fade;
            return findTask<StageControl>(s) != nullptr;
        },
        100));
    EXPECT_GE(fade, 62u);
    EXPECT_LE(fade, 66u);
    EXPECT_EQ(s.playMode, 2);
    EXPECT_EQ(findTask<StageTop>(s)->stageIndex, 2);
}

TEST_F(SetupScreensTest, StageChoiceCancelReturnsToTheShips) {
    toCharacterSelect(Title::kItemStageSelect);
    tap("Z");
    ASSERT_TRUE(waitFor<StageSelect>(30));
    tap("X");
    EXPECT_TRUE(waitFor<CharacterSelect>(10));
    EXPECT_EQ(findTask<StageSelect>(system()), nullptr);
}

// Golden pictures of the three set-up screens (two players on the ship choice, all five stages
// offered), compared by hash with tests/screens/golden_setup.hash and written to
// <build>/screens_shots for looking at. VG_UPDATE_GOLDEN=1 stores them after a deliberate change.
TEST_F(SetupScreensTest, SetupScreensLookAsStored) {
    if (!hasData()) GTEST_SKIP() << "no data.pck built";
    testing::GoldenPictures pictures(VG_SOURCE_DIR "/tests/screens/golden_setup.hash",
                                     std::filesystem::path(VG_BINARY_DIR) / "screens_shots");
    auto shoot = [&](const std::string& name) {
        pictures.take(name, host->screen(), "setup_" + name);
    };
    toChooseLevel(Title::kItemStageSelect);
    system().config.gameCleared = 1;
    system().config.furthestStage = 4;
    tap("Down");
    host->run(40);
    shoot("choose_level");
    tap("Z");
    ASSERT_TRUE(waitFor<CharacterSelect>(20));
    tap("Q");
    tap("Down");
    host->run(40);
    shoot("character_select");
    tap("Z");
    tap("Q");
    ASSERT_TRUE(waitFor<StageSelect>(40));
    tap("Up");
    host->run(40);
    shoot("stage_select");

    pictures.check();
}

TEST(SetupRules, PowerByStageAndNewGameRecords) {
    const uint8_t power[] = {0, 1, 3, 3, 4};
    for (int stage = 0; stage < 5; ++stage) {
        EXPECT_EQ(StageSelect::powerForStage(stage), power[stage]) << stage;
    }
    EXPECT_EQ(StageSelect::powerForStage(-3), 0);
    EXPECT_EQ(StageSelect::powerForStage(200), 4);
    const PlayerRecord absent = CharacterSelect::newGameRecord(255);
    EXPECT_EQ(absent.lives, -1);
    EXPECT_EQ(absent.shipType, 255);
    EXPECT_EQ(CharacterSelect::newGameRecord(9).lives, -1);
    EXPECT_EQ(CharacterSelect::newGameRecord(3).lives, 2);
    // The menu wrap never leaves 0..last, whatever the cursor held.
    const MenuList list{4};
    EXPECT_EQ(list.wrapped(0, -1), 4);
    EXPECT_EQ(list.wrapped(4, +1), 0);
    EXPECT_EQ(list.wrapped(255, -1), 0);
    EXPECT_EQ(list.wrapped(-7, +1), 4);
    EXPECT_EQ((MenuList{0}.wrapped(0, -1)), 0);
}

}  // namespace
}  // namespace vg
