#include "sound/Mixer.h"

#include <algorithm>

namespace vg {

Mixer::Mixer() {
    voices_.reserve(64);
}

void Mixer::addVoice(MixerVoice& voice) {
    auto guard = lock();
    if (std::find(voices_.begin(), voices_.end(), &voice) == voices_.end()) {
        voices_.push_back(&voice);
    }
}

void Mixer::removeVoice(MixerVoice& voice) {
    auto guard = lock();
    voices_.erase(std::remove(voices_.begin(), voices_.end(), &voice), voices_.end());
}

int Mixer::voiceCount() {
    auto guard = lock();
    return static_cast<int>(voices_.size());
}

void Mixer::render(int16_t* out, int frames) {
    int32_t acc[kBlockFrames * kChannels];
    while (frames > 0) {
        const int block = std::min(frames, kBlockFrames);
        std::fill(acc, acc + block * kChannels, 0);
        {
            auto guard = lock();
            for (MixerVoice* voice : voices_) voice->mixInto(acc, block);
        }
        for (int i = 0; i < block * kChannels; ++i) {
            out[i] = static_cast<int16_t>(std::clamp(acc[i], -32768, 32767));
        }
        out += block * kChannels;
        frames -= block;
    }
}

}  // namespace vg
