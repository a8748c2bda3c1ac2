// vgsynth: renders the game's sound effects (.sfx) and tunes (.tune).
//
//   vgsynth effect IN.sfx OUT.wav [--levels]        16-bit PCM WAV
//   vgsynth tune IN.tune OUT.ogg [--wav W] [--levels]  Ogg Vorbis with its loop point; W: a
//                                                      WAV of the same samples for review
//   vgsynth levels FILE...                          renders each and prints peak and RMS
//
// Exit status 0 on success, 1 on a bad source or a failed write (the message names the file
// and line), 2 on bad usage.

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/synth/AudioFile.h"
#include "tools/synth/Effect.h"
#include "tools/synth/Score.h"

namespace {

using namespace vg::synth;

constexpr float kOggQuality = 0.4f;

bool readText(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    text = s.str();
    return true;
}

std::string baseName(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

uint32_t nameHash(const std::string& s) {
    uint32_t h = 2166136261u;
    for (unsigned char c : s) h = (h ^ c) * 16777619u;
    return h;
}

void printLevels(const std::string& name, const Levels& l, double seconds, int64_t loopStart,
                 int rate) {
    std::printf("%-16s peak %6.1f dBFS  RMS %6.1f dBFS  %7.2f s", name.c_str(), toDb(l.peak),
                toDb(l.rms), seconds);
    if (loopStart >= 0) std::printf("  loop from %.2f s", static_cast<double>(loopStart) / rate);
    std::printf("\n");
}

bool endsWith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() &&
           s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

int fail(const std::string& path, const std::string& error) {
    std::fprintf(stderr, "vgsynth: %s: %s\n", path.c_str(), error.c_str());
    return 1;
}

int runEffect(const std::string& in, const std::string& out, bool levels) {
    std::string text, error;
    if (!readText(in, text)) return fail(in, "cannot read");
    EffectSound sound;
    if (!renderEffect(text, sound, error)) return fail(in, error);
    if (!out.empty() && !writeWav(out, sound.samples, sound.sampleRate, error)) {
        return fail(out, error);
    }
    if (levels) {
        printLevels(baseName(in), measure(sound.samples),
                    static_cast<double>(sound.samples.size()) / sound.sampleRate, -1,
                    sound.sampleRate);
    }
    return 0;
}

int runTune(const std::string& in, const std::string& out, const std::string& wav, bool levels) {
    std::string text, error;
    if (!readText(in, text)) return fail(in, "cannot read");
    TuneAudio tune;
    if (!renderTune(text, tune, error)) return fail(in, error);
    const int rate = TuneAudio::kSampleRate;
    if (!out.empty() && !writeOgg(out, tune.samples, rate, tune.loopStart, kOggQuality,
                                  nameHash(baseName(out)), error)) {
        return fail(out, error);
    }
    if (!wav.empty() && !writeWav(wav, tune.samples, rate, error)) return fail(wav, error);
    if (levels) {
        printLevels(baseName(in), measure(tune.samples),
                    static_cast<double>(tune.samples.size()) / rate, tune.loopStart, rate);
        for (const auto& [name, db] : tune.trackLevels) {
            std::printf("    %-12s %6.1f dBFS\n", name.c_str(), db);
        }
    }
    return 0;
}

int usage() {
    std::fprintf(stderr,
                 "usage: vgsynth effect IN.sfx OUT.wav [--levels]\n"
                 "       vgsynth tune IN.tune OUT.ogg [--wav OUT.wav] [--levels]\n"
                 "       vgsynth levels FILE...\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return usage();
    const std::string mode = args[0];
    if (mode == "levels") {
        if (args.size() < 2) return usage();
        int status = 0;
        for (size_t i = 1; i < args.size(); ++i) {
            int rc = endsWith(args[i], ".tune") ? runTune(args[i], "", "", true)
                                                : runEffect(args[i], "", true);
            if (rc != 0) status = rc;
        }
        return status;
    }
    if ((mode != "effect" && mode != "tune") || args.size() < 3) return usage();
    bool levels = false;
    std::string wav;
    for (size_t i = 3; i < args.size(); ++i) {
        if (args[i] == "--levels") {
            levels = true;
        } else if (args[i] == "--wav" && mode == "tune" && i + 1 < args.size()) {
            wav = args[++i];
        } else {
            return usage();
        }
    }
    return mode == "effect" ? runEffect(args[1], args[2], levels)
                            : runTune(args[1], args[2], wav, levels);
}
