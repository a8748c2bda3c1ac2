#include "input/KeyRecord.h"

namespace vg {

int32_t KeyRecord::keyForBit(uint8_t bit) const {
    switch (bit) {
        case kButtonUp:
            return upKey;
        case kButtonRight:
            return rightKey;
        case kButtonDown:
            return downKey;
        case kButtonLeft:
            return leftKey;
        case kButtonShot:
            return shotKey;
        case kButtonBomb:
            return bombKey;
        case kButtonAuto:
            return autoKey;
        case kButtonPause:
            return pauseKey;
        default:
            return -1;
    }
}

KeyRecord defaultKeyRecord(int player) {
    KeyRecord record;
    if (player == 0) {
        record.upKey = 0x26;  // arrow keys
        record.downKey = 0x28;
        record.leftKey = 0x25;
        record.rightKey = 0x27;
        record.shotKey = 0x5A;   // Z
        record.bombKey = 0x58;   // X
        record.autoKey = 0x43;   // C
        record.pauseKey = 0x56;  // V
        record.padId = 0;
    } else {
        record.upKey = 0x68;  // keypad 8, 2, 4, 6
        record.downKey = 0x62;
        record.leftKey = 0x64;
        record.rightKey = 0x66;
        record.shotKey = 0x51;   // Q
        record.bombKey = 0x57;   // W
        record.autoKey = 0x45;   // E
        record.pauseKey = 0x52;  // R
        record.padId = 1;
    }
    record.shotPadButton = 0;
    record.bombPadButton = 1;
    record.autoPadButton = 2;
    record.pausePadButton = 3;
    return record;
}

void resetKeys(KeyRecords& records) {
    for (int player = 0; player < 2; ++player) {
        // The button byte is rebuilt every frame; only the assignments are reset.
        const uint8_t buttons = records[player].buttons;
        records[player] = defaultKeyRecord(player);
        records[player].buttons = buttons;
    }
}

void computeButtons(const KeyboardState& keyboard, KeyRecord& record,
                    const JoystickState& joysticks) {
    uint8_t buttons = 0;
    for (int i = 0; i < 8; ++i) {
        const uint8_t bit = static_cast<uint8_t>(1u << i);
        if (keyHeld(keyboard, record.keyForBit(bit)) != 0) buttons |= bit;
    }
    const uint32_t pad = static_cast<uint32_t>(record.padId);
    if (joysticks.present() && pad < joysticks.count && joysticks.current[pad].connected) {
        const JoystickRecord& state = joysticks.current[pad];
        if (state.stick[0]) buttons |= kButtonUp;
        if (state.stick[1]) buttons |= kButtonRight;
        if (state.stick[2]) buttons |= kButtonDown;
        if (state.stick[3]) buttons |= kButtonLeft;
        if (padHeld(record.padId, joysticks, record.shotPadButton)) buttons |= kButtonShot;
        if (padHeld(record.padId, joysticks, record.bombPadButton)) buttons |= kButtonBomb;
        if (padHeld(record.padId, joysticks, record.autoPadButton)) buttons |= kButtonAuto;
        if (padHeld(record.padId, joysticks, record.pausePadButton)) buttons |= kButtonPause;
    }
    record.buttons = buttons;
}

namespace {

bool repeats(int32_t held) {
    return held == 1 || (held > 24 && held % 4 == 0);
}

}  // namespace

bool repeatPressed(const KeyboardState& keyboard, const KeyRecords& records,
                   const JoystickState& joysticks, RepeatButton which) {
    uint8_t bit = kButtonShot;
    int32_t padCode = 0;  // joystick button 1
    switch (which) {
        case RepeatButton::Up:
            bit = kButtonUp;
            padCode = kPadCodeUp;
            break;
        case RepeatButton::Down:
            bit = kButtonDown;
            padCode = kPadCodeDown;
            break;
        case RepeatButton::Left:
            bit = kButtonLeft;
            padCode = kPadCodeLeft;
            break;
        case RepeatButton::Right:
            bit = kButtonRight;
            padCode = kPadCodeRight;
            break;
        case RepeatButton::Shot:
            break;
    }
    for (const KeyRecord& record : records) {
        if (repeats(keyHeld(keyboard, record.keyForBit(bit)))) return true;
    }
    for (uint32_t pad = 0; pad < joysticks.count && joysticks.present(); ++pad) {
        if (repeats(padHeld(static_cast<int32_t>(pad), joysticks, padCode))) return true;
    }
    return false;
}

}  // namespace vg
