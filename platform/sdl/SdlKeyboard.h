#pragma once

#include "platform/Keyboard.h"

namespace vg::sdl {

// The keyboard through SDL's key state (kept current by the window's event pump), translated to
// virtual-key codes: letters, digits and punctuation follow the current layout as the system
// keyboard state does; every other key goes by its position. The mouse buttons are included
// under their codes 0x01, 0x02, 0x04, 0x05 and 0x06.
class SdlKeyboard final : public KeyboardDevice {
  public:
    void snapshot(KeySnapshot& keys) override;
};

}  // namespace vg::sdl
