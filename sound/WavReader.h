#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vg {

// RIFF WAVE, as the effect library reads it. All numbers little-endian.
//   0  "RIFF", u32 size of the rest of the file (must fit in the file), "WAVE"
//   12 chunks: 4-byte id, u32 size, data padded to an even length
//   "fmt " (16 bytes or more): u16 format (1 = PCM, 0xFFFE = extensible with a PCM
//          sub-format), u16 channels (1, 2), u32 sample rate, u32 bytes per second,
//          u16 block align (= channels x bytes per sample), u16 bits per sample (8, 16)
//   "data": the frames; 8-bit samples are unsigned, 16-bit signed. A trailing part frame is
//          ignored.
// Other chunks are skipped. Any size that reaches past the file fails the read.
struct WavView {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    const uint8_t* frames = nullptr;  // points into the parsed image
    size_t frameCount = 0;
};

inline constexpr int kWavMinSampleRate = 1000;
inline constexpr int kWavMaxSampleRate = 192000;
// Longest effect the converter produces, in output frames (ten minutes): bounds the memory a
// hostile header can ask for.
inline constexpr size_t kWavMaxOutputFrames = 44100u * 600u;
// Largest file the loader reads.
inline constexpr size_t kWavMaxFileBytes = 64u << 20;

// False for anything but well-formed 8- or 16-bit PCM, mono or stereo, with at least one frame.
bool parseWav(const uint8_t* data, size_t size, WavView& out);

// Converts to the mixer's format: interleaved stereo 16-bit at `outputRate`, resampled by
// linear interpolation. False (and `out` empty) when the result would exceed
// kWavMaxOutputFrames.
bool convertWav(const WavView& wav, int outputRate, std::vector<int16_t>& out);

// Reads, parses and converts a file; false on any failure.
bool loadWavFile(const std::string& path, int outputRate, std::vector<int16_t>& out);

}  // namespace vg
