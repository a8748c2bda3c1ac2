// The real game in a virtual X display (when Xvfb and xdotool are installed and the game, its
// data and the demo are built), left alone on the title: after its ten idle seconds the attract
// mode plays the demo, and the game's own screenshots show stage play with the demo mark.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "AtlasCells.h"
#include "app/HeadlessHost.h"
#include "core/Layers.h"
#include "core/System.h"
#include "resources/DIB.h"
#include "resources/Package.h"
#include "resources/Png.h"
#include "tests/support/XGame.h"

namespace vg {
namespace {

namespace fs = std::filesystem;

int brightness(uint32_t pixel) {
    return static_cast<int>((pixel >> 16 & 0xFF) + (pixel >> 8 & 0xFF) + (pixel & 0xFF));
}

using test::meanDifference;

// How plainly the "DEMO PLAY" banner shows in the middle of `screen`: the mean brightness of the
// pixels where the banner's picture is bright, less that of the pixels where it is dark.
double bannerContrast(const DIB& screen, const DIB& frame) {
    const atlas::Cell& banner = atlas::frame::kAttractBanner;
    const int left = (screen.width - banner.w) / 2;
    const int top = (screen.height - banner.h) / 2;
    double lit = 0, dark = 0;
    int litCount = 0, darkCount = 0;
    for (int y = 0; y < banner.h; ++y) {
        for (int x = 0; x < banner.w; ++x) {
            const int shown = brightness(*screen.pixelAt(left + x, top + y));
            if (brightness(*frame.pixelAt(banner.x + x, banner.y + y)) > 384) {
                lit += shown;
                ++litCount;
            } else {
                dark += shown;
                ++darkCount;
            }
        }
    }
    if (litCount == 0 || darkCount == 0) return 0;
    return lit / litCount - dark / darkCount;
}

TEST(AttractWindowTest, TheTitleLeftAloneShowsTheDemoInTheWindow) {
#ifndef VG_DEMO_ARGS
    GTEST_SKIP() << "the data build (and with it the demo) is off";
#else
    const fs::path game = fs::path(VG_GAME_DIR) / "vesperglint";
    const fs::path data = fs::path(VG_GAME_DIR) / "data.pck";
    const fs::path demo = fs::path(VG_GAME_DIR) / "replay" / "demo.rpl";
    if (!fs::exists(game) || !fs::exists(data) || !fs::exists(demo)) {
        GTEST_SKIP() << "the game, its data or the demo is not built";
    }
    const fs::path work = fs::path(VG_BINARY_DIR) / "demo_work" / "attract_window";
    const test::XRun run =
        test::runXScript("tests/demo/attract_window.sh",
                         {game.string(), data.string(), demo.string(), work.string()}, work);
    if (run == test::XRun::Skipped) GTEST_SKIP() << "no Xvfb or xdotool, or no X display came up";
    ASSERT_EQ(run, test::XRun::Ran) << "see " << work << ".log";
    const std::vector<fs::path> captures = test::screenshots(work);
    ASSERT_GE(captures.size(), 3u) << "the F2 screenshots are missing";

    // The same attract mode drawn by the headless host: the title left alone, then a few
    // seconds of the demo, and the title itself.
    DIB attract;
    DIB title;
    DIB frame;
    const fs::path previous = fs::current_path();
    fs::current_path(work);
    {
        HeadlessHost host(KeyScript{}, true, "");
        host.runUntil([&] { return host.system().firstOfLayer(layer::kAttract) != nullptr; }, 1200,
                      [&](uint32_t, const DIB& shot) {
                          if (title.empty() && host.system().idleCountdown < 300) {
                              title.create(shot.width, shot.height);
                              std::memcpy(title.pixels, shot.pixels,
                                          size_t{4} * shot.width * shot.height);
                          }
                      });
        host.run(240, [&](uint32_t, const DIB& shot) {
            attract.create(shot.width, shot.height);
            std::memcpy(attract.pixels, shot.pixels, size_t{4} * shot.width * shot.height);
        });
        PackageReader package;
        ASSERT_TRUE(package.openPackage("data.pck"));
        ASSERT_TRUE(loadImage("frame.png", package, host.system().scratchArena, frame));
    }
    fs::current_path(previous);
    ASSERT_FALSE(attract.empty());
    ASSERT_FALSE(title.empty());

    // Each screenshot shows the title (the game may run slower than 60 frames a second on a
    // busy machine) or, from some point on, the demo: stage play with the side panels of a
    // stage and "Replay" at the bottom left.
    // The title, then (a busy machine may catch its fade into the demo in a screenshot or two)
    // the demo to the end.
    double bestBanner = 0;
    int demoShots = 0;
    int fadeShots = 0;
    bool titleOver = false;
    for (const fs::path& capture : captures) {
        DIB screen;
        ASSERT_TRUE(decodePngFile(capture.c_str(), screen)) << capture;
        ASSERT_EQ(screen.width, 512);
        ASSERT_EQ(screen.height, 384);
        const bool panels = meanDifference(screen, attract, {0, 200, 136, 184}) < 6.0 &&
                            meanDifference(screen, attract, {376, 200, 136, 184}) < 6.0;
        const bool isTitle = meanDifference(screen, title) < 6.0;
        if (isTitle && !panels) {
            EXPECT_FALSE(titleOver) << capture << ": the title again after the demo began";
            continue;
        }
        titleOver = true;
        if (!panels) {
            EXPECT_EQ(demoShots, 0) << capture << ": the demo ended early";
            ++fadeShots;
            continue;
        }
        ++demoShots;
        bestBanner = std::max(bestBanner, bannerContrast(screen, frame));
    }
    EXPECT_LE(fadeShots, 2) << "screenshots that show neither the title nor the demo";
    EXPECT_GE(demoShots, 4) << "the demo did not start after ten idle seconds";
    // The demo mark pulses: over a pulse's worth of screenshots it shows plainly.
    EXPECT_GT(bestBanner, 60.0) << "no \"DEMO PLAY\" mark";
    std::printf("%d of %zu screenshots show the demo; banner contrast %.1f\n", demoShots,
                captures.size(), bestBanner);
#endif
}

}  // namespace
}  // namespace vg
