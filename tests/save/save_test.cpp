#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "core/SaveData.h"
#include "core/System.h"

namespace vg {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

// Little-endian writers for building save files by hand, independently of the game's structs.
void put32(Bytes& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void put16(Bytes& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void putFloat(Bytes& out, float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    put32(out, bits);
}
void putText(Bytes& out, const std::string& text, size_t field) {
    for (size_t i = 0; i < field; ++i) out.push_back(i < text.size() ? text[i] : 0);
}
Bytes magic() {
    return {0x2E, 0x70, 0x63, 0x6B};
}
void putEntry(Bytes& out, const std::string& name, const Bytes& data) {
    put32(out, static_cast<uint32_t>(name.size()));
    out.insert(out.end(), name.begin(), name.end());
    put32(out, static_cast<uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
}

Bytes defaultScores() {
    Bytes out;
    for (int table = 0; table < 20; ++table) {
        for (int place = 0; place < 10; ++place) {
            put32(out, static_cast<uint32_t>(100000 - 10000 * place));
            putText(out, "---------", 10);
            putText(out, "", 6);  // date and the reserved byte
        }
    }
    return out;
}

Bytes defaultKeys() {
    Bytes out;
    const uint32_t keys[2][8] = {{0x26, 0x28, 0x25, 0x27, 0x5A, 0x58, 0x43, 0x56},
                                 {0x68, 0x62, 0x64, 0x66, 0x51, 0x57, 0x45, 0x52}};
    for (int player = 0; player < 2; ++player) {
        put32(out, 0);  // button byte and three reserved bytes
        for (uint32_t key : keys[player]) put32(out, key);
        put32(out, static_cast<uint32_t>(player));  // padId
        for (uint16_t button : {0, 1, 2, 3}) put16(out, button);
    }
    return out;
}

Bytes configBytes(float music, float se, uint8_t collision = 1) {
    Bytes out;
    putText(out, "", 12);
    putFloat(out, music);
    putFloat(out, se);
    putText(out, "", 8);  // progress flags and clear marks
    out.push_back(0);
    out.push_back(collision);
    out.push_back(0);
    out.push_back(0);
    return out;
}

class SaveFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::path(::testing::TempDir()) /
               ("vg_save_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        path_ = (dir_ / "save").string();
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    void writeFile(const Bytes& bytes) {
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    Bytes readFile() {
        std::ifstream in(path_, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

    fs::path dir_;
    std::string path_;
};

TEST_F(SaveFileTest, DefaultSaveMatchesTheFileLayoutByteForByte) {
    Bytes expected = magic();
    putEntry(expected, "SCORE", defaultScores());
    putEntry(expected, "INPUT", defaultKeys());
    putEntry(expected, "CONFIG", configBytes(1.0f, 0.85f));
    ASSERT_EQ(expected.size(), 4u + (4 + 5 + 4 + 4000) + (4 + 5 + 4 + 96) + (4 + 6 + 4 + 32));
    {
        System system;
        EXPECT_FALSE(system.loadSaveData(path_.c_str()));  // no file yet: defaults
    }
    EXPECT_EQ(readFile(), expected);
}

TEST_F(SaveFileTest, SavedStateComesBackOnTheNextStart) {
    {
        System system;
        system.loadSaveData(path_.c_str());
        system.keyRecords[1].shotKey = 0x20;
        system.keyRecords[0].padId = -1;
        system.config.buzz = 1;
        system.config.furthestStage = 4;
        std::strcpy(system.config.lastName, "PILOT");
        setMusicVolume(system, 0.5f);
        insertScore(2, 3, system.scoreTable, 123456, "ACE", 2026, 12, 8, 21, 5);
    }
    System system;
    ASSERT_TRUE(system.loadSaveData(path_.c_str()));
    EXPECT_EQ(system.keyRecords[1].shotKey, 0x20);
    EXPECT_EQ(system.keyRecords[0].padId, -1);
    EXPECT_EQ(system.config.buzz, 1);
    EXPECT_EQ(system.config.furthestStage, 4);
    EXPECT_STREQ(system.config.lastName, "PILOT");
    EXPECT_FLOAT_EQ(system.config.musicVolume, 0.5f);
    const ScoreEntry& best = system.scoreTable.at(2, 3, 0);
    EXPECT_EQ(best.score, 123456);
    EXPECT_STREQ(best.name, "ACE");
    EXPECT_EQ(best.year, 26);
    EXPECT_EQ(best.minute, 5);
}

TEST_F(SaveFileTest, OnlyConfigRestoresSettingsAndKeepsDefaultScoresAndKeys) {
    Bytes file = magic();
    putEntry(file, "CONFIG", configBytes(0.25f, 0.5f, 2));
    writeFile(file);
    System system;
    ASSERT_TRUE(system.loadSaveData(path_.c_str()));
    EXPECT_FLOAT_EQ(system.config.musicVolume, 0.25f);
    EXPECT_FLOAT_EQ(system.config.seVolume, 0.5f);
    EXPECT_EQ(system.config.playerCollision, 2);
    EXPECT_EQ(system.scoreTable.at(4, 3, 9).score, 10000);
    EXPECT_STREQ(system.scoreTable.at(0, 0, 0).name, "---------");
    EXPECT_EQ(system.keyRecords[0].shotKey, 'Z');
    EXPECT_EQ(system.keyRecords[1].padId, 1);
}

TEST_F(SaveFileTest, ShortEntriesKeepDefaultsForMissingBytes) {
    Bytes keys;
    put32(keys, 0);
    put32(keys, 0x41);  // player 1 Up = A; the rest is missing
    Bytes config;
    putText(config, "BOB", 12);
    putFloat(config, 0.5f);  // music only
    Bytes scores;
    put32(scores, 999999);  // first score, half of its name
    putText(scores, "XYZ", 3);
    Bytes file = magic();
    putEntry(file, "SCORE", scores);
    putEntry(file, "INPUT", keys);
    putEntry(file, "CONFIG", config);
    writeFile(file);

    System system;
    ASSERT_TRUE(system.loadSaveData(path_.c_str()));
    EXPECT_EQ(system.keyRecords[0].upKey, 0x41);
    EXPECT_EQ(system.keyRecords[0].downKey, 0x28);
    EXPECT_EQ(system.keyRecords[1].shotKey, 'Q');
    EXPECT_STREQ(system.config.lastName, "BOB");
    EXPECT_FLOAT_EQ(system.config.musicVolume, 0.5f);
    EXPECT_FLOAT_EQ(system.config.seVolume, 0.85f);
    EXPECT_EQ(system.config.playerCollision, 1);
    EXPECT_EQ(system.scoreTable.at(0, 0, 0).score, 999999);
    EXPECT_STREQ(system.scoreTable.at(0, 0, 0).name, "XYZ------");
    EXPECT_EQ(system.scoreTable.at(0, 0, 1).score, 90000);
}

TEST_F(SaveFileTest, MissingFileOrWrongMagicKeepsEveryDefault) {
    for (bool present : {false, true}) {
        if (present) {
            Bytes file = {'P', 'N', 'G', 0};
            putEntry(file, "CONFIG", configBytes(0.1f, 0.1f, 0));
            writeFile(file);
        }
        System system;
        EXPECT_FALSE(system.loadSaveData(path_.c_str()));
        EXPECT_FLOAT_EQ(system.config.musicVolume, 1.0f);
        EXPECT_FLOAT_EQ(system.config.seVolume, 0.85f);
        EXPECT_EQ(system.config.playerCollision, 1);
        EXPECT_EQ(system.scoreTable.at(1, 1, 0).score, 100000);
        EXPECT_EQ(system.keyRecords[0].pauseKey, 'V');
    }
    // The next shutdown wrote a complete save over the damaged one.
    System system;
    EXPECT_TRUE(system.loadSaveData(path_.c_str()));
}

TEST_F(SaveFileTest, VolumesAreClampedAndNonFiniteOnesBecomeDefaults) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        float music, se, wantMusic, wantSe;
    } cases[] = {{1.5f, -0.5f, 1.0f, 0.0f}, {nan, nan, 1.0f, 0.85f}, {-inf, inf, 1.0f, 0.85f}};
    for (const auto& c : cases) {
        Bytes file = magic();
        putEntry(file, "CONFIG", configBytes(c.music, c.se));
        writeFile(file);
        {
            System system;
            ASSERT_TRUE(system.loadSaveData(path_.c_str()));
            EXPECT_EQ(system.config.musicVolume, c.wantMusic);
            EXPECT_EQ(system.config.seVolume, c.wantSe);
        }
        // Stored back as applied.
        const Bytes saved = readFile();
        const Bytes want = configBytes(c.wantMusic, c.wantSe);
        ASSERT_GE(saved.size(), want.size());
        EXPECT_TRUE(std::equal(want.begin(), want.end(), saved.end() - 32));
    }
    System system;
    setSEVolume(system, 2.0f);
    EXPECT_EQ(system.config.seVolume, 1.0f);
    setMusicVolume(system, -nan);
    EXPECT_EQ(system.config.musicVolume, 1.0f);
}

TEST_F(SaveFileTest, UnterminatedNamesAreCutToTheirFields) {
    Bytes scores;
    for (int i = 0; i < 200; ++i) {
        put32(scores, 5);
        for (int b = 0; b < 16; ++b) scores.push_back('A');
    }
    Bytes config;
    for (int b = 0; b < 32; ++b) config.push_back('N');
    Bytes file = magic();
    putEntry(file, "SCORE", scores);
    putEntry(file, "CONFIG", config);
    writeFile(file);
    System system;
    ASSERT_TRUE(system.loadSaveData(path_.c_str()));
    EXPECT_STREQ(system.scoreTable.at(4, 3, 9).name, "AAAAAAAAA");
    EXPECT_STREQ(system.config.lastName, "NNNNNNNNNNN");
    // The volume bytes "NNNN" are a finite float far above 1.
    EXPECT_EQ(system.config.musicVolume, 1.0f);
}

TEST_F(SaveFileTest, TruncatedDirectoryLoadsTheEntriesBeforeTheDamage) {
    Bytes file = magic();
    putEntry(file, "CONFIG", configBytes(0.5f, 0.5f));
    put32(file, 5);
    file.insert(file.end(), {'S', 'C', 'O'});  // name cut short by the end of the file
    writeFile(file);
    System system;
    ASSERT_TRUE(system.loadSaveData(path_.c_str()));
    EXPECT_FLOAT_EQ(system.config.musicVolume, 0.5f);
    EXPECT_EQ(system.scoreTable.at(0, 0, 0).score, 100000);
}

TEST_F(SaveFileTest, NothingIsWrittenWithoutALoadOrIntoAnUnwritableFolder) {
    { System system; }
    EXPECT_FALSE(fs::exists(path_));

    Bytes file = magic();
    putEntry(file, "CONFIG", configBytes(0.5f, 0.5f));
    writeFile(file);
    // The writer cannot make its temporary file: the save fails and the old file stays whole.
    fs::create_directory(path_ + ".new");
    {
        System system;
        system.loadSaveData(path_.c_str());
        system.config.buzz = 1;
        EXPECT_FALSE(system.writeSaveData());
    }
    EXPECT_EQ(readFile(), file);
    System system;
    EXPECT_FALSE(system.writeSaveData());  // never loaded: no path
    system.loadSaveData((dir_ / "missing" / "save").string().c_str());
    EXPECT_FALSE(system.writeSaveData());
}

// One player's INPUT record as stored: keys Up, Down, Left, Right, Shot, Bomb, Auto, Pause, the
// joystick number, then the joystick codes of Shot, Bomb, Auto and Pause.
Bytes keyRecordBytes(const std::vector<int32_t>& keys, int32_t padId,
                     const std::vector<int16_t>& padCodes) {
    Bytes out;
    put32(out, 0);
    for (int32_t key : keys) put32(out, static_cast<uint32_t>(key));
    put32(out, static_cast<uint32_t>(padId));
    for (int16_t code : padCodes) put16(out, static_cast<uint16_t>(code));
    return out;
}

// A save with the right layout but damaged values: each damaged entry falls back to its own
// default, every other value is kept, and player 1 can work the menus again.
TEST_F(SaveFileTest, DamagedValuesFallBackToTheirDefaultsOneByOne) {
    Bytes keys =
        keyRecordBytes({-5, 0x28, 0, 256, 2147483647, 'B', 0x43, 0x56}, 99, {7, -3, 40, 33});
    const Bytes second = keyRecordBytes({'I', 'K', 'J', 'L', 0xA0, 1, 255, 'P'}, 15, {4, 5, 35, 0});
    keys.insert(keys.end(), second.begin(), second.end());
    Bytes config;
    putText(config, "PILOT", 12);
    putFloat(config, 0.5f);
    putFloat(config, 0.25f);
    for (uint8_t b : {1, 0, 3, 1, 2, 3, 0, 0}) config.push_back(b);  // progress, clear marks
    for (uint8_t b : {2, 200, 1, 255}) config.push_back(b);          // the four options
    Bytes file = magic();
    putEntry(file, "INPUT", keys);
    putEntry(file, "CONFIG", config);
    writeFile(file);

    ScriptedKeyboard keyboard;
    keyboard.queueHeld({'Z'});
    NullJoystick joysticks;
    {
        System system(keyboard, joysticks);
        ASSERT_TRUE(system.loadSaveData(path_.c_str()));
        const KeyRecord& first = system.keyRecords[0];
        EXPECT_EQ(first.upKey, 0x26);
        EXPECT_EQ(first.downKey, 0x28);
        EXPECT_EQ(first.leftKey, 0x25);
        EXPECT_EQ(first.rightKey, 0x27);
        EXPECT_EQ(first.shotKey, 'Z');
        EXPECT_EQ(first.bombKey, 'B');
        EXPECT_EQ(first.padId, 0);
        EXPECT_EQ(first.shotPadButton, 7);
        EXPECT_EQ(first.bombPadButton, 1);
        EXPECT_EQ(first.autoPadButton, 2);
        EXPECT_EQ(first.pausePadButton, 33);
        const KeyRecord& other = system.keyRecords[1];
        EXPECT_EQ(other.upKey, 'I');
        EXPECT_EQ(other.shotKey, 0xA0);
        EXPECT_EQ(other.bombKey, 1);
        EXPECT_EQ(other.autoKey, 255);
        EXPECT_EQ(other.padId, 15);
        EXPECT_EQ(other.autoPadButton, 35);

        const Config& c = system.config;
        EXPECT_EQ(c.bulletChangeCount, 0);
        EXPECT_EQ(c.playerCollision, 1);
        EXPECT_EQ(c.buzz, 1);
        EXPECT_EQ(c.opticalEffect, 0);
        EXPECT_STREQ(c.lastName, "PILOT");
        EXPECT_FLOAT_EQ(c.musicVolume, 0.5f);
        EXPECT_FLOAT_EQ(c.seVolume, 0.25f);
        EXPECT_EQ(c.gameCleared, 1);
        EXPECT_EQ(c.furthestStage, 3);
        EXPECT_EQ(c.clearMarks[2], 3);

        // Z confirms again.
        system.frameStep();
        EXPECT_EQ(system.keyRecords[0].buttons, kButtonShot);
        EXPECT_EQ(system.keyRecords[1].buttons, 0);
    }
    // The repaired values are what the next save holds.
    const Bytes saved = readFile();
    const size_t input = 4 + (4 + 5 + 4 + 4000) + (4 + 5 + 4);
    ASSERT_GT(saved.size(), input + 96);
    EXPECT_EQ(saved[input + 4], 0x26);
    EXPECT_EQ(saved[input + 20], 'Z');
    EXPECT_EQ(saved[input + 21], 0);
}

TEST_F(SaveFileTest, JoystickNumbersOutsideTheirRangeBecomeTheDefault) {
    const struct {
        int32_t stored, loaded;
    } cases[] = {{-1, -1}, {0, 0}, {15, 15}, {16, 1}, {-2, 1}, {INT32_MIN, 1}, {INT32_MAX, 1}};
    for (const auto& c : cases) {
        Bytes keys = defaultKeys();
        for (int b = 0; b < 4; ++b) keys[48 + 36 + b] = static_cast<uint8_t>(c.stored >> (8 * b));
        Bytes file = magic();
        putEntry(file, "INPUT", keys);
        writeFile(file);
        System system;
        ASSERT_TRUE(system.loadSaveData(path_.c_str()));
        EXPECT_EQ(system.keyRecords[1].padId, c.loaded) << c.stored;
        EXPECT_EQ(system.keyRecords[0].padId, 0);
    }
}

TEST(OptionResetTest, RestoresOptionsAndKeysButKeepsNameScoresAndProgress) {
    System system;
    setMusicVolume(system, 0.1f);
    setSEVolume(system, 0.2f);
    system.keyRecords[0].shotKey = 0x41;
    system.config.bulletChangeCount = 1;
    system.config.playerCollision = 2;
    system.config.buzz = 1;
    system.config.opticalEffect = 1;
    system.config.gameCleared = 1;
    system.config.clearMarks[1] = 3;
    std::strcpy(system.config.lastName, "KEEP");
    insertScore(0, 0, system.scoreTable, 500000, "TOP", 26, 1, 1, 0, 0);
    resetOptions(system);
    EXPECT_EQ(system.config.musicVolume, 1.0f);
    EXPECT_EQ(system.config.seVolume, 0.85f);
    EXPECT_EQ(system.keyRecords[0].shotKey, 'Z');
    EXPECT_EQ(system.config.bulletChangeCount, 0);
    EXPECT_EQ(system.config.playerCollision, 1);
    EXPECT_EQ(system.config.buzz, 0);
    EXPECT_EQ(system.config.opticalEffect, 0);
    EXPECT_EQ(system.config.gameCleared, 1);
    EXPECT_EQ(system.config.clearMarks[1], 3);
    EXPECT_STREQ(system.config.lastName, "KEEP");
    EXPECT_EQ(system.scoreTable.at(0, 0, 0).score, 500000);
}

TEST(InsertScoreTest, TiesWithTheTenthPlaceDoNotEnter) {
    ScoreTable table;
    insertScore(0, 0, table, 10000, "TIE", 26, 1, 2, 3, 4);
    EXPECT_STREQ(table.at(0, 0, 9).name, "---------");
    insertScore(0, 0, table, 10001, "ONE", 26, 1, 2, 3, 4);
    EXPECT_EQ(table.at(0, 0, 9).score, 10001);
    EXPECT_STREQ(table.at(0, 0, 9).name, "ONE");
    EXPECT_EQ(table.at(0, 0, 9).month, 1);
    EXPECT_EQ(table.at(0, 0, 8).score, 20000);
}

TEST(InsertScoreTest, EqualScoresStayAboveAndTheLastPlaceDropsOut) {
    ScoreTable table;
    insertScore(1, 2, table, 50000, "NEW", 26, 1, 1, 0, 0);
    EXPECT_EQ(table.at(1, 2, 5).score, 50000);
    EXPECT_STREQ(table.at(1, 2, 5).name, "---------");
    EXPECT_STREQ(table.at(1, 2, 6).name, "NEW");
    EXPECT_EQ(table.at(1, 2, 7).score, 40000);
    EXPECT_EQ(table.at(1, 2, 9).score, 20000);
    insertScore(1, 2, table, 2000000, "BEST", 26, 1, 1, 0, 0);
    EXPECT_STREQ(table.at(1, 2, 0).name, "BEST");
    EXPECT_EQ(table.at(1, 2, 1).score, 100000);
    // Other tables untouched.
    EXPECT_EQ(table.at(1, 1, 0).score, 100000);
    EXPECT_EQ(table.at(2, 2, 6).score, 40000);
}

TEST(InsertScoreTest, LongNamesAreCutAndInvalidTablesIgnored) {
    ScoreTable table;
    insertScore(4, 3, table, 1000000, "ABCDEFGHIJKL", 2026, 12, 31, 23, 59);
    EXPECT_STREQ(table.at(4, 3, 0).name, "ABCDEFGHI");
    EXPECT_EQ(table.at(4, 3, 0).year, 26);
    const ScoreTable before = table;
    insertScore(5, 0, table, 1000000, "X", 26, 1, 1, 0, 0);
    insertScore(0, 4, table, 1000000, "X", 26, 1, 1, 0, 0);
    insertScore(-1, 0, table, 1000000, "X", 26, 1, 1, 0, 0);
    insertScore(0, -1, table, 1000000, "X", 26, 1, 1, 0, 0);
    insertScore(0, 0, table, 1000000, nullptr, 26, 1, 1, 0, 0);
    EXPECT_EQ(std::memcmp(&before, &table, sizeof(table)), 0);
}

}  // namespace
}  // namespace vg
