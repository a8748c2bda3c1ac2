#pragma once

#include <memory>

#include "platform/AudioDevice.h"

namespace vg {

// Opens the default output at 44 100 Hz stereo 16-bit with a small buffer and starts pulling
// from `source` on SDL's audio thread. Never null: without a usable device (no sound card,
// SDL's dummy driver) the result is a closed device and the game runs silently. `source` must
// outlive the device.
std::unique_ptr<AudioDevice> openSdlAudioDevice(AudioSource& source);

}  // namespace vg
