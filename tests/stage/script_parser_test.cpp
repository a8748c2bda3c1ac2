// The stage script parser: the worked example, every edge of the format, the conversions, the
// keyword table, the loaders and hostile text.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "core/GameRandom.h"
#include "core/TaskArena.h"
#include "resources/Package.h"
#include "stage/ScriptReader.h"
#include "stage/StageControl.h"
#include "stage/StageScript.h"

namespace vg {
namespace {

std::vector<StageEvent> parse(const std::string& text,
                              std::vector<ScriptProblem>* problems = nullptr) {
    std::vector<StageEvent> events;
    parseStageScript(text.data(), text.size(), events, problems);
    return events;
}

template <size_t N>
std::string withNul(const char (&text)[N]) {
    return std::string(text, N - 1);
}

constexpr int32_t F(double value) {
    return static_cast<int32_t>(value * 65536.0);
}

TEST(ScriptParser, WorkedExample) {
    const auto events = parse("100,ENEMY_FLYSMALL,160,-16,90,2.5,3\n");
    ASSERT_EQ(events.size(), 1u);
    const StageEvent& e = events[0];
    EXPECT_EQ(e.time, 100);
    EXPECT_EQ(e.kind, 104);
    EXPECT_EQ(e.args[0], 160 * 65536);
    EXPECT_EQ(e.args[1], -16 * 65536);
    EXPECT_EQ(e.args[2], 90 * 65536);
    EXPECT_EQ(e.args[3], 163840);
    EXPECT_EQ(e.args[4], 3 * 65536);
    EXPECT_EQ(e.integer(4), 3);
    for (int i = 5; i < 10; ++i) EXPECT_EQ(e.args[i], 0) << i;
}

// Whole scripts and the events (time, kind, first args) they must give.
struct LineCase {
    const char* name;
    std::string text;
    std::vector<std::vector<int32_t>> expected;  // time, kind, args...
};

TEST(ScriptParser, LineRulesTable) {
    const std::vector<LineCase> cases = {
        {"comment with a comma", "  # note, with a comma\n", {}},
        {"tab before the comment", "\t#100,SET_TIME,5\n", {}},
        {"empty time field", ",ENEMY_KITE,1,2,3,4,5\n", {}},
        {"blank belongs to the keyword", "100, ENEMY_KITE,1,2,3,4,5\n", {}},
        {"keyword is case-sensitive", "100,set_time,5\n", {}},
        {"blanks before numbers are fine", "100,SET_TIME, 7\n", {{100, 162, 7 << 16}}},
        {"missing field reads 0", "200,SET_TIME\n", {{200, 162, 0}}},
        {"no final newline", "5,SET_TIME,9", {{5, 162, 9 << 16}}},
        {"carriage returns dropped anywhere", "1\r0,SET_\rTIME,4\r\n", {{10, 162, 4 << 16}}},
        {"trailing fields and remarks ignored",
         "3,HOLE,1,2,3,99,remark\n",
         {{3, 158, 1 << 16, 2 << 16, 3 << 16, 0}}},
        {"same time keeps file order",
         "7,SET_TIME,1\n7,SET_TIME,2\n",
         {{7, 162, 1 << 16}, {7, 162, 2 << 16}}},
        {"empty lines skipped", "\n\n4,SET_TIME,1\n\n", {{4, 162, 1 << 16}}},
        {"NUL ends the script",
         withNul("1,SET_TIME,1\n2,SET_TI\0ME,2\n3,SET_TIME,3\n"),
         {{1, 162, 1 << 16}}},
        {"unknown keyword skipped", "1,ENEMY_NOTHING,1\n2,SET_TIME,2\n", {{2, 162, 2 << 16}}},
        {"keyword alone", "9,STAGE_COMPLETE\n", {{9, 165}}},
        {"warning's field read and ignored", "5,WARNING,123,7\n", {{5, 160, 0, 0}}},
        {"negative time", "-30,SET_TIME,1\n", {{-30, 162, 1 << 16}}},
        {"time like atoi", "  12abc,SET_TIME,1\n", {{12, 162, 1 << 16}}},
        {"a line of blanks is time 0", "   ,SET_TIME,1\n", {{0, 162, 1 << 16}}},
        {"integer field negative wraps as 16 bits",
         "1,SET_TIME,-2\n",
         {{1, 162, static_cast<int32_t>(0xFFFE0000u)}}},
        {"ending image: seven integers",
         "1,ENDING_IMAGE,1,2,3,4,5,6,7,8\n",
         {{1, 166, 1 << 16, 2 << 16, 3 << 16, 4 << 16, 5 << 16, 6 << 16, 7 << 16, 0}}},
        {"boss3 small: one integer", "1,ENEMY_BOSS3_SMALL,5,6\n", {{1, 133, 5 << 16, 0}}},
    };
    for (const LineCase& c : cases) {
        const auto events = parse(c.text);
        ASSERT_EQ(events.size(), c.expected.size()) << c.name;
        for (size_t i = 0; i < events.size(); ++i) {
            const auto& want = c.expected[i];
            EXPECT_EQ(events[i].time, want[0]) << c.name;
            EXPECT_EQ(events[i].kind, want[1]) << c.name;
            for (size_t a = 2; a < want.size(); ++a) {
                EXPECT_EQ(events[i].args[a - 2], want[a]) << c.name << " arg " << a - 2;
            }
        }
    }
}

TEST(ScriptParser, NumberAndIntegerConversions) {
    struct Case {
        const char* text;
        int32_t number;
        int32_t integerUpper;  // the integer field's upper 16 bits
    };
    const Case cases[] = {
        {"-0.5", -32768, 0},
        {"1.99999", 131071, 1},
        {"2.5", 163840, 2},
        {"", 0, 0},
        {"abc", 0, 0},
        {"  +3", 3 << 16, 3},
        {"32767.99", F(32767.99), 32767},
        // 32768.0 and beyond do not fit 16.16: clamped instead of undefined.
        {"32768", INT32_MAX, -32768},
        // atoi stops at the 'e'.
        {"1e30", INT32_MAX, 1},
        {"-1e30", INT32_MIN, -1},
        {"inf", INT32_MAX, 0},
        {"-inf", INT32_MIN, 0},
        {"nan", 0, 0},
        {"99999999999999999999", INT32_MAX, -1},
        {"-99999999999999999999", INT32_MIN, 0},
        {"65537", INT32_MAX, 1},
        {"-1", -65536, -1},
        {"-32769", INT32_MIN, 32767},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(scriptNumberField(c.text), c.number) << c.text;
        const int32_t word = scriptIntegerField(c.text);
        EXPECT_EQ(static_cast<int16_t>(static_cast<uint32_t>(word) >> 16), c.integerUpper)
            << c.text;
        EXPECT_EQ(word & 0xFFFF, 0) << c.text;
    }
    EXPECT_EQ(scriptInteger("4294967296"), INT32_MAX);
    EXPECT_EQ(scriptInteger("-4294967296"), INT32_MIN);
    EXPECT_EQ(scriptInteger(" \t-17x"), -17);
}

// Switches LC_NUMERIC to a locale whose decimal mark is a comma. Machines without one installed
// get German compiled into the build folder (localedef and the locale sources are in the
// "locales" package the set-up installs).
bool switchToDecimalComma() {
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "fr_FR.UTF-8")) {
        return true;
    }
    const std::string folder = VG_BINARY_DIR "/locales";
    const std::string command = "mkdir -p '" + folder + "' && localedef -i de_DE -f UTF-8 '" +
                                folder + "/de_DE.UTF-8' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return false;
    setenv("LOCPATH", folder.c_str(), 1);
    const bool switched = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    unsetenv("LOCPATH");
    return switched;
}

TEST(ScriptParser, NumbersReadTheSameUnderADecimalCommaLocale) {
    // Whatever locale the process runs under, "2.5" is two and a half.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    const bool switched = switchToDecimalComma();
    if (switched) {
        ASSERT_EQ(std::localeconv()->decimal_point[0], ',');
    }
    EXPECT_EQ(scriptNumberField("2.5"), 163840);
    EXPECT_EQ(scriptNumberField("-0.25"), -16384);
    std::setlocale(LC_NUMERIC, saved.c_str());
    if (!switched) GTEST_SKIP() << "no decimal-comma locale installed or made to try";
}

TEST(ScriptReader, LongFieldsAreCutAndConsumedToTheirSeparator) {
    const std::string longField(5000, 'x');
    const std::string text = longField + ",next\nline";
    ScriptReader reader(text.data(), text.size());
    reader.readField();
    EXPECT_EQ(reader.fieldLength(), ScriptReader::kMaxFieldLength);
    EXPECT_TRUE(reader.fieldCut());
    EXPECT_EQ(std::string(reader.field()), std::string(63, 'x'));
    reader.readField();
    EXPECT_STREQ(reader.field(), "next");
    EXPECT_FALSE(reader.fieldCut());
    // The newline is not consumed: the line's later fields are empty.
    reader.readField();
    EXPECT_EQ(reader.fieldLength(), 0);
    reader.skipLine();
    reader.readField();
    EXPECT_STREQ(reader.field(), "line");
    EXPECT_TRUE(reader.atEnd());
}

TEST(ScriptReader, ExactlySixtyThreeCharactersAreKept) {
    const std::string field(63, 'a');
    ScriptReader reader(field.data(), field.size());
    reader.readField();
    EXPECT_EQ(reader.fieldLength(), 63);
    EXPECT_FALSE(reader.fieldCut());
}

TEST(ScriptParser, ProblemsAreReportedWithTheirLines) {
    std::vector<ScriptProblem> problems;
    const std::string longValue(80, '1');
    const std::string comment = "# " + std::string(200, '-') + "\n";
    const auto events = parse(comment + "10,SET_TIME,1\n20,NO_SUCH_THING,1\n30,SET_TIME," +
                                  longValue + "\n40,SET_TIME,1," + longValue + "\n",
                              &problems);
    EXPECT_EQ(events.size(), 3u);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].kind, ScriptProblem::UnknownKeyword);
    EXPECT_EQ(problems[0].line, 3);
    EXPECT_EQ(problems[0].text, "NO_SUCH_THING");
    EXPECT_EQ(problems[1].kind, ScriptProblem::LongField);
    EXPECT_EQ(problems[1].line, 4);
    // A long comment and a long trailing remark are nobody's problem.
}

TEST(ScriptParser, EveryKeywordReadsItsFieldsInOrder) {
    std::set<int32_t> kinds;
    for (const ScriptKeyword& keyword : scriptKeywords()) {
        EXPECT_TRUE(kinds.insert(keyword.kind).second) << keyword.name << " code twice";
        const std::string line = std::string("5,") + keyword.name + ",1,2,3,4,5,6,7,8,9,10,11\n";
        const auto events = parse(line);
        ASSERT_EQ(events.size(), 1u) << keyword.name;
        EXPECT_EQ(events[0].kind, keyword.kind);
        int arg = 0;
        int value = 1;
        for (const char* field = keyword.fields; *field; ++field, ++value) {
            if (*field == '-') continue;
            EXPECT_EQ(events[0].args[arg], value << 16) << keyword.name << " arg " << arg;
            ++arg;
        }
        for (; arg < 10; ++arg) EXPECT_EQ(events[0].args[arg], 0) << keyword.name;
    }
    // Codes 0..3 and 100..168 are used, nothing in between.
    EXPECT_EQ(kinds.size(), 4u + 69u);
    EXPECT_EQ(*kinds.rbegin(), 168);
    EXPECT_EQ(kinds.count(4), 0u);
    EXPECT_EQ(kinds.count(99), 0u);
}

TEST(ScriptParser, HostileTextParsesWhatIsSoundQuickly) {
    gameRandom().randomSeed(99);
    std::string noise;
    for (int i = 0; i < 200000; ++i) {
        noise.push_back(static_cast<char>(gameRandom().randomNext() & 0xFF));
    }
    std::string text = "1,SET_TIME,5\n" + std::string(10000, '7') + ",CLOUD," +
                       std::string(10000, '9') + "\n" + noise + "\n";
    for (int i = 0; i < 20000; ++i) text += "0,SET_TIME,0\n";
    const auto start = std::chrono::steady_clock::now();
    const auto events = parse(text);
    const auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[0].time, 1);
    EXPECT_EQ(events[1].time, INT32_MAX);
    EXPECT_EQ(events[1].kind, kEventCloud);
    EXPECT_EQ(events[1].args[0], INT32_MAX);
    EXPECT_LT(seconds, 2.0);
}

class ScriptLoadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::path(VG_BINARY_DIR) / "stage_work" /
                  ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        package_ = (folder_ / "test.pck").string();
        PackageWriter writer;
        ASSERT_TRUE(writer.createPackage(package_.c_str()));
        const std::string script = "0,SET_TIME,3\n1,STAGE_COMPLETE\n";
        const std::string comments = "# only\n# comments\n";
        ASSERT_TRUE(writer.writeEntry(script.data(), script.size(), "stage1e.dat"));
        ASSERT_TRUE(writer.writeEntry(comments.data(), comments.size(), "comments.dat"));
        ASSERT_TRUE(writer.closePackage());
    }
    std::filesystem::path folder_;
    std::string package_;
    TaskArena arena_{0x10000};
};

TEST_F(ScriptLoadTest, LoadsAnEntryAndGivesTheBufferBack) {
    PackageReader reader;
    ASSERT_TRUE(reader.openPackage(package_.c_str()));
    StageControl control;
    control.events.resize(5);
    ASSERT_TRUE(LoadStageScript(&reader, &control, "stage1e.dat", &arena_));
    ASSERT_EQ(control.events.size(), 2u);
    EXPECT_EQ(control.events[1].kind, kEventStageComplete);
    EXPECT_EQ(arena_.bytesInUse(), 0u);
    // Only comments: true, and nothing.
    EXPECT_TRUE(LoadStageScript(&reader, &control, "comments.dat", &arena_));
    EXPECT_TRUE(control.events.empty());
}

TEST_F(ScriptLoadTest, FailuresLeaveNoEvents) {
    PackageReader reader;
    ASSERT_TRUE(reader.openPackage(package_.c_str()));
    StageControl control;
    auto reset = [&] { control.events.assign(3, StageEvent{}); };
    reset();
    EXPECT_FALSE(LoadStageScript(&reader, &control, "stage9x.dat", &arena_));
    EXPECT_TRUE(control.events.empty());
    reset();
    EXPECT_FALSE(LoadStageScript(&reader, &control, nullptr, &arena_));
    EXPECT_TRUE(control.events.empty());
    reset();
    EXPECT_FALSE(LoadStageScript(nullptr, &control, "stage1e.dat", &arena_));
    EXPECT_TRUE(control.events.empty());
    reset();
    EXPECT_FALSE(LoadStageScript(&reader, &control, "stage1e.dat", nullptr));
    EXPECT_TRUE(control.events.empty());
    // No room in the arena for the text.
    TaskArena tiny{32};
    reset();
    EXPECT_FALSE(LoadStageScript(&reader, &control, "stage1e.dat", &tiny));
    EXPECT_TRUE(control.events.empty());
    reader.closePackage();
    reset();
    EXPECT_FALSE(LoadStageScript(&reader, &control, "stage1e.dat", &arena_));
    EXPECT_TRUE(control.events.empty());
}

TEST_F(ScriptLoadTest, LooseFiles) {
    const std::string path = (folder_ / "loose.dat").string();
    std::ofstream(path) << "3,SET_TIME,1\n";
    StageControl control;
    EXPECT_TRUE(loadStageScriptFile(path.c_str(), &control, &arena_));
    EXPECT_EQ(control.events.size(), 1u);
    EXPECT_FALSE(loadStageScriptFile((folder_ / "missing.dat").c_str(), &control, &arena_));
    EXPECT_TRUE(control.events.empty());
    EXPECT_EQ(arena_.bytesInUse(), 0u);
}

}  // namespace
}  // namespace vg
