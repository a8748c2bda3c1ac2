// The real game in a virtual X display (when Xvfb and xdotool are installed and the game and
// its data are built): the logo is skipped, the window shows the title, F2 writes a screenshot
// named as the game names them, and the title's Exit ends the program and writes the save.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "app/HeadlessHost.h"
#include "resources/DIB.h"
#include "resources/Png.h"

namespace vg {
namespace {

namespace fs = std::filesystem;

uint32_t bigEndian(const std::vector<uint8_t>& bytes, size_t at) {
    return uint32_t{bytes[at]} << 24 | uint32_t{bytes[at + 1]} << 16 |
           uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
}

// Reads a 32-bit ZPixmap window dump as xwd writes it into `picture` (0x00RRGGBB, the DIB's
// row order). False for anything else.
bool readWindowDump(const fs::path& path, DIB& picture) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    if (bytes.size() < 100) return false;
    const uint32_t headerSize = bigEndian(bytes, 0);
    const uint32_t format = bigEndian(bytes, 8);
    const int32_t width = static_cast<int32_t>(bigEndian(bytes, 16));
    const int32_t height = static_cast<int32_t>(bigEndian(bytes, 20));
    const uint32_t byteOrder = bigEndian(bytes, 28);
    const uint32_t bitsPerPixel = bigEndian(bytes, 44);
    const uint32_t bytesPerLine = bigEndian(bytes, 48);
    const uint32_t colours = bigEndian(bytes, 76);
    if (format != 2 || bitsPerPixel != 32 || byteOrder != 0 || width <= 0 || height <= 0) {
        return false;
    }
    const size_t start = size_t{headerSize} + size_t{colours} * 12;
    if (start + size_t{bytesPerLine} * height > bytes.size()) return false;
    if (!picture.create(width, height)) return false;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const size_t at = start + size_t{bytesPerLine} * y + size_t{4} * x;
            *picture.pixelAt(x, y) =
                (uint32_t{bytes[at + 2]} << 16 | uint32_t{bytes[at + 1]} << 8 | bytes[at]);
        }
    }
    return true;
}

// Mean absolute channel difference between the screen and the window, the window sampled at
// the screen's pixel centres (it may be shown scaled).
double meanDifference(const DIB& screen, const DIB& window) {
    double total = 0;
    for (int32_t y = 0; y < screen.height; ++y) {
        for (int32_t x = 0; x < screen.width; ++x) {
            const int32_t wx = (2 * x + 1) * window.width / (2 * screen.width);
            const int32_t wy = (2 * y + 1) * window.height / (2 * screen.height);
            const uint32_t a = *screen.pixelAt(x, y);
            const uint32_t b = *window.pixelAt(wx, wy);
            for (int k = 0; k < 3; ++k) {
                total += std::abs(static_cast<int>((a >> (8 * k)) & 0xFF) -
                                  static_cast<int>((b >> (8 * k)) & 0xFF));
            }
        }
    }
    return total / (3.0 * screen.width * screen.height);
}

TEST(RealWindowTest, WindowShowsTheTitleAndExitQuits) {
    const fs::path game = fs::path(VG_GAME_DIR) / "vesperglint";
    const fs::path data = fs::path(VG_GAME_DIR) / "data.pck";
    if (!fs::exists(game) || !fs::exists(data)) GTEST_SKIP() << "the game or its data is not built";
    const fs::path work = fs::path(VG_BINARY_DIR) / "screens_work" / "real_window";
    fs::remove_all(work);
    const std::string command = "sh '" VG_SOURCE_DIR "/tests/screens/real_window.sh' '" +
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
    EXPECT_EQ(code, 0) << "the game did not end by the title's Exit";
    EXPECT_TRUE(fs::exists(work / "save"));

    const std::regex capName(R"(cap[0-9]{8}_[0-9]{2,6}_[0-9]{3}\.png)");
    std::vector<fs::path> captures;
    for (const auto& entry : fs::directory_iterator(work)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("cap", 0) == 0) {
            EXPECT_TRUE(std::regex_match(name, capName)) << name;
            captures.push_back(entry.path());
        }
    }
    ASSERT_EQ(captures.size(), 1u);
    DIB screen;
    ASSERT_TRUE(decodePngFile(captures[0].c_str(), screen));
    ASSERT_EQ(screen.width, 512);
    ASSERT_EQ(screen.height, 384);
    // The same title, cursor on the first item, drawn by the headless host.
    DIB title;
    const fs::path previous = fs::current_path();
    fs::current_path(work);
    {
        HeadlessHost host;
        host.run(321, [&](uint32_t frame, const DIB& shot) {
            if (frame != 320 || !title.create(shot.width, shot.height)) return;
            std::memcpy(title.pixels, shot.pixels, size_t{4} * shot.width * shot.height);
        });
    }
    fs::current_path(previous);
    ASSERT_FALSE(title.empty());
    EXPECT_LT(meanDifference(title, screen), 2.0) << "the screenshot does not show the title";

    DIB window;
    ASSERT_TRUE(readWindowDump(work / "window.xwd", window));
    EXPECT_LT(meanDifference(screen, window), 8.0) << "the window does not show the screen";
}

}  // namespace
}  // namespace vg
