#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Joystick.h"
#include "platform/sdl/SdlHandles.h"

namespace vg::sdl {

// Joysticks through SDL. The number of slots is fixed at start: the joysticks attached then,
// and at least kMinimumSlots, so a pad plugged in later can still be taken up by probing its
// slot (the key configuration screen does). Slot i opens SDL's device i when probed.
class SdlJoystick final : public JoystickDevice {
  public:
    static constexpr uint32_t kMinimumSlots = 4;

    SdlJoystick();
    ~SdlJoystick() override;

    uint32_t count() override { return static_cast<uint32_t>(pads_.size()); }
    bool probe(uint32_t index) override;
    // SDL reports no dead zone: always 0, so the game's default applies.
    uint32_t threshold(uint32_t index) override;
    // Axes 0 and 1 (the first hat, when pressed, overrides them) and buttons 1..8. A pad
    // unplugged since its probe reads as centred with no button down, so nothing stays held.
    bool read(uint32_t index, JoystickReading& reading) override;

  private:
    bool alreadyOpen(SDL_JoystickID id) const;

    std::unique_ptr<SubsystemGuard> subsystem_;
    std::vector<JoystickPtr> pads_;
};

}  // namespace vg::sdl
