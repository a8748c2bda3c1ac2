// Replays as regression tests: short runs of every stage built so far (the bot and scripted
// keys, one and two players, several difficulties) are recorded through the game's own
// recording, saved, and verified by the headless tool in a fresh process; a changed file is
// caught, and where the file has a check trail the first frame where play departs is named; a
// damaged file is refused; a stage paused during its warning still verifies. A few runs are kept
// as fixtures in tests/replay/fixtures, verified on every test run by ctest (one test per file);
// set VG_UPDATE_REPLAYS=1 to record them again on purpose after a change of play: each stored
// fixture is recorded again from its own input (--rerecord), so its input never changes.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ReplayScreenFixture.h"
#include "app/Bot.h"
#include "app/HeadlessSession.h"
#include "app/ReplayCheck.h"
#include "core/GameRandom.h"
#include "core/Layers.h"
#include "core/TaskQuery.h"
#include "enemy/Bullet.h"
#include "enemy/EnemyBase.h"
#include "player/PlayerBase.h"
#include "replay/ReplayLoad.h"
#include "screens/GameInit.h"
#include "screens/Pause.h"
#include "stage/StageBanners.h"

namespace vg {
namespace {

namespace fs = std::filesystem;
using namespace vg::testing;

const fs::path kTool = fs::path(VG_BINARY_DIR) / "tools" / "headless" / "vesperglint-headless";
const fs::path kFixtures = fs::path(VG_SOURCE_DIR) / "tests" / "replay" / "fixtures";
constexpr ReplayStamp kFixtureDate{26, 1, 1, 0, 0};

struct ToolRun {
    int status = -1;
    std::vector<std::string> lines;
};

// The headless tool run with `arguments` and the built game folder; its standard output.
ToolRun runTool(const std::string& arguments) {
    const std::string command =
        "'" + kTool.string() + "' " + arguments + " --game '" VG_GAME_DIR "' 2>/dev/null";
    ToolRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[512];
    std::string line;
    while (std::fgets(buffer, sizeof buffer, pipe)) {
        line = buffer;
        if (!line.empty() && line.back() == '\n') line.pop_back();
        run.lines.push_back(line);
    }
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// The headless tool's --verify-replay on `file`.
ToolRun verifyInFreshProcess(const fs::path& file) {
    return runTool("--verify-replay '" + file.string() + "'");
}

// The headless tool's --rerecord from `in` into `out`.
ToolRun rerecordInFreshProcess(const fs::path& in, const fs::path& out) {
    return runTool("--rerecord '" + in.string() + "' '" + out.string() + "'");
}

// "stage S: recorded A B, replayed C D, ok"
std::string okLine(int stage, const std::array<int32_t, 2>& scores) {
    StageCheck check;
    check.stage = stage;
    check.recorded = scores;
    check.replayed = scores;
    check.ok = true;
    return describe(check);
}

// Weaving, shooting, a laser and a bomb for player 1; player 2 on the keypad with Q, W, E.
constexpr const char* kWeaveKeys =
    "0-2000 C\n150-260 LEFT\n300-420 RIGHT\n430-470 UP LEFT\n520-600 Z\n640-700 DOWN RIGHT\n"
    "760 X\n800-900 LEFT Z\n950-1100 RIGHT\n1150-1190 UP\n";
constexpr const char* kTwoPlayerKeys =
    "0-1500 C 0x45\n100-200 LEFT 0x66\n220-300 RIGHT 0x64\n350-500 Z Q\n520 X\n540 W\n"
    "600-700 UP 0x62\n";

// Two bombs while the second tank wave's bullets fly (some of them of type 6), then on to the
// kites' fire: the bot plays around them.
constexpr const char* kBombKeys = "3660 X\n3760 X\n";

struct RecordedRun {
    const char* name;
    std::vector<int> stages;
    uint8_t difficulty;
    std::array<uint8_t, 2> ships;
    bool bot;          // the bot plays
    const char* keys;  // keys pressed (on top of the bot's play, with the bot)
    uint32_t frames;   // per stage
    bool fixture;      // kept in tests/replay/fixtures
};

const RecordedRun kRuns[] = {
    {"normal_typea_bot", {0}, 1, {0, 255}, true, nullptr, 1800, true},
    {"hard_two_players_bot", {0}, 2, {1, 3}, true, nullptr, 1500, true},
    {"easy_typea2_keys", {0}, 0, {2, 255}, false, kWeaveKeys, 1300, true},
    {"extra_typeb2_stages123_bot", {0, 1, 2}, 3, {3, 255}, true, nullptr, 500, true},
    {"extra2_two_players_keys", {0}, 4, {0, 1}, false, kTwoPlayerKeys, 1000, false},
    {"normal_typea_bot_bombs_kites", {0}, 1, {0, 255}, true, kBombKeys, 4800, true},
};

class ReplayRegressionTest : public ReplayScreenTest {
  protected:
    void SetUp() override {
        ReplayScreenTest::SetUp();
        if (!fs::exists(kTool)) GTEST_SKIP() << "the headless tool is not built";
        if (!linkData()) GTEST_SKIP() << "the game data is not built";
    }

    // Records `run` through a headless session into `path`; the scores each stage ended with.
    std::vector<std::array<int32_t, 2>> record(const RecordedRun& run, const fs::path& path) {
        HeadlessOptions options;
        options.stage = run.stages.front();
        options.moreStages.assign(run.stages.begin() + 1, run.stages.end());
        options.difficulty = run.difficulty;
        options.ships = run.ships;
        options.frames = run.frames;
        options.autoplay = run.bot;
        options.replayDate = kFixtureDate;
        if (run.keys) {
            EXPECT_TRUE(options.keys.parse(run.keys)) << run.name;
        }
        HeadlessSession session(std::move(options));
        session.run();
        EXPECT_TRUE(session.saveReplay(path.string())) << run.name;
        std::vector<std::array<int32_t, 2>> scores;
        for (const int stage : run.stages) {
            const ReplayStage& record = session.host().system().replay.stageRecord(stage);
            scores.push_back({record.player[0].finalScore, record.player[1].finalScore});
        }
        return scores;
    }
};

TEST_F(ReplayRegressionTest, RecordedRunsVerifyInAFreshProcess) {
    const bool update = std::getenv("VG_UPDATE_REPLAYS") != nullptr;
    bool anyScore = false;
    for (const RecordedRun& run : kRuns) {
        const fs::path file = folder_ / (std::string(run.name) + ".rpl");
        const std::vector<std::array<int32_t, 2>> scores = record(run, file);
        ToolRun verified = verifyInFreshProcess(file);
        EXPECT_EQ(verified.status, 0) << run.name;
        ASSERT_EQ(verified.lines.size(), run.stages.size()) << run.name;
        for (size_t i = 0; i < run.stages.size(); ++i) {
            EXPECT_EQ(verified.lines[i], okLine(run.stages[i], scores[i])) << run.name;
            anyScore = anyScore || scores[i][0] > 0;
        }
        if (!run.fixture) continue;
        const fs::path stored = kFixtures / file.filename();
        if (update && !fs::exists(stored)) {
            // A new fixture starts as this recording.
            fs::create_directories(kFixtures);
            fs::copy_file(file, stored);
        } else {
            EXPECT_TRUE(fs::exists(stored))
                << stored << " is missing; record the fixtures with VG_UPDATE_REPLAYS=1";
        }
    }
    EXPECT_TRUE(anyScore) << "the runs scored nothing: they test little";
    if (!update) return;
    // Every stored fixture is recorded again from its own input, whatever the runs above now
    // play: a change of play changes its scores and trail, never its input.
    for (const fs::directory_entry& entry : fs::directory_iterator(kFixtures)) {
        if (entry.path().extension() != ".rpl") continue;
        const ToolRun again = rerecordInFreshProcess(entry.path(), entry.path());
        for (const std::string& line : again.lines) std::printf("%s\n", line.c_str());
        EXPECT_EQ(again.status, 0) << entry.path();
        EXPECT_EQ(verifyInFreshProcess(entry.path()).status, 0) << entry.path();
    }
}

// Each stored fixture carries its check trail: a mark every 60 frames of every stage.
TEST_F(ReplayRegressionTest, EveryFixtureCarriesItsCheckTrail) {
    int files = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(kFixtures)) {
        if (entry.path().extension() != ".rpl") continue;
        ++files;
        ReplayData replay;
        ASSERT_TRUE(replay.Load(entry.path().c_str())) << entry.path();
        for (int stage = 0; stage < ReplayData::kGameStages; ++stage) {
            if (!replay.HasStage(stage)) continue;
            const int32_t frames = replay.stageRecord(stage).frameCount;
            EXPECT_EQ(replay.trail(stage).size(),
                      static_cast<size_t>((frames - 1) / ReplayData::kTrailInterval))
                << entry.path() << " stage " << stage;
        }
    }
    EXPECT_GE(files, 5);
}

// The entries of a package file, in order.
struct Entry {
    std::string name;
    Bytes data;
};
std::vector<Entry> readEntries(const Bytes& file) {
    std::vector<Entry> entries;
    size_t at = 4;
    const auto u32 = [&](size_t pos) {
        return uint32_t{file[pos]} | uint32_t{file[pos + 1]} << 8 | uint32_t{file[pos + 2]} << 16 |
               uint32_t{file[pos + 3]} << 24;
    };
    while (at + 8 <= file.size()) {
        const uint32_t nameSize = u32(at);
        Entry entry;
        entry.name.assign(file.begin() + static_cast<long>(at + 4),
                          file.begin() + static_cast<long>(at + 4 + nameSize));
        at += 4 + nameSize;
        const uint32_t size = u32(at);
        entry.data.assign(file.begin() + static_cast<long>(at + 4),
                          file.begin() + static_cast<long>(at + 4 + size));
        at += 4 + size;
        entries.push_back(std::move(entry));
    }
    return entries;
}
Bytes writeEntries(const std::vector<Entry>& entries) {
    Bytes file = packageMagic();
    for (const Entry& entry : entries) putEntry(file, entry.name, entry.data);
    return file;
}
// The input of a block, of at most `size` frames.
Bytes inflateAll(const Bytes& block, size_t size) {
    Bytes out(size);
    uLongf length = static_cast<uLongf>(size);
    EXPECT_EQ(uncompress(out.data(), &length, block.data(), static_cast<uLong>(block.size())),
              Z_OK);
    out.resize(length);
    return out;
}

// F of "..., MISMATCH at frame F", or -1.
int32_t departureIn(const std::string& line) {
    const std::string mark = ", MISMATCH at frame ";
    const size_t at = line.rfind(mark);
    return at == std::string::npos ? -1 : std::stoi(line.substr(at + mark.size()));
}

// The entries of `file` without the one named `name`.
std::vector<Entry> without(const std::vector<Entry>& entries, const std::string& name) {
    std::vector<Entry> kept;
    for (const Entry& entry : entries) {
        if (entry.name != name) kept.push_back(entry);
    }
    return kept;
}

Entry& entryNamed(std::vector<Entry>& entries, const std::string& name) {
    for (Entry& entry : entries) {
        if (entry.name == name) return entry;
    }
    ADD_FAILURE() << "no entry " << name;
    return entries.front();
}

TEST_F(ReplayRegressionTest, AChangedReplayIsCaught) {
    const fs::path file = folder_ / "run.rpl";
    record(kRuns[0], file);
    const Bytes original = readBytes(file.string());
    ASSERT_EQ(verifyInFreshProcess(file).status, 0);

    // Another end score in the stage record.
    std::vector<Entry> entries = readEntries(original);
    ASSERT_EQ(entries[1].name, "STAGE_0");
    entries[1].data[12] ^= 0x10;
    writeBytes(file.string(), writeEntries(entries));
    ToolRun changed = verifyInFreshProcess(file);
    EXPECT_EQ(changed.status, 1);
    ASSERT_EQ(changed.lines.size(), 1u);
    // Play followed its trail: only the score is wrong.
    EXPECT_TRUE(changed.lines[0].ends_with(", MISMATCH")) << changed.lines[0];

    // Other input: the ship stays where it is for a second in the middle.
    entries = readEntries(original);
    ASSERT_EQ(entries[2].name, "STAGE_0_DATA_0");
    Bytes input = inflateAll(entries[2].data, kRuns[0].frames);
    for (size_t f = 900; f < 960 && f < input.size(); ++f) input[f] &= ~0x0F;
    entries[2].data = zlibCompress(input);
    writeBytes(file.string(), writeEntries(entries));
    changed = verifyInFreshProcess(file);
    EXPECT_EQ(changed.status, 1) << (changed.lines.empty() ? "" : changed.lines[0]);
    ASSERT_EQ(changed.lines.size(), 1u);
    EXPECT_EQ(departureIn(changed.lines[0]), 960) << changed.lines[0];

    // Not a replay, and no file at all.
    writeBytes(file.string(), Bytes(original.begin(), original.begin() + 20));
    EXPECT_EQ(verifyInFreshProcess(file).status, 2);
    EXPECT_EQ(verifyInFreshProcess(folder_ / "missing.rpl").status, 2);
}

// A bot recording of 3000 frames whose player's input is turned another way for 30 frames at
// frame 1500: its scores may still come out the same, its trail names the first mark after the
// change. Without the trail the same files verify by their scores alone.
TEST_F(ReplayRegressionTest, ADepartureIsNamedWithinSixtyFramesOfIt) {
    const RecordedRun run{"departure", {0}, 1, {0, 255}, true, nullptr, 3000, false};
    const fs::path file = folder_ / "departure.rpl";
    const std::array<int32_t, 2> scores = record(run, file).front();
    const std::vector<Entry> original = readEntries(readBytes(file.string()));

    std::vector<Entry> flipped = original;
    Entry& block = entryNamed(flipped, "STAGE_0_DATA_0");
    Bytes input = inflateAll(block.data, run.frames);
    for (size_t f = 1500; f < 1530; ++f) input[f] ^= kButtonLeft | kButtonUp;
    block.data = zlibCompress(input);
    writeBytes(file.string(), writeEntries(flipped));
    ToolRun verified = verifyInFreshProcess(file);
    EXPECT_EQ(verified.status, 1);
    ASSERT_EQ(verified.lines.size(), 1u);
    const int32_t departure = departureIn(verified.lines[0]);
    EXPECT_GT(departure, 1500) << verified.lines[0];
    EXPECT_LE(departure, 1560) << verified.lines[0];

    // A file without a trail (from before it existed) verifies by its scores, as it always did.
    writeBytes(file.string(), writeEntries(without(original, "STAGE_0_CHECK")));
    verified = verifyInFreshProcess(file);
    EXPECT_EQ(verified.status, 0);
    EXPECT_EQ(verified.lines, std::vector<std::string>{okLine(0, scores)});
    writeBytes(file.string(), writeEntries(without(flipped, "STAGE_0_CHECK")));
    verified = verifyInFreshProcess(file);
    ASSERT_EQ(verified.lines.size(), 1u);
    EXPECT_EQ(departureIn(verified.lines[0]), -1) << "no trail, no frame named";
    std::printf("without its trail the changed file reads: %s\n", verified.lines[0].c_str());
}

// A stage whose input is damaged is named and not played; the others are checked as ever, and
// the verifier's status is 2. Re-recording refuses such a file.
TEST_F(ReplayRegressionTest, ADamagedStageIsNamedAndRefused) {
    const RecordedRun& run = kRuns[3];
    ASSERT_EQ(run.stages.size(), 3u);
    const fs::path file = folder_ / "damaged.rpl";
    const std::vector<std::array<int32_t, 2>> scores = record(run, file);
    const Bytes whole = readBytes(file.string());

    // Stage 1's input cut short by one byte.
    std::vector<Entry> entries = readEntries(whole);
    Entry& block = entryNamed(entries, "STAGE_1_DATA_0");
    Bytes input = inflateAll(block.data, run.frames);
    input.pop_back();
    block.data = zlibCompress(input);
    writeBytes(file.string(), writeEntries(entries));
    ToolRun verified = verifyInFreshProcess(file);
    EXPECT_EQ(verified.status, 2);
    EXPECT_EQ(verified.lines,
              (std::vector<std::string>{okLine(0, scores[0]), "stage 1: damaged input, not played",
                                        okLine(2, scores[2])}));
    const fs::path out = folder_ / "again.rpl";
    EXPECT_EQ(rerecordInFreshProcess(file, out).status, 2);
    EXPECT_FALSE(fs::exists(out)) << "nothing is written for a damaged file";

    // The file cut short in the middle of stage 2's input: that entry is gone, its stage record
    // stays, and the stage is damaged.
    const std::string name = "STAGE_2_DATA_0";
    const auto at = std::search(whole.begin(), whole.end(), name.begin(), name.end());
    ASSERT_NE(at, whole.end());
    writeBytes(file.string(), Bytes(whole.begin(), at + static_cast<long>(name.size()) + 12));
    verified = verifyInFreshProcess(file);
    EXPECT_EQ(verified.status, 2);
    EXPECT_EQ(verified.lines, (std::vector<std::string>{okLine(0, scores[0]), okLine(1, scores[1]),
                                                        "stage 2: damaged input, not played"}));
}

// --rerecord plays a file from its own input and writes it again: the input blocks to the byte,
// the header and start records as they were, the end scores and the trail its play gives. A file
// whose scores and trail are out of date comes back as the game records it today.
TEST_F(ReplayRegressionTest, ReRecordingKeepsTheInputAndTakesScoresAndTrailFromPlay) {
    const fs::path file = folder_ / "run.rpl";
    record(kRuns[2], file);
    const Bytes recorded = readBytes(file.string());
    const std::vector<Entry> entries = readEntries(recorded);

    // As if play had changed since: other end scores, no trail.
    std::vector<Entry> stale = without(entries, "STAGE_0_CHECK");
    entryNamed(stale, "STAGE_0").data[12] ^= 0x40;
    entryNamed(stale, "INDEX").data[12] ^= 0x40;
    const fs::path old = folder_ / "old.rpl";
    writeBytes(old.string(), writeEntries(stale));
    const fs::path again = folder_ / "again.rpl";
    const ToolRun rerecorded = rerecordInFreshProcess(old, again);
    EXPECT_EQ(rerecorded.status, 0);
    ASSERT_EQ(rerecorded.lines.size(), 2u);
    EXPECT_TRUE(rerecorded.lines[0].ends_with(", MISMATCH")) << rerecorded.lines[0];
    EXPECT_EQ(readBytes(again.string()), recorded);

    // In place, a file that is up to date stays the same to the byte.
    EXPECT_EQ(rerecordInFreshProcess(again, again).status, 0);
    EXPECT_EQ(readBytes(again.string()), recorded);
}

// A dialog over the frozen game that, unlike the pause screen, resumes everything in its own
// update when it closes (as the set-up screens' dialogs do): the game's tasks are then drawn on
// that frame without having been updated. The replay step is skipped while it lives, as for
// the pause screen.
class ResumingDialog : public Task {
  public:
    explicit ResumingDialog(int frames) : left(frames) {}
    void update() override {
        if (--left > 0) return;
        owner->resumeAll();
        end();
    }
    int left;
};

// What a desync changes first: the next number of the game's generator (drawn from a copy),
// the ships, the enemies and the bullets.
uint64_t playState(const System& system) {
    GameRandom copy = gameRandom();
    uint64_t hash = copy.randomNext();
    const auto mix = [&](int64_t value) {
        hash = (hash ^ static_cast<uint64_t>(value)) * 1099511628211ull;
    };
    for (int index = 0; index < 2; ++index) {
        if (const PlayerBase* ship = PlayerBase::find(system, index)) {
            mix(ship->x);
            mix(ship->y);
            mix(ship->score);
        }
    }
    for (const int enemyLayer : layer::kEnemyLayers) {
        forEachInLayer<EnemyBase>(system, enemyLayer, [&](const EnemyBase& enemy) {
            mix(enemy.x);
            mix(enemy.y);
            mix(enemy.hitPoints);
        });
    }
    forEachInLayer<BulletBase>(system, layer::kBullet, [&](const BulletBase& bullet) {
        mix(bullet.x);
        mix(bullet.y);
    });
    return hash;
}

// Records stage 1 with the bot at the controls and a pause opened by Escape at the 40th frame
// of the warning's jitter and closed by Escape 90 frames later, to the stage's hand-over.
TEST_F(ReplayRegressionTest, AStagePausedDuringItsWarningVerifies) {
    makeHost(false);
    HeadlessHost& game = *host;
    System& s = system();
    game.startStage(0, 1, 0);
    Bot bot(0);
    bool paused = false;
    uint32_t stageFrames = 0;
    int32_t stillFrames = 0;  // frames the replay did not step: the StageInit's and the pause's
    // The state of play once the warning is over, at a frame of the stage's record.
    int32_t probeFrame = -1;
    uint64_t probe = 0;
    const auto frame = [&](const char* key) {
        const int32_t before = s.replay.frame();
        if (key) {
            game.tap(key);
        } else {
            game.run(1);
        }
        ++stageFrames;
        if (s.replay.frame() == before) ++stillFrames;
    };
    while (!s.replay.HasStage(0) && stageFrames < 20000) {
        const Warning* warning = findFirstInLayer<Warning>(s, layer::kBanner);
        if (!paused && warning && warning->counter == 40) {
            paused = true;
            // Nothing held on the pause menu but the key that opens and closes it.
            game.holdButtons(0, 0);
            frame("Esc");
            EXPECT_NE(findFirstInLayer<Pause>(s, layer::kPause), nullptr);
            for (int f = 0; f < 90; ++f) frame(nullptr);
            frame("Esc");
            for (int f = 0; f < 3; ++f) frame(nullptr);
            EXPECT_EQ(findFirstInLayer<Pause>(s, layer::kPause), nullptr);
        }
        game.holdButtons(0, bot.decide(s));
        frame(nullptr);
        if (paused && probeFrame < 0 && !findFirstInLayer<Warning>(s, layer::kBanner)) {
            probeFrame = s.replay.frame();
            probe = playState(s);
        }
    }
    ASSERT_TRUE(paused) << "no warning came";
    ASSERT_TRUE(s.replay.HasStage(0)) << "the stage did not hand over";
    EXPECT_GT(stillFrames, 90);
    EXPECT_EQ(s.replay.stageRecord(0).frameCount, static_cast<int32_t>(stageFrames) - stillFrames);
    const fs::path file = folder_ / "paused.rpl";
    ASSERT_TRUE(s.replay.Save(file.c_str(), kFixtureDate));
    const std::array<int32_t, 2> scores = {s.replay.stageRecord(0).player[0].finalScore, 0};
    EXPECT_GT(scores[0], 0);

    // Played back without the pause, the game is where it was at the same frame of the stage.
    makeHost(false);
    GameInit::loadSharedAssets(system());
    ASSERT_TRUE(system().replay.Load(file.c_str()));
    ASSERT_TRUE(startReplayPlayback(system(), 0));
    ASSERT_TRUE(runUntil(
        [&] { return system().replay.openStage() == 0 && system().replay.frame() >= probeFrame; },
        20000));
    EXPECT_EQ(playState(system()), probe)
        << "play differs after the pause, at frame " << probeFrame;
    host.reset();

    const ToolRun verified = verifyInFreshProcess(file);
    EXPECT_EQ(verified.status, 0);
    ASSERT_EQ(verified.lines.size(), 1u);
    EXPECT_EQ(verified.lines[0], okLine(0, scores));
}

// The same with a dialog that resumes the game in its own update, on a short scripted stage:
// the warning must not take numbers on the frame it is drawn without an update.
TEST_F(ReplayRegressionTest, ADialogClosingInItsUpdateDuringTheWarningLeavesNoTrace) {
    const std::string script = (folder_ / "warning.dat").string();
    std::ofstream(script) << "0,MAP_POS_Y,7808\n40,ENEMY_FLYSMALL,124,-20,90,2.5,1\n"
                             "60,WARNING,0\n";
    constexpr int32_t kProbeFrame = 250;
    makeHost(false);
    system().testStageScript = script;
    host->startStage(0, 1, 0);
    uint64_t probe = 0;
    bool paused = false;
    while (system().replay.frame() < kProbeFrame || system().replay.openStage() != 0) {
        const Warning* warning = findFirstInLayer<Warning>(system(), layer::kBanner);
        if (!paused && warning && warning->counter == 40) {
            paused = true;
            system().freezeAll();
            system().spawnFront<ResumingDialog>(layer::kPause, 60);
        }
        host->holdButtons(0, kButtonAuto | kButtonLeft);
        host->run(1);
    }
    ASSERT_TRUE(paused);
    probe = playState(system());
    const std::array<int32_t, 2> scores = runScores(system());
    ASSERT_TRUE(system().replay.EndOpenStage(scores[0], scores[1]));
    const fs::path file = folder_ / "dialog.rpl";
    ASSERT_TRUE(system().replay.Save(file.c_str(), kFixtureDate));

    makeHost(false);
    system().testStageScript = script;
    GameInit::loadSharedAssets(system());
    ASSERT_TRUE(system().replay.Load(file.c_str()));
    ASSERT_TRUE(startReplayPlayback(system(), 0));
    ASSERT_TRUE(runUntil(
        [&] { return system().replay.openStage() == 0 && system().replay.frame() >= kProbeFrame; },
        1000));
    EXPECT_EQ(playState(system()), probe) << "play differs after the dialog";
    EXPECT_EQ(runScores(system()), scores);
}

}  // namespace
}  // namespace vg
