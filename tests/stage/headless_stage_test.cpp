// Stages played through the headless tool's session: statistics, traces, determinism, and the
// first stage played to its end on every difficulty.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "StageFixture.h"
#include "app/HeadlessSession.h"
#include "core/Layers.h"
#include "enemy/Bullet.h"
#include "enemy/EnemyBase.h"
#include "stage/StageControl.h"

namespace vg {
namespace {

// A turret that fires one aimed-down bullet every 20 frames: bullets for the trace.
class TestTurret : public EnemyBase {
  public:
    TestTurret() : EnemyBase(120 << 16, 60 << 16) {}
    void update() override {
        if (++frameCount % 20 == 0) fireAngled(*owner, x, y, 90 << 16, 2 << 16, 3, serial);
    }
};

uint64_t hashScreen(const DIB& screen, uint64_t hash) {
    const std::string_view bytes(reinterpret_cast<const char*>(screen.pixels),
                                 static_cast<size_t>(screen.width) * screen.height * 4);
    return (hash ^ std::hash<std::string_view>{}(bytes)) * 1099511628211ull;
}

std::string readAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class HeadlessStageTest : public testing::StageTest {
  protected:
    // Plays stage 0 with `script` (a loose file; empty: the stage's own) and these keys; returns
    // the hash of every frame drawn.
    uint64_t play(const std::string& script, const std::string& keys, uint8_t difficulty,
                  std::string* stats, uint32_t frames = 0, const std::string& trace = "") {
        HeadlessOptions options;
        options.stage = 0;
        options.difficulty = difficulty;
        options.ships = {1, 255};
        options.invincible = true;
        options.frames = frames;
        options.scriptFile = script;
        options.traceFile = trace;
        EXPECT_TRUE(options.keys.parse(keys));
        HeadlessSession session(std::move(options));
        uint64_t hash = 14695981039346656037ull;
        session.run([&](uint32_t, const DIB& screen) { hash = hashScreen(screen, hash); });
        if (stats) *stats = session.stats().json();
        return hash;
    }
};

TEST_F(HeadlessStageTest, StatisticsOfAScriptedStage) {
    const std::string script =
        writeScript("short.dat",
                    "0,MAP_POS_Y,7000\n10,CLOUD,100,-90,90,3,1\n30,HOLE,120,-20,5\n"
                    "100,WARNING,0\n300,STAGE_COMPLETE\n");
    HeadlessOptions options;
    options.stage = 0;
    options.difficulty = 2;
    options.ships = {3, 255};
    options.invincible = true;
    options.scriptFile = script;
    options.frames = 2000;
    HeadlessSession session(std::move(options));
    EXPECT_EQ(session.host().system().testInvincible, 1);
    const uint32_t frames = session.run();
    const auto& stages = session.stats().stages();
    ASSERT_EQ(stages.size(), 1u);
    const PlayStats::StageStats& stage = stages[0];
    EXPECT_TRUE(stage.completed);
    EXPECT_EQ(stage.difficulty, 2);
    // StageInit's frame is frame 0; the hand-over is 33 frames after the event at 300.
    EXPECT_EQ(stage.frames, 300u + 33u);
    EXPECT_EQ(frames, stage.frames);
    ASSERT_EQ(stage.players.size(), 1u);
    EXPECT_EQ(stage.players[0].livesLost, 0);
    const std::string json = session.stats().json();
    EXPECT_EQ(json.rfind("{\"stages\": [{\"stage\": 0, \"difficulty\": 2, \"frames\": 333, "
                         "\"completed\": true, \"spawned\": {",
                         0),
              0u)
        << json;
    EXPECT_NE(json.find("\"players\": [{\"score\": "), std::string::npos);
}

TEST_F(HeadlessStageTest, TraceHasALinePerEnemyBullet) {
    const std::string script = writeScript("quiet.dat", "250,STAGE_COMPLETE\n");
    const std::string trace = (folder_ / "trace.csv").string();
    HeadlessOptions options;
    options.stage = 0;
    options.scriptFile = script;
    options.traceFile = trace;
    options.frames = 2000;
    HeadlessSession session(std::move(options));
    session.host().run(1);  // StageInit: the stage's frame 0
    TestTurret* turret = session.host().system().spawnFront<TestTurret>(layer::kAir);
    ASSERT_NE(turret, nullptr);
    const int32_t serial = turret->serial;
    session.run();
    std::istringstream lines(readAll(trace));
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "frame,owner,serial,type,x,y,vx,vy");
    std::vector<std::string> rows;
    while (std::getline(lines, line)) rows.push_back(line);
    // Frames 1..: the turret updates from the stage's frame 1, firing on its 20th update.
    ASSERT_GE(rows.size(), 5u);
    // x 120 and y 60 in 16.16, straight down at 2 px a frame (the sine table's 2.0 is a hair
    // short).
    const std::string start = "20,TestTurret," + std::to_string(serial) + ",3,7864320,3932160,0,";
    EXPECT_EQ(rows[0].rfind(start, 0), 0u) << rows[0];
    EXPECT_NEAR(std::stol(rows[0].substr(start.size())), 131072, 4);
    EXPECT_EQ(rows[1].rfind("40,TestTurret,", 0), 0u);
    EXPECT_EQ(session.stats().stages()[0].bulletsFired, static_cast<int64_t>(rows.size()));
}

TEST_F(HeadlessStageTest, SameKeysGiveTheSameFramesAndStatistics) {
    const bool data = linkData();
    // With the data, the first stage's own script; without, a small one of its own kind.
    const std::string script = data ? ""
                                    : writeScript("det.dat",
                                                  "0,MAP_POS_Y,500\n20,CLOUD,60,-100,80,2,4\n"
                                                  "150,WARNING,0\n400,STAGE_COMPLETE\n");
    const std::string keys = "0-3000 Z\n100-400 Left\n500-900 Right\n1000-1200 Up X\n";
    std::string first;
    std::string second;
    const uint64_t a = play(script, keys, 1, &first, 3000);
    const uint64_t b = play(script, keys, 1, &second, 3000);
    EXPECT_EQ(a, b);
    EXPECT_EQ(first, second);
    // The hash sees the picture: one cloud more makes another run.
    const std::string cloudier =
        writeScript("det2.dat", "0,MAP_POS_Y,500\n30,CLOUD,90,-100,80,2,1\n400,STAGE_COMPLETE\n");
    EXPECT_NE(a, play(cloudier, keys, 1, nullptr, 3000));
}

// The first stage on each difficulty with an invincible, always-shooting ship: it completes
// within a bounded number of frames, and the harder difficulties fire more.
TEST_F(HeadlessStageTest, StageOneCompletesOnEveryDifficulty) {
    if (!linkData()) GTEST_SKIP() << "no data.pck built";
    // Sweeps left and right while tapping and holding the shot.
    std::string keys;
    for (int t = 0; t < 20000; t += 400) {
        keys += std::to_string(t) + "-" + std::to_string(t + 199) + " Z Left\n";
        keys += std::to_string(t + 200) + "-" + std::to_string(t + 399) + " Z Right\n";
    }
    int64_t bullets[3] = {};
    for (uint8_t difficulty = 0; difficulty < 3; ++difficulty) {
        HeadlessOptions options;
        options.stage = 0;
        options.difficulty = difficulty;
        options.invincible = true;
        options.frames = 20000;
        ASSERT_TRUE(options.keys.parse(keys));
        HeadlessSession session(std::move(options));
        session.run();
        ASSERT_EQ(session.stats().stages().size(), 1u);
        const PlayStats::StageStats& stage = session.stats().stages()[0];
        EXPECT_TRUE(stage.completed) << "difficulty " << int{difficulty};
        EXPECT_LT(stage.frames, 20000u);
        bullets[difficulty] = stage.bulletsFired;
        ASSERT_FALSE(stage.spawned.empty()) << "the script spawns enemies";
        EXPECT_EQ(stage.destroyed.count("Boss1"), 1u) << "the boss dies";
    }
    EXPECT_LT(bullets[0], bullets[1]);
    EXPECT_LT(bullets[1], bullets[2]);
}

}  // namespace
}  // namespace vg
