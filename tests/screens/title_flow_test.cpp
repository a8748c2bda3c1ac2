// Start-up, logo and title driven end to end through the headless host with scripted keys.
#include <gtest/gtest.h>

#include <vector>

#include "ScreenFixture.h"
#include "screens/GameInit.h"
#include "screens/Logo.h"
#include "screens/Option.h"
#include "screens/OptionInit.h"
#include "screens/Score.h"
#include "screens/Title.h"

namespace vg {
namespace {

using testing::findTask;
using testing::kSkipFrame;
using testing::kTitleActs;
using TitleFlowTest = testing::ScreenTest;

TEST_F(TitleFlowTest, LogoRunsItsCourseThenTheTitleStarts) {
    start("");
    runTo(0);
    ASSERT_NE(findTask<Logo>(system()), nullptr);
    EXPECT_EQ(findTask<GameInit>(system()), nullptr);
    // Defaults with no save file.
    EXPECT_EQ(system().keyRecords[0].shotKey, 0x5A);
    EXPECT_EQ(system().idleCountdown, 600);
    runTo(180);
    ASSERT_NE(findTask<Logo>(system()), nullptr);
    EXPECT_EQ(findTask<Logo>(system())->n, 180);
    runTo(183);
    EXPECT_EQ(findTask<Logo>(system()), nullptr);
    EXPECT_NE(findTask<Title>(system()), nullptr);
}

TEST_F(TitleFlowTest, ShotSkipsTheLogoToItsFadeOut) {
    start("5 Z\n");
    runTo(kSkipFrame);
    ASSERT_NE(findTask<Logo>(system()), nullptr);
    EXPECT_EQ(findTask<Logo>(system())->n, Logo::kFadeOutFrame);
    runTo(kTitleActs - 2);
    Title* title = findTask<Title>(system());
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->n, 1);
}

TEST_F(TitleFlowTest, HeldDownMovesOnceThenRepeats) {
    // Title acts from 42; Down held from 50.
    start("5 Z\n50-101 DOWN\n");
    std::vector<uint32_t> moves;
    int last = 0;
    host->run(130, [&](uint32_t frame, const DIB&) {
        const int cursor = menuMemory().titleCursor;
        if (cursor != last) moves.push_back(frame);
        last = cursor;
    });
    const std::vector<uint32_t> expected{50, 77, 81, 85, 89, 93, 97, 101};
    EXPECT_EQ(moves, expected);
    EXPECT_EQ(menuMemory().titleCursor, 8 % Title::kItemCount);
}

TEST_F(TitleFlowTest, UpFromTheFirstItemWrapsToExit) {
    start("5 Z\n50 UP\n52 UP\n");
    runTo(50);
    EXPECT_EQ(menuMemory().titleCursor, Title::kItemExit);
    runTo(52);
    EXPECT_EQ(menuMemory().titleCursor, Title::kItemOption);
}

TEST_F(TitleFlowTest, CancelGoesToExitAndASecondConfirmQuits) {
    start("5 Z\n50 X\n60 Z\n");
    runTo(55);
    EXPECT_EQ(menuMemory().titleCursor, Title::kItemExit);
    EXPECT_EQ(system().quitRequested, 0);
    // Frames 56..60: the confirm on frame 60 ends the run.
    EXPECT_EQ(host->run(100), 5u);
    EXPECT_EQ(system().quitRequested, 1);
}

TEST_F(TitleFlowTest, EscapeActsAsCancel) {
    start("5 Z\n50 ESCAPE\n");
    runTo(50);
    EXPECT_EQ(menuMemory().titleCursor, Title::kItemExit);
}

TEST_F(TitleFlowTest, ButtonHeldFromTheLogoDoesNothingUntilPressedAgain) {
    // X skips the logo and is still held when the title opens.
    start("5-100 X\n110 X\n");
    runTo(105);
    ASSERT_NE(findTask<Title>(system()), nullptr);
    EXPECT_EQ(menuMemory().titleCursor, 0);
    runTo(110);
    EXPECT_EQ(menuMemory().titleCursor, Title::kItemExit);
}

TEST_F(TitleFlowTest, ScoreItemOpensTheScores) {
    // Item 3: the score table, once its start task has cleared the title. (Item 2, the
    // replays, is followed in tests/replay.)
    start("5 Z\n50 DOWN\n52 DOWN\n54 DOWN\n56 Z\n");
    runTo(55);
    ASSERT_NE(findTask<Title>(system()), nullptr);
    EXPECT_EQ(menuMemory().titleCursor, Title::kItemScore);
    runTo(56);
    EXPECT_NE(findTask<ScoreInit>(system()), nullptr);
    EXPECT_NE(findTask<Title>(system()), nullptr);
    runTo(57);
    EXPECT_EQ(findTask<Title>(system()), nullptr);
    EXPECT_NE(findTask<Score>(system()), nullptr);
    EXPECT_EQ(system().quitRequested, 0);
}

TEST_F(TitleFlowTest, IdleCountdownRunsFromTheTitlesThirdFrameAndResetsOnMenuActions) {
    start("5 Z\n100 DOWN\n");
    runTo(kTitleActs - 1);
    EXPECT_EQ(system().idleCountdown, 600);
    runTo(kTitleActs + 9);
    EXPECT_EQ(system().idleCountdown, 590);
    runTo(100);
    EXPECT_EQ(system().idleCountdown, 599);
}

TEST_F(TitleFlowTest, OptionItemOpensTheOptionsAndTheirBackReturns) {
    // Up twice: Exit, then Option; confirm; on the options Up to "Back", confirm.
    start("5 Z\n50 UP\n52 UP\n54 Z\n60 UP\n62 Z\n");
    runTo(54);
    EXPECT_NE(findTask<OptionInit>(system()), nullptr);
    EXPECT_NE(findTask<Title>(system()), nullptr);
    runTo(56);
    EXPECT_EQ(findTask<Title>(system()), nullptr);
    Option* option = findTask<Option>(system());
    ASSERT_NE(option, nullptr);
    runTo(60);
    EXPECT_EQ(option->cursor, Option::kRowBack);
    runTo(66);
    EXPECT_EQ(findTask<Option>(system()), nullptr);
    EXPECT_NE(findTask<Title>(system()), nullptr);
    EXPECT_EQ(menuMemory().titleCursor, Title::kItemOption);
}

TEST_F(TitleFlowTest, UnlockSequenceDuringTheLogoUnlocksEverything) {
    // The sequence is a secret of the logo; the test spells it out once.
    start("10 DOWN\n12 RIGHT\n14 UP\n16 LEFT\n18 LEFT\n20 DOWN\n22 RIGHT\n24 UP\n");
    runTo(100);
    EXPECT_EQ(findTask<Logo>(system())->unlockCount, Logo::kUnlockSteps);
    EXPECT_EQ(system().config.gameCleared, 0) << "applied only when the logo ends";
    runTo(185);
    EXPECT_EQ(system().config.gameCleared, 1);
    EXPECT_EQ(system().config.extraCleared, 1);
    EXPECT_EQ(system().config.furthestStage, 5);
    EXPECT_EQ(system().config.clearMarks[1], 0x03);
}

TEST_F(TitleFlowTest, WrongPressesDoNotResetTheSequenceAndPlayerTwoCounts) {
    // Player 2's number-pad directions count towards the same sequence; a wrong press between
    // steps is ignored.
    start("10 DOWN\n11 UP\n12 RIGHT\n14 0x68\n16 0x64\n18 LEFT\n20 DOWN\n22 0x66\n24 UP\n");
    runTo(185);
    EXPECT_EQ(system().config.gameCleared, 1);
}

TEST_F(TitleFlowTest, IncompleteSequenceUnlocksNothing) {
    start("10 DOWN\n12 RIGHT\n14 UP\n16 LEFT\n18 LEFT\n20 DOWN\n22 RIGHT\n");
    runTo(185);
    EXPECT_EQ(system().config.gameCleared, 0);
    EXPECT_EQ(system().config.clearMarks[1], 0);
}

}  // namespace
}  // namespace vg
