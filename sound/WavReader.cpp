#include "sound/WavReader.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace vg {
namespace {

uint16_t readU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t readU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// The tail shared by every extensible-format sub-format GUID; PCM's starts with 1.
constexpr uint8_t kGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                   0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

bool parseFormat(const uint8_t* p, uint32_t size, WavView& out) {
    if (size < 16) return false;
    const uint16_t tag = readU16(p);
    if (tag == 0xFFFE) {
        if (size < 40) return false;
        const uint8_t* guid = p + 24;
        if (readU16(guid) != 1 || std::memcmp(guid + 2, kGuidTail, sizeof kGuidTail) != 0) {
            return false;
        }
    } else if (tag != 1) {
        return false;
    }
    const int channels = readU16(p + 2);
    const uint32_t rate = readU32(p + 4);
    const int blockAlign = readU16(p + 12);
    const int bits = readU16(p + 14);
    if (channels < 1 || channels > 2) return false;
    if (bits != 8 && bits != 16) return false;
    if (rate < kWavMinSampleRate || rate > kWavMaxSampleRate) return false;
    if (blockAlign != channels * bits / 8) return false;
    out.channels = channels;
    out.sampleRate = static_cast<int>(rate);
    out.bitsPerSample = bits;
    return true;
}

// One channel of one frame, at 16-bit scale.
int32_t sampleAt(const WavView& wav, size_t frame, int channel) {
    if (wav.bitsPerSample == 8) {
        return (static_cast<int32_t>(wav.frames[frame * wav.channels + channel]) - 128) << 8;
    }
    const uint8_t* p = wav.frames + (frame * wav.channels + channel) * 2;
    return static_cast<int16_t>(readU16(p));
}

}  // namespace

bool parseWav(const uint8_t* data, size_t size, WavView& out) {
    out = WavView{};
    if (data == nullptr || size < 12) return false;
    if (std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) return false;
    const uint32_t riffSize = readU32(data + 4);
    if (riffSize < 4 || riffSize > size - 8) return false;
    const size_t end = static_cast<size_t>(riffSize) + 8;

    WavView parsed;
    bool haveFormat = false;
    const uint8_t* dataChunk = nullptr;
    uint32_t dataSize = 0;
    size_t pos = 12;
    while (end - pos >= 8) {
        const uint8_t* header = data + pos;
        const uint32_t chunkSize = readU32(header + 4);
        pos += 8;
        if (chunkSize > end - pos) return false;
        if (std::memcmp(header, "fmt ", 4) == 0 && !haveFormat) {
            if (!parseFormat(data + pos, chunkSize, parsed)) return false;
            haveFormat = true;
        } else if (std::memcmp(header, "data", 4) == 0 && dataChunk == nullptr) {
            dataChunk = data + pos;
            dataSize = chunkSize;
        }
        pos += chunkSize;
        // Chunks are padded to an even length; a missing pad byte at the very end is tolerated.
        if ((chunkSize & 1) && pos < end) ++pos;
    }
    if (!haveFormat || dataChunk == nullptr) return false;
    const size_t blockAlign = static_cast<size_t>(parsed.channels) * parsed.bitsPerSample / 8;
    parsed.frames = dataChunk;
    parsed.frameCount = dataSize / blockAlign;
    if (parsed.frameCount == 0) return false;
    out = parsed;
    return true;
}

bool convertWav(const WavView& wav, int outputRate, std::vector<int16_t>& out) {
    out.clear();
    if (wav.frameCount == 0 || wav.sampleRate <= 0 || outputRate <= 0) return false;
    const uint64_t rate = static_cast<uint64_t>(wav.sampleRate);
    const uint64_t outRate = static_cast<uint64_t>(outputRate);
    const uint64_t outFrames = (wav.frameCount * outRate + rate - 1) / rate;
    if (outFrames > kWavMaxOutputFrames) return false;
    out.resize(outFrames * 2);
    for (uint64_t i = 0; i < outFrames; ++i) {
        // Source position i * rate / outRate, split exactly into a frame and a 16-bit fraction.
        const uint64_t scaled = i * rate;
        const size_t index = static_cast<size_t>(scaled / outRate);
        const int32_t frac = static_cast<int32_t>((scaled % outRate) * 65536 / outRate);
        const size_t next = index + 1 < wav.frameCount ? index + 1 : index;
        for (int c = 0; c < 2; ++c) {
            const int channel = wav.channels == 2 ? c : 0;
            const int32_t a = sampleAt(wav, index, channel);
            const int32_t b = sampleAt(wav, next, channel);
            out[i * 2 + c] = static_cast<int16_t>(a + ((static_cast<int64_t>(b - a) * frac) >> 16));
        }
    }
    return true;
}

bool loadWavFile(const std::string& path, int outputRate, std::vector<int16_t>& out) {
    out.clear();
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) return false;
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        if (bytes.size() + got > kWavMaxFileBytes) return false;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    if (std::ferror(file.get())) return false;
    WavView wav;
    if (!parseWav(bytes.data(), bytes.size(), wav)) return false;
    return convertWav(wav, outputRate, out);
}

}  // namespace vg
