#include <gtest/gtest.h>

#include "input/JoystickState.h"

namespace vg {
namespace {

JoystickReading at(uint32_t x, uint32_t y, uint32_t buttons = 0) {
    JoystickReading reading;
    reading.x = x;
    reading.y = y;
    reading.buttons = buttons;
    return reading;
}

TEST(JoystickStateTest, StartUpSizesProbesAndTakesReportedThresholds) {
    ScriptedJoystick device(3);
    device.pads[0].threshold = 0x1000;
    device.pads[1].answersProbe = false;
    device.pads[1].threshold = 0x2000;  // not taken: the pad did not answer
    JoystickState joysticks;
    startJoysticks(joysticks, device);
    ASSERT_EQ(joysticks.count, 3u);
    EXPECT_EQ(joysticks.threshold[0], 0x1000u);
    EXPECT_EQ(joysticks.threshold[1], kDefaultJoystickThreshold);
    EXPECT_EQ(joysticks.threshold[2], kDefaultJoystickThreshold);  // reported 0
    EXPECT_EQ(joysticks.current[0].connected, 1u);
    EXPECT_EQ(joysticks.current[1].connected, 0u);
    EXPECT_EQ(joysticks.current[2].connected, 1u);

    // A dead zone past the centre is refused: the stick at rest must not hold Up and Left.
    ScriptedJoystick wide(1);
    wide.pads[0].threshold = 0x9000;
    startJoysticks(joysticks, wide);
    EXPECT_EQ(joysticks.threshold[0], kDefaultJoystickThreshold);
    updateJoysticks(joysticks, wide);
    EXPECT_EQ(joysticks.current[0].stick[0], 0);
    EXPECT_EQ(joysticks.current[0].stick[3], 0);

    NullJoystick none;
    startJoysticks(joysticks, none);
    EXPECT_FALSE(joysticks.present());
    updateJoysticks(joysticks, none);  // nothing to do, nothing to crash
    EXPECT_EQ(padHeld(0, joysticks, 0), 0);
    EXPECT_FALSE(padPressed(joysticks, 0, 0));
}

TEST(JoystickStateTest, AxesCountOnlyStrictlyBeyondTheThreshold) {
    ScriptedJoystick device(1);
    JoystickState joysticks;
    startJoysticks(joysticks, device);

    // Exactly on the bounds: nothing.
    device.pads[0].reading = at(0x8000 + 0x4000, 0x8000 - 0x4000);
    updateJoysticks(joysticks, device);
    EXPECT_EQ(padHeld(0, joysticks, kPadCodeRight), 0);
    EXPECT_EQ(padHeld(0, joysticks, kPadCodeUp), 0);

    // One step beyond: Right and Up.
    device.pads[0].reading = at(0xC001, 0x3FFF);
    updateJoysticks(joysticks, device);
    EXPECT_EQ(padHeld(0, joysticks, kPadCodeRight), 1);
    EXPECT_EQ(padHeld(0, joysticks, kPadCodeUp), 1);
    EXPECT_EQ(padHeld(0, joysticks, kPadCodeLeft), 0);
    EXPECT_EQ(padHeld(0, joysticks, kPadCodeDown), 0);

    // The extremes of the unsigned range: Left and Down, the others reset.
    device.pads[0].reading = at(0, 0xFFFF);
    updateJoysticks(joysticks, device);
    EXPECT_EQ(padHeld(0, joysticks, kPadCodeLeft), 1);
    EXPECT_EQ(padHeld(0, joysticks, kPadCodeDown), 1);
    EXPECT_EQ(padHeld(0, joysticks, kPadCodeRight), 0);
    EXPECT_EQ(padHeld(0, joysticks, kPadCodeUp), 0);
}

TEST(JoystickStateTest, ButtonsCountAndAFailedReadKeepsCounters) {
    ScriptedJoystick device(1);
    JoystickState joysticks;
    startJoysticks(joysticks, device);
    device.pads[0].reading = at(0x8000, 0x8000, 0x81);  // buttons 1 and 8
    updateJoysticks(joysticks, device);
    updateJoysticks(joysticks, device);
    EXPECT_EQ(padHeld(0, joysticks, 0), 2);
    EXPECT_EQ(padHeld(0, joysticks, 7), 2);
    EXPECT_EQ(padHeld(0, joysticks, 1), 0);

    device.pads[0].readable = false;
    device.pads[0].reading = at(0x8000, 0x8000, 0);
    updateJoysticks(joysticks, device);
    EXPECT_EQ(padHeld(0, joysticks, 0), 2);
    EXPECT_EQ(padHeld(0, joysticks, 7), 2);
    EXPECT_FALSE(padPressed(joysticks, 0, 0));
}

TEST(JoystickStateTest, CodesAndPadsOutsideTheTableAreNeverHeld) {
    ScriptedJoystick device(2);
    device.pads[1].answersProbe = false;
    JoystickState joysticks;
    startJoysticks(joysticks, device);
    device.pads[0].reading = at(0, 0, 0xFF);
    device.pads[1].reading = at(0, 0, 0xFF);
    updateJoysticks(joysticks, device);
    EXPECT_EQ(padHeld(0, joysticks, 8), 0);
    EXPECT_EQ(padHeld(0, joysticks, 31), 0);
    EXPECT_EQ(padHeld(0, joysticks, 36), 0);
    EXPECT_EQ(padHeld(0, joysticks, -1), 0);
    EXPECT_EQ(padHeld(-1, joysticks, 0), 0);
    EXPECT_EQ(padHeld(2, joysticks, 0), 0);
    // Read but not connected: ignored until probed again.
    EXPECT_EQ(padHeld(1, joysticks, 0), 0);
    device.pads[1].answersProbe = true;
    probeJoystick(joysticks, device, 1);
    EXPECT_EQ(padHeld(1, joysticks, 0), 1);
    probeJoystick(joysticks, device, 7);   // out of range: ignored
    probeJoystick(joysticks, device, -1);  // likewise
}

TEST(JoystickStateTest, NewPressOnTheFirstOfTwoPadsIsSeenAsNew) {
    ScriptedJoystick device(2);
    JoystickState joysticks;
    startJoysticks(joysticks, device);
    updateJoysticks(joysticks, device);
    device.pads[0].reading.buttons = 0x04;
    device.pads[1].reading.buttons = 0x04;
    updateJoysticks(joysticks, device);
    EXPECT_TRUE(padPressed(joysticks, 0, 2));
    EXPECT_TRUE(padPressed(joysticks, 1, 2));
    updateJoysticks(joysticks, device);
    EXPECT_FALSE(padPressed(joysticks, 0, 2));
    EXPECT_FALSE(padPressed(joysticks, 1, 2));
    EXPECT_EQ(padHeld(0, joysticks, 2), 2);
}

}  // namespace
}  // namespace vg
