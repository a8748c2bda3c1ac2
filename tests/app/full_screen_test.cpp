// The real game on a virtual X display wider than 4:3 under a window manager (when Xvfb, openbox,
// xdotool, xwd and xprop are installed and the game and its data are built): full screen fills
// the display's height at 4:3 in the middle with black bars beside it, leaving it puts the window
// back where it was, and the double-size window keeps its frame on the display.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "platform/WindowPlacement.h"
#include "resources/DIB.h"
#include "resources/Png.h"
#include "tests/app/GameProcess.h"
#include "tests/support/XGame.h"

namespace vg {
namespace {

namespace fs = std::filesystem;

// Mean absolute channel difference between `screen` and `area` of `display`, sampled at the
// screen's pixel centres.
double meanDifference(const DIB& screen, const DIB& display, const Rect& area) {
    return test::meanDifference(screen, {0, 0, screen.width, screen.height}, display,
                                {area.x, area.y, area.width, area.height});
}

std::string readText(const fs::path& path) {
    std::ifstream in(path);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

// "Position: X,Y" and "Geometry: WxH" of xdotool getwindowgeometry.
Rect readGeometry(const fs::path& path) {
    const std::string text = readText(path);
    std::smatch match;
    Rect rect{-1, -1, -1, -1};
    if (std::regex_search(text, match, std::regex(R"(Position: (-?\d+),(-?\d+))"))) {
        rect.x = std::stoi(match[1]);
        rect.y = std::stoi(match[2]);
    }
    if (std::regex_search(text, match, std::regex(R"(Geometry: (\d+)x(\d+))"))) {
        rect.width = std::stoi(match[1]);
        rect.height = std::stoi(match[2]);
    }
    return rect;
}

TEST(FullScreenTest, FillsTheDisplayAt43OnBlackAndTheWindowComesBackOnTheDisplay) {
    const fs::path game = fs::path(VG_GAME_DIR) / "vesperglint";
    const fs::path data = fs::path(VG_GAME_DIR) / "data.pck";
    if (!fs::exists(game) || !fs::exists(data)) GTEST_SKIP() << "the game or its data is not built";
    const fs::path work = fs::path(VG_BINARY_DIR) / "app_work" / "full_screen";
    const test::XRun run = test::runXScript("tests/app/full_screen.sh",
                                            {game.string(), data.string(), work.string()}, work);
    if (run == test::XRun::Skipped) {
        GTEST_SKIP() << "no Xvfb, openbox, xdotool, xwd or xprop, or no X display came up";
    }
    ASSERT_EQ(run, test::XRun::Ran) << "see " << work << ".log";

    EXPECT_EQ(test::recordedExitStatus(work), 0) << "the game did not end cleanly when closed";

    // The window covers the whole display.
    EXPECT_EQ(readGeometry(work / "fullscreen.txt"), (Rect{0, 0, 1280, 720}));
    DIB display;
    ASSERT_TRUE(test::readWindowDump(work / "fullscreen.xwd", display));
    ASSERT_EQ(display.width, 1280);
    ASSERT_EQ(display.height, 720);
    // 960 x 720 in the middle, black bars of 160 on both sides: no display mode was changed.
    const Rect picture{160, 0, 960, 720};
    int litInBars = 0;
    for (int32_t y = 0; y < display.height; ++y) {
        for (int32_t x = 0; x < 160; ++x) {
            if ((*display.pixelAt(x, y) & 0xFFFFFF) != 0) ++litInBars;
            if ((*display.pixelAt(1279 - x, y) & 0xFFFFFF) != 0) ++litInBars;
        }
    }
    EXPECT_EQ(litInBars, 0);

    const std::vector<fs::path> captures = test::screenshots(work);
    ASSERT_EQ(captures.size(), 1u);
    DIB screen;
    ASSERT_TRUE(decodePngFile(captures[0].c_str(), screen));
    EXPECT_LT(meanDifference(screen, display, picture), 8.0)
        << "the display does not show the screen scaled into the middle";
    // The left edge of the picture is drawn: not shifted by a column.
    EXPECT_GT(meanDifference(screen, display, {0, 0, 960, 720}), 8.0);

    // Back where it was.
    const Rect before = readGeometry(work / "window0.txt");
    EXPECT_EQ(before.width, 512);
    EXPECT_EQ(before.height, 384);
    EXPECT_EQ(readGeometry(work / "window1.txt"), before);
    // Doubled, it is taller than the display: its frame goes to the top, its title bar stays
    // reachable, and it moves left only as far as it must to fit beside the right edge.
    const std::string frameText = readText(work / "frame.txt");
    std::smatch match;
    ASSERT_TRUE(std::regex_search(frameText, match, std::regex(R"(= (\d+), (\d+), (\d+), (\d+))")))
        << frameText;
    const int left = std::stoi(match[1]);
    const int right = std::stoi(match[2]);
    const int top = std::stoi(match[3]);
    const Rect doubled = readGeometry(work / "window2.txt");
    EXPECT_EQ(doubled.width, 1024);
    EXPECT_EQ(doubled.height, 768);
    EXPECT_EQ(doubled.y - top, 0);
    EXPECT_EQ(doubled.x, std::min(before.x, 1280 - 1024 - right)) << "left frame " << left;
    EXPECT_GE(doubled.x - left, 0);
    EXPECT_EQ(readGeometry(work / "window3.txt"), doubled);
}

}  // namespace
}  // namespace vg
