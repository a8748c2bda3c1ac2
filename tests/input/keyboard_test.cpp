#include <gtest/gtest.h>

#include "input/KeyNames.h"
#include "input/KeyboardState.h"
#include "platform/KeyboardMap.h"

namespace vg {
namespace {

TEST(KeyboardStateTest, HeldCountersCountAndResetOnRelease) {
    ScriptedKeyboard device;
    device.queueHeld({0x5A}, 3);
    device.queueHeld({});
    KeyboardState keyboard;
    updateKeyboard(keyboard, device);
    EXPECT_EQ(keyHeld(keyboard, 0x5A), 1);
    EXPECT_TRUE(keyPressed(keyboard, 0x5A));
    updateKeyboard(keyboard, device);
    updateKeyboard(keyboard, device);
    EXPECT_EQ(keyHeld(keyboard, 0x5A), 3);
    EXPECT_FALSE(keyPressed(keyboard, 0x5A));
    EXPECT_EQ(keyHeld(keyboard, 0x58), 0);
    updateKeyboard(keyboard, device);
    EXPECT_EQ(keyHeld(keyboard, 0x5A), 0);
    EXPECT_EQ(keyboard.previous[0x5A], kKeyDownBit);
}

TEST(KeyboardStateTest, OutOfTableCodesAreNeverHeld) {
    ScriptedKeyboard device;
    KeySnapshot all;
    all.fill(kKeyDownBit);
    device.queue(all);
    KeyboardState keyboard;
    updateKeyboard(keyboard, device);
    EXPECT_EQ(keyHeld(keyboard, 255), 1);
    EXPECT_EQ(keyHeld(keyboard, 256), 0);
    EXPECT_EQ(keyHeld(keyboard, -1), 0);
    EXPECT_FALSE(keyPressed(keyboard, 0x7FFFFFFF));
    EXPECT_FALSE(keyPressed(keyboard, -200));
}

TEST(KeyboardStateTest, ScriptedKeyboardRunsOutIntoAllKeysUp) {
    ScriptedKeyboard device;
    device.queueHeld({0x26, 0x20}, 2);
    EXPECT_EQ(device.remaining(), 2u);
    KeySnapshot keys;
    device.snapshot(keys);
    EXPECT_EQ(keys[0x26], kKeyDownBit);
    EXPECT_EQ(keys[0x20], kKeyDownBit);
    EXPECT_EQ(keys[0x27], 0);
    device.snapshot(keys);
    device.snapshot(keys);
    EXPECT_EQ(keys[0x26], 0);
    EXPECT_EQ(device.remaining(), 0u);
}

TEST(KeyboardMapTest, PhysicalKeysMapToVirtualKeyCodes) {
    EXPECT_EQ(virtualKeyForUsage(4), 'A');
    EXPECT_EQ(virtualKeyForUsage(29), 'Z');
    EXPECT_EQ(virtualKeyForUsage(30), '1');
    EXPECT_EQ(virtualKeyForUsage(39), '0');
    EXPECT_EQ(virtualKeyForUsage(58), 0x70);   // F1
    EXPECT_EQ(virtualKeyForUsage(104), 0x7C);  // F13
    EXPECT_EQ(virtualKeyForUsage(115), 0x87);  // F24
    EXPECT_EQ(virtualKeyForUsage(82), 0x26);   // Up
    EXPECT_EQ(virtualKeyForUsage(89), 0x61);   // keypad 1
    EXPECT_EQ(virtualKeyForUsage(96), 0x68);   // keypad 8
    EXPECT_EQ(virtualKeyForUsage(98), 0x60);   // keypad 0
    EXPECT_EQ(virtualKeyForUsage(41), 0x1B);   // Escape
    EXPECT_EQ(virtualKeyForUsage(44), 0x20);   // Space
    EXPECT_EQ(virtualKeyForUsage(88), 0x0D);   // keypad Enter
    EXPECT_EQ(virtualKeyForUsage(225), 0xA0);  // left Shift
    EXPECT_EQ(virtualKeyForUsage(230), 0xA5);  // right Alt
    EXPECT_EQ(virtualKeyForUsage(0), 0);
    EXPECT_EQ(virtualKeyForUsage(100000), 0);
}

TEST(KeyboardMapTest, CharactersFollowTheLayout) {
    EXPECT_EQ(virtualKeyForCharacter('q'), 'Q');
    EXPECT_EQ(virtualKeyForCharacter('Q'), 'Q');
    EXPECT_EQ(virtualKeyForCharacter('7'), '7');
    EXPECT_EQ(virtualKeyForCharacter(','), 0xBC);
    EXPECT_EQ(virtualKeyForCharacter('&'), 0);
    EXPECT_EQ(virtualKeyForCharacter(0x40000000 | 58), 0);  // a non-character key code
}

TEST(KeyboardMapTest, EitherSideSetsTheGenericModifier) {
    KeySnapshot keys{};
    keys[0xA1] = kKeyDownBit;  // right Shift
    keys[0xA2] = kKeyDownBit;  // left Ctrl
    addGenericModifiers(keys);
    EXPECT_EQ(keys[0x10], kKeyDownBit);
    EXPECT_EQ(keys[0x11], kKeyDownBit);
    EXPECT_EQ(keys[0x12], 0);
}

TEST(KeyNameTest, NamesCodesAndFallsBackToNumbers) {
    EXPECT_EQ(keyName(0), "0");
    EXPECT_EQ(keyName(0x07), "7");
    EXPECT_EQ(keyName(0x26), "Up");
    EXPECT_EQ(keyName(0x30), "0");
    EXPECT_EQ(keyName(0x41), "A");
    EXPECT_EQ(keyName(0x60), "NumPad0");
    EXPECT_EQ(keyName(0x6F), "Devide");
    EXPECT_EQ(keyName(0x70), "F1");
    EXPECT_EQ(keyName(0x87), "F24");
    EXPECT_EQ(keyName(0x88), "136");
    EXPECT_EQ(keyName(0xA5), "RMenu");
    EXPECT_EQ(keyName(0xA6), "166");
    EXPECT_EQ(keyName(-1), "-1");
    EXPECT_EQ(keyName(0x1D), "NoneConvert");
}

}  // namespace
}  // namespace vg
