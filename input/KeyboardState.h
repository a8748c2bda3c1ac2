#pragma once

#include <array>
#include <cstdint>

#include "platform/Keyboard.h"

namespace vg {

// The keyboard as the game sees it this frame: the snapshot, the one before, and for each key
// the number of consecutive frames it has been down (0 while up, 1 on its first frame).
struct KeyboardState {
    KeySnapshot current{};
    KeySnapshot previous{};
    std::array<int32_t, 256> held{};
};

// Virtual-key codes the game tests outside the key assignments.
constexpr int32_t kKeyReturn = 0x0D;
constexpr int32_t kKeyEscape = 0x1B;
constexpr int32_t kKeySpace = 0x20;
constexpr int32_t kKeyF1 = 0x70;
constexpr int32_t kKeyF2 = 0x71;
constexpr int32_t kKeyF4 = 0x73;
constexpr int32_t kKeyF5 = 0x74;
constexpr int32_t kKeyF10 = 0x79;

// Once per frame: current becomes previous, a new snapshot is taken and the counters follow it.
void updateKeyboard(KeyboardState& keyboard, KeyboardDevice& device);

// Frames `code` has been held; 0 when up or when the code is outside 0..255.
int32_t keyHeld(const KeyboardState& keyboard, int32_t code);
// Held now and up in the previous frame's snapshot. False for codes outside 0..255.
bool keyPressed(const KeyboardState& keyboard, int32_t code);

}  // namespace vg
