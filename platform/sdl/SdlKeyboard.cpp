#include "platform/sdl/SdlKeyboard.h"

#include <SDL.h>

#include "platform/KeyboardMap.h"

namespace vg::sdl {

namespace {

// Keys that type a character: their code follows the layout, as on the system keyboard.
bool typesCharacter(int scancode) {
    return (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_0) ||
           (scancode >= SDL_SCANCODE_MINUS && scancode <= SDL_SCANCODE_SLASH) ||
           scancode == SDL_SCANCODE_NONUSBACKSLASH;
}

uint8_t virtualKeyFor(int scancode) {
    if (typesCharacter(scancode)) {
        const SDL_Keycode key = SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(scancode));
        if (const uint8_t code = virtualKeyForCharacter(static_cast<int32_t>(key))) return code;
    }
    return virtualKeyForUsage(static_cast<uint32_t>(scancode));
}

}  // namespace

void SdlKeyboard::snapshot(KeySnapshot& keys) {
    keys.fill(0);
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    for (int scancode = 0; state && scancode < count; ++scancode) {
        if (!state[scancode]) continue;
        if (const uint8_t code = virtualKeyFor(scancode)) keys[code] = kKeyDownBit;
    }
    addGenericModifiers(keys);

    const Uint32 mouse = SDL_GetMouseState(nullptr, nullptr);
    if (mouse & SDL_BUTTON_LMASK) keys[0x01] = kKeyDownBit;
    if (mouse & SDL_BUTTON_RMASK) keys[0x02] = kKeyDownBit;
    if (mouse & SDL_BUTTON_MMASK) keys[0x04] = kKeyDownBit;
    if (mouse & SDL_BUTTON_X1MASK) keys[0x05] = kKeyDownBit;
    if (mouse & SDL_BUTTON_X2MASK) keys[0x06] = kKeyDownBit;
}

}  // namespace vg::sdl
