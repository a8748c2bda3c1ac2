#pragma once

// Writing the rendered sounds: 16-bit PCM WAV and Ogg Vorbis with a loop point. Files are
// written under a temporary name and renamed into place, so a failed write never leaves a
// truncated file where the game would load it.

#include <cstdint>
#include <string>
#include <vector>

#include "tools/synth/Synth.h"

namespace vg::synth {

// Float samples (full scale 1) to 16-bit, rounded and clamped.
int16_t toPcm16(float x);

bool writeWav(const std::string& path, const std::vector<float>& mono, int sampleRate,
              std::string& error);
bool writeWav(const std::string& path, const Stereo& stereo, int sampleRate, std::string& error);

// Ogg Vorbis, stereo, with a "LOOPSTART=<sample>" comment. The stream serial number comes from
// `serialSeed`, so the same samples give the same bytes.
bool writeOgg(const std::string& path, const Stereo& stereo, int sampleRate, int64_t loopStart,
              float quality, uint32_t serialSeed, std::string& error);

}  // namespace vg::synth
