#pragma once

#include <cstdint>

namespace vg {

// Fresh presses of some buttons of one player's input word, for the tasks that read the words
// themselves. Every latch starts set, so a button already held when the task starts must be let
// go before it acts.
struct PressLatch {
    uint8_t held = 0xFF;

    // The buttons of `mask` that are down in `buttons` and were up on the previous call.
    uint8_t fresh(uint8_t buttons, uint8_t mask) {
        const uint8_t pressed = static_cast<uint8_t>(buttons & mask & ~held);
        held = static_cast<uint8_t>((held & ~mask) | (buttons & mask));
        return pressed;
    }
};

}  // namespace vg
