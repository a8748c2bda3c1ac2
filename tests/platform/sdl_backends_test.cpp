// The SDL backends under SDL's dummy drivers, as CI and machines without a display or sound
// card run them: everything opens or fails cleanly, and the game's calls on them are safe.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/sdl/SdlAudio.h"
#include "platform/sdl/SdlKeyboard.h"
#include "platform/sdl/SdlWindow.h"
#include "resources/DIB.h"
#include "sound/SoundBank.h"

namespace vg {
namespace {

class SdlBackendsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }
};

TEST_F(SdlBackendsTest, WindowPresentsAndResizes) {
    auto window = sdl::SdlWindow::create("test", {512, 384});
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isActive());
    EXPECT_EQ(window->clientSize(), (Size{512, 384}));

    DIB screen;
    ASSERT_TRUE(screen.create(512, 384));
    *screen.pixelAt(0, 0) = 0xFF00FF;
    window->present(screen);
    // A surface of another size is not shown (and must not be read past its end).
    DIB small;
    ASSERT_TRUE(small.create(16, 16));
    window->present(small);

    window->setClientSize({1024, 768});
    EXPECT_EQ(window->clientSize(), (Size{1024, 768}));

    WindowEvent event;
    for (int i = 0; i < 10 && window->pollEvent(event);) ++i;
}

// The dummy display is 1024 x 768 at the origin.
TEST_F(SdlBackendsTest, FullScreenCoversTheDisplayAndLeavingPutsTheWindowBack) {
    auto window = sdl::SdlWindow::create("test", {512, 384});
    ASSERT_NE(window, nullptr);
    const Rect before = window->clientRect();
    EXPECT_EQ(before, (Rect{256, 192, 512, 384})) << "the window starts centred";
    ASSERT_TRUE(window->enterFullScreen());
    EXPECT_TRUE(window->isFullScreen());
    EXPECT_EQ(window->clientSize(), (Size{1024, 768}));
    DIB screen;
    ASSERT_TRUE(screen.create(512, 384));
    window->present(screen);
    EXPECT_TRUE(window->enterFullScreen());
    window->leaveFullScreen();
    EXPECT_FALSE(window->isFullScreen());
    EXPECT_EQ(window->clientRect(), before);
}

TEST_F(SdlBackendsTest, DoubleSizeKeepsTheWindowOnTheDisplay) {
    auto window = sdl::SdlWindow::create("test", {512, 384});
    ASSERT_NE(window, nullptr);
    // From the centre, doubling would run 256 pixels past the right and bottom edges.
    window->setClientSize({1024, 768});
    EXPECT_EQ(window->clientRect(), (Rect{0, 0, 1024, 768}));
    // Single size again stays where it is: it fits.
    window->setClientSize({512, 384});
    EXPECT_EQ(window->clientRect(), (Rect{0, 0, 512, 384}));

    auto doubled = sdl::SdlWindow::create("test", {512, 384}, 2);
    ASSERT_NE(doubled, nullptr);
    EXPECT_EQ(doubled->clientRect(), (Rect{0, 0, 1024, 768}));
}

TEST_F(SdlBackendsTest, KeyboardSnapshotIsAllUpWithoutInput) {
    auto window = sdl::SdlWindow::create("test", {512, 384});
    ASSERT_NE(window, nullptr);
    sdl::SdlKeyboard keyboard;
    KeySnapshot keys;
    keys.fill(0xFF);
    keyboard.snapshot(keys);
    EXPECT_EQ(keys, KeySnapshot{});
}

TEST_F(SdlBackendsTest, DummyAudioCountsAsNoDeviceAndTheGameRunsSilently) {
    SoundManager::SoundBank bank;
    auto device = openSdlAudioDevice(bank.mixer());
    ASSERT_NE(device, nullptr);
    EXPECT_FALSE(device->isOpen());
    EXPECT_FALSE(bank.init(std::move(device)));
    EXPECT_FALSE(bank.effectsReady());
    EXPECT_FALSE(bank.loadEffect("./sound/shot.wav", 1));
    bank.playSound(1);
    bank.soundStep();
}

}  // namespace
}  // namespace vg
