// The key configuration with joysticks present: the pad row and joystick buttons in SetKey.
#include <gtest/gtest.h>

#include "core/System.h"
#include "screens/KeyConfig.h"
#include "screens/SetKey.h"

namespace vg {
namespace {

struct JoystickKeysTest : ::testing::Test {
    ScriptedKeyboard keyboard;
    ScriptedJoystick pads{2};
    System system{keyboard, pads};

    // One frame with `buttons` held on pad `pad` (and nothing on the other).
    void frame(int pad = -1, uint32_t buttons = 0) {
        for (auto& p : pads.pads) p.reading.buttons = 0;
        if (pad >= 0) pads.pads[pad].reading.buttons = buttons;
        system.frameStep();
    }
};

TEST_F(JoystickKeysTest, ButtonForADirectionChangesOnlyThePad) {
    system.spawnBack<SetKey>(0, 0, KeyButton::Left);
    const KeyRecord before = system.keyRecords[0];
    frame();
    // Pressed in the dialog's second frame and held: never a new press later.
    frame(1, 0x08);
    frame(1, 0x08);
    EXPECT_EQ(system.keyRecords[0].padId, before.padId);
    ASSERT_NE(system.firstOfLayer(0), nullptr);
    frame();
    frame(1, 0x08);
    EXPECT_EQ(system.keyRecords[0].padId, 1);
    EXPECT_EQ(system.keyRecords[0].leftKey, before.leftKey);
    EXPECT_EQ(system.keyRecords[0].shotPadButton, before.shotPadButton);
    EXPECT_EQ(system.keyRecords[0].pausePadButton, before.pausePadButton);
    frame();
    EXPECT_EQ(system.firstOfLayer(0), nullptr) << "the dialog ends once a button is taken";
}

TEST_F(JoystickKeysTest, ButtonForBombSetsPadAndButton) {
    system.spawnBack<SetKey>(1, 1, KeyButton::Bomb);
    frame();
    frame();
    frame(0, 0x20);
    EXPECT_EQ(system.keyRecords[1].padId, 0);
    EXPECT_EQ(system.keyRecords[1].bombPadButton, 5);
    EXPECT_EQ(system.keyRecords[0].bombPadButton, 1) << "the other player keeps theirs";
}

TEST_F(JoystickKeysTest, KeyboardKeyWinsOverAJoystickButtonInTheSameFrame) {
    system.spawnBack<SetKey>(1, 0, KeyButton::Pause);
    frame();
    frame();
    keyboard.queueHeld({0x50});
    frame(0, 0x01);
    EXPECT_EQ(system.keyRecords[0].pauseKey, 0x50);
    EXPECT_EQ(system.keyRecords[0].pausePadButton, 3);
}

TEST_F(JoystickKeysTest, PadRowCyclesThroughThePresentJoysticksAndNoUse) {
    auto* screen = system.spawnBack<KeyConfig>(0);
    ASSERT_NE(screen, nullptr);
    screen->row = KeyConfig::kRowPad;
    const int expectedRight[] = {1, -1, 0, 1};
    for (int expected : expectedRight) {
        keyboard.queueHeld({0x27});
        system.frameStep();
        EXPECT_EQ(system.keyRecords[0].padId, expected);
        system.frameStep();
    }
    const int expectedLeft[] = {0, -1, 1, 0};
    for (int expected : expectedLeft) {
        keyboard.queueHeld({0x25});
        system.frameStep();
        EXPECT_EQ(system.keyRecords[0].padId, expected);
        system.frameStep();
    }
    // A damaged negative number counts as "no use".
    system.keyRecords[0].padId = -7;
    keyboard.queueHeld({0x27});
    system.frameStep();
    EXPECT_EQ(system.keyRecords[0].padId, 0);
}

}  // namespace
}  // namespace vg
