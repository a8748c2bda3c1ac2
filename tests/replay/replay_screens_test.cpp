// The replay screens through the real game: the title's replay item, the list of the 25 slots,
// the stage choice limited to the recorded stages, saving with overwrite confirmation and a
// failing save, driven by key presses.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "ReplayScreenFixture.h"
#include "core/Layers.h"
#include "core/PlayField.h"
#include "replay/ReplayLoad.h"
#include "replay/ReplaySave.h"
#include "resources/Png.h"
#include "screens/GameInit.h"
#include "screens/Title.h"
#include "screens/TitleInit.h"
#include "stage/StageControl.h"

namespace vg {
namespace {

namespace fs = std::filesystem;
using namespace vg::testing;

std::string slotFile(int slot) {
    return ReplayData::SlotPath(slot);
}

class ReplayLoadTest : public ReplayScreenTest {
  protected:
    // Slot 2: stages 1 and 2 on Normal; slot 7: only stage index 3; slot 9: a stage under a
    // difficulty the game does not have; slot 11: an INDEX without stages; slot 12: not a
    // replay at all.
    void writeSlots() {
        ASSERT_TRUE(writeReplay(slotFile(2), {30, 40}, 1, "ACE", 12345));
        ASSERT_TRUE(writeReplay(slotFile(7), {0, 0, 0, 25}, 2, "FOUR", 400));
        Bytes bad = packageMagic();
        putEntry(bad, "INDEX", indexBytes("BAD", 7, 999));
        putEntry(bad, "STAGE_0", stageBytes({0, 2, 0, 3, 32, 0, 0}, {}, 1, 0, 0));
        putEntry(bad, "STAGE_0_DATA_0", zlibCompress({0}));
        writeBytes(slotFile(9), bad);
        Bytes empty = packageMagic();
        putEntry(empty, "INDEX", indexBytes("NOSTAGE", 1, 5));
        writeBytes(slotFile(11), empty);
        writeBytes(slotFile(12), Bytes{'n', 'o', 't', ' ', 'a', ' ', 'p', 'c', 'k'});
    }
    // The replay list, opened directly.
    ReplayLoad& openList() {
        makeHost(false);
        system().spawnFront<ReplayLoadInit>(layer::kScreens);
        EXPECT_TRUE(runUntil([&] { return findTask<ReplayLoad>(system()) != nullptr; }, 5));
        host->run(1);
        return *findTask<ReplayLoad>(system());
    }
    void moveTo(ReplayLoad& list, int slot) {
        while (list.cursor + 1 != slot) press("Down");
    }
};

TEST_F(ReplayLoadTest, TheTitlesReplayItemListsTheSlotFilesAndCancelReturns) {
    writeSlots();
    makeHost(true);
    host->tap("Z");  // skip the logo
    ASSERT_TRUE(runUntil([&] { return findTask<Title>(system()) != nullptr; }, 300));
    host->run(3);
    press("Down");
    press("Down");
    press("Z");
    ASSERT_TRUE(runUntil([&] { return findTask<ReplayLoad>(system()) != nullptr; }, 5));
    host->run(1);
    ReplayLoad& list = *findTask<ReplayLoad>(system());
    EXPECT_EQ(system().replay.recording, 0);
    EXPECT_EQ(system().replay.playingBack, 0);

    std::vector<int> slots;
    for (const ReplayListEntry& entry : list.entries) slots.push_back(entry.slot);
    EXPECT_EQ(slots, (std::vector<int>{2, 7, 9}));
    const ReplayListEntry* two = list.entryForSlot(2);
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(two->fileName, "replay02.rpl");
    EXPECT_EQ(two->stageMask, 0x3);
    EXPECT_EQ(ReplayScreenBase::rowText(2, two),
              "[02]       ACE     12345   26/01/02 03:04   Normal");
    EXPECT_EQ(list.entryForSlot(7)->stageMask, 0x8);
    const std::string emptyRow = "[09] --------- ---------   --/--/-- --:--   ------";
    EXPECT_EQ(ReplayScreenBase::rowText(9, list.entryForSlot(9)), emptyRow);
    EXPECT_EQ(ReplayScreenBase::rowText(11, list.entryForSlot(11)),
              "[11] --------- ---------   --/--/-- --:--   ------");

    // The rows slide in from the right, two more per frame, and come to rest at x 20.
    host->run(80);
    for (int32_t x : list.rowX) EXPECT_EQ(fixedToInt(x), ReplayScreenBase::kRowX);

    // Up from the first row wraps to the last, Down from the last to the first.
    press("Up");
    EXPECT_EQ(list.cursor, 24);
    press("Down");
    EXPECT_EQ(list.cursor, 0);

    press("X");
    ASSERT_TRUE(runUntil([&] { return findTask<Title>(system()) != nullptr; }, 5));
    EXPECT_EQ(findTask<ReplayLoad>(system()), nullptr);
}

TEST_F(ReplayLoadTest, AFileWithOnlyStageFourStartsThere) {
    writeSlots();
    ReplayLoad& list = openList();
    moveTo(list, 7);
    press("Z");
    auto* choice = findTask<ReplayLoadStageSelect>(system());
    ASSERT_NE(choice, nullptr);
    EXPECT_EQ(list.state, kTaskFrozen) << "the list waits under the stage choice";
    EXPECT_EQ(choice->path, "./replay//replay07.rpl");
    EXPECT_EQ(choice->cursor, 3);
    EXPECT_EQ(choice->lineText(3), "stage4");
    for (int stage : {0, 1, 2, 4}) EXPECT_EQ(choice->lineText(stage), "---------");
    // The only recorded stage: Up and Down stay on it.
    press("Up");
    EXPECT_EQ(choice->cursor, 3);
    press("Down");
    EXPECT_EQ(choice->cursor, 3);

    // A stage that hands over soon, so the replay's end comes quickly.
    const std::string script = (folder_ / "short.dat").string();
    std::ofstream(script) << "60,STAGE_COMPLETE\n";
    system().testStageScript = script;
    press("Z");
    ASSERT_TRUE(runUntil([&] { return findTask<StageControl>(system()) != nullptr; }, 5));
    System& s = system();
    EXPECT_EQ(s.stageIndex, 3);
    EXPECT_EQ(s.difficulty, 2);
    EXPECT_EQ(s.playMode, 0);
    EXPECT_EQ(s.replay.playingBack, 1);
    EXPECT_EQ(s.replay.recording, 0);
    EXPECT_EQ(s.playerRecord[0].shipType, 0);
    EXPECT_EQ(s.playerRecord[1].lives, -1);
    host->run(3);
    EXPECT_EQ(s.keyRecords[0].buttons, kButtonShot) << "the recorded input plays";

    // After its last recorded stage the replay returns to the list, and the game the player
    // chose before is back: "Easy", no stage, no ships.
    ASSERT_TRUE(runUntil([&] { return findTask<ReplayLoad>(system()) != nullptr; }, 200));
    EXPECT_EQ(s.replay.playingBack, 0);
    EXPECT_EQ(s.fieldView, 0);
    EXPECT_EQ(s.difficulty, 0);
    EXPECT_EQ(s.stageIndex, 0);
    EXPECT_FALSE(s.playerRecord[0].present());
}

TEST_F(ReplayLoadTest, StageChoiceSkipsUnrecordedStagesAndCancelGoesBackToTheList) {
    writeSlots();
    ReplayLoad& list = openList();
    moveTo(list, 2);
    press("Z");
    auto* choice = findTask<ReplayLoadStageSelect>(system());
    ASSERT_NE(choice, nullptr);
    EXPECT_EQ(choice->cursor, 0);
    press("Down");
    EXPECT_EQ(choice->cursor, 1);
    press("Down");
    EXPECT_EQ(choice->cursor, 0) << "from the last recorded stage Down wraps to the first";
    press("Up");
    EXPECT_EQ(choice->cursor, 1);
    press("X");
    EXPECT_EQ(findTask<ReplayLoadStageSelect>(system()), nullptr);
    EXPECT_EQ(list.state, kTaskActive);
    // The Bomb that closed the choice does not also leave the list.
    host->run(5);
    EXPECT_NE(findTask<ReplayLoad>(system()), nullptr);
    // An empty slot refuses.
    moveTo(list, 3);
    press("Z");
    EXPECT_EQ(findTask<ReplayLoadStageSelect>(system()), nullptr);
    EXPECT_EQ(list.state, kTaskActive);
}

TEST_F(ReplayLoadTest, TheEmptyRowOfABadDifficultyOpensButNeverPlays) {
    writeSlots();
    ReplayLoad& list = openList();
    moveTo(list, 9);
    // Entries are found by slot: the choice opens although the row shows empty.
    press("Z");
    auto* choice = findTask<ReplayLoadStageSelect>(system());
    ASSERT_NE(choice, nullptr);
    EXPECT_EQ(choice->lineText(0), "stage1");
    // The file cannot be played: the choice stays and nothing starts.
    press("Z");
    host->run(3);
    EXPECT_NE(findTask<ReplayLoadStageSelect>(system()), nullptr);
    EXPECT_EQ(findTask<StageControl>(system()), nullptr);
    EXPECT_EQ(system().replay.playingBack, 0);
    press("Esc");
    EXPECT_EQ(findTask<ReplayLoadStageSelect>(system()), nullptr);
    EXPECT_EQ(list.state, kTaskActive);
}

// A replay cut short (its last input entry gone) and one whose stage 2 input is garbage: the list
// says "damaged" where the difficulty would stand, the stage choice says it on the damaged
// stage's line and never moves onto it, and confirming plays nothing.
TEST_F(ReplayLoadTest, ADamagedReplayIsListedAsSuchAndNotPlayed) {
    ASSERT_TRUE(writeReplay(slotFile(4), {300}, 1, "CUT", 777));
    const Bytes whole = readBytes(slotFile(4));
    writeBytes(slotFile(4), Bytes(whole.begin(), whole.end() - 10));
    Bytes garbled = packageMagic();
    putEntry(garbled, "INDEX", indexBytes("HALF", 2, 50));
    const Bytes input(40, kButtonShot);
    putEntry(garbled, "STAGE_0", stageBytes(newPlayer(0), {}, 40, 0, 0));
    putEntry(garbled, "STAGE_0_DATA_0", zlibCompress(input));
    putEntry(garbled, "STAGE_1", stageBytes(newPlayer(0), {}, 40, 0, 0));
    putEntry(garbled, "STAGE_1_DATA_0", Bytes(30, 0x5A));
    writeBytes(slotFile(5), garbled);

    const bool withData = linkData();
    ReplayLoad& list = openList();
    if (withData) GameInit::loadSharedAssets(system());
    host->run(80);
    const ReplayListEntry* cut = list.entryForSlot(4);
    ASSERT_NE(cut, nullptr) << "a damaged file is listed, to say so";
    EXPECT_EQ(cut->stageMask, 0);
    EXPECT_EQ(cut->damagedMask, 0x1);
    EXPECT_EQ(ReplayScreenBase::rowText(4, cut),
              "[04]       CUT       777   26/01/02 03:04   damaged");
    const ReplayListEntry* half = list.entryForSlot(5);
    ASSERT_NE(half, nullptr);
    EXPECT_EQ(half->stageMask, 0x1);
    EXPECT_EQ(half->damagedMask, 0x2);

    // The cut file: nothing to watch.
    moveTo(list, 4);
    press("Z");
    auto* choice = findTask<ReplayLoadStageSelect>(system());
    ASSERT_NE(choice, nullptr);
    EXPECT_EQ(choice->lineText(0), "damaged");
    press("Z");
    host->run(3);
    EXPECT_NE(findTask<ReplayLoadStageSelect>(system()), nullptr);
    EXPECT_EQ(findTask<StageControl>(system()), nullptr);
    EXPECT_EQ(system().replay.playingBack, 0);
    press("Esc");

    // The half-damaged file: stage 1 plays, stage 2 is named and passed over.
    moveTo(list, 5);
    press("Z");
    choice = findTask<ReplayLoadStageSelect>(system());
    ASSERT_NE(choice, nullptr);
    EXPECT_EQ(choice->lineText(0), "stage1");
    EXPECT_EQ(choice->lineText(1), "damaged");
    EXPECT_EQ(choice->cursor, 0);
    press("Down");
    EXPECT_EQ(choice->cursor, 0);
    // For looking at: the stage choice over the list with its damaged line.
    host->run(20);
    fs::create_directories(fs::path(VG_BINARY_DIR) / "replay_shots");
    savePng((fs::path(VG_BINARY_DIR) / "replay_shots" / "damaged_choice.png").c_str(),
            host->screen());
}

class ReplaySaveTest : public ReplayScreenTest {
  protected:
    // The game just played: two stages in memory, then the save screen.
    ReplaySave& openSave(const char* name, int32_t score) {
        linkData();
        makeHost(false);
        GameInit::loadSharedAssets(system());
        ReplayData& replay = system().replay;
        replay.Reset();
        replay.recording = 1;
        EXPECT_TRUE(recordStage(
            replay, 0, newPlayer(1), PlayerRecord{}, 50,
            [](int, int32_t f) { return static_cast<uint8_t>(f & 0x1F); }, score / 2));
        EXPECT_TRUE(recordStage(
            replay, 1, newPlayer(1), PlayerRecord{}, 60,
            [](int, int32_t) { return uint8_t{kButtonShot}; }, score));
        std::strcpy(system().config.lastName, name);
        system().spawnFront<ReplaySaveInit>(layer::kScreens);
        EXPECT_TRUE(runUntil([&] { return findTask<ReplaySave>(system()) != nullptr; }, 5));
        host->run(1);
        return *findTask<ReplaySave>(system());
    }
    static std::string nameIn(const std::string& path) {
        ReplayIndex index;
        return ReplayData::ReadIndex(path.c_str(), index) ? index.name : "";
    }
};

TEST_F(ReplaySaveTest, SavingIntoSlotTwentyFiveAfterTheCursorWraps) {
    ReplaySave& screen = openSave("PILOTNAME9", 7000);
    EXPECT_EQ(system().replay.recording, 0);
    EXPECT_EQ(system().fieldView, 0);
    EXPECT_TRUE(screen.entries.empty());
    press("Up");
    EXPECT_EQ(screen.cursor, 24);
    press("Z");
    ASSERT_TRUE(fs::exists("replay/replay25.rpl"));
    EXPECT_EQ(nameIn(slotFile(25)), "PILOTNAME") << "at most 9 characters of the name";
    ASSERT_NE(screen.entryForSlot(25), nullptr) << "the list is read again after a save";
    const std::string row = ReplayScreenBase::rowText(25, screen.entryForSlot(25));
    EXPECT_EQ(row.substr(0, 27), "[25] PILOTNAME      7000   ");
    EXPECT_EQ(row.substr(row.size() - 9), "   Normal");
    EXPECT_EQ(screen.entryForSlot(25)->stageMask, 0x3);
    EXPECT_EQ(screen.failureShown, 0);
    press("Down");
    EXPECT_EQ(screen.cursor, 0);

    // The saved file plays as the game was recorded.
    ReplayData loaded;
    ASSERT_TRUE(loaded.Load(slotFile(25).c_str()));
    EXPECT_EQ(loaded.stageRecord(1).frameCount, 60);
    EXPECT_EQ(loaded.index().score[0], 7000);

    press("X");
    ASSERT_TRUE(runUntil([&] { return findTask<Title>(system()) != nullptr; }, 5));
}

TEST_F(ReplaySaveTest, AUsedSlotAsksBeforeItIsOverwritten) {
    ASSERT_TRUE(writeReplay(slotFile(1), {20}, 0, "OLD", 10));
    const Bytes before = readBytes(slotFile(1));
    ReplaySave& screen = openSave("NEW", 900);
    ASSERT_NE(screen.entryForSlot(1), nullptr);
    host->run(80);

    // Confirm on the used slot: the question, over a frozen screen, starting on "No".
    press("Z");
    auto* question = findTask<ReplayOverwrite>(system());
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->choice, 1);
    EXPECT_EQ(screen.state, kTaskFrozen);
    // For looking at: the question over the save screen.
    host->run(30);
    fs::create_directories(fs::path(VG_BINARY_DIR) / "replay_shots");
    savePng((fs::path(VG_BINARY_DIR) / "replay_shots" / "overwrite.png").c_str(), host->screen());
    press("Z");
    EXPECT_EQ(findTask<ReplayOverwrite>(system()), nullptr);
    EXPECT_EQ(readBytes(slotFile(1)), before) << "\"No\" keeps the file";
    EXPECT_EQ(screen.state, kTaskActive);
    host->run(3);
    EXPECT_EQ(findTask<ReplayOverwrite>(system()), nullptr)
        << "the confirm that closed the question does not open it again";

    // Cancel and Escape close it too.
    press("Z");
    ASSERT_NE(findTask<ReplayOverwrite>(system()), nullptr);
    press("Esc");
    EXPECT_EQ(findTask<ReplayOverwrite>(system()), nullptr);
    EXPECT_NE(findTask<ReplaySave>(system()), nullptr) << "Escape closes only the question";

    // Right to "Yes", Left back to "No", Right again, confirm: written, list read again.
    press("Z");
    question = findTask<ReplayOverwrite>(system());
    ASSERT_NE(question, nullptr);
    press("Right");
    EXPECT_EQ(question->choice, 0);
    press("Left");
    EXPECT_EQ(question->choice, 1);
    press("Right");
    press("Z");
    EXPECT_EQ(findTask<ReplayOverwrite>(system()), nullptr);
    EXPECT_EQ(nameIn(slotFile(1)), "NEW");
    EXPECT_EQ(screen.entryForSlot(1)->index.score[0], 900);
}

TEST_F(ReplaySaveTest, AFailedSaveSaysSoAndKeepsTheOldFile) {
    ASSERT_TRUE(writeReplay(slotFile(3), {20}, 1, "OLD", 10));
    const Bytes before = readBytes(slotFile(3));
    // The file is written beside the old one and renamed over it: make that impossible.
    fs::create_directory("replay/replay03.rpl.new");
    ReplaySave& screen = openSave("NEW", 900);
    press("Down");
    press("Down");
    press("Z");
    press("Right");
    press("Z");
    EXPECT_EQ(findTask<ReplayOverwrite>(system()), nullptr);
    EXPECT_EQ(readBytes(slotFile(3)), before);
    EXPECT_GT(screen.failureShown, 0) << "the failure line shows";
    host->run(1);
    fs::create_directories(fs::path(VG_BINARY_DIR) / "replay_shots");
    savePng((fs::path(VG_BINARY_DIR) / "replay_shots" / "save_failed.png").c_str(), host->screen());
    EXPECT_EQ(screen.entryForSlot(3)->index.score[0], 10);
    host->run(ReplaySave::kFailureFrames);
    EXPECT_EQ(screen.failureShown, 0) << "and goes again";

    // No folder can be made where a file is in the way: an empty slot fails the same way.
    fs::remove_all("replay");
    writeBytes("replay", Bytes{1, 2, 3});
    press("Down");
    press("Z");
    EXPECT_GT(screen.failureShown, 0);
    EXPECT_EQ(findTask<ReplayOverwrite>(system()), nullptr);
    EXPECT_EQ(readBytes("replay"), (Bytes{1, 2, 3}));
}

}  // namespace
}  // namespace vg
