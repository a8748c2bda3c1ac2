// Name entry: the grid, the name's limits, filing into the score table and the save written at
// once, with damaged saves.
#include <algorithm>
#include <cstring>

#include "PauseFixture.h"
#include "core/SaveData.h"
#include "replay/ReplaySave.h"
#include "screens/Title.h"

namespace vg {
namespace {

using testing::PauseTest;

struct Cursor {
    int column;
    int row;
};

// Keys on the grid and the name they leave, starting from a full name on the end mark.
TEST_F(PauseTest, NameEntryEditsTheNameWithinNineCharacters) {
    if (!hasData()) GTEST_SKIP() << "no data.pck";
    startBare();
    std::strcpy(system().config.lastName, "ABCDEFGHI");
    ASSERT_TRUE(writeSaveFile("save", system().scoreTable, system().keyRecords, system().config));
    NameEntry* entry = startNameEntry(PauseTest::played(0, 5), PauseTest::played(255, 0));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->column, 15);
    EXPECT_EQ(entry->row, 5);
    const struct {
        const char* key;
        const char* name;
        Cursor cursor;
    } steps[] = {
        {"Left", "ABCDEFGHI", {14, 5}},
        {"Z", "ABCDEFGHI", {15, 5}},  // full: the cursor only jumps to the end mark
        {"X", "ABCDEFGH", {15, 5}},   // cancel takes the last character back
        {"Up", "ABCDEFGH", {15, 4}},
        {"Z", "ABCDEFGH+", {15, 5}},  // the ninth character sends the cursor to the end mark
        {"X", "ABCDEFGH", {15, 5}},
        {"X", "ABCDEFG", {15, 5}},
        {"Right", "ABCDEFG", {0, 5}},
        {"Z", "ABCDEFG,", {0, 5}},
        {"Down", "ABCDEFG,", {0, 0}},
        {"Up", "ABCDEFG,", {0, 5}},
        {"Up", "ABCDEFG,", {0, 4}},
        {"Left", "ABCDEFG,", {15, 4}},
        {"Right", "ABCDEFG,", {0, 4}},
        {"Z", "ABCDEFG,<", {15, 5}},
    };
    for (const auto& step : steps) {
        tap(step.key);
        EXPECT_STREQ(system().config.lastName, step.name) << step.key;
        EXPECT_EQ(entry->column, step.cursor.column) << step.key << " " << step.name;
        EXPECT_EQ(entry->row, step.cursor.row) << step.key << " " << step.name;
    }
    // A held direction moves once, then every fourth frame from the 28th.
    host->press("Up");
    runFrames(30);
    host->releaseAll();
    EXPECT_EQ(entry->row, 3);
    for (int i = 0; i < 9; ++i) tap("X");
    EXPECT_STREQ(system().config.lastName, "");
    tap("X");  // nothing left to remove
    EXPECT_STREQ(system().config.lastName, "");
}

// An empty name starts at "A"; the end mark does not file an empty name; Escape leaves as
// "no name" without filing.
TEST_F(PauseTest, NameEntryWithoutAName) {
    if (!hasData()) GTEST_SKIP() << "no data.pck";
    NameEntry* entry = startNameEntry(PauseTest::played(0, 900000), PauseTest::played(255, 0));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->column, 0);
    EXPECT_EQ(entry->row, 0);
    const ScoreTable before = system().scoreTable;
    tap("Up");
    tap("Left");
    tap("Z");
    ASSERT_NE(screen<NameEntry>(), nullptr) << "an empty name is not filed";
    tap("Esc");
    EXPECT_EQ(screen<NameEntry>(), nullptr);
    EXPECT_STREQ(system().config.lastName, "no name");
    EXPECT_EQ(std::memcmp(&before, &system().scoreTable, sizeof before), 0);
    runFrames(3);
    // The replay save screen, whose cancel leads to the title.
    ASSERT_NE(screen<ReplaySave>(), nullptr);
    tap("X");
    ASSERT_TRUE(waitFor([&] { return screen<Title>() != nullptr; }, 10));
}

// Which score is filed where: the better of the players who flew (player 1 on a tie), below
// equal scores, never on a tie with the tenth place; a game without a ship files nothing.
TEST_F(PauseTest, NameEntryFilesTheBetterFinalScore) {
    if (!hasData()) GTEST_SKIP() << "no data.pck";
    const struct {
        const char* what;
        PlayerRecord player0, player1;
        uint8_t difficulty;
        int ship;   // table filed into, -1 none
        int place;  // place of the new entry
        int32_t score;
    } cases[] = {
        {"one player", played(0, 123456), played(255, 0), 0, 0, 0, 123456},
        {"equal to place 6", played(1, 50000), played(255, 0), 1, 1, 6, 50000},
        {"equal to the tenth", played(0, 10000), played(255, 0), 0, -1, 0, 0},
        {"one more than the tenth", played(2, 10001), played(255, 0), 2, 2, 9, 10001},
        {"player 1 higher", played(0, 30000), played(1, 70000), 0, 1, 4, 70000},
        {"player 0 higher", played(3, 95000), played(1, 70000), 4, 3, 1, 95000},
        {"tie", played(2, 60000), played(3, 60000), 0, 3, 5, 60000},
        {"only player 1", played(255, 0), played(1, 80000), 0, 1, 3, 80000},
        {"tie with an absent player", played(0, 0), played(255, 0), 0, -1, 0, 0},
        {"no ship", played(255, 500000), played(255, 0), 0, -1, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove("save");
        ASSERT_NE(startNameEntry(c.player0, c.player1, c.difficulty), nullptr);
        const ScoreTable before = system().scoreTable;
        tap("Z");  // "A"
        tap("Left");
        tap("Up");
        tap("Z");  // the end mark
        EXPECT_EQ(screen<NameEntry>(), nullptr);
        ScoreTable onDisk;
        KeyRecords keys;
        Config config;
        const bool saved = readSaveFile("save", {onDisk, keys, config});
        if (c.ship < 0) {
            EXPECT_EQ(std::memcmp(&before, &system().scoreTable, sizeof before), 0);
            continue;
        }
        const ScoreEntry& entry = system().scoreTable.at(c.difficulty, c.ship, c.place);
        EXPECT_STREQ(entry.name, "A");
        EXPECT_EQ(entry.score, c.score);
        EXPECT_GE(entry.month, 1);
        if (c.place > 0) {
            EXPECT_GE(system().scoreTable.at(c.difficulty, c.ship, c.place - 1).score, c.score);
        }
        // Written at once, not only when the game ends.
        ASSERT_TRUE(saved);
        EXPECT_EQ(std::memcmp(&onDisk, &system().scoreTable, sizeof onDisk), 0);
        EXPECT_STREQ(config.lastName, "A");
    }
}

// A damaged save: names that fill their field without a terminator, scores out of order and
// negative, a remembered name longer than nine. The table shows them inside their fields, the
// name entry cuts the name, and filing leaves the table sorted.
TEST_F(PauseTest, DamagedScoreTableIsShownSafelyAndFilingSortsIt) {
    if (!hasData()) GTEST_SKIP() << "no data.pck";
    ScoreTable damaged;
    const int32_t scores[10] = {5, 100, -3, 50, 7, 0, -100, 2000, 1, -5};
    for (int place = 0; place < 10; ++place) {
        ScoreEntry& entry = damaged.at(0, 0, place);
        entry.score = scores[place];
        std::memset(entry.name, 'Z', sizeof entry.name);
        entry.year = 255;
    }
    Config config;
    std::memset(config.lastName, 'Q', sizeof config.lastName);
    ASSERT_TRUE(writeSaveFile("save", damaged, KeyRecords{}, config));

    NameEntry* entry = startNameEntry(played(0, 60), played(255, 0));
    ASSERT_NE(entry, nullptr);
    EXPECT_STREQ(system().config.lastName, "QQQQQQQQQ");
    char text[64];
    for (int place = 0; place < 10; ++place) {
        Score::formatPlace(system().scoreTable.at(0, 0, place), place, text);
        EXPECT_NE(std::strstr(text, "ZZZZZZZZZ "), nullptr) << text;
        EXPECT_EQ(std::strstr(text, "ZZZZZZZZZZ"), nullptr) << text;
    }
    Score::formatPlace(system().scoreTable.at(0, 0, 6), 6, text);
    EXPECT_STREQ(text, " 7. ZZZZZZZZZ      -100   255/00/00-00:00");
    tap("Z");  // a name is there: the cursor starts on the end mark
    ASSERT_EQ(screen<NameEntry>(), nullptr);
    const ScoreEntry(&places)[10] = system().scoreTable.entries[0][0];
    const int32_t expected[10] = {2000, 100, 60, 50, 7, 5, 1, 0, -3, -5};
    for (int place = 0; place < 10; ++place) {
        EXPECT_EQ(places[place].score, expected[place]) << "place " << place;
    }
    EXPECT_STREQ(places[2].name, "QQQQQQQQQ");
}

// The full way: the last ship lost, two continues (the new ships' scores count them), the game
// over, the name, and the score table from the title showing the filed score.
TEST_F(PauseTest, LoseContinueGameOverNameEntryScoreTable) {
    if (!hasData()) GTEST_SKIP() << "no data.pck";
    startPlaying(1);
    const int32_t finals[2] = {1230, 4561};
    for (int continues = 1; continues <= 2; ++continues) {
        SCOPED_TRACE(continues);
        ship(0)->score = finals[continues - 1];
        ASSERT_TRUE(loseLastShip());
        runFrames(Continue::kFirstActiveFrame);
        tap("Z");
        ASSERT_NE(banner<ContinueSelectShip>(), nullptr);
        runFrames(ContinueSelectShip::kFirstActiveFrame);
        tap("Z");
        ASSERT_NE(ship(0), nullptr);
        EXPECT_EQ(ship(0)->score, continues) << "the score counts the continues";
        EXPECT_EQ(ship(0)->shipType(), 1);
    }
    ship(0)->score = 777772;
    ASSERT_TRUE(loseLastShip());
    runFrames(Continue::kFirstActiveFrame);
    tap("Right");
    tap("Z");
    ASSERT_NE(banner<GameOver>(), nullptr);
    EXPECT_EQ(system().replay.index().score[0], 777772);
    host->press("Z");
    ASSERT_TRUE(waitFor([&] { return screen<NameEntry>() != nullptr; }, 400));
    host->releaseAll();
    EXPECT_EQ(system().fieldView, 0);
    EXPECT_EQ(system().replay.recording, 0);
    runFrames(2);
    // "ACE", then the end mark.
    for (const char* key : {"Z", "Right", "Right", "Z", "Right", "Right", "Z", "Up", "Left", "Left",
                            "Left", "Left", "Left", "Z"}) {
        tap(key);
    }
    ASSERT_EQ(screen<NameEntry>(), nullptr);
    // The game just played saved as the replay of slot 1 under the name entered, then the title.
    ASSERT_TRUE(waitFor([&] { return screen<ReplaySave>() != nullptr; }, 10));
    runFrames(2);
    tap("Z");
    ReplayIndex saved;
    ASSERT_TRUE(ReplayData::ReadIndex(ReplayData::SlotPath(1).c_str(), saved));
    EXPECT_STREQ(saved.name, "ACE");
    EXPECT_EQ(saved.score[0], 777772);
    EXPECT_NE(ReplayData::StageMask(ReplayData::SlotPath(1).c_str()) & 1, 0);
    tap("X");
    ASSERT_TRUE(waitFor([&] { return screen<Title>() != nullptr; }, 10));
    runFrames(5);
    for (int i = 0; i < 3; ++i) tap("Down");
    tap("Z");
    ASSERT_TRUE(waitFor([&] { return screen<Score>() != nullptr; }, 10));
    runFrames(2);
    tap("Down");  // TYPE-B
    Score& table = *screen<Score>();
    EXPECT_EQ(table.shipType, 1);
    const ScoreEntry& best = system().scoreTable.at(0, 1, 0);
    EXPECT_STREQ(best.name, "ACE");
    EXPECT_EQ(best.score, 777772);
    char text[64];
    Score::formatPlace(best, 0, text);
    EXPECT_EQ(std::string(text).substr(0, 23), " 1.       ACE    777772");
    tap("Esc");
    ASSERT_TRUE(waitFor([&] { return screen<Title>() != nullptr; }, 10));
}

}  // namespace
}  // namespace vg
