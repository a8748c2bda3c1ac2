#pragma once

#include <cstdint>

#include "platform/Keyboard.h"

namespace vg {

// Translation from physical keys to the virtual-key codes of KeySnapshot. Physical keys are
// given as USB HID keyboard usages (page 7), which is also how SDL numbers its scancodes, so
// this stays free of SDL and can be tested on its own.

// Virtual-key code of the key at a US-layout position; 0 for usages without one.
uint8_t virtualKeyForUsage(uint32_t usage);

// Virtual-key code of the key that types `ch` in the current layout: letters (either case),
// digits and the punctuation that has its own code. 0 for any other character.
uint8_t virtualKeyForCharacter(int32_t ch);

// Sets the side-neutral Shift, Ctrl and Alt codes wherever the left or right one is down, as
// the system keyboard state does.
void addGenericModifiers(KeySnapshot& keys);

}  // namespace vg
