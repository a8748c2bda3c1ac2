#include "sound/EffectLibrary.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "sound/WavReader.h"

namespace vg {

// One loaded wave and its voice. Position, flags and gain change only under the mixer's lock.
class EffectLibrary::Wave final : public MixerVoice {
  public:
    explicit Wave(std::vector<int16_t> samples)
        : samples_(std::move(samples)), frameCount_(samples_.size() / 2) {}

    void mixInto(int32_t* acc, int frames) override {
        while (playing && frames > 0) {
            const size_t left = frameCount_ - position;
            const int n = static_cast<int>(std::min<size_t>(left, static_cast<size_t>(frames)));
            // |sample| <= 32768 and gain <= 65536, so the product fits in 32 bits.
            const int16_t* src = samples_.data() + position * 2;
            const int32_t g = gain;
            if (g != 0) {
                for (int i = 0; i < n * 2; ++i) acc[i] += (src[i] * g) >> 16;
            }
            acc += n * 2;
            frames -= n;
            position += static_cast<size_t>(n);
            if (position >= frameCount_) {
                position = 0;
                playing = looping;
            }
        }
    }

    size_t position = 0;
    int32_t gain = 65536;
    bool playing = false;
    bool looping = false;

  private:
    std::vector<int16_t> samples_;
    size_t frameCount_;
};

EffectLibrary::EffectLibrary(Mixer& mixer) : mixer_(mixer) {}

EffectLibrary::~EffectLibrary() {
    term();
}

bool EffectLibrary::init(const AudioDevice& device) {
    ready_ = device.isOpen();
    return ready_;
}

void EffectLibrary::term() {
    for (auto& [handle, wave] : waves_) mixer_.removeVoice(*wave);
    waves_.clear();
    ready_ = false;
}

bool EffectLibrary::loadWave(const char* path, WaveHandle* handle) {
    if (handle == nullptr) return false;
    *handle = 0;
    if (!ready_ || path == nullptr) return false;
    std::vector<int16_t> samples;
    if (!loadWavFile(path, Mixer::kSampleRate, samples)) return false;
    auto wave = std::make_unique<Wave>(std::move(samples));
    mixer_.addVoice(*wave);
    const WaveHandle id = nextHandle_++;
    if (nextHandle_ == 0) nextHandle_ = 1;
    waves_.emplace(id, std::move(wave));
    *handle = id;
    return true;
}

void EffectLibrary::unloadWave(WaveHandle handle) {
    auto it = waves_.find(handle);
    if (it == waves_.end()) return;
    mixer_.removeVoice(*it->second);
    waves_.erase(it);
}

EffectLibrary::Wave* EffectLibrary::find(WaveHandle handle) const {
    auto it = waves_.find(handle);
    return it == waves_.end() ? nullptr : it->second.get();
}

int32_t EffectLibrary::gainFor(int32_t volume) {
    if (volume <= kSilent) return 0;
    if (volume >= 0) return 65536;
    return static_cast<int32_t>(std::lround(65536.0 * std::pow(10.0, volume / 2000.0)));
}

void EffectLibrary::setVolume(WaveHandle handle, int32_t volume) {
    Wave* wave = find(handle);
    if (wave == nullptr) return;
    const int32_t gain = gainFor(volume);
    auto guard = mixer_.lock();
    wave->gain = gain;
}

void EffectLibrary::reset(WaveHandle handle) {
    Wave* wave = find(handle);
    if (wave == nullptr) return;
    auto guard = mixer_.lock();
    wave->position = 0;
}

void EffectLibrary::start(WaveHandle handle, uint32_t flags) {
    Wave* wave = find(handle);
    if (wave == nullptr) return;
    auto guard = mixer_.lock();
    wave->position = 0;
    wave->looping = (flags & kLoop) != 0;
    wave->playing = true;
}

void EffectLibrary::stop(WaveHandle handle) {
    Wave* wave = find(handle);
    if (wave == nullptr) return;
    auto guard = mixer_.lock();
    wave->playing = false;
}

bool EffectLibrary::isPlaying(WaveHandle handle) const {
    Wave* wave = find(handle);
    if (wave == nullptr) return false;
    auto guard = mixer_.lock();
    return wave->playing;
}

}  // namespace vg
