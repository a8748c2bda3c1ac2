#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "platform/AudioDevice.h"
#include "sound/Mixer.h"

namespace vg {

// Names a loaded wave; 0 is never a wave. Calls with an unknown handle do nothing.
using WaveHandle = uint32_t;

// The sound-effect library: WAV files converted once at load to the mixer's format, each
// wave one voice that plays from its start when started (starting it again restarts it).
// Every call is made from the game thread.
class EffectLibrary {
  public:
    // Volumes are in hundredths of a decibel: 0 full, kSilent (or below) silent.
    static constexpr int32_t kSilent = -10000;
    // start flag: repeat until stopped.
    static constexpr uint32_t kLoop = 1;

    explicit EffectLibrary(Mixer& mixer);
    EffectLibrary(const EffectLibrary&) = delete;
    EffectLibrary& operator=(const EffectLibrary&) = delete;
    ~EffectLibrary();

    // Ready when the device plays; without one every load fails and the game runs silently.
    bool init(const AudioDevice& device);
    // Unloads every wave; loads fail until the next init.
    void term();
    bool ready() const { return ready_; }

    // PCM 8- or 16-bit, mono or stereo, any rate from 1 000 to 192 000 Hz. On failure
    // *handle is 0. A new wave is stopped, at full volume.
    bool loadWave(const char* path, WaveHandle* handle);
    void unloadWave(WaveHandle handle);
    void setVolume(WaveHandle handle, int32_t volume);
    // Rewinds without starting or stopping.
    void reset(WaveHandle handle);
    void start(WaveHandle handle, uint32_t flags);
    void stop(WaveHandle handle);
    bool isPlaying(WaveHandle handle) const;
    int waveCount() const { return static_cast<int>(waves_.size()); }

    // Linear gain in 1/65536 for a volume: 10^(volume / 2000), 0 at kSilent and below.
    static int32_t gainFor(int32_t volume);

  private:
    class Wave;
    Wave* find(WaveHandle handle) const;

    Mixer& mixer_;
    bool ready_ = false;
    WaveHandle nextHandle_ = 1;
    std::map<WaveHandle, std::unique_ptr<Wave>> waves_;
};

}  // namespace vg
