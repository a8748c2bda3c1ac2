// The real game in a virtual X display (when Xvfb and xdotool are installed and the game and its
// data are built), played with keys sent to its window as a player would: "GAME START",
// "Normal", TYPE-A, a minute of stage 1, the pause menu's Quit and the title's Exit. The game's
// own screenshots show the stage with its panels, a field that moves and a score that rises.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/HeadlessHost.h"
#include "core/Layers.h"
#include "core/System.h"
#include "resources/DIB.h"
#include "resources/Png.h"
#include "tests/support/XGame.h"

namespace vg {
namespace {

namespace fs = std::filesystem;
using test::Area;
using test::meanDifference;

constexpr int kPlayShots = 12;
// The play field between the panels, the right panel (no second player: it does not change
// during play) and the first player's score digits.
constexpr Area kField{136, 0, 240, 384};
constexpr Area kRightPanel{376, 0, 136, 384};
constexpr Area kScoreDigits{40, 68, 90, 16};

void copyPicture(const DIB& from, DIB& to) {
    if (!to.create(from.width, from.height)) return;
    std::memcpy(to.pixels, from.pixels, size_t{4} * from.width * from.height);
}

TEST(PlayWindowTest, StageOneIsPlayedForAMinuteFromTheTitle) {
    const fs::path game = fs::path(VG_GAME_DIR) / "vesperglint";
    const fs::path data = fs::path(VG_GAME_DIR) / "data.pck";
    if (!fs::exists(game) || !fs::exists(data)) GTEST_SKIP() << "the game or its data is not built";
    const fs::path work = fs::path(VG_BINARY_DIR) / "screens_work" / "play_window";
    const test::XRun run = test::runXScript("tests/screens/play_window.sh",
                                            {game.string(), data.string(), work.string()}, work);
    if (run == test::XRun::Skipped) GTEST_SKIP() << "no Xvfb or xdotool, or no X display came up";
    ASSERT_EQ(run, test::XRun::Ran) << "see " << work << ".log";
    EXPECT_EQ(test::recordedExitStatus(work), 0)
        << "the pause menu's Quit and the title's Exit did not end the game";
    EXPECT_TRUE(fs::exists(work / "save"));

    const std::vector<fs::path> captures = test::screenshots(work);
    ASSERT_EQ(captures.size(), size_t{kPlayShots + 1}) << "one screenshot per step and the pause";

    // The same stage drawn by the headless host: its panels with a score of 0, and the pause
    // menu over it.
    DIB stage;
    DIB paused;
    const fs::path previous = fs::current_path();
    fs::current_path(work);
    {
        HeadlessHost host(KeyScript{}, false, "");
        host.startStage(0, 1, 0);
        host.run(300, [&](uint32_t, const DIB& shot) { copyPicture(shot, stage); });
        host.tap("Escape");
        host.run(60, [&](uint32_t, const DIB& shot) { copyPicture(shot, paused); });
        EXPECT_NE(host.system().firstOfLayer(layer::kPause), nullptr);
    }
    fs::current_path(previous);
    ASSERT_FALSE(stage.empty());
    ASSERT_FALSE(paused.empty());

    int stageShots = 0;
    int moving = 0;
    int scored = 0;
    DIB last;
    for (int shot = 0; shot < kPlayShots; ++shot) {
        SCOPED_TRACE(captures[shot].string());
        DIB screen;
        ASSERT_TRUE(decodePngFile(captures[shot].c_str(), screen));
        ASSERT_EQ(screen.width, 512);
        ASSERT_EQ(screen.height, 384);
        // A continue taken in between shows over the stage with the same panels.
        if (meanDifference(screen, stage, kRightPanel) >= 6.0) continue;
        ++stageShots;
        if (meanDifference(screen, stage, kScoreDigits) > 8.0) ++scored;
        // Five seconds apart the field has scrolled on and everything on it has moved.
        if (!last.empty() && meanDifference(screen, last, kField) > 10.0) ++moving;
        copyPicture(screen, last);
    }
    EXPECT_GE(stageShots, kPlayShots - 1) << "the stage was not on for the minute";
    EXPECT_GE(moving, stageShots - 1) << "the field stood still";
    EXPECT_GE(scored, kPlayShots / 2) << "the score did not rise";

    DIB pauseShot;
    ASSERT_TRUE(decodePngFile(captures[kPlayShots].c_str(), pauseShot));
    const double menu = meanDifference(pauseShot, paused, {176, 150, 200, 150});
    const double unpaused = meanDifference(pauseShot, stage, {176, 150, 200, 150});
    EXPECT_LT(menu, unpaused) << "the last screenshot does not show the pause menu";
    std::printf(
        "%d of %d screenshots show the stage, %d a moving field, %d a score; pause %.1f "
        "against %.1f\n",
        stageShots, kPlayShots, moving + 1, scored, menu, unpaused);
}

}  // namespace
}  // namespace vg
