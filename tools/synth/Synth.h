#pragma once

// The sound synthesiser behind the data build: one voice model (two oscillators, a sub
// oscillator, pitch and duty sweeps, vibrato, arpeggio, an ADSR envelope, a resonant filter and
// drive) shared by the effect patches and the instruments of the tune scores, plus the stereo
// echo and reverb the tunes send into. Everything is plain float arithmetic with no global
// state, so the same sources always render the same samples.

#include <cstdint>
#include <string>
#include <vector>

namespace vg::synth {

enum class Wave { Square, Saw, Triangle, Sine, Noise, Metal };
enum class FilterType { None, LowPass, HighPass, BandPass };

// A small, fast generator for noise; every voice seeds its own so a note renders the same
// wherever it falls in a tune.
struct NoiseSource {
    uint32_t state = 0x9E3779B9u;
    float next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<float>(state >> 8) * (2.0f / 16777216.0f) - 1.0f;
    }
};

// Everything one voice needs. Times are seconds, pitches semitones, levels 0..1.
struct Patch {
    Wave wave = Wave::Square;
    float duty = 0.5f;   // pulse width of the square
    float dutyEnd = -1;  // negative: no duty sweep
    float dutyTime = 0.5f;
    Wave wave2 = Wave::Square;
    float osc2Mix = 0;    // level of the second oscillator
    float detune = 0;     // of the second oscillator, cents
    float osc2Semis = 0;  // interval of the second oscillator
    float subMix = 0;     // sine one octave down
    float noiseMix = 0;   // white noise added to the oscillators

    float freq = 440;  // pitch when no note gives one (effects, drums)
    float sweep = 0;   // start offset in semitones, gliding to sweepEnd
    float sweepEnd = 0;
    float sweepTime = 0;   // zero: no glide, the pitch stays at sweep
    float sweepCurve = 1;  // above 1 the glide starts fast and slows down
    float vibRate = 0, vibDepth = 0, vibDelay = 0;
    std::vector<float> arp;  // semitone offsets cycled at arpRate
    float arpRate = 0;

    float attack = 0.002f, hold = 0, decay = 0.1f, sustain = 1, release = 0.05f;
    float tremRate = 0, tremDepth = 0;

    FilterType filter = FilterType::None;
    float cutoff = 20000, cutoffEnd = -1, cutoffTime = 0.2f;  // cutoffEnd < 0: fixed
    float q = 0.707f;
    float keyTrack = 0;  // 1: the cutoff follows the note's pitch
    float drive = 0;     // tanh saturation amount

    float volume = 0.5f;
    float pan = 0;  // -1 left .. 1 right
    float echoSend = 0, reverbSend = 0;
    int octave = 4;  // where chord symbols are voiced
};

// One note to render: pitch in Hz, gate length in samples, loudness.
struct Note {
    float hz = 440;
    int64_t gate = 0;
    float velocity = 1;
    std::vector<float> arp;  // overrides the patch's arpeggio when not empty
    uint32_t seed = 1;
};

// The samples a patch makes for one note, mono, including its release tail.
std::vector<float> renderVoice(const Patch& patch, const Note& note, int sampleRate);

// Frequency of a semitone number (69 = A4 = 440 Hz).
float midiToHz(float midi);

// A stereo buffer, left and right kept apart.
struct Stereo {
    std::vector<float> left, right;
    void resize(size_t n) {
        left.assign(n, 0.0f);
        right.assign(n, 0.0f);
    }
    size_t size() const { return left.size(); }
};

// Adds a mono voice into a stereo buffer at an offset with equal-power panning; samples past
// the end are dropped.
void mixInto(Stereo& out, const std::vector<float>& voice, int64_t at, float gain, float pan);

// Ping-pong echo: delay in samples, feedback 0..0.9, a low-pass on the repeats.
void applyEcho(const Stereo& in, Stereo& out, int delaySamples, float feedback, float level);

// A plate-like reverb from parallel combs and series all-passes per channel.
void applyReverb(const Stereo& in, Stereo& out, float size, float damp, float level,
                 int sampleRate);

// A gentle 12 dB/octave high-pass over a whole buffer, in place: keeps sub-sonic rumble from
// eating the headroom of the mix.
void highPass(std::vector<float>& samples, float cutoffHz, int sampleRate);

struct Levels {
    float peak = 0;  // largest absolute sample, full scale = 1
    float rms = 0;
};
Levels measure(const std::vector<float>& samples);
Levels measure(const Stereo& samples);
float toDb(float level);

// A memoryless soft knee: linear below `knee`, then bending smoothly towards `ceiling`, so a
// loop stays a loop after it.
float softLimit(float x, float knee, float ceiling);

}  // namespace vg::synth
