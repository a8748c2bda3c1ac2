#include <gtest/gtest.h>

#include "app/DisplaySwitch.h"

namespace vg {
namespace {

// A window that remembers what it was asked; it can be told to refuse full screen.
class FakeWindow : public GameWindow {
  public:
    bool pollEvent(WindowEvent&) override { return false; }
    bool isActive() const override { return true; }
    void present(const DIB&) override {}
    Size clientSize() const override { return client; }
    void setClientSize(Size size) override { client = size; }
    void centre() override {}
    bool enterFullScreen() override {
        if (refuseFullScreen) return false;
        ++entered;
        fullScreen = true;
        return true;
    }
    void leaveFullScreen() override { fullScreen = false; }
    bool isFullScreen() const override { return fullScreen; }
    void hide() override {}

    Size client{512, 384};
    bool fullScreen = false;
    bool refuseFullScreen = false;
    int entered = 0;
};

TEST(DisplaySwitchTest, FullScreenTogglesAndEveryWayOutLeavesIt) {
    FakeWindow window;
    DisplaySwitch display(window, {512, 384});
    // Whatever modes the display offers: full screen never depends on them any more.
    EXPECT_TRUE(display.toggleFullScreen());
    EXPECT_TRUE(window.fullScreen);
    EXPECT_TRUE(display.toggleFullScreen());
    EXPECT_FALSE(window.fullScreen);

    // Losing activation leaves it; in a window a request to leave changes nothing.
    display.toggleFullScreen();
    display.leaveFullScreen();
    EXPECT_FALSE(window.fullScreen);
    display.leaveFullScreen();
    EXPECT_FALSE(window.fullScreen);
    EXPECT_EQ(window.entered, 2);
    // setDisplayMode toggles whatever the flag says while in full screen.
    display.toggleFullScreen();
    EXPECT_TRUE(display.setDisplayMode(true));
    EXPECT_FALSE(window.fullScreen);
}

TEST(DisplaySwitchTest, RefusedFullScreenLeavesTheWindowAsItWas) {
    FakeWindow window;
    window.refuseFullScreen = true;
    DisplaySwitch display(window, {512, 384});
    EXPECT_FALSE(display.toggleFullScreen());
    EXPECT_FALSE(window.fullScreen);
    EXPECT_EQ(window.client, (Size{512, 384}));
}

TEST(DisplaySwitchTest, F5TogglesScaleAndLeavesFullScreenFirst) {
    FakeWindow window;
    DisplaySwitch display(window, {512, 384});
    display.toggleWindowScale();
    EXPECT_EQ(window.client, (Size{1024, 768}));
    display.toggleWindowScale();
    EXPECT_EQ(window.client, (Size{512, 384}));
    // Any other size goes back to single scale.
    window.client = {700, 500};
    display.toggleWindowScale();
    EXPECT_EQ(window.client, (Size{512, 384}));

    display.toggleFullScreen();
    display.toggleWindowScale();
    EXPECT_FALSE(window.fullScreen);
    EXPECT_EQ(window.client, (Size{1024, 768}));
}

}  // namespace
}  // namespace vg
