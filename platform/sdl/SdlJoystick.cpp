#include "platform/sdl/SdlJoystick.h"

#include <algorithm>

namespace vg::sdl {

SdlJoystick::SdlJoystick() : subsystem_(std::make_unique<SubsystemGuard>(SDL_INIT_JOYSTICK)) {
    uint32_t attached = 0;
    if (subsystem_->ok()) attached = static_cast<uint32_t>(std::max(SDL_NumJoysticks(), 0));
    pads_.resize(std::max(attached, kMinimumSlots));
}

SdlJoystick::~SdlJoystick() {
    // Close the pads while the subsystem is still up.
    pads_.clear();
    subsystem_.reset();
}

bool SdlJoystick::alreadyOpen(SDL_JoystickID id) const {
    for (const JoystickPtr& pad : pads_) {
        if (pad && SDL_JoystickInstanceID(pad.get()) == id) return true;
    }
    return false;
}

bool SdlJoystick::probe(uint32_t index) {
    if (!subsystem_->ok() || index >= pads_.size()) return false;
    JoystickPtr& pad = pads_[index];
    if (pad && SDL_JoystickGetAttached(pad.get())) return true;
    pad.reset();
    SDL_JoystickUpdate();
    const int device = static_cast<int>(index);
    if (device >= SDL_NumJoysticks()) return false;
    // Device numbers shift as pads come and go; never hold one pad in two slots.
    if (alreadyOpen(SDL_JoystickGetDeviceInstanceID(device))) return false;
    pad.reset(SDL_JoystickOpen(device));
    return pad != nullptr;
}

uint32_t SdlJoystick::threshold(uint32_t) {
    return 0;
}

bool SdlJoystick::read(uint32_t index, JoystickReading& reading) {
    if (index >= pads_.size() || !pads_[index]) return false;
    SDL_Joystick* pad = pads_[index].get();
    reading = JoystickReading{};
    if (!SDL_JoystickGetAttached(pad)) return true;

    const auto axis = [pad](int number) {
        if (number >= SDL_JoystickNumAxes(pad)) return uint32_t{0x8000};
        return static_cast<uint32_t>(SDL_JoystickGetAxis(pad, number) + 32768);
    };
    reading.x = axis(0);
    reading.y = axis(1);
    if (SDL_JoystickNumHats(pad) > 0) {
        const Uint8 hat = SDL_JoystickGetHat(pad, 0);
        if (hat & SDL_HAT_LEFT) reading.x = 0;
        if (hat & SDL_HAT_RIGHT) reading.x = 0xFFFF;
        if (hat & SDL_HAT_UP) reading.y = 0;
        if (hat & SDL_HAT_DOWN) reading.y = 0xFFFF;
    }
    const int buttons = std::min(SDL_JoystickNumButtons(pad), 8);
    for (int b = 0; b < buttons; ++b) {
        if (SDL_JoystickGetButton(pad, b)) reading.buttons |= 1u << b;
    }
    return true;
}

}  // namespace vg::sdl
