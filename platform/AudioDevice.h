#pragma once

#include <cstdint>

namespace vg {

// What an audio device pulls from. render runs on the device's own thread, so an
// implementation must guard whatever the game thread changes.
class AudioSource {
  public:
    virtual ~AudioSource() = default;
    // Fills `frames` interleaved stereo 16-bit frames at AudioDevice::kSampleRate.
    virtual void render(int16_t* out, int frames) = 0;
};

// The audio output seam. A device pulls from its source from the moment it is opened until
// its destructor returns; after that the source is never called again.
class AudioDevice {
  public:
    static constexpr int kSampleRate = 44100;
    static constexpr int kChannels = 2;

    virtual ~AudioDevice() = default;
    // False when there is nothing to play to: the game then runs silently.
    virtual bool isOpen() const = 0;
};

// No sound card, headless runs, tests: never pulls, reports closed.
class NullAudioDevice final : public AudioDevice {
  public:
    bool isOpen() const override { return false; }
};

}  // namespace vg
