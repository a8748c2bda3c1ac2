#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/Joystick.h"

namespace vg {

// Held-frame counters of one joystick (13 x 32 bits). Each counter is 0 while its input is
// inactive, otherwise the number of consecutive frames it has been active.
struct JoystickRecord {
    uint32_t connected = 0;           // the last probe succeeded
    std::array<int32_t, 4> stick{};   // Up, Right, Down, Left
    std::array<int32_t, 8> button{};  // buttons 1..8
};
static_assert(sizeof(JoystickRecord) == 13 * 4);

// Joystick input codes used by the key assignments: 0..7 buttons 1..8, 32..35 the stick.
constexpr int32_t kPadCodeButtonLast = 7;
constexpr int32_t kPadCodeUp = 32;
constexpr int32_t kPadCodeRight = 33;
constexpr int32_t kPadCodeDown = 34;
constexpr int32_t kPadCodeLeft = 35;

constexpr uint32_t kDefaultJoystickThreshold = 0x4000;
constexpr uint32_t kAxisCentre = 0x8000;

// Every joystick the device reported at start. The three arrays are sized once for that count;
// with no joysticks they stay empty and no joystick input is ever held. A joystick's input
// counts only while its `connected` flag (set by probing) is on.
struct JoystickState {
    uint32_t count = 0;
    std::vector<uint32_t> threshold;
    std::vector<JoystickRecord> current;
    std::vector<JoystickRecord> previous;

    bool present() const { return !current.empty(); }
};

// Start-up: sizes the arrays for the device's joysticks and probes each one.
void startJoysticks(JoystickState& joysticks, JoystickDevice& device);
// Probes joystick `index` again (the key configuration screen does this for the pad it shows);
// sets or clears its connected flag and takes its threshold when it answers. Out of range
// indices are ignored.
void probeJoystick(JoystickState& joysticks, JoystickDevice& device, int32_t index);
// Once per frame: current records become previous ones, then every joystick is read. A
// joystick that cannot be read keeps its counters as they were.
void updateJoysticks(JoystickState& joysticks, JoystickDevice& device);

// Held counter of input `code` on joystick `padId`; 0 for a code outside the table, a pad out of
// range or not connected, or no joysticks.
int32_t padHeld(int32_t padId, const JoystickState& joysticks, int32_t code);
// Held now and not held in the previous frame; the same guards as padHeld.
bool padPressed(const JoystickState& joysticks, int32_t padId, int32_t code);

}  // namespace vg
