// The menu input tests of every screen: auto-repeat rhythm, fresh presses, ties, held buttons.
#include <gtest/gtest.h>

#include <vector>

#include "core/System.h"
#include "screens/ScreenBase.h"

namespace vg {
namespace {

struct Probe : ScreenBase {};

struct MenuInputTest : ::testing::Test {
    System system;
    Probe* screen = system.spawnBack<Probe>(0);
    void press(int player, uint8_t bits) { system.keyRecords[player].buttons = bits; }
};

TEST_F(MenuInputTest, HeldDirectionMovesOnceThenAfter27FramesThenEvery4) {
    ASSERT_NE(screen, nullptr);
    press(0, 0);
    EXPECT_FALSE(fired(screen->menuDown()));
    press(0, kButtonDown);
    std::vector<int> fires;
    for (int frame = 1; frame <= 110; ++frame) {
        if (fired(screen->menuDown())) fires.push_back(frame);
    }
    // The rhythm stays 4 across the counter's wrap at 48.
    const std::vector<int> expected{1,  28, 32, 36, 40, 44, 48, 52, 56,  60,  64,
                                    68, 72, 76, 80, 84, 88, 92, 96, 100, 104, 108};
    EXPECT_EQ(fires, expected);
    press(0, 0);
    EXPECT_FALSE(fired(screen->menuDown()));
    EXPECT_EQ(screen->holdCounters[2 * 2 + 0], 0);
    press(0, kButtonDown);
    EXPECT_EQ(screen->menuDown(), 0);
}

TEST_F(MenuInputTest, ButtonHeldWhenTheScreenOpensDoesNotAct) {
    press(0, kButtonShot | kButtonUp);
    for (int frame = 0; frame < 40; ++frame) {
        EXPECT_FALSE(fired(screen->menuConfirm()));
        // A direction held since the opening counts from 2: it repeats, but never "presses".
        if (frame < 26)
            EXPECT_FALSE(fired(screen->menuUp())) << frame;
        else
            screen->menuUp();
    }
    press(0, 0);
    EXPECT_FALSE(fired(screen->menuConfirm()));
    press(0, kButtonShot);
    EXPECT_EQ(screen->menuConfirm(), 0);
    EXPECT_FALSE(fired(screen->menuConfirm()));
}

TEST_F(MenuInputTest, PlayerTwoWinsATieAndEachPlayerCountsAlone) {
    press(0, 0);
    press(1, 0);
    screen->menuCancel();
    press(0, kButtonBomb);
    press(1, kButtonBomb);
    EXPECT_EQ(screen->menuCancel(), 1);
    press(1, 0);
    EXPECT_FALSE(fired(screen->menuCancel()));
    press(1, kButtonBomb);
    EXPECT_EQ(screen->menuCancel(), 1);
    press(0, 0);
    press(1, 0);
    screen->menuAuto();
    press(0, kButtonAuto);
    EXPECT_EQ(screen->menuAuto(), 0);
    screen->resetHoldCounters();
    EXPECT_FALSE(fired(screen->menuAuto()));
}

TEST(MenuInputNoOwner, ScreenOutsideASystemNeverFires) {
    Probe screen;
    EXPECT_FALSE(fired(screen.menuConfirm()));
    EXPECT_FALSE(fired(screen.menuUp()));
    EXPECT_FALSE(screen.escapePressed());
}

}  // namespace
}  // namespace vg
