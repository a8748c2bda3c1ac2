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
#include "tests/support/XGame.h"

namespace vg {
namespace {

namespace fs = std::filesystem;

using test::meanDifference;

TEST(RealWindowTest, WindowShowsTheTitleAndExitQuits) {
    const fs::path game = fs::path(VG_GAME_DIR) / "vesperglint";
    const fs::path data = fs::path(VG_GAME_DIR) / "data.pck";
    if (!fs::exists(game) || !fs::exists(data)) GTEST_SKIP() << "the game or its data is not built";
    const fs::path work = fs::path(VG_BINARY_DIR) / "screens_work" / "real_window";
    const test::XRun run = test::runXScript("tests/screens/real_window.sh",
                                            {game.string(), data.string(), work.string()}, work);
    if (run == test::XRun::Skipped)
        GTEST_SKIP() << "no Xvfb, xdotool or xwd, or no X display came up";
    ASSERT_EQ(run, test::XRun::Ran) << "see " << work << ".log";

    EXPECT_EQ(test::recordedExitStatus(work), 0) << "the game did not end by the title's Exit";
    EXPECT_TRUE(fs::exists(work / "save"));

    const std::regex capName(R"(cap[0-9]{8}_[0-9]{2,6}_[0-9]{3}\.png)");
    const std::vector<fs::path> captures = test::screenshots(work);
    for (const fs::path& capture : captures) {
        EXPECT_TRUE(std::regex_match(capture.filename().string(), capName)) << capture;
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
    ASSERT_TRUE(test::readWindowDump(work / "window.xwd", window));
    EXPECT_LT(meanDifference(screen, window), 8.0) << "the window does not show the screen";
}

}  // namespace
}  // namespace vg
