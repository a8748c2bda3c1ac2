// The score table screen: the difficulties and ships it offers, its rows, and the way there
// from the title and back.
#include <cstring>
#include <vector>

#include "PauseFixture.h"
#include "screens/Title.h"

namespace vg {
namespace {

using testing::PauseTest;

class ScoreScreenTest : public PauseTest {
  protected:
    Score* open(const Config& progress) {
        startBare();
        GameInit::loadSharedAssets(system());
        std::memcpy(&system().config, &progress, sizeof progress);
        system().spawnFront<ScoreInit>(layer::kScreens);
        waitFor([&] { return screen<Score>() != nullptr; }, 5);
        host->run(2);
        return screen<Score>();
    }
};

// "Extra" is offered only once a game was cleared and "Extra2" once "Extra" was; the "2" ships
// only once unlocked. Both axes wrap both ways.
TEST_F(ScoreScreenTest, OffersWhatIsUnlocked) {
    if (!hasData()) GTEST_SKIP() << "no data.pck";
    const struct {
        const char* what;
        uint8_t gameCleared, extraCleared;
        uint8_t normalMarks;
        std::vector<int> rightFromEasy;  // difficulties met pressing Right from "Easy"
        std::vector<int> downFromA;      // ships met pressing Down from TYPE-A
    } cases[] = {
        {"new", 0, 0, 0, {1, 2, 0}, {1, 0}},
        {"cleared", 1, 0, 0x1, {1, 2, 3, 0}, {1, 2, 0}},
        {"extra cleared", 1, 1, 0x2, {1, 2, 3, 4, 0}, {1, 3, 0}},
        {"everything", 1, 1, 0x3, {1, 2, 3, 4, 0}, {1, 2, 3, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Config progress;
        progress.gameCleared = c.gameCleared;
        progress.extraCleared = c.extraCleared;
        progress.clearMarks[1] = c.normalMarks;
        Score* score = open(progress);
        ASSERT_NE(score, nullptr);
        for (int difficulty : c.rightFromEasy) {
            tap("Right");
            EXPECT_EQ(score->difficulty, difficulty);
        }
        tap("Left");
        EXPECT_EQ(score->difficulty, c.rightFromEasy[c.rightFromEasy.size() - 2]) << "Left wraps";
        tap("Right");
        for (int ship : c.downFromA) {
            tap("Down");
            EXPECT_EQ(score->shipType, ship);
        }
        tap("Up");
        EXPECT_EQ(score->shipType, c.downFromA[c.downFromA.size() - 2]) << "Up wraps";
    }
}

// The rows slide in from the right one after the other, and again after each change.
TEST_F(ScoreScreenTest, RowsSlideInAgainAfterAChange) {
    if (!hasData()) GTEST_SKIP() << "no data.pck";
    Score* score = open(Config{});
    ASSERT_NE(score, nullptr);
    runFrames(120);
    for (int32_t x : score->rowX) EXPECT_EQ(x >> 16, Score::kRowX);
    host->press("Right");
    runFrames(1);
    host->releaseAll();
    EXPECT_EQ(score->rowX[0] >> 16, Score::kRowStartX - (Score::kRowStartX - Score::kRowX) / 8);
    EXPECT_EQ(score->rowX[1] >> 16, Score::kRowStartX);
    runFrames(8);
    EXPECT_LT(score->rowX[8] >> 16, Score::kRowStartX);
    EXPECT_EQ(score->rowX[9] >> 16, Score::kRowStartX) << "the last row starts tenth";
}

// The title's "SCORE" leads here; confirm, cancel and Escape all lead back.
TEST_F(ScoreScreenTest, FromTheTitleAndBack) {
    if (!hasData()) GTEST_SKIP() << "no data.pck";
    for (const char* back : {"Z", "X", "Esc"}) {
        SCOPED_TRACE(back);
        startBare();
        system().spawnFront<GameInit>(layer::kScreens);
        ASSERT_TRUE(waitFor([&] { return screen<Title>() != nullptr; }, 400));
        menuMemory().titleCursor = 3;
        runFrames(3);
        tap("Z");
        ASSERT_TRUE(waitFor([&] { return screen<Score>() != nullptr; }, 5));
        EXPECT_EQ(screen<Title>(), nullptr);
        runFrames(3);
        tap(back);
        ASSERT_TRUE(waitFor([&] { return screen<Title>() != nullptr; }, 5));
        EXPECT_EQ(screen<Score>(), nullptr);
    }
}

}  // namespace
}  // namespace vg
