#include "sound/MusicLibrary.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <new>

namespace vg {
namespace {

constexpr int kMinRate = 1000;
constexpr int kMaxRate = 192000;

float clampVolume(float v) {
    if (!(v > 0.0f)) return 0.0f;  // also catches not-a-number
    return std::min(v, 1.0f);
}

// The LOOPSTART comment (key case-insensitive, value in samples), or -1.
int64_t findLoopStart(OggVorbis_File& vf) {
    const vorbis_comment* vc = ov_comment(&vf, -1);
    if (vc == nullptr) return -1;
    static constexpr char kKey[] = "LOOPSTART=";
    constexpr size_t kKeyLength = sizeof kKey - 1;
    for (int i = 0; i < vc->comments; ++i) {
        const char* text = vc->user_comments[i];
        const int length = vc->comment_lengths ? vc->comment_lengths[i] : 0;
        if (text == nullptr || length < static_cast<int>(kKeyLength)) continue;
        bool match = true;
        for (size_t k = 0; k < kKeyLength && match; ++k) {
            match = std::toupper(static_cast<unsigned char>(text[k])) == kKey[k];
        }
        if (!match) continue;
        int64_t value = -1;
        const char* first = text + kKeyLength;
        const char* last = text + length;
        auto [end, error] = std::from_chars(first, last, value);
        if (error != std::errc() || end != last || value < 0) return -1;
        return value;
    }
    return -1;
}

}  // namespace

// The decoder and its voice. Everything but the file's opening and closing is touched only
// under the mixer's lock: the game thread sets requests, the audio thread decodes.
class Vox::Stream final : public MixerVoice {
  public:
    ~Stream() override {
        if (fileOpen_) ov_clear(&vf_);
    }

    bool openFile(const char* path) {
        if (ov_fopen(path, &vf_) != 0) return false;
        fileOpen_ = true;
        const vorbis_info* info = ov_info(&vf_, -1);
        if (info == nullptr || info->channels < 1 || info->rate < kMinRate ||
            info->rate > kMaxRate) {
            return false;
        }
        rate_ = static_cast<int>(info->rate);
        total_ = ov_pcm_total(&vf_, -1);
        if (total_ <= 0) return false;
        const int64_t loop = findLoopStart(vf_);
        loopStart_ = loop >= 0 && loop < total_ ? loop : 0;
        step_ = static_cast<uint32_t>(
            (static_cast<uint64_t>(rate_) * 65536 + Mixer::kSampleRate / 2) / Mixer::kSampleRate);
        return true;
    }

    void mixInto(int32_t* acc, int frames) override {
        if (!playing) return;
        if (pendingSeek >= 0) seekNow();
        for (int i = 0; i < frames && playing; ++i) {
            if (!primed_ && !prime()) {
                finish();
                break;
            }
            float g = gain;
            if (fadeFramesLeft > 0) {
                g = gain = gain + fadeStep;
                if (--fadeFramesLeft == 0) {
                    g = gain = fadeTarget;
                    if (fadeTarget <= 0.0f) playing = false;
                }
            }
            const int32_t f = static_cast<int32_t>(frac_);
            for (int c = 0; c < 2; ++c) {
                const int32_t s =
                    prev_[c] +
                    static_cast<int32_t>((static_cast<int64_t>(next_[c] - prev_[c]) * f) >> 16);
                acc[i * 2 + c] += static_cast<int32_t>(static_cast<float>(s) * g);
            }
            frac_ += step_;
            while (frac_ >= 65536) {
                frac_ -= 65536;
                if (ended_) {
                    finish();
                    break;
                }
                prev_[0] = next_[0];
                prev_[1] = next_[1];
                if (!pullFrame(next_)) {
                    // Hold the last frame until the interpolation has passed it.
                    next_[0] = prev_[0];
                    next_[1] = prev_[1];
                    ended_ = true;
                }
            }
        }
    }

    int rate() const { return rate_; }
    int64_t total() const { return total_; }
    int64_t loopStart() const { return loopStart_; }

    // Requests and state, under the mixer's lock.
    bool playing = false;
    bool loopForever = false;
    int64_t pendingSeek = 0;  // a frame to seek to before mixing, or -1
    float gain = 1.0f;
    float fadeTarget = 0.0f;
    float fadeStep = 0.0f;
    int64_t fadeFramesLeft = 0;

  private:
    // Decoded samples per read; a mono read fills twice as many stereo frames.
    static constexpr int kRawSamples = 4096;

    // A played-out tune stops and goes back to the start, so a later play begins again.
    void finish() {
        playing = false;
        pendingSeek = 0;
    }

    void seekNow() {
        const int64_t target = pendingSeek;
        pendingSeek = -1;
        primed_ = false;
        ended_ = false;
        bufferPos_ = bufferFrames_ = 0;
        decodedSinceSeek_ = 0;
        if (ov_pcm_seek(&vf_, target) != 0) finish();
    }

    bool prime() {
        frac_ = 0;
        if (!pullFrame(prev_)) return false;
        if (!pullFrame(next_)) {
            next_[0] = prev_[0];
            next_[1] = prev_[1];
            ended_ = true;
        }
        primed_ = true;
        return true;
    }

    bool pullFrame(int32_t* frame) {
        if (bufferPos_ >= bufferFrames_ && !refill()) return false;
        frame[0] = buffer_[bufferPos_ * 2];
        frame[1] = buffer_[bufferPos_ * 2 + 1];
        ++bufferPos_;
        return true;
    }

    // Decodes the next packet into the stereo buffer, looping back when the tune is looped.
    // Bounded: a file that yields nothing ends the tune instead of spinning.
    bool refill() {
        bufferPos_ = bufferFrames_ = 0;
        for (int attempt = 0; attempt < 16; ++attempt) {
            int link = 0;
            const long got = ov_read(&vf_, reinterpret_cast<char*>(raw_), sizeof raw_,
                                     std::endian::native == std::endian::big ? 1 : 0, 2, 1, &link);
            if (got == OV_HOLE) continue;
            if (got == 0) {
                if (!loopForever || decodedSinceSeek_ == 0) return false;
                if (ov_pcm_seek(&vf_, loopStart_) != 0) return false;
                decodedSinceSeek_ = 0;
                continue;
            }
            if (got < 0) return false;
            const vorbis_info* info = ov_info(&vf_, link);
            const int channels = info != nullptr && info->channels > 0 ? info->channels : 1;
            const int frames = static_cast<int>(got / (2 * channels));
            for (int f = 0; f < frames; ++f) {
                const int16_t* in = raw_ + f * channels;
                buffer_[f * 2] = in[0];
                buffer_[f * 2 + 1] = channels >= 2 ? in[1] : in[0];
            }
            if (frames == 0) continue;
            bufferFrames_ = frames;
            decodedSinceSeek_ += frames;
            return true;
        }
        return false;
    }

    OggVorbis_File vf_{};
    bool fileOpen_ = false;
    int rate_ = 0;
    int64_t total_ = 0;
    int64_t loopStart_ = 0;
    uint32_t step_ = 65536;
    // Linear interpolation between the frames either side of the output position.
    int32_t prev_[2] = {0, 0};
    int32_t next_[2] = {0, 0};
    uint32_t frac_ = 0;
    bool primed_ = false;
    bool ended_ = false;
    int64_t decodedSinceSeek_ = 0;
    int16_t raw_[kRawSamples];
    int16_t buffer_[kRawSamples * 2];
    int bufferPos_ = 0;
    int bufferFrames_ = 0;
};

Vox::Vox(Mixer& output) : output_(output) {}

Vox::~Vox() {
    release();
}

bool Vox::open(const char* path) {
    release();
    if (path == nullptr || !output_.outputAvailable()) return false;
    auto stream = std::unique_ptr<Stream>(new (std::nothrow) Stream());
    if (!stream || !stream->openFile(path)) return false;
    stream_ = std::move(stream);
    output_.addVoice(*stream_);
    return true;
}

void Vox::release() {
    if (!stream_) return;
    output_.removeVoice(*stream_);
    stream_.reset();
}

void Vox::play() {
    if (!stream_) return;
    auto guard = output_.lock();
    stream_->playing = true;
}

void Vox::stop() {
    if (!stream_) return;
    auto guard = output_.lock();
    stream_->playing = false;
}

void Vox::setLoop(int32_t mode) {
    if (!stream_) return;
    auto guard = output_.lock();
    stream_->loopForever = mode == kLoopForever;
}

void Vox::setVolume(float volume) {
    if (!stream_) return;
    auto guard = output_.lock();
    stream_->gain = clampVolume(volume);
    stream_->fadeFramesLeft = 0;
}

void Vox::fade(float from, float to, int32_t milliseconds) {
    if (!stream_) return;
    const float start = clampVolume(from);
    const float target = clampVolume(to);
    const int64_t frames =
        static_cast<int64_t>(std::max(milliseconds, 0)) * Mixer::kSampleRate / 1000;
    auto guard = output_.lock();
    Stream& s = *stream_;
    s.fadeTarget = target;
    if (frames == 0) {
        s.gain = target;
        s.fadeFramesLeft = 0;
        if (target <= 0.0f) s.playing = false;
        return;
    }
    s.gain = start;
    s.fadeStep = (target - start) / static_cast<float>(frames);
    s.fadeFramesLeft = frames;
}

void Vox::setPosition(float seconds) {
    if (!stream_) return;
    const double wanted =
        std::isfinite(seconds) ? static_cast<double>(seconds) * stream_->rate() : 0.0;
    const int64_t frame =
        static_cast<int64_t>(std::clamp(wanted, 0.0, static_cast<double>(stream_->total())));
    auto guard = output_.lock();
    stream_->pendingSeek = frame;
}

bool Vox::isPlaying() const {
    if (!stream_) return false;
    auto guard = output_.lock();
    return stream_->playing;
}

float Vox::volume() const {
    if (!stream_) return 0.0f;
    auto guard = output_.lock();
    return stream_->gain;
}

int64_t Vox::loopStart() const {
    return stream_ ? stream_->loopStart() : 0;
}

MusicLibrary* MusicLibrary::load() {
    static MusicLibrary library;
    return &library;
}

std::unique_ptr<Vox> MusicLibrary::createVox(Mixer& output) {
    return std::unique_ptr<Vox>(new (std::nothrow) Vox(output));
}

}  // namespace vg
