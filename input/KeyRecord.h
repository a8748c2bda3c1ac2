#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "input/JoystickState.h"
#include "input/KeyboardState.h"

namespace vg {

// Bits of the per-player button byte: what the game logic reads and what replays record.
enum ButtonBit : uint8_t {
    kButtonUp = 0x01,
    kButtonRight = 0x02,
    kButtonDown = 0x04,
    kButtonLeft = 0x08,
    kButtonShot = 0x10,
    kButtonBomb = 0x20,
    kButtonAuto = 0x40,
    kButtonPause = 0x80,
};

// One player's key assignments and this frame's button byte. The pair of records, first player
// first, is the 96-byte "INPUT" block of the save file, stored as this struct byte for byte
// (little-endian):
//   0  buttons (uint8), 3 reserved bytes (written as they were read, 0 by default)
//   4  Up, Down, Left, Right, Shot, Bomb, Auto, Pause keys: int32 virtual-key codes; a code
//      outside 0..255 is never held
//   36 padId: int32, the joystick used (-1 none)
//   40 Shot, Bomb, Auto, Pause joystick input codes: int16 (0..7 buttons, 32..35 stick)
struct KeyRecord {
    uint8_t buttons = 0;
    uint8_t reserved[3] = {};
    int32_t upKey = 0;
    int32_t downKey = 0;
    int32_t leftKey = 0;
    int32_t rightKey = 0;
    int32_t shotKey = 0;
    int32_t bombKey = 0;
    int32_t autoKey = 0;
    int32_t pauseKey = 0;
    int32_t padId = -1;
    int16_t shotPadButton = 0;
    int16_t bombPadButton = 0;
    int16_t autoPadButton = 0;
    int16_t pausePadButton = 0;

    // The key for the button of `bit` (one of ButtonBit).
    int32_t keyForBit(uint8_t bit) const;
};
static_assert(sizeof(KeyRecord) == 48);
static_assert(offsetof(KeyRecord, upKey) == 4);
static_assert(offsetof(KeyRecord, pauseKey) == 32);
static_assert(offsetof(KeyRecord, padId) == 36);
static_assert(offsetof(KeyRecord, shotPadButton) == 40);
static_assert(offsetof(KeyRecord, pausePadButton) == 46);

using KeyRecords = std::array<KeyRecord, 2>;

// The default assignments of player `player` (0 or 1).
KeyRecord defaultKeyRecord(int player);
// Both players back to their defaults.
void resetKeys(KeyRecords& records);

// Rebuilds `record.buttons` from the keys held and, when its joystick is present and
// connected, the stick and the assigned joystick inputs. Both sources are ORed.
void computeButtons(const KeyboardState& keyboard, KeyRecord& record,
                    const JoystickState& joysticks);

// The buttons that repeat while held on the key configuration screen.
enum class RepeatButton { Up, Down, Left, Right, Shot };
// True on the first frame a button is held and then every 4th frame from frame 28 on, for
// either player's key for it, or for the matching input of any connected joystick (for Shot
// always joystick button 1, whatever the assignment).
bool repeatPressed(const KeyboardState& keyboard, const KeyRecords& records,
                   const JoystickState& joysticks, RepeatButton which);

}  // namespace vg
