#include <gtest/gtest.h>

#include "core/System.h"
#include "input/KeyRecord.h"

namespace vg {
namespace {

// A keyboard and joysticks stepped one frame at a time, as the System frame step does.
struct Inputs {
    explicit Inputs(uint32_t pads) : pad(pads) { startJoysticks(joysticks, pad); }
    void step(std::initializer_list<uint8_t> keysDown) {
        keys.queueHeld(keysDown);
        updateKeyboard(keyboard, keys);
        updateJoysticks(joysticks, pad);
    }
    ScriptedKeyboard keys;
    ScriptedJoystick pad;
    KeyboardState keyboard;
    JoystickState joysticks;
};

TEST(ComputeButtonsTest, KeysSetTheirBitsAndOppositesBothCount) {
    Inputs in(0);
    KeyRecord record = defaultKeyRecord(0);
    in.step({0x25, 0x27, 'Z', 'V'});
    computeButtons(in.keyboard, record, in.joysticks);
    EXPECT_EQ(record.buttons, kButtonLeft | kButtonRight | kButtonShot | kButtonPause);
    in.step({0x26, 0x28, 'X', 'C'});
    computeButtons(in.keyboard, record, in.joysticks);
    EXPECT_EQ(record.buttons, kButtonUp | kButtonDown | kButtonBomb | kButtonAuto);
    in.step({});
    computeButtons(in.keyboard, record, in.joysticks);
    EXPECT_EQ(record.buttons, 0);
}

TEST(ComputeButtonsTest, DamagedKeyCodesAreNeverHeld) {
    Inputs in(0);
    KeyRecord record = defaultKeyRecord(0);
    record.shotKey = 256;
    record.bombKey = -1;
    record.autoKey = INT32_MIN;
    KeySnapshot all;
    all.fill(kKeyDownBit);
    in.keys.queue(all);
    updateKeyboard(in.keyboard, in.keys);
    computeButtons(in.keyboard, record, in.joysticks);
    EXPECT_EQ(record.buttons, 0x0F | kButtonPause);
}

TEST(ComputeButtonsTest, JoystickIsOredInOnlyForAValidConnectedPad) {
    Inputs in(2);
    in.pad.pads[0].reading.x = 0;           // Left
    in.pad.pads[0].reading.buttons = 0x02;  // button 2: Bomb by default
    in.pad.pads[1].reading.y = 0xFFFF;      // Down
    in.step({'Z'});
    KeyRecord record = defaultKeyRecord(0);
    computeButtons(in.keyboard, record, in.joysticks);
    EXPECT_EQ(record.buttons, kButtonShot | kButtonLeft | kButtonBomb);

    for (int32_t padId : {-1, 2, 1000, INT32_MIN}) {
        record.padId = padId;
        computeButtons(in.keyboard, record, in.joysticks);
        EXPECT_EQ(record.buttons, kButtonShot) << padId;
    }
    record.padId = 1;
    computeButtons(in.keyboard, record, in.joysticks);
    EXPECT_EQ(record.buttons, kButtonShot | kButtonDown);

    in.pad.pads[1].answersProbe = false;
    probeJoystick(in.joysticks, in.pad, 1);
    computeButtons(in.keyboard, record, in.joysticks);
    EXPECT_EQ(record.buttons, kButtonShot);
}

TEST(ComputeButtonsTest, StickCodeAsPadButtonActsAsThatButton) {
    Inputs in(1);
    in.pad.pads[0].reading.y = 0;  // stick up
    in.step({});
    KeyRecord record = defaultKeyRecord(0);
    record.shotPadButton = kPadCodeUp;
    record.bombPadButton = 99;  // outside the table: never held
    computeButtons(in.keyboard, record, in.joysticks);
    EXPECT_EQ(record.buttons, kButtonUp | kButtonShot);
}

TEST(RepeatPressedTest, FiresOnFirstFrameThenEveryFourthFromTwentyEight) {
    Inputs in(1);
    KeyRecords records;
    resetKeys(records);
    std::vector<int> fired;
    for (int frame = 1; frame <= 40; ++frame) {
        in.step({0x64});  // player 2's Left
        if (repeatPressed(in.keyboard, records, in.joysticks, RepeatButton::Left)) {
            fired.push_back(frame);
        }
        EXPECT_FALSE(repeatPressed(in.keyboard, records, in.joysticks, RepeatButton::Right));
    }
    EXPECT_EQ(fired, (std::vector<int>{1, 28, 32, 36, 40}));
}

TEST(RepeatPressedTest, ShotOnAJoystickIsAlwaysButtonOne) {
    Inputs in(1);
    KeyRecords records;
    resetKeys(records);
    records[0].shotPadButton = 5;
    in.pad.pads[0].reading.buttons = 0x20;  // button 6, the assigned one
    in.step({});
    EXPECT_FALSE(repeatPressed(in.keyboard, records, in.joysticks, RepeatButton::Shot));
    in.pad.pads[0].reading.buttons = 0x01;
    in.step({});
    EXPECT_TRUE(repeatPressed(in.keyboard, records, in.joysticks, RepeatButton::Shot));
    in.pad.pads[0].reading.buttons = 0;
    in.pad.pads[0].reading.y = 0xFFFF;
    in.step({});
    EXPECT_TRUE(repeatPressed(in.keyboard, records, in.joysticks, RepeatButton::Down));
}

TEST(SystemInputTest, FrameStepBuildsBothButtonBytes) {
    ScriptedKeyboard keys;
    ScriptedJoystick pads(2);
    System system(keys, pads);
    keys.queueHeld({0x27, 0x51});  // player 1 Right, player 2 Shot
    pads.pads[1].reading.buttons = 0x02;
    system.frameStep();
    EXPECT_EQ(system.keyRecords[0].buttons, kButtonRight);
    EXPECT_EQ(system.keyRecords[1].buttons, kButtonShot | kButtonBomb);
    EXPECT_EQ(system.frameCounter, 1u);
    system.frameStep();
    EXPECT_EQ(system.keyRecords[0].buttons, 0);
    EXPECT_EQ(system.keyRecords[1].buttons, kButtonBomb);
}

TEST(SystemInputTest, PauseIsRequestedOnlyOnTheFrameOfAPress) {
    ScriptedKeyboard keys;
    ScriptedJoystick pads(2);
    System system(keys, pads);
    keys.queueHeld({kKeyEscape}, 2);
    keys.queueHeld({});
    keys.queueHeld({'R'});  // player 2's Pause key
    keys.queueHeld({});
    system.frameStep();
    EXPECT_TRUE(system.pauseRequested());
    system.frameStep();
    EXPECT_FALSE(system.pauseRequested());
    system.frameStep();
    EXPECT_FALSE(system.pauseRequested());
    system.frameStep();
    EXPECT_TRUE(system.pauseRequested());
    system.frameStep();
    EXPECT_FALSE(system.pauseRequested());
    pads.pads[0].reading.buttons = 0x08;  // button 4: player 1's joystick Pause
    system.frameStep();
    EXPECT_TRUE(system.pauseRequested());
    system.frameStep();
    EXPECT_FALSE(system.pauseRequested());
}

TEST(SystemInputTest, DefaultSystemHasNoDevicesAndDefaultKeys) {
    System system;
    system.frameStep();
    EXPECT_FALSE(system.joysticks.present());
    EXPECT_EQ(system.keyRecords[0].shotKey, 'Z');
    EXPECT_EQ(system.keyRecords[1].padId, 1);
    EXPECT_EQ(system.keyRecords[0].buttons, 0);
    EXPECT_FALSE(repeatPressed(system, RepeatButton::Shot));
}

}  // namespace
}  // namespace vg
