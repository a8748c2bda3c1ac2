#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "ReplayTestFiles.h"
#include "replay/ReplayData.h"
#include "resources/Package.h"

namespace vg {
namespace {

using namespace vg::testing;

constexpr ReplayStamp kStamp{26, 3, 14, 15, 9};

uint8_t patternA(int player, int32_t frame) {
    return static_cast<uint8_t>(player == 0 ? frame * 7 + 3 : frame * 13 + 1);
}

std::vector<std::string> entryNames(const std::string& path) {
    PackageReader reader;
    std::vector<std::string> names;
    if (!reader.openPackage(path.c_str())) return names;
    for (const auto& entry : reader.entries()) names.push_back(entry.name);
    return names;
}

Bytes expectedStream(int player, int32_t frames, uint8_t (*input)(int, int32_t)) {
    Bytes out;
    for (int32_t f = 0; f < frames; ++f) out.push_back(input(player, f));
    return out;
}

// A whole game's life cycle: a two-player stage, then a stage where the second player is gone,
// saved, loaded, saved again, and played back.
TEST(ReplayRecordTest, GameIsSavedLoadedAndPlayedBackExactly) {
    TempFolder folder("replay");
    const std::string path = folder.file("replay01.rpl");
    const PlayerRecord absent;
    PlayerRecord first = newPlayer(0);
    PlayerRecord second = newPlayer(3);
    second.power = 4;

    ReplayData replay;
    replay.Reset();
    replay.recording = 1;
    ASSERT_TRUE(recordStage(replay, 0, first, second, 3000, patternA, 1234, 5678));
    // Stage 1 is played alone; the other player's controller is never touched.
    first.score = 1234;
    ASSERT_TRUE(recordStage(
        replay, 1, first, absent, 2000,
        [](int player, int32_t f) { return static_cast<uint8_t>(player == 0 ? f % 5 : 0); }, 9999,
        0));
    std::strcpy(replay.index().name, "ACE");

    EXPECT_TRUE(replay.HasStage(0));
    EXPECT_TRUE(replay.HasStage(1));
    EXPECT_FALSE(replay.HasStage(2));
    EXPECT_FALSE(replay.HasStage(-1));
    EXPECT_NE(replay.block(0, 1), nullptr);
    EXPECT_EQ(replay.block(1, 1), nullptr) << "a one-player stage stores no player-1 block";
    EXPECT_EQ(replay.stageRecord(0).frameCount, 3000);
    EXPECT_EQ(replay.stageRecord(0).player[1].finalScore, 5678);
    EXPECT_EQ(replay.index().score[0], 9999) << "the INDEX holds the last stage's scores";

    ASSERT_TRUE(replay.Save(path.c_str(), kStamp));
    EXPECT_EQ(entryNames(path),
              (std::vector<std::string>{"INDEX", "STAGE_0", "STAGE_0_DATA_0", "STAGE_0",
                                        "STAGE_0_DATA_1", "STAGE_1", "STAGE_1_DATA_0"}));
    const Bytes saved = readBytes(path);
    // INDEX data starts after the magic, the name length, "INDEX" and the size.
    const size_t index = 4 + 4 + 5 + 4;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&saved[index])), "ACE");
    EXPECT_EQ(saved[index + 10], 1);  // difficulty
    EXPECT_EQ(saved[index + 12], 9999 & 0xFF);
    EXPECT_EQ(Bytes(saved.begin() + index + 20, saved.begin() + index + 25),
              (Bytes{26, 3, 14, 15, 9}));

    ReplayIndex header;
    ASSERT_TRUE(ReplayData::ReadIndex(path.c_str(), header));
    EXPECT_STREQ(header.name, "ACE");
    EXPECT_EQ(ReplayData::StageMask(path.c_str()), 0b11);

    ReplayData loaded;
    ASSERT_TRUE(loaded.Load(path.c_str()));
    EXPECT_EQ(loaded.recording, 0);
    EXPECT_EQ(loaded.playingBack, 0);
    EXPECT_EQ(loaded.stageRecord(1).player[0].score, 1234);
    EXPECT_EQ(loaded.stageRecord(1).player[0].finalScore, 9999);
    // Read back and written again, the file is the same to the byte.
    const std::string again = folder.file("again.rpl");
    ASSERT_TRUE(loaded.Save(again.c_str(), kStamp));
    EXPECT_EQ(readBytes(again), saved);

    std::array<PlayerRecord, 2> records{newPlayer(1), newPlayer(1)};
    ASSERT_TRUE(loaded.StartRecords(1, records));
    EXPECT_EQ(records[0].shipType, 0);
    EXPECT_LT(records[1].lives, 0);
    EXPECT_FALSE(loaded.StartRecords(2, records));

    loaded.playingBack = 1;
    loaded.BeginStage(1, 0, records[0], records[1]);
    std::vector<Bytes> fed = playFrames(loaded, 3000, 0xAA);
    EXPECT_EQ(fed[0], expectedStream(0, 3000, patternA));
    EXPECT_EQ(fed[1], expectedStream(1, 3000, patternA));
    // Past the recorded input the live controller is in effect.
    fed = playFrames(loaded, 10, 0xAA);
    EXPECT_EQ(fed[0], Bytes(10, 0xAA));
    EXPECT_EQ(fed[1], Bytes(10, 0xAA));

    // Stage 1: the absent player is fed 0, neither the previous stage's input nor the live one.
    loaded.BeginStage(1, 1, records[0], records[1]);
    fed = playFrames(loaded, 2000, 0xAA);
    for (int32_t f = 0; f < 2000; ++f) {
        ASSERT_EQ(fed[0][f], f % 5) << f;
        ASSERT_EQ(fed[1][f], 0) << f;
    }
    // A stage the replay does not hold plays on nothing.
    loaded.BeginStage(1, 4, records[0], records[1]);
    fed = playFrames(loaded, 5, 0xAA);
    EXPECT_EQ(fed[0], Bytes(5, 0));
}

TEST(ReplayRecordTest, AbsentPlayerWhoPressesAButtonKeepsItsInput) {
    // The second player may join in the middle of a stage: once it pressed anything its input
    // is part of the stage.
    ReplayData replay;
    replay.Reset();
    replay.recording = 1;
    ASSERT_TRUE(
        recordStage(replay, 0, newPlayer(0), PlayerRecord{}, 300, [](int player, int32_t f) {
            return static_cast<uint8_t>(player == 1 && f >= 100 && f < 104 ? 0x10 : 0);
        }));
    ASSERT_NE(replay.block(0, 1), nullptr);
    replay.recording = 0;
    replay.playingBack = 1;
    replay.BeginStage(0, 0, newPlayer(0), PlayerRecord{});
    const std::vector<Bytes> fed = playFrames(replay, 300, 0);
    EXPECT_EQ(fed[1][99], 0);
    EXPECT_EQ(fed[1][100], 0x10);
    EXPECT_EQ(fed[1][104], 0);
}

TEST(ReplayRecordTest, IncompressibleInputIsStoredWithinItsBlock) {
    std::mt19937 random(7);
    Bytes noise(200000);
    for (uint8_t& b : noise) b = static_cast<uint8_t>(random());
    ReplayData replay;
    replay.Reset();
    replay.recording = 1;
    ASSERT_TRUE(recordStage(replay, 2, newPlayer(1), PlayerRecord{}, 200000,
                            [&](int player, int32_t f) { return player ? uint8_t{0} : noise[f]; }));
    const int32_t size = replay.stageRecord(2).blockSize[0];
    EXPECT_GT(size, 200000);
    EXPECT_LE(static_cast<uLong>(size), compressBound(200000));
    // Only the block stays in the arena; the compressor's buffer went back.
    EXPECT_EQ(replay.arena().bytesInUse(), (static_cast<uint32_t>(size) + 23) & ~15u);

    replay.recording = 0;
    replay.playingBack = 1;
    replay.BeginStage(0, 2, newPlayer(1), PlayerRecord{});
    EXPECT_EQ(playFrames(replay, 200000, 0)[0], noise);
}

TEST(ReplayRecordTest, StageThatDoesNotFitTheArenaIsLeftOutAndReported) {
    std::mt19937 random(11);
    ReplayData replay;
    replay.Reset();
    replay.recording = 1;
    // The longest stage a file may hold, as noise: its compressed form cannot fit next to the
    // compressor's buffer.
    EXPECT_FALSE(recordStage(replay, 0, newPlayer(0), newPlayer(2), ReplayData::kMaxStageFrames,
                             [&](int, int32_t) { return static_cast<uint8_t>(random()); }));
    EXPECT_FALSE(replay.HasStage(0));
    EXPECT_EQ(replay.block(0, 0), nullptr);
    EXPECT_EQ(replay.block(0, 1), nullptr);
    EXPECT_EQ(replay.arena().bytesInUse(), 0u);
    // The next stage records as usual.
    EXPECT_TRUE(recordStage(replay, 1, newPlayer(0), newPlayer(2), 500, patternA));
    EXPECT_TRUE(replay.HasStage(1));
}

TEST(ReplayRecordTest, ShortRunClosesTheOpenStageAtItsLastFrame) {
    ReplayData replay;
    replay.Reset();
    EXPECT_FALSE(replay.EndOpenStage(0, 0));
    replay.recording = 1;
    replay.BeginStage(2, 3, newPlayer(2), PlayerRecord{});
    EXPECT_EQ(replay.openStage(), 3);
    playFrames(replay, 50, 0x11);
    ASSERT_TRUE(replay.EndOpenStage(777, 0));
    EXPECT_EQ(replay.openStage(), -1);
    EXPECT_EQ(replay.stageRecord(3).frameCount, 50);
    EXPECT_EQ(replay.stageRecord(3).player[0].finalScore, 777);
    EXPECT_EQ(replay.index().difficulty, 2);
    EXPECT_FALSE(replay.EndOpenStage(0, 0)) << "closed once";
}

TEST(ReplayRecordTest, NeitherModeLeavesInputAndFrameAlone) {
    ReplayData replay;
    replay.Reset();
    replay.BeginStage(0, 0, newPlayer(0), PlayerRecord{});
    const std::vector<Bytes> fed = playFrames(replay, 5, 0x42);
    EXPECT_EQ(fed[0], Bytes(5, 0x42));
    EXPECT_EQ(replay.frame(), 0);
    EXPECT_TRUE(replay.EndStage(1, 2, 0));
    EXPECT_FALSE(replay.HasStage(0));
    EXPECT_STREQ(replay.index().name, "no name");
}

TEST(ReplayFileTest, PathsKeepTheDoubledSlash) {
    EXPECT_EQ(ReplayData::SlotPath(1), "./replay//replay01.rpl");
    EXPECT_EQ(ReplayData::SlotPath(25), "./replay//replay25.rpl");
    EXPECT_EQ(ReplayData::FolderPath(ReplayData::kDemoFileName), "./replay//demo.rpl");
}

TEST(ReplayFileTest, FileWithOnlyStageIndexThreeOffersStageThreeOnly) {
    TempFolder folder("replay");
    const std::string path = folder.file("replay07.rpl");
    const Bytes input = {0x10, 0x11, 0x12, 0x13};
    Bytes file = packageMagic();
    putEntry(file, "INDEX", indexBytes("LONE", 2, 500));
    putEntry(file, "STAGE_3", stageBytes({1, 2, 3, 3, 32, 0, 500}, {}, 4, 12, 0));
    putEntry(file, "STAGE_3_DATA_0", zlibCompress(input));
    writeBytes(path, file);

    EXPECT_EQ(ReplayData::StageMask(path.c_str()), 0b1000);
    ReplayData replay;
    ASSERT_TRUE(replay.Load(path.c_str()));
    for (int s = -1; s < 6; ++s) EXPECT_EQ(replay.HasStage(s), s == 3) << s;
    EXPECT_EQ(replay.index().difficulty, 2);
    replay.playingBack = 1;
    replay.BeginStage(2, 3, PlayerRecord{}, PlayerRecord{});
    EXPECT_EQ(playFrames(replay, 4, 0)[0], input);
}

// Files built by hand, each damaged in one way; every one loads what is sound and plays on
// nothing else.
TEST(ReplayFileTest, HostileFilesLoadOnlyWhatIsSound) {
    const Bytes input = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const Bytes block = zlibCompress(input);
    const PlayerRecord player{0, 2, 1, 3, 32, 0, 100};
    const auto withStage0 = [&](const Bytes& stage, const Bytes& data) {
        Bytes file = packageMagic();
        putEntry(file, "INDEX", indexBytes("HOST", 1));
        putEntry(file, "STAGE_0", stage);
        putEntry(file, "STAGE_0_DATA_0", data);
        return file;
    };
    const Bytes goodStage = stageBytes(player, {}, 10, static_cast<int32_t>(block.size()), 0);
    Bytes bigData(ReplayData::kArenaCapacity + 16, 0x55);
    Bytes cutFile = withStage0(goodStage, block);
    cutFile.resize(cutFile.size() - 3);
    Bytes unterminated = packageMagic();
    putEntry(unterminated, "INDEX", indexBytes("ABCDEFGHIJ", 0));
    Bytes outOfRange = packageMagic();
    putEntry(outOfRange, "INDEX", indexBytes("SLOTS", 0));
    for (const char* name : {"STAGE_5", "STAGE_6", "STAGE_-1", "STAGE_255"}) {
        putEntry(outOfRange, name, goodStage);
        putEntry(outOfRange, std::string(name) + "_DATA_0", block);
    }
    Bytes noIndex = packageMagic();
    putEntry(noIndex, "STAGE_0", goodStage);
    putEntry(noIndex, "STAGE_0_DATA_0", block);
    Bytes shortIndex = packageMagic();
    putEntry(shortIndex, "INDEX", Bytes(27, 0));
    Bytes longIndex = packageMagic();
    putEntry(longIndex, "INDEX", Bytes(29, 0));
    Bytes badDifficulty = withStage0(goodStage, block);
    badDifficulty[4 + 4 + 5 + 4 + 10] = 5;

    struct Case {
        const char* what;
        Bytes file;
        bool loads;
        bool hasStage0;
        Bytes fed;  // player 0's first ten input words with the live input 0xEE
    };
    const Bytes zeros(10, 0);
    const std::vector<Case> cases = {
        {"sound file", withStage0(goodStage, block), true, true, input},
        {"not a package", Bytes{'R', 'I', 'F', 'F'}, false, false, {}},
        {"no INDEX", noIndex, false, false, {}},
        {"INDEX of 27 bytes", shortIndex, false, false, {}},
        {"INDEX of 29 bytes", longIndex, false, false, {}},
        {"difficulty 5", badDifficulty, false, false, {}},
        {"stage record of 43 bytes",
         withStage0(Bytes(goodStage.begin(), goodStage.end() - 1), block), true, false, zeros},
        {"stage record of 45 bytes",
         withStage0(
             [&] {
                 Bytes b = goodStage;
                 b.push_back(0);
                 return b;
             }(),
             block),
         true, false, zeros},
        {"negative frame count", withStage0(stageBytes(player, {}, -10, 18, 0), block), true, false,
         zeros},
        {"frame count in the billions",
         withStage0(stageBytes(player, {}, 2000000000, 18, 0), block), true, false, zeros},
        {"frame count just past the arena",
         withStage0(stageBytes(player, {}, ReplayData::kMaxStageFrames + 1, 18, 0), block), true,
         false, zeros},
        {"block size past the entry", withStage0(stageBytes(player, {}, 10, 1 << 30, 0), block),
         true, true, input},
        {"negative block size", withStage0(stageBytes(player, {}, 10, -5, 0), block), true, true,
         input},
        {"input shorter than the frame count", withStage0(stageBytes(player, {}, 20, 18, 0), block),
         true, true, zeros},
        {"input longer than the frame count", withStage0(stageBytes(player, {}, 5, 18, 0), block),
         true, true, Bytes{0, 0, 0, 0, 0, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}},
        {"garbage block", withStage0(goodStage, Bytes(18, 0x77)), true, true, zeros},
        {"block cut by the end of the file", cutFile, true, true, zeros},
        {"block larger than the arena", withStage0(goodStage, bigData), true, true, zeros},
        {"stage slots out of range", outOfRange, true, false, zeros},
        {"name without its end", unterminated, true, false, zeros},
    };

    TempFolder folder("replay");
    const std::string path = folder.file("hostile.rpl");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeBytes(path, c.file);
        ReplayData replay;
        EXPECT_EQ(replay.Load(path.c_str()), c.loads);
        EXPECT_EQ(replay.HasStage(0), c.hasStage0);
        for (int s = 1; s < 6; ++s) EXPECT_FALSE(replay.HasStage(s)) << s;
        // Stage numbers wrap onto the six slots.
        EXPECT_EQ(replay.HasStage(6), c.hasStage0);
        EXPECT_LT(std::strlen(replay.index().name), 10u);
        EXPECT_EQ(ReplayData::StageMask(path.c_str()) != 0, c.hasStage0 || c.file == badDifficulty);
        if (!c.loads) {
            EXPECT_STREQ(replay.index().name, "no name")
                << "a refused file leaves the replay reset";
            continue;
        }
        // A block's size is what was read into it, whatever the record claims.
        for (int p = 0; p < 2; ++p) {
            const uint8_t* held = replay.block(0, p);
            const int32_t size = replay.stageRecord(0).blockSize[p];
            if (!held) {
                EXPECT_EQ(size, 0);
                continue;
            }
            EXPECT_GT(size, 0);
            EXPECT_LE(static_cast<uint32_t>(size) + TaskArena::kHeaderSize,
                      replay.arena().blockSizeOf(held));
        }
        replay.playingBack = 1;
        replay.BeginStage(1, 0, PlayerRecord{}, PlayerRecord{});
        const std::vector<Bytes> fed = playFrames(replay, 10, 0xEE);
        EXPECT_EQ(fed[0], c.fed);
        EXPECT_EQ(fed[1], zeros) << "no player-1 block: fed 0";
    }

    // The list still reads the header of a file with a bad difficulty, to show an empty row.
    writeBytes(path, badDifficulty);
    ReplayIndex header;
    ASSERT_TRUE(ReplayData::ReadIndex(path.c_str(), header));
    EXPECT_EQ(header.difficulty, 5);
    EXPECT_FALSE(ReplayData::Playable(header));
    writeBytes(path, unterminated);
    ASSERT_TRUE(ReplayData::ReadIndex(path.c_str(), header));
    EXPECT_STREQ(header.name, "ABCDEFGHI");
}

TEST(ReplayFileTest, HostileStartRecordsAreClampedToWhatShipsHold) {
    struct Case {
        PlayerRecord stored;
        PlayerRecord expected;
    };
    // Ship types 0..3 ("TYPE-A" .. "TYPE-B2"): highest power 5, 5, 4, 5.
    const std::vector<Case> cases = {
        {{0, 2, 3, 3, 32, 10, 20}, {0, 2, 3, 3, 32, 10, 20}},
        {{0, 120, 9, 250, 1000, 5, 6}, {0, 99, 5, 99, 64, 5, 6}},
        {{1, 1, 200, 0, -3, 0, 0}, {1, 1, 5, 0, 0, 0, 0}},
        {{2, 1, 5, 1, 64, 0, 0}, {2, 1, 4, 1, 64, 0, 0}},
        {{3, 0, 6, 99, 65, 0, 0}, {3, 0, 5, 99, 64, 0, 0}},
        {{4, 2, 3, 3, 32, 0, 0}, {255, -1, 3, 3, 32, 0, 0}},
        {{200, 5, 1, 1, 1, 0, 0}, {255, -1, 1, 1, 1, 0, 0}},
        {{255, -1, 0, 0, 0, 0, 0}, {255, -1, 0, 0, 0, 0, 0}},
    };
    TempFolder folder("replay");
    const std::string path = folder.file("records.rpl");
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        Bytes file = packageMagic();
        putEntry(file, "INDEX", indexBytes("REC", 0));
        putEntry(file, "STAGE_2", stageBytes(cases[i].stored, cases[i].stored, 1, 0, 0));
        putEntry(file, "STAGE_2_DATA_0", zlibCompress({0}));
        writeBytes(path, file);
        ReplayData replay;
        ASSERT_TRUE(replay.Load(path.c_str()));
        std::array<PlayerRecord, 2> records;
        ASSERT_TRUE(replay.StartRecords(2, records));
        for (const PlayerRecord& got : records) {
            const PlayerRecord& want = cases[i].expected;
            EXPECT_EQ(got.shipType, want.shipType);
            EXPECT_EQ(got.lives, want.lives);
            EXPECT_EQ(got.power, want.power);
            EXPECT_EQ(got.bombs, want.bombs);
            EXPECT_EQ(got.energy, want.energy);
            EXPECT_EQ(got.score, want.score);
            EXPECT_EQ(got.finalScore, want.finalScore);
        }
    }
}

TEST(ReplayFileTest, FailedSaveReportsAndKeepsTheEarlierFile) {
    TempFolder folder("replay");
    const std::string path = folder.file("replay03.rpl");
    ReplayData replay;
    replay.Reset();
    replay.recording = 1;
    ASSERT_TRUE(recordStage(replay, 0, newPlayer(0), PlayerRecord{}, 100, patternA));
    ASSERT_TRUE(replay.Save(path.c_str(), kStamp));
    const Bytes earlier = readBytes(path);

    ASSERT_TRUE(recordStage(replay, 1, newPlayer(0), PlayerRecord{}, 100, patternA));
    // The file is written beside the old one first; when that cannot be made, nothing changes.
    std::filesystem::create_directory(path + ".new");
    EXPECT_FALSE(replay.Save(path.c_str(), kStamp));
    EXPECT_EQ(readBytes(path), earlier);
    EXPECT_FALSE(replay.Save(folder.file("missing/replay04.rpl").c_str(), kStamp));
    EXPECT_FALSE(std::filesystem::exists(folder.file("missing")));
}

}  // namespace
}  // namespace vg
