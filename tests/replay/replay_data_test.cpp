#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "ReplayTestFiles.h"
#include "core/GameRandom.h"
#include "core/TaskManager.h"
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
// nothing else. A stage whose input does not inflate to exactly its frame count, or whose present
// player has no input, is damaged: left out, and named as such.
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

    Bytes noBlock = packageMagic();
    putEntry(noBlock, "INDEX", indexBytes("HOST", 1));
    putEntry(noBlock, "STAGE_0", goodStage);
    Bytes absentWithGarbage = withStage0(goodStage, block);
    putEntry(absentWithGarbage, "STAGE_0_DATA_1", Bytes(18, 0x77));

    struct Case {
        const char* what;
        Bytes file;
        bool loads;
        bool hasStage0;
        bool damaged0;  // stage 0's record is sound, its input is not
        Bytes fed;      // player 0's first ten input words with the live input 0xEE
    };
    const Bytes zeros(10, 0);
    const std::vector<Case> cases = {
        {"sound file", withStage0(goodStage, block), true, true, false, input},
        {"not a package", Bytes{'R', 'I', 'F', 'F'}, false, false, false, {}},
        {"no INDEX", noIndex, false, false, false, {}},
        {"INDEX of 27 bytes", shortIndex, false, false, false, {}},
        {"INDEX of 29 bytes", longIndex, false, false, false, {}},
        {"difficulty 5", badDifficulty, false, false, false, {}},
        {"stage record of 43 bytes",
         withStage0(Bytes(goodStage.begin(), goodStage.end() - 1), block), true, false, false,
         zeros},
        {"stage record of 45 bytes",
         withStage0(
             [&] {
                 Bytes b = goodStage;
                 b.push_back(0);
                 return b;
             }(),
             block),
         true, false, false, zeros},
        {"negative frame count", withStage0(stageBytes(player, {}, -10, 18, 0), block), true, false,
         false, zeros},
        {"frame count in the billions",
         withStage0(stageBytes(player, {}, 2000000000, 18, 0), block), true, false, false, zeros},
        {"frame count just past the arena",
         withStage0(stageBytes(player, {}, ReplayData::kMaxStageFrames + 1, 18, 0), block), true,
         false, false, zeros},
        {"block size past the entry", withStage0(stageBytes(player, {}, 10, 1 << 30, 0), block),
         true, true, false, input},
        {"negative block size", withStage0(stageBytes(player, {}, 10, -5, 0), block), true, true,
         false, input},
        {"input shorter than the frame count", withStage0(stageBytes(player, {}, 20, 18, 0), block),
         true, false, true, zeros},
        {"input longer than the frame count", withStage0(stageBytes(player, {}, 5, 18, 0), block),
         true, false, true, zeros},
        {"garbage block", withStage0(goodStage, Bytes(18, 0x77)), true, false, true, zeros},
        {"block cut by the end of the file", cutFile, true, false, true, zeros},
        {"no block for the player present", noBlock, true, false, true, zeros},
        {"garbage block of an absent player", absentWithGarbage, true, false, true, zeros},
        {"block larger than the arena", withStage0(goodStage, bigData), true, false, true, zeros},
        {"stage slots out of range", outOfRange, true, false, false, zeros},
        {"name without its end", unterminated, true, false, false, zeros},
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
        uint8_t damaged = 0xFF;
        EXPECT_EQ(ReplayData::StageMask(path.c_str(), nullptr, &damaged) != 0,
                  c.hasStage0 || c.file == badDifficulty);
        EXPECT_EQ(damaged, c.damaged0 ? 1 : 0) << "the list sees the damage";
        EXPECT_EQ(replay.damagedStages(), c.damaged0 && c.loads ? 1 : 0);
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

// The check trail over an empty game, whose state is the random generator alone: recorded every
// 60 frames, saved after the stage's blocks, read back whole, matched by the same play, and a
// departure (a number drawn that the recording did not draw) named at the first mark after it.
TEST(ReplayTrailTest, TrailIsRecordedSavedAndNamesTheFirstMarkThatDeparts) {
    TempFolder folder("replay");
    const std::string path = folder.file("trail.rpl");
    TaskManager game;
    const ReplayBinding binding{nullptr, nullptr, nullptr, nullptr, nullptr, &game};
    ReplayData replay;
    replay.bindGame(binding);
    replay.Reset();
    replay.recording = 1;
    gameRandom().randomSeed(GameRandom::kDefaultSeed);
    // Stage 1 draws a number every 7th frame; its 250 frames give marks at 60, 120, 180, 240.
    replay.BeginStage(1, 1, newPlayer(0), PlayerRecord{});
    for (int32_t f = 0; f < 250; ++f) {
        uint8_t a = 0, b = 0;
        replay.Step(a, b);
        if (f % 7 == 0) gameRandom().randomNext();
    }
    ASSERT_TRUE(replay.EndStage(10, 0, 1));
    const std::vector<TrailMark>& trail = replay.trail(1);
    ASSERT_EQ(trail.size(), 4u);
    for (size_t i = 0; i < trail.size(); ++i) {
        EXPECT_EQ(trail[i].frame, static_cast<int32_t>(60 * (i + 1)));
    }
    EXPECT_NE(trail[0].digest, trail[1].digest);
    ASSERT_TRUE(replay.Save(path.c_str(), kStamp));
    EXPECT_EQ(entryNames(path),
              (std::vector<std::string>{"INDEX", "STAGE_1", "STAGE_1_DATA_0", "STAGE_1_CHECK"}));

    ReplayData loaded;
    loaded.bindGame(binding);
    ASSERT_TRUE(loaded.Load(path.c_str()));
    EXPECT_EQ(loaded.trail(1), trail);
    // Read back and written again, the trail is kept to the byte.
    const std::string again = folder.file("again.rpl");
    ASSERT_TRUE(loaded.Save(again.c_str(), kStamp));
    EXPECT_EQ(readBytes(again), readBytes(path));

    // Played back as recorded: every mark matches. `extraDraw`: a number drawn at that frame
    // that the recording did not draw.
    const auto playBack = [&](int32_t extraDraw) {
        loaded.playingBack = 1;
        gameRandom().randomSeed(GameRandom::kDefaultSeed);
        loaded.BeginStage(1, 1, newPlayer(0), PlayerRecord{});
        for (int32_t f = 0; f < 250; ++f) {
            uint8_t a = 0, b = 0;
            loaded.Step(a, b);
            if (f % 7 == 0) gameRandom().randomNext();
            if (f == extraDraw) gameRandom().randomNext();
        }
        return loaded.trailDeparture(true);
    };
    EXPECT_EQ(playBack(-1), -1);
    EXPECT_EQ(loaded.marksTaken(), trail) << "what play took is the trail it would record";
    for (const int32_t planted : {0, 59, 60, 100, 179, 239}) {
        SCOPED_TRACE(planted);
        const int32_t departure = playBack(planted);
        EXPECT_GT(departure, planted);
        EXPECT_LE(departure, planted + ReplayData::kTrailInterval);
    }
    // After the last mark nothing is compared; a play that ends before a mark departs there.
    EXPECT_EQ(playBack(240), -1);
    loaded.playingBack = 1;
    gameRandom().randomSeed(GameRandom::kDefaultSeed);
    loaded.BeginStage(1, 1, newPlayer(0), PlayerRecord{});
    for (int32_t f = 0; f < 150; ++f) {
        uint8_t a = 0, b = 0;
        loaded.Step(a, b);
        if (f % 7 == 0) gameRandom().randomNext();
    }
    EXPECT_EQ(loaded.trailDeparture(false), -1);
    EXPECT_EQ(loaded.trailDeparture(true), 180);
}

// A "STAGE_%d_CHECK" entry is read as far as it is sound, whatever it holds; the stage plays as
// ever.
TEST(ReplayTrailTest, HostileTrailsAreReadAsFarAsTheyAreSound) {
    const auto marks = [](std::vector<std::pair<int32_t, uint32_t>> list) {
        Bytes out;
        for (const auto& [frame, digest] : list) {
            put32(out, static_cast<uint32_t>(frame));
            put32(out, digest);
        }
        return out;
    };
    const Bytes sound = marks({{60, 1}, {120, 2}, {180, 3}});
    const std::vector<TrailMark> all = {{60, 1}, {120, 2}, {180, 3}};
    std::mt19937 random(5);
    Bytes garbage(4096);
    for (uint8_t& b : garbage) b = static_cast<uint8_t>(random());
    Bytes huge = sound;
    huge.resize(ReplayData::kArenaCapacity * 2, 0xFF);
    struct Case {
        const char* what;
        Bytes entry;
        std::vector<TrailMark> read;
    };
    const std::vector<Case> cases = {
        {"sound", sound, all},
        {"empty", {}, {}},
        {"shorter than a mark", Bytes(sound.begin(), sound.begin() + 7), {}},
        {"cut in the third mark", Bytes(sound.begin(), sound.end() - 1), {all[0], all[1]}},
        {"a mark at the frame count", marks({{60, 1}, {200, 2}}), {all[0]}},
        {"marks past the stage", marks({{60, 1}, {120, 2}, {180, 3}, {240, 4}, {9000, 5}}), all},
        {"frames going back", marks({{60, 1}, {60, 2}, {120, 3}}), {all[0]}},
        {"frame 0", marks({{0, 1}, {60, 2}}), {}},
        {"negative frame", marks({{-60, 1}}), {}},
        {"garbage", garbage, ReplayData::ReadTrail(garbage.data(), garbage.size(), 200)},
        {"huge, sound at its start", huge, all},
    };
    TempFolder folder("replay");
    const std::string path = folder.file("trail.rpl");
    const Bytes input(200, 0x10);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ReplayData::ReadTrail(c.entry.data(), c.entry.size(), 200), c.read);
        Bytes file = packageMagic();
        putEntry(file, "INDEX", indexBytes("TRAIL", 1));
        putEntry(file, "STAGE_0", stageBytes(newPlayer(0), {}, 200, 0, 0));
        putEntry(file, "STAGE_0_DATA_0", zlibCompress(input));
        putEntry(file, "STAGE_0_CHECK", c.entry);
        writeBytes(path, file);
        ReplayData replay;
        ASSERT_TRUE(replay.Load(path.c_str()));
        ASSERT_TRUE(replay.HasStage(0));
        EXPECT_EQ(replay.trail(0), c.read);
        replay.playingBack = 1;
        replay.BeginStage(1, 0, newPlayer(0), PlayerRecord{});
        EXPECT_EQ(playFrames(replay, 200, 0)[0], input);
    }
    // Garbage rarely starts with a sound mark; the reader stopped where it stopped being sound.
    EXPECT_LE(ReplayData::ReadTrail(garbage.data(), garbage.size(), 200).size(), 1u);
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
        putEntry(file, "STAGE_2_DATA_1", zlibCompress({0}));
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
