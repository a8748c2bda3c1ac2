// The demo the data build makes (replay/demo.rpl): three stages on "Normal" that look like
// skilled play (no life lost in the first 30 seconds of any stage), that carry their check
// trails and verify against them, and that the build makes byte for byte the same every time.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/HeadlessHost.h"
#include "app/PlayStats.h"
#include "app/ReplayCheck.h"
#include "core/System.h"
#include "replay/ReplayLoad.h"
#include "screens/GameInit.h"

namespace vg {
namespace {

namespace fs = std::filesystem;

const fs::path kDemo = fs::path(VG_GAME_DIR) / "replay" / "demo.rpl";
const fs::path kTool = fs::path(VG_BINARY_DIR) / "tools" / "headless" / "vesperglint-headless";
// Frames of a stage in which the demo's ship must not be hit for a life.
constexpr int32_t kSafeFrames = 1800;
constexpr int32_t kDemoStages = 3;

std::vector<uint8_t> readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A working folder of its own with the game's data linked in.
class DemoTest : public ::testing::Test {
  protected:
    void SetUp() override {
#ifndef VG_DEMO_ARGS
        GTEST_SKIP() << "the data build (and with it the demo) is off";
#else
        if (!fs::exists(kDemo)) GTEST_SKIP() << "the demo is not built";
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::path(VG_BINARY_DIR) / "demo_work" / info->name();
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        fs::create_symlink(fs::path(VG_GAME_DIR) / "data.pck", folder_ / "data.pck");
        previous_ = fs::current_path();
        fs::current_path(folder_);
#endif
    }
    void TearDown() override {
        if (!previous_.empty()) fs::current_path(previous_);
    }
    fs::path folder_;
    fs::path previous_;
};

TEST_F(DemoTest, EveryStageIsPlayedWithoutALifeLostInItsFirstThirtySeconds) {
    ReplayData demo;
    ASSERT_TRUE(demo.Load(kDemo.c_str()));
    EXPECT_EQ(demo.index().difficulty, 1);
    for (int stage = 0; stage < kDemoStages; ++stage) {
        ASSERT_TRUE(demo.HasStage(stage)) << stage;
        // The attract mode shows 3600 updates of a stage.
        EXPECT_GE(demo.stageRecord(stage).frameCount, 3600) << stage;

        HeadlessHost host(KeyScript{}, false, "");
        System& system = host.system();
        PlayStats stats(system);
        GameInit::loadSharedAssets(system);
        ASSERT_TRUE(system.replay.Load(kDemo.c_str()));
        ASSERT_TRUE(startReplayPlayback(system, stage));
        host.run(static_cast<uint32_t>(demo.stageRecord(stage).frameCount) + 1,
                 [&](uint32_t, const DIB&) { stats.afterFrame(); });
        ASSERT_EQ(stats.stages().size(), 1u);
        const PlayStats::PlayerStats& player = stats.stages()[0].players.at(0);
        std::printf("demo stage %d: score %lld, lives lost %d, first life lost at frame %d\n",
                    stage, static_cast<long long>(player.score), player.livesLost,
                    player.firstLifeLost);
        EXPECT_TRUE(player.firstLifeLost < 0 || player.firstLifeLost >= kSafeFrames)
            << "stage " << stage << ": a life lost at frame " << player.firstLifeLost;
    }

    const ReplayCheck check = checkReplay(kDemo.string());
    EXPECT_EQ(check.status, ReplayCheck::Status::Ok);
    EXPECT_EQ(check.stages.size(), 3u);
    EXPECT_GT(check.stages.at(0).recorded[0], 0) << "the bot scores in the first stage";
    for (const StageCheck& stage : check.stages) {
        // A mark every 60 frames, each one matched by play.
        EXPECT_EQ(demo.trail(stage.stage).size(),
                  static_cast<size_t>((stage.frames - 1) / ReplayData::kTrailInterval))
            << stage.stage;
        EXPECT_EQ(stage.marks, demo.trail(stage.stage)) << stage.stage;
        EXPECT_EQ(stage.departure, -1) << stage.stage;
    }
}

#ifdef VG_DEMO_ARGS
TEST_F(DemoTest, TheBuildMakesTheSameDemoEveryTime) {
    if (!fs::exists(kTool)) GTEST_SKIP() << "the headless tool is not built";
    const fs::path again = folder_ / "again.rpl";
    const std::string command = "'" + kTool.string() +
                                "' --game '" VG_GAME_DIR "' " VG_DEMO_ARGS " --record '" +
                                again.string() + "' --out '" + folder_.string() + "' > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::vector<uint8_t> built = readAll(kDemo);
    EXPECT_FALSE(built.empty());
    EXPECT_EQ(readAll(again), built);
}
#endif

}  // namespace
}  // namespace vg
