#include <gtest/gtest.h>

#include <vector>

#include "app/DisplaySwitch.h"

namespace vg {
namespace {

// A window whose display offers a chosen list of modes.
class FakeWindow : public GameWindow {
  public:
    bool pollEvent(WindowEvent&) override { return false; }
    bool isActive() const override { return true; }
    void present(const DIB&) override {}
    Size clientSize() const override { return client; }
    void setClientSize(Size size) override { client = size; }
    void centre() override {}
    std::vector<Size> displayModes() const override { return modes; }
    Size currentDisplayMode() const override { return fullScreen ? mode : desktop; }
    bool enterFullScreen(Size size) override {
        if (refuseModeChange) return false;
        fullScreen = true;
        mode = size;
        return true;
    }
    void leaveFullScreen() override { fullScreen = false; }
    bool isFullScreen() const override { return fullScreen; }
    void hide() override {}

    std::vector<Size> modes{{1920, 1080}, {800, 600}, {640, 480}};
    Size desktop{1920, 1080};
    Size client{512, 384};
    Size mode{};
    bool fullScreen = false;
    bool refuseModeChange = false;
};

TEST(DisplaySwitchTest, AltEnterUsesTheSurfaceSizeOrFallsBackTo640x480AndToggles) {
    FakeWindow window;
    DisplaySwitch display(window, {512, 384});
    EXPECT_TRUE(display.toggleFullScreen());
    EXPECT_TRUE(window.fullScreen);
    EXPECT_EQ(window.mode, (Size{640, 480}));
    EXPECT_TRUE(display.toggleFullScreen());
    EXPECT_FALSE(window.fullScreen);

    window.modes.push_back({512, 384});
    EXPECT_TRUE(display.toggleFullScreen());
    EXPECT_EQ(window.mode, (Size{512, 384}));
}

TEST(DisplaySwitchTest, LosingActivationLeavesFullScreenEvenAt640x480) {
    FakeWindow window;
    DisplaySwitch display(window, {512, 384});
    display.toggleFullScreen();
    ASSERT_EQ(window.mode, (Size{640, 480}));
    display.leaveFullScreen();
    EXPECT_FALSE(window.fullScreen);
    // In a window, a request to leave changes nothing.
    display.leaveFullScreen();
    EXPECT_FALSE(window.fullScreen);
}

TEST(DisplaySwitchTest, RefusedModeLeavesTheWindowAsItWas) {
    FakeWindow window;
    window.refuseModeChange = true;
    DisplaySwitch display(window, {512, 384});
    EXPECT_FALSE(display.toggleFullScreen());
    EXPECT_FALSE(window.fullScreen);
    window.modes = {{1920, 1080}};
    EXPECT_FALSE(display.setDisplayMode({640, 480}, true));
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
