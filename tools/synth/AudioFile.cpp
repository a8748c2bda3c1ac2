#include "tools/synth/AudioFile.h"

#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace vg::synth {

namespace {

void put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& b, uint32_t v) {
    put16(b, v & 0xFFFFu);
    put16(b, v >> 16);
}

// Writes the bytes to `path` through a temporary file and a rename.
bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
    const std::string temp = path + ".part";
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) {
        error = "cannot create " + temp;
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fclose(f) == 0) && ok;
    std::error_code ec;
    if (ok) std::filesystem::rename(temp, path, ec);
    if (!ok || ec) {
        std::filesystem::remove(temp, ec);
        error = "cannot write " + path;
        return false;
    }
    return true;
}

bool writeWavFrames(const std::string& path, const std::vector<int16_t>& frames, int channels,
                    int sampleRate, std::string& error) {
    const uint32_t dataBytes = static_cast<uint32_t>(frames.size() * 2);
    std::vector<uint8_t> b;
    b.reserve(44 + dataBytes);
    b.insert(b.end(), {'R', 'I', 'F', 'F'});
    put32(b, 36 + dataBytes);
    b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(b, 16);
    put16(b, 1);  // PCM
    put16(b, static_cast<uint32_t>(channels));
    put32(b, static_cast<uint32_t>(sampleRate));
    put32(b, static_cast<uint32_t>(sampleRate * channels * 2));
    put16(b, static_cast<uint32_t>(channels * 2));
    put16(b, 16);
    b.insert(b.end(), {'d', 'a', 't', 'a'});
    put32(b, dataBytes);
    for (int16_t s : frames) put16(b, static_cast<uint16_t>(s));
    return writeFile(path, b, error);
}

}  // namespace

int16_t toPcm16(float x) {
    float v = std::round(x * 32767.0f);
    return static_cast<int16_t>(std::clamp(v, -32767.0f, 32767.0f));
}

bool writeWav(const std::string& path, const std::vector<float>& mono, int sampleRate,
              std::string& error) {
    std::vector<int16_t> frames(mono.size());
    for (size_t i = 0; i < mono.size(); ++i) frames[i] = toPcm16(mono[i]);
    return writeWavFrames(path, frames, 1, sampleRate, error);
}

bool writeWav(const std::string& path, const Stereo& stereo, int sampleRate, std::string& error) {
    std::vector<int16_t> frames(stereo.size() * 2);
    for (size_t i = 0; i < stereo.size(); ++i) {
        frames[2 * i] = toPcm16(stereo.left[i]);
        frames[2 * i + 1] = toPcm16(stereo.right[i]);
    }
    return writeWavFrames(path, frames, 2, sampleRate, error);
}

namespace {

bool encodeOgg(const Stereo& stereo, int sampleRate, int64_t loopStart, float quality,
               uint32_t serialSeed, std::vector<uint8_t>& bytes, std::string& error) {
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, 2, sampleRate, quality) != 0) {
        vorbis_info_clear(&vi);
        error = "the Vorbis encoder refused the settings";
        return false;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_comment_add_tag(&vc, "LOOPSTART", std::to_string(loopStart).c_str());
    vorbis_comment_add_tag(&vc, "LOOPLENGTH",
                           std::to_string(static_cast<int64_t>(stereo.size()) - loopStart).c_str());

    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, static_cast<int>(serialSeed & 0x7FFFFFFF));

    bytes.clear();
    auto takePage = [&](const ogg_page& page) {
        bytes.insert(bytes.end(), page.header, page.header + page.header_len);
        bytes.insert(bytes.end(), page.body, page.body + page.body_len);
    };
    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&vd, &vc, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &headerComment);
    ogg_stream_packetin(&os, &headerCode);
    ogg_page page;
    while (ogg_stream_flush(&os, &page) != 0) takePage(page);

    const size_t total = stereo.size();
    const size_t chunk = 4096;
    size_t pos = 0;
    bool eos = false;
    while (!eos) {
        const size_t n = std::min(chunk, total - pos);
        if (n == 0) {
            vorbis_analysis_wrote(&vd, 0);
        } else {
            float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(n));
            std::copy_n(stereo.left.begin() + static_cast<std::ptrdiff_t>(pos), n, buffer[0]);
            std::copy_n(stereo.right.begin() + static_cast<std::ptrdiff_t>(pos), n, buffer[1]);
            vorbis_analysis_wrote(&vd, static_cast<int>(n));
            pos += n;
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&vd, &packet)) {
                ogg_stream_packetin(&os, &packet);
                while (!eos && ogg_stream_pageout(&os, &page) != 0) {
                    takePage(page);
                    if (ogg_page_eos(&page)) eos = true;
                }
            }
        }
        if (n == 0 && !eos) {
            // Everything is flushed; make sure the last page is out.
            while (ogg_stream_flush(&os, &page) != 0) takePage(page);
            eos = true;
        }
    }

    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return true;
}

struct MemoryReader {
    const std::vector<uint8_t>* bytes;
    size_t pos = 0;
};

size_t readMemory(void* dst, size_t size, size_t count, void* source) {
    auto* r = static_cast<MemoryReader*>(source);
    size_t want = size * count;
    size_t n = std::min(want, r->bytes->size() - r->pos);
    std::copy_n(r->bytes->data() + r->pos, n, static_cast<uint8_t*>(dst));
    r->pos += n;
    return size ? n / size : 0;
}

// The largest sample a decoder will give back, full scale = 1. Lossy coding moves peaks, so
// this is what decides whether a tune clips, not the samples that went in.
float decodedPeak(const std::vector<uint8_t>& bytes) {
    MemoryReader reader{&bytes};
    ov_callbacks callbacks{readMemory, nullptr, nullptr, nullptr};
    OggVorbis_File vf;
    if (ov_open_callbacks(&reader, &vf, nullptr, 0, callbacks) != 0) return 2.0f;
    float peak = 0;
    int section = 0;
    for (;;) {
        float** pcm = nullptr;
        long n = ov_read_float(&vf, &pcm, 4096, &section);
        if (n < 0) {
            peak = 2.0f;
            break;
        }
        if (n == 0) break;
        const int channels = ov_info(&vf, -1)->channels;
        for (int c = 0; c < channels; ++c) {
            for (long i = 0; i < n; ++i) peak = std::max(peak, std::fabs(pcm[c][i]));
        }
    }
    ov_clear(&vf);
    return peak;
}

}  // namespace

bool writeOgg(const std::string& path, const Stereo& stereo, int sampleRate, int64_t loopStart,
              float quality, uint32_t serialSeed, std::string& error) {
    // Encode, decode, and if the decoded peaks come too close to full scale, scale the input
    // down and encode again.
    constexpr float kMaxDecodedPeak = 0.97f;
    Stereo scaled = stereo;
    std::vector<uint8_t> bytes;
    for (int attempt = 0;; ++attempt) {
        if (!encodeOgg(scaled, sampleRate, loopStart, quality, serialSeed, bytes, error)) {
            return false;
        }
        const float peak = decodedPeak(bytes);
        if (peak <= kMaxDecodedPeak) break;
        if (attempt == 4) {
            error = "the encoded tune still reaches full scale";
            return false;
        }
        const float gain = 0.95f * kMaxDecodedPeak / peak;
        for (float& v : scaled.left) v *= gain;
        for (float& v : scaled.right) v *= gain;
    }
    return writeFile(path, bytes, error);
}

}  // namespace vg::synth
