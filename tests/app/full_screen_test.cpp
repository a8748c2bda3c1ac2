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

namespace vg {
namespace {

namespace fs = std::filesystem;

uint32_t bigEndian(const std::vector<uint8_t>& bytes, size_t at) {
    return uint32_t{bytes[at]} << 24 | uint32_t{bytes[at + 1]} << 16 |
           uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
}

// Reads a 32-bit ZPixmap window dump as xwd writes it into `picture` (0x00RRGGBB). False for
// anything else.
bool readDump(const fs::path& path, DIB& picture) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    if (bytes.size() < 100) return false;
    const uint32_t headerSize = bigEndian(bytes, 0);
    const int32_t width = static_cast<int32_t>(bigEndian(bytes, 16));
    const int32_t height = static_cast<int32_t>(bigEndian(bytes, 20));
    const uint32_t bytesPerLine = bigEndian(bytes, 48);
    const uint32_t colours = bigEndian(bytes, 76);
    if (bigEndian(bytes, 8) != 2 || bigEndian(bytes, 44) != 32 || bigEndian(bytes, 28) != 0 ||
        width <= 0 || height <= 0) {
        return false;
    }
    const size_t start = size_t{headerSize} + size_t{colours} * 12;
    if (start + size_t{bytesPerLine} * height > bytes.size()) return false;
    if (!picture.create(width, height)) return false;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const size_t at = start + size_t{bytesPerLine} * y + size_t{4} * x;
            *picture.pixelAt(x, y) =
                uint32_t{bytes[at + 2]} << 16 | uint32_t{bytes[at + 1]} << 8 | bytes[at];
        }
    }
    return true;
}

// Mean absolute channel difference between `screen` and `area` of `display`, sampled at the
// screen's pixel centres.
double meanDifference(const DIB& screen, const DIB& display, const Rect& area) {
    double total = 0;
    for (int32_t y = 0; y < screen.height; ++y) {
        for (int32_t x = 0; x < screen.width; ++x) {
            const int32_t dx = area.x + (2 * x + 1) * area.width / (2 * screen.width);
            const int32_t dy = area.y + (2 * y + 1) * area.height / (2 * screen.height);
            const uint32_t a = *screen.pixelAt(x, y);
            const uint32_t b = *display.pixelAt(dx, dy);
            for (int k = 0; k < 3; ++k) {
                total += std::abs(static_cast<int>((a >> (8 * k)) & 0xFF) -
                                  static_cast<int>((b >> (8 * k)) & 0xFF));
            }
        }
    }
    return total / (3.0 * screen.width * screen.height);
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
    fs::remove_all(work);
    fs::create_directories(work.parent_path());
    const std::string command = "sh '" VG_SOURCE_DIR "/tests/app/full_screen.sh' '" +
                                game.string() + "' '" + data.string() + "' '" + work.string() +
                                "' > '" + work.string() + ".log' 2>&1";
    const int status = std::system(command.c_str());
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77) {
        GTEST_SKIP() << "no Xvfb, xdotool or xwd, or no X display came up";
    }
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "see " << work << ".log";

    std::ifstream exitStatus(work / "exit_status");
    int code = -1;
    exitStatus >> code;
    EXPECT_EQ(code, 0) << "the game did not end cleanly when closed";

    // The window covers the whole display.
    EXPECT_EQ(readGeometry(work / "fullscreen.txt"), (Rect{0, 0, 1280, 720}));
    DIB display;
    ASSERT_TRUE(readDump(work / "fullscreen.xwd", display));
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

    std::vector<fs::path> captures;
    for (const auto& entry : fs::directory_iterator(work)) {
        if (entry.path().filename().string().rfind("cap", 0) == 0) captures.push_back(entry);
    }
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
