#include <gtest/gtest.h>

#include "platform/WindowPlacement.h"

namespace vg {
namespace {

TEST(WindowPlacementTest, PictureFillsTheLargest43AreaCentredOnBlack) {
    struct Case {
        Size area;
        Rect fit;
    };
    const Case cases[] = {
        {{512, 384}, {0, 0, 512, 384}},
        {{1024, 768}, {0, 0, 1024, 768}},
        {{1920, 1080}, {240, 0, 1440, 1080}},  // wide: bars left and right
        {{1280, 1024}, {0, 32, 1280, 960}},    // 5:4: bars above and below
        {{2560, 1080}, {560, 0, 1440, 1080}},
        {{1366, 768}, {171, 0, 1024, 768}},
        {{800, 1280}, {0, 340, 800, 600}},  // a portrait display
        {{3, 2}, {0, 0, 2, 2}},
        {{0, 768}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fitPicture({512, 384}, c.area), c.fit) << c.area.width << "x" << c.area.height;
    }
    EXPECT_EQ(fitPicture({0, 0}, {640, 480}), Rect{});
    // Large displays stay exact.
    EXPECT_EQ(fitPicture({512, 384}, {15360, 8640}), (Rect{1920, 0, 11520, 8640}));
}

TEST(WindowPlacementTest, WindowMovesTheLeastThatPutsItOnTheDisplay) {
    const Rect display{0, 0, 1280, 1024};
    struct Case {
        Rect window;
        Rect placed;
    };
    const Case cases[] = {
        {{100, 100, 530, 410}, {100, 100, 530, 410}},    // fits: stays
        {{384, 307, 1042, 794}, {238, 230, 1042, 794}},  // doubled from the centre
        {{-40, -10, 530, 410}, {0, 0, 530, 410}},        // hanging off the top-left
        {{0, 0, 1400, 1100}, {0, 0, 1400, 1100}},        // larger than the display
        {{900, 900, 1400, 300}, {0, 724, 1400, 300}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(placeOnDisplay(c.window, display), c.placed) << c.window.x << "," << c.window.y;
    }
    // A second display to the right of the first, its usable area below a panel.
    EXPECT_EQ(placeOnDisplay({2900, 100, 1042, 794}, {1920, 32, 1920, 1048}),
              (Rect{2798, 100, 1042, 794}));
    EXPECT_EQ(placeOnDisplay({2000, 0, 530, 410}, {1920, 32, 1920, 1048}),
              (Rect{2000, 32, 530, 410}));
}

}  // namespace
}  // namespace vg
