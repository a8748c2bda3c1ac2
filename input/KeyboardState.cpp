#include "input/KeyboardState.h"

#include <limits>

namespace vg {

void updateKeyboard(KeyboardState& keyboard, KeyboardDevice& device) {
    keyboard.previous = keyboard.current;
    device.snapshot(keyboard.current);
    for (size_t code = 0; code < keyboard.held.size(); ++code) {
        int32_t& held = keyboard.held[code];
        if (!(keyboard.current[code] & kKeyDownBit)) {
            held = 0;
        } else if (held < std::numeric_limits<int32_t>::max()) {
            // Saturates so a key held for years never wraps back to "newly pressed".
            ++held;
        }
    }
}

int32_t keyHeld(const KeyboardState& keyboard, int32_t code) {
    // Codes come from the save file; anything outside the table is never held.
    if (code < 0 || code >= static_cast<int32_t>(keyboard.held.size())) return 0;
    return keyboard.held[code];
}

bool keyPressed(const KeyboardState& keyboard, int32_t code) {
    return keyHeld(keyboard, code) != 0 && !(keyboard.previous[code] & kKeyDownBit);
}

}  // namespace vg
