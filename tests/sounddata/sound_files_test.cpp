// The generated sound files in the game folder: every effect and tune the game loads exists,
// decodes, has a sensible length, never reaches full scale, and the tunes loop without a click.
// Ogg files are decoded here with libvorbisfile; WAV headers are checked by hand.

#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "sound/Mixer.h"
#include "sound/MusicLibrary.h"
#include "sound/WavReader.h"

namespace {

#ifdef VG_SOUND_DATA
constexpr bool kHaveSoundData = true;
#else
constexpr bool kHaveSoundData = false;
#endif

#define REQUIRE_SOUND_DATA() \
    if (!kHaveSoundData) GTEST_SKIP() << "the game data is not built (VG_DATA is off)"

std::string soundPath(const std::string& name) {
    return std::string(VG_GAME_DIR) + "/sound/" + name;
}

std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

uint32_t le32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
}
uint16_t le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

struct Wav {
    int channels = 0, rate = 0, bits = 0, format = 0;
    std::vector<int16_t> samples;  // interleaved
};

// Walks the RIFF chunks; false when the file is not a well-formed 16-bit PCM WAV.
bool parseWav(const std::vector<uint8_t>& b, Wav& w, std::string& why) {
    if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0 ||
        std::memcmp(b.data() + 8, "WAVE", 4) != 0) {
        why = "not RIFF/WAVE";
        return false;
    }
    if (le32(b.data() + 4) != b.size() - 8) {
        why = "RIFF size does not match the file";
        return false;
    }
    bool haveFmt = false, haveData = false;
    size_t pos = 12;
    while (pos + 8 <= b.size()) {
        const uint32_t size = le32(b.data() + pos + 4);
        const uint8_t* body = b.data() + pos + 8;
        if (size > b.size() - pos - 8) {
            why = "chunk runs past the end";
            return false;
        }
        if (std::memcmp(b.data() + pos, "fmt ", 4) == 0 && size >= 16) {
            w.format = le16(body);
            w.channels = le16(body + 2);
            w.rate = static_cast<int>(le32(body + 4));
            w.bits = le16(body + 14);
            haveFmt = true;
        } else if (std::memcmp(b.data() + pos, "data", 4) == 0) {
            w.samples.resize(size / 2);
            for (size_t i = 0; i < w.samples.size(); ++i) {
                w.samples[i] = static_cast<int16_t>(le16(body + 2 * i));
            }
            haveData = true;
        }
        pos += 8 + size + (size & 1);
    }
    if (!haveFmt || !haveData) {
        why = "fmt or data chunk missing";
        return false;
    }
    return true;
}

struct Tune {
    int channels = 0;
    long rate = 0;
    int64_t loopStart = -1;
    std::vector<int16_t> left, right;
};

bool decodeOgg(const std::string& path, Tune& t, std::string& why) {
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) != 0) {
        why = "libvorbisfile cannot open it";
        return false;
    }
    vorbis_info* info = ov_info(&vf, -1);
    t.channels = info->channels;
    t.rate = info->rate;
    vorbis_comment* vc = ov_comment(&vf, -1);
    for (int i = 0; i < vc->comments; ++i) {
        std::string c(vc->user_comments[i], static_cast<size_t>(vc->comment_lengths[i]));
        if (c.rfind("LOOPSTART=", 0) == 0) t.loopStart = std::atoll(c.c_str() + 10);
    }
    char buf[8192];
    int section = 0;
    for (;;) {
        long n = ov_read(&vf, buf, sizeof buf, 0, 2, 1, &section);
        if (n < 0) {
            ov_clear(&vf);
            why = "decode error";
            return false;
        }
        if (n == 0) break;
        const int16_t* s = reinterpret_cast<const int16_t*>(buf);
        for (long i = 0; i + 1 < n / 2; i += t.channels) {
            t.left.push_back(s[i]);
            t.right.push_back(t.channels > 1 ? s[i + 1] : s[i]);
        }
    }
    ov_clear(&vf);
    return true;
}

int peakOf(const std::vector<int16_t>& s) {
    int peak = 0;
    for (int16_t v : s) peak = std::max(peak, std::abs(static_cast<int>(v)));
    return peak;
}

double rmsDb(const std::vector<int16_t>& s, size_t from) {
    double sum = 0;
    for (size_t i = from; i < s.size(); ++i) sum += double(s[i]) * s[i];
    double rms = std::sqrt(sum / double(std::max<size_t>(1, s.size() - from))) / 32768.0;
    return 20.0 * std::log10(std::max(rms, 1e-9));
}

struct ExpectedEffect {
    const char* name;
    double minSeconds, maxSeconds;
};

// Every effect the game loads, with the length its use allows: the ones that fire many times a
// second must be short.
const ExpectedEffect kEffects[] = {
    {"damage", 0.005, 0.08}, {"shot", 0.02, 0.15},  {"shot2", 0.02, 0.15},
    {"laser", 0.05, 0.4},    {"laser2", 0.05, 0.4}, {"energy", 0.02, 0.2},
    {"crystal", 0.03, 0.3},  {"kill", 0.05, 0.6},   {"kill2", 0.2, 1.5},
    {"graze", 0.01, 0.1},    {"dead", 0.5, 3.0},    {"item", 0.1, 0.8},
    {"bomb", 0.8, 4.0},      {"extend", 0.4, 2.5},  {"warning", 1.0, 4.0},
    {"eject", 0.05, 0.8},    {"charge", 0.3, 2.5},  {"chargeShot", 0.15, 1.5},
    {"bossKill", 1.0, 5.0},  {"select", 0.01, 0.2}, {"ok", 0.05, 0.5},
    {"cancel", 0.05, 0.5},   {"pause", 0.1, 1.2},
};

struct ExpectedTune {
    const char* name;
    double minLoop, maxLoop;  // seconds from the loop point to the end
};

const ExpectedTune kTunes[] = {
    {"title", 60, 125},  {"stage1", 60, 125},  {"stage2", 60, 125}, {"stage3", 60, 125},
    {"stage4", 60, 125}, {"stage5", 60, 125},  {"boss", 60, 125},   {"boss2", 60, 125},
    {"ending", 60, 125}, {"gameover", 10, 45},
};

TEST(SoundEffects, EveryEffectIsA16BitPcmWavOfFittingLengthBelowFullScale) {
    REQUIRE_SOUND_DATA();
    for (const ExpectedEffect& e : kEffects) {
        SCOPED_TRACE(e.name);
        const std::string path = soundPath(std::string(e.name) + ".wav");
        std::vector<uint8_t> bytes = readBytes(path);
        ASSERT_FALSE(bytes.empty()) << path << " is missing";
        Wav w;
        std::string why;
        ASSERT_TRUE(parseWav(bytes, w, why)) << why;
        EXPECT_EQ(w.format, 1);
        EXPECT_EQ(w.bits, 16);
        EXPECT_TRUE(w.channels == 1 || w.channels == 2);
        EXPECT_TRUE(w.rate == 22050 || w.rate == 44100);
        ASSERT_GT(w.channels, 0);
        const double seconds = double(w.samples.size()) / w.channels / w.rate;
        EXPECT_GE(seconds, e.minSeconds);
        EXPECT_LE(seconds, e.maxSeconds);
        const int peak = peakOf(w.samples);
        EXPECT_LT(peak, 32767) << "reaches full scale";
        EXPECT_GT(peak, 32768 / 10) << "too quiet to hear under the music";
        // The last sample ends near zero, so a stopped or finished effect never clicks.
        EXPECT_LT(std::abs(static_cast<int>(w.samples.back())), 200);
        // The game's own effect loader takes it, converted to the mixer's format.
        std::vector<int16_t> converted;
        EXPECT_TRUE(vg::loadWavFile(path, vg::Mixer::kSampleRate, converted));
        EXPECT_FALSE(converted.empty());
    }
}

TEST(SoundTunes, EveryTuneDecodesLoopsInsideAndStaysBelowFullScale) {
    REQUIRE_SOUND_DATA();
    std::vector<double> loudness;
    for (const ExpectedTune& t : kTunes) {
        SCOPED_TRACE(t.name);
        Tune tune;
        std::string why;
        ASSERT_TRUE(decodeOgg(soundPath(std::string(t.name) + ".ogg"), tune, why)) << why;
        EXPECT_EQ(tune.channels, 2);
        EXPECT_EQ(tune.rate, 44100);
        {
            // The game's own music library opens it and finds the same loop point.
            vg::Mixer mixer;
            mixer.setOutputAvailable(true);
            auto vox = vg::MusicLibrary::load()->createVox(mixer);
            ASSERT_TRUE(vox->open(soundPath(std::string(t.name) + ".ogg").c_str()));
            EXPECT_EQ(vox->loopStart(), tune.loopStart);
        }
        const int64_t total = static_cast<int64_t>(tune.left.size());
        ASSERT_GE(tune.loopStart, 4096)
            << "no LOOPSTART comment, or a loop point at the very start";
        ASSERT_LT(tune.loopStart, total);
        const double loopSeconds = double(total - tune.loopStart) / 44100.0;
        EXPECT_GE(loopSeconds, t.minLoop);
        EXPECT_LE(loopSeconds, t.maxLoop);
        EXPECT_LT(std::max(peakOf(tune.left), peakOf(tune.right)), 32767) << "full scale";

        // The click test: jumping from the last sample back to the loop point must be a step
        // no larger than the steps the music itself takes around both ends.
        for (const std::vector<int16_t>* ch : {&tune.left, &tune.right}) {
            const std::vector<int16_t>& s = *ch;
            const size_t ls = static_cast<size_t>(tune.loopStart);
            int localStep = 0;
            for (size_t i = s.size() - 64; i + 1 < s.size(); ++i) {
                localStep = std::max(localStep, std::abs(s[i + 1] - s[i]));
            }
            for (size_t i = ls; i < ls + 64; ++i) {
                localStep = std::max(localStep, std::abs(s[i + 1] - s[i]));
            }
            const int jump = std::abs(static_cast<int>(s[ls]) - s.back());
            EXPECT_LE(jump, 2 * localStep + 300) << "a click where the tune loops";
            // And the music just before the end is the music just before the loop point (the
            // loop is one period of it): their loudness agrees within the codec's error.
            std::vector<int16_t> beforeEnd(s.end() - 4096, s.end());
            std::vector<int16_t> beforeLoop(s.begin() + static_cast<std::ptrdiff_t>(ls) - 4096,
                                            s.begin() + static_cast<std::ptrdiff_t>(ls));
            EXPECT_NEAR(rmsDb(beforeEnd, 0), rmsDb(beforeLoop, 0), 1.5)
                << "the end of the loop does not match the stretch before the loop point";
        }
        loudness.push_back(0.5 * (rmsDb(tune.left, static_cast<size_t>(tune.loopStart)) +
                                  rmsDb(tune.right, static_cast<size_t>(tune.loopStart))));
    }
    // The tunes follow each other in play, so none may be much louder than the rest.
    if (!loudness.empty()) {
        std::vector<double> sorted = loudness;
        std::sort(sorted.begin(), sorted.end());
        const double median = sorted[sorted.size() / 2];
        for (size_t i = 0; i < loudness.size(); ++i) {
            EXPECT_NEAR(loudness[i], median, 2.0) << kTunes[i].name;
        }
    }
}

#ifdef VG_SYNTH_TOOL
// Rendering the same sources again gives the files in the game folder byte for byte.
TEST(SoundBuild, RenderingAgainGivesTheSameBytes) {
    REQUIRE_SOUND_DATA();
    const std::filesystem::path temp =
        std::filesystem::temp_directory_path() / "vg_sounddata_determinism";
    std::filesystem::create_directories(temp);
    struct Item {
        const char* kind;
        const char* source;
        const char* output;
    };
    const Item items[] = {{"effect", "effects/bossKill.sfx", "bossKill.wav"},
                          {"effect", "effects/damage.sfx", "damage.wav"},
                          {"tune", "tunes/gameover.tune", "gameover.ogg"}};
    for (const Item& item : items) {
        SCOPED_TRACE(item.output);
        const std::string out = (temp / item.output).string();
        const std::string cmd = std::string("\"") + VG_SYNTH_TOOL + "\" " + item.kind + " \"" +
                                VG_SOUND_SOURCES + "/" + item.source + "\" \"" + out + "\"";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
        std::vector<uint8_t> again = readBytes(out);
        std::vector<uint8_t> built = readBytes(soundPath(item.output));
        EXPECT_FALSE(again.empty());
        EXPECT_TRUE(again == built) << "differs from the built file";
    }
    std::error_code ec;
    std::filesystem::remove_all(temp, ec);
}
#endif

}  // namespace
