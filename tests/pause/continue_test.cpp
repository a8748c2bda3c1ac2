// The continue prompt, the ship choice after it and the game over, driven by a ship that loses
// its last life in a real stage.
#include "PauseFixture.h"
#include "core/SaveData.h"

namespace vg {
namespace {

using testing::PauseTest;

// The prompt freezes the game and counts down from 9 to 0 seconds, then the game over takes
// over; the recorded stage is closed with the final score. No pause meanwhile.
TEST_F(PauseTest, ContinueCountsDownToTheGameOver) {
    if (!hasData()) GTEST_SKIP() << "no data.pck";
    startPlaying();
    ship(0)->score = 12340;
    ASSERT_TRUE(loseLastShip());
    EXPECT_EQ(system().inStage, 0);
    EXPECT_EQ(system().stageStarted, 0);
    EXPECT_EQ(system().playerRecord[0].finalScore, 12340);
    const int32_t g = system().replay.frame();
    std::vector<int32_t> shown;
    while (banner<Continue>()) {
        const Continue& prompt = *banner<Continue>();
        if (prompt.frame >= Continue::kFirstActiveFrame)
            shown.push_back(Continue::secondsLeft(prompt.frame));
        if (prompt.frame == 300) {
            tap("Esc");
            EXPECT_EQ(pause(), nullptr) << "no pause over the continue prompt";
        } else {
            host->run(1);
        }
        for (const Task* task = system().head()->next; task != system().tail(); task = task->next) {
            if (dynamic_cast<const EnemyBase*>(task) && task->isLive()) {
                ASSERT_EQ(task->state, kTaskFrozen);
            }
        }
        ASSERT_LT(shown.size(), 700u);
    }
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front(), 9);
    EXPECT_EQ(shown.back(), 0);
    EXPECT_EQ(shown.size(), size_t{Continue::kLastFrame - Continue::kFirstActiveFrame + 1});
    ASSERT_NE(banner<GameOver>(), nullptr);
    // The recorded stage closed with the score reached.
    EXPECT_GT(system().replay.stageRecord(0).frameCount, g - 1);
    EXPECT_EQ(system().replay.stageRecord(0).player[0].finalScore, 12340);
    EXPECT_EQ(system().replay.index().score[0], 12340);
}

// A Shot held when the ship is lost does not answer the prompt: it must be let go and pressed
// again. Bomb chooses "No"; Left "Yes"; Right "No".
TEST_F(PauseTest, ContinueTakesFreshPressesOnly) {
    if (!hasData()) GTEST_SKIP() << "no data.pck";
    startPlaying();
    host->press("Z");
    ASSERT_TRUE(loseLastShip());
    runFrames(40);
    ASSERT_NE(banner<Continue>(), nullptr) << "a held Shot answered the prompt";
    host->releaseAll();
    const struct {
        const char* key;
        uint8_t choice;
    } steps[] = {{"X", Continue::kNo},
                 {"Left", Continue::kYes},
                 {"Right", Continue::kNo},
                 {"Left", Continue::kYes}};
    for (const auto& step : steps) {
        tap(step.key);
        ASSERT_NE(banner<Continue>(), nullptr);
        EXPECT_EQ(banner<Continue>()->choice, step.choice) << step.key;
    }
    tap("Z");
    EXPECT_EQ(banner<Continue>(), nullptr);
    EXPECT_NE(banner<ContinueSelectShip>(), nullptr);
}

// On the ship choice Left and Right change the family, Up and Down the "2" variant only once
// it is unlocked; Bomb goes back to a prompt that counts from 9 again; Shot brings the new
// ship in and the game runs on.
TEST_F(PauseTest, ShipChoiceAfterYes) {
    if (!hasData()) GTEST_SKIP() << "no data.pck";
    startPlaying(1);
    ASSERT_TRUE(loseLastShip());
    runFrames(20);
    tap("Z");
    ASSERT_NE(banner<ContinueSelectShip>(), nullptr);
    runFrames(20);
    EXPECT_EQ(banner<ContinueSelectShip>()->shipType, 1) << "starts on the ship flown";
    const struct {
        const char* key;
        uint8_t ship;
    } locked[] = {{"Up", 1}, {"Left", 0}, {"Down", 0}, {"Right", 1}};
    for (const auto& step : locked) {
        tap(step.key);
        EXPECT_EQ(banner<ContinueSelectShip>()->shipType, step.ship) << step.key;
    }
    system().config.clearMarks[2] = 0x3;  // both families cleared "Hard"
    const struct {
        const char* key;
        uint8_t ship;
    } unlocked[] = {{"Up", 3}, {"Left", 0}, {"Down", 2}, {"Right", 1},
                    {"Up", 3}, {"Up", 1},   {"Down", 3}};
    for (const auto& step : unlocked) {
        tap(step.key);
        EXPECT_EQ(banner<ContinueSelectShip>()->shipType, step.ship) << step.key;
    }
    tap("X");
    ASSERT_NE(banner<Continue>(), nullptr) << "Bomb goes back to the prompt";
    // Made last in the banner layer during the draw, it drew once that frame and once more.
    EXPECT_EQ(banner<Continue>()->frame, 2);
    runFrames(20);
    tap("Z");
    runFrames(20);
    EXPECT_EQ(banner<ContinueSelectShip>()->shipType, 1);
    tap("Down");
    tap("Z");
    ASSERT_EQ(banner<ContinueSelectShip>(), nullptr);
    ASSERT_NE(ship(0), nullptr);
    EXPECT_EQ(ship(0)->shipType(), 3);
    EXPECT_EQ(system().playerRecord[0].shipType, 3) << "scores are filed under the ship flown";
    EXPECT_EQ(system().inStage, 1);
    EXPECT_EQ(system().stageStarted, 1);
    for (const Task* task = system().head()->next; task != system().tail(); task = task->next) {
        if (task->isLive()) {
            EXPECT_EQ(task->state, kTaskActive);
        }
    }
}

// A new ship's score counts the continues: the last digit of the final score plus one, at most
// 9, whatever the score was at the stage start.
TEST(ContinueCount, LastDigitOfTheFinalScorePlusOne) {
    const struct {
        int32_t finalScore;
        int32_t count;
    } cases[] = {{0, 1}, {123450, 1}, {1, 2}, {2000001, 2}, {8, 9}, {9, 9}, {-7, 8}};
    for (const auto& c : cases) {
        EXPECT_EQ(ContinueSelectShip::continueCount(c.finalScore), c.count) << c.finalScore;
    }
}

}  // namespace
}  // namespace vg
