#pragma once

// Sound files made on the spot for the sound tests and the mixer benchmark: a sine written to
// WAV, tones encoded to Ogg Vorbis, and a few measurements of rendered audio.

#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/AudioDevice.h"

namespace vg::test {

constexpr double kPi = 3.14159265358979323846;

// An open device that never pulls: nothing plays unless the test renders the mixer itself, so
// every request stays visible until the test looks.
class ManualAudioDevice final : public AudioDevice {
  public:
    bool isOpen() const override { return true; }
};

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
  public:
    TempDir() {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() /
                ("vg-sound-" + std::to_string(seed()) + "-" + std::to_string(seed()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

// Interleaved 16-bit sine frames (every channel the same).
inline std::vector<int16_t> sine16(int rate, double hz, int frames, int channels = 1,
                                   double amplitude = 16000.0) {
    std::vector<int16_t> out(static_cast<size_t>(frames) * channels);
    for (int i = 0; i < frames; ++i) {
        const auto v =
            static_cast<int16_t>(std::lround(amplitude * std::sin(2 * kPi * hz * i / rate)));
        for (int c = 0; c < channels; ++c) out[static_cast<size_t>(i) * channels + c] = v;
    }
    return out;
}

inline void putU16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
inline void putU32(std::vector<uint8_t>& b, uint32_t v) {
    putU16(b, v & 0xFFFF);
    putU16(b, v >> 16);
}
inline void putTag(std::vector<uint8_t>& b, const char* tag) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(tag[i]));
}

// A PCM WAV image. `samples` holds raw sample bytes in file order.
inline std::vector<uint8_t> wavImage(int channels, int rate, int bits,
                                     const std::vector<uint8_t>& samples) {
    std::vector<uint8_t> b;
    putTag(b, "RIFF");
    putU32(b, static_cast<uint32_t>(4 + 8 + 16 + 8 + samples.size() + (samples.size() & 1)));
    putTag(b, "WAVE");
    putTag(b, "fmt ");
    putU32(b, 16);
    putU16(b, 1);
    putU16(b, static_cast<uint32_t>(channels));
    putU32(b, static_cast<uint32_t>(rate));
    putU32(b, static_cast<uint32_t>(rate * channels * bits / 8));
    putU16(b, static_cast<uint32_t>(channels * bits / 8));
    putU16(b, static_cast<uint32_t>(bits));
    putTag(b, "data");
    putU32(b, static_cast<uint32_t>(samples.size()));
    b.insert(b.end(), samples.begin(), samples.end());
    if (samples.size() & 1) b.push_back(0);
    return b;
}

inline std::vector<uint8_t> wavImage16(int channels, int rate,
                                       const std::vector<int16_t>& samples) {
    std::vector<uint8_t> raw;
    for (int16_t s : samples) putU16(raw, static_cast<uint16_t>(s));
    return wavImage(channels, rate, 16, raw);
}

inline bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

inline bool writeWav16(const std::string& path, int channels, int rate,
                       const std::vector<int16_t>& samples) {
    return writeFile(path, wavImage16(channels, rate, samples));
}

// A short 16-bit mono WAV (64 samples of a rising ramp): enough for a bank to load an effect.
inline bool writeShortWav(const std::string& path) {
    std::vector<int16_t> samples(64);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>(i * 300);
    return writeWav16(path, 1, 22050, samples);
}

// Encodes interleaved float samples (-1..1) to an Ogg Vorbis file; loopStart >= 0 adds a
// LOOPSTART comment.
inline bool writeOgg(const std::string& path, int channels, int rate,
                     const std::vector<float>& samples, int64_t loopStart = -1) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, channels, rate, 0.5f) != 0) {
        vorbis_info_clear(&vi);
        std::fclose(f);
        return false;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    if (loopStart >= 0) {
        vorbis_comment_add_tag(&vc, "LOOPSTART", std::to_string(loopStart).c_str());
    }
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 1);
    ogg_packet header, comments, code;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &code);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &code);
    ogg_page page;
    while (ogg_stream_flush(&os, &page) != 0) {
        std::fwrite(page.header, 1, page.header_len, f);
        std::fwrite(page.body, 1, page.body_len, f);
    }
    const size_t frames = samples.size() / channels;
    size_t done = 0;
    bool eos = false;
    while (!eos) {
        const size_t n = std::min<size_t>(1024, frames - done);
        if (n == 0) {
            vorbis_analysis_wrote(&vd, 0);
        } else {
            float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(n));
            for (size_t i = 0; i < n; ++i) {
                for (int c = 0; c < channels; ++c)
                    buffer[c][i] = samples[(done + i) * channels + c];
            }
            vorbis_analysis_wrote(&vd, static_cast<int>(n));
            done += n;
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&vd, &packet)) {
                ogg_stream_packetin(&os, &packet);
                while (!eos && ogg_stream_pageout(&os, &page) != 0) {
                    std::fwrite(page.header, 1, page.header_len, f);
                    std::fwrite(page.body, 1, page.body_len, f);
                    if (ogg_page_eos(&page)) eos = true;
                }
            }
        }
    }
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return std::fclose(f) == 0;
}

// Interleaved float sine frames, every channel the same.
inline std::vector<float> sineFloat(int rate, double hz, int frames, int channels = 2,
                                    double amplitude = 0.5) {
    std::vector<float> out(static_cast<size_t>(frames) * channels);
    for (int i = 0; i < frames; ++i) {
        const auto v = static_cast<float>(amplitude * std::sin(2 * kPi * hz * i / rate));
        for (int c = 0; c < channels; ++c) out[static_cast<size_t>(i) * channels + c] = v;
    }
    return out;
}

// Root mean square of the left channel over frames [first, first + count).
inline double rmsLeft(const std::vector<int16_t>& stereo, size_t first, size_t count) {
    double sum = 0;
    for (size_t i = first; i < first + count; ++i) {
        const double v = stereo[i * 2];
        sum += v * v;
    }
    return count ? std::sqrt(sum / static_cast<double>(count)) : 0.0;
}

// Upward zero crossings of the left channel over frames [first, first + count): the number of
// periods of a clean tone.
inline int upCrossingsLeft(const std::vector<int16_t>& stereo, size_t first, size_t count) {
    int n = 0;
    for (size_t i = first + 1; i < first + count; ++i) {
        if (stereo[(i - 1) * 2] < 0 && stereo[i * 2] >= 0) ++n;
    }
    return n;
}

}  // namespace vg::test
