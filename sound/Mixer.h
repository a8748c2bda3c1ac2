#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/AudioDevice.h"

namespace vg {

// One sound the mixer pulls from: an effect wave or a streamed tune.
class MixerVoice {
  public:
    virtual ~MixerVoice() = default;
    // Adds `frames` interleaved stereo frames at 16-bit scale to `acc`. Called on the audio
    // thread with the mixer's lock held: no allocation, no waiting, and return quickly when
    // silent.
    virtual void mixInto(int32_t* acc, int frames) = 0;
};

// Sums every registered voice into the device's 44 100 Hz stereo 16-bit stream, clipping the
// sum. The game thread changes a voice only while holding lock(); render takes the same lock
// for one block at a time, so a request waits at most one block.
class Mixer final : public AudioSource {
  public:
    static constexpr int kSampleRate = AudioDevice::kSampleRate;
    static constexpr int kChannels = AudioDevice::kChannels;
    // Frames mixed per locked block.
    static constexpr int kBlockFrames = 256;

    Mixer();
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;
    ~Mixer() override = default;

    void addVoice(MixerVoice& voice);
    // Once this returns the voice is never called again and may be destroyed.
    void removeVoice(MixerVoice& voice);
    [[nodiscard]] std::unique_lock<std::mutex> lock() { return std::unique_lock(mutex_); }

    void render(int16_t* out, int frames) override;

    // Whether a device plays what is rendered; tunes refuse to open without one.
    void setOutputAvailable(bool available) { outputAvailable_ = available; }
    bool outputAvailable() const { return outputAvailable_; }
    int voiceCount();

  private:
    std::mutex mutex_;
    std::vector<MixerVoice*> voices_;
    std::atomic<bool> outputAvailable_{false};
};

}  // namespace vg
