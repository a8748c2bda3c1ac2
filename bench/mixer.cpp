// Mixing cost at real time: one second of 44 100 Hz stereo with 16 effect voices and 2 tunes
// decoding, rendered in the device's 512-frame pulls. "core_percent" is the share of one core
// the audio thread needs (thread CPU time per second of audio). The reference mixes the same 16
// effect buffers with SDL's own mixing call.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "ThreadTime.h"
#include "sound/EffectLibrary.h"
#include "sound/Mixer.h"
#include "sound/MusicLibrary.h"
#include "tests/sound/AudioFixtures.h"

namespace vg {
namespace {

constexpr int kRate = Mixer::kSampleRate;
constexpr int kPull = 512;
constexpr int kEffects = 16;

double threadSeconds() {
    return bench::threadNanoseconds() * 1e-9;
}

// Sixteen looping effects and two looping tunes, built once.
struct Scene {
    Scene(bool withEffects, bool withTunes) {
        mixer.setOutputAvailable(true);
        library.init(test::ManualAudioDevice());
        if (withEffects) {
            for (int i = 0; i < kEffects; ++i) {
                // Half the effects at 22 050 Hz mono, half at 44 100 Hz stereo.
                const int rate = i % 2 ? 22050 : kRate;
                const int channels = i % 2 ? 1 : 2;
                const std::string path = dir.file("e" + std::to_string(i) + ".wav");
                test::writeWav16(path, channels, rate,
                                 test::sine16(rate, 200.0 + 50 * i, rate / 2, channels, 8000));
                WaveHandle wave = 0;
                library.loadWave(path.c_str(), &wave);
                library.setVolume(wave, -600);
                library.start(wave, EffectLibrary::kLoop);
            }
        }
        if (withTunes) {
            for (int i = 0; i < 2; ++i) {
                const std::string path = dir.file("t" + std::to_string(i) + ".ogg");
                test::writeOgg(path, 2, kRate, test::sineFloat(kRate, 330.0 * (i + 1), 4 * kRate),
                               kRate);
                tunes.push_back(MusicLibrary::load()->createVox(mixer));
                tunes.back()->open(path.c_str());
                tunes.back()->setLoop(Vox::kLoopForever);
                tunes.back()->setVolume(0.7f);
                tunes.back()->play();
            }
        }
    }
    test::TempDir dir;
    Mixer mixer;
    EffectLibrary library{mixer};
    std::vector<std::unique_ptr<Vox>> tunes;
};

void mixOneSecond(benchmark::State& state, bool effects, bool tunes) {
    Scene scene(effects, tunes);
    std::vector<int16_t> out(kPull * 2);
    double seconds = 0;
    for (auto _ : state) {
        const double start = threadSeconds();
        for (int done = 0; done < kRate; done += kPull) scene.mixer.render(out.data(), kPull);
        seconds += threadSeconds() - start;
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["core_percent"] =
        benchmark::Counter(seconds * 100, benchmark::Counter::kAvgIterations);
}

void BM_Mix16EffectsAnd2Tunes(benchmark::State& state) {
    mixOneSecond(state, true, true);
}
void BM_Mix16Effects(benchmark::State& state) {
    mixOneSecond(state, true, false);
}
void BM_Mix2Tunes(benchmark::State& state) {
    mixOneSecond(state, false, true);
}

// SDL's mixing call over the same sixteen converted effect buffers at the same gain.
void BM_Reference_SdlMix16Effects(benchmark::State& state) {
    std::vector<std::vector<int16_t>> buffers;
    for (int i = 0; i < kEffects; ++i) {
        buffers.push_back(test::sine16(kRate, 200.0 + 50 * i, kRate / 2, 2, 8000));
    }
    std::vector<int16_t> out(kPull * 2);
    const int volume = SDL_MIX_MAXVOLUME / 2;
    double seconds = 0;
    for (auto _ : state) {
        const double start = threadSeconds();
        size_t position = 0;
        for (int done = 0; done < kRate; done += kPull) {
            std::fill(out.begin(), out.end(), 0);
            for (const auto& b : buffers) {
                const size_t at = (position % (b.size() / 2 - kPull)) * 2;
                SDL_MixAudioFormat(reinterpret_cast<Uint8*>(out.data()),
                                   reinterpret_cast<const Uint8*>(b.data() + at), AUDIO_S16SYS,
                                   kPull * 4, volume);
            }
            position += kPull;
        }
        seconds += threadSeconds() - start;
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["core_percent"] =
        benchmark::Counter(seconds * 100, benchmark::Counter::kAvgIterations);
}

BENCHMARK(BM_Mix16EffectsAnd2Tunes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mix16Effects)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mix2Tunes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Reference_SdlMix16Effects)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vg

BENCHMARK_MAIN();
