#include "tools/synth/Synth.h"

#include <algorithm>
#include <cmath>

namespace vg::synth {

namespace {

constexpr float kPi = 3.14159265358979f;

// Band-limited step correction for the square and saw edges: removes most of the aliasing a
// naive edge would fold back into the audible range.
float polyBlep(float t, float dt) {
    if (dt <= 0) return 0;
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0f;
    }
    if (t > 1.0f - dt) {
        t = (t - 1.0f) / dt;
        return t * t + t + t + 1.0f;
    }
    return 0;
}

struct Oscillator {
    Wave wave = Wave::Square;
    float phase = 0;
    float held = 0;  // the noise value being held
    uint32_t lfsr = 1;
    NoiseSource noise;

    float next(float inc, float duty) {
        float out = 0;
        switch (wave) {
            case Wave::Square: {
                out = phase < duty ? 1.0f : -1.0f;
                out += polyBlep(phase, inc);
                float shifted = phase - duty;
                if (shifted < 0) shifted += 1.0f;
                out -= polyBlep(shifted, inc);
                break;
            }
            case Wave::Saw:
                out = 2.0f * phase - 1.0f - polyBlep(phase, inc);
                break;
            case Wave::Triangle:
                out = 1.0f - 4.0f * std::fabs(phase - 0.5f);
                break;
            case Wave::Sine:
                out = std::sin(2.0f * kPi * phase);
                break;
            case Wave::Noise:
            case Wave::Metal:
                out = held;
                break;
        }
        phase += inc;
        if (phase >= 1.0f) {
            // Noise takes a new value once per period, so its pitch sets its colour.
            int steps = static_cast<int>(phase);
            phase -= static_cast<float>(steps);
            if (wave == Wave::Noise) {
                held = noise.next();
            } else if (wave == Wave::Metal) {
                for (int i = 0; i < std::min(steps, 64); ++i) {
                    // A short-period shift register: a buzzy, metallic tone.
                    uint32_t bit = (lfsr ^ (lfsr >> 6)) & 1u;
                    lfsr = (lfsr >> 1) | (bit << 14);
                }
                held = (lfsr & 1u) ? 0.8f : -0.8f;
            }
        }
        return out;
    }
};

// Topology-preserving state-variable filter: stays stable while its cutoff sweeps.
struct StateVariableFilter {
    float ic1 = 0, ic2 = 0;
    float k = 1.414f, a1 = 0, a2 = 0, a3 = 0;
    void tune(float cutoffHz, float q, int sampleRate) {
        float fc = std::clamp(cutoffHz, 20.0f, 0.45f * static_cast<float>(sampleRate));
        float g = std::tan(kPi * fc / static_cast<float>(sampleRate));
        k = 1.0f / std::max(q, 0.1f);
        a1 = 1.0f / (1.0f + g * (g + k));
        a2 = g * a1;
        a3 = g * a2;
    }
    float process(float x, FilterType type) {
        float v3 = x - ic2;
        float v1 = a1 * ic1 + a2 * v3;
        float v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2.0f * v1 - ic1;
        ic2 = 2.0f * v2 - ic2;
        switch (type) {
            case FilterType::LowPass:
                return v2;
            case FilterType::HighPass:
                return x - k * v1 - v2;
            case FilterType::BandPass:
                return v1;
            case FilterType::None:
                break;
        }
        return x;
    }
};

// Pitch, duty and cutoff move slowly next to the audio, so they are worked out once per block
// of this many samples.
constexpr int64_t kControlBlock = 16;

}  // namespace

float midiToHz(float midi) {
    return 440.0f * std::exp2((midi - 69.0f) / 12.0f);
}

std::vector<float> renderVoice(const Patch& p, const Note& note, int sampleRate) {
    const float sr = static_cast<float>(sampleRate);
    const float attack = std::max(p.attack, 0.0005f);
    const float release = std::max(p.release, 0.002f);
    const int64_t gate = std::max<int64_t>(note.gate, 1);
    const int64_t total = gate + static_cast<int64_t>(release * sr) + 1;
    std::vector<float> out(static_cast<size_t>(total), 0.0f);

    Oscillator osc1, osc2, sub;
    osc1.wave = p.wave;
    osc2.wave = p.wave2;
    sub.wave = Wave::Sine;
    osc1.noise.state = note.seed * 2654435761u + 1u;
    osc2.noise.state = note.seed * 40503u + 7u;
    NoiseSource white;
    white.state = note.seed * 2246822519u + 3u;
    StateVariableFilter filter;

    const std::vector<float>& arp = note.arp.empty() ? p.arp : note.arp;
    const float baseMidi = 69.0f + 12.0f * std::log2(std::max(note.hz, 1.0f) / 440.0f);
    const float trackRatio = std::pow(note.hz / 261.63f, p.keyTrack);
    const float driveGain = 1.0f + p.drive * 6.0f;
    const float driveNorm = p.drive > 0 ? 1.0f / std::tanh(driveGain) : 1.0f;
    const float level = p.volume * note.velocity;

    const float osc2Ratio = std::exp2((p.osc2Semis + p.detune / 100.0f) / 12.0f);
    float inc = 0, duty = 0.5f;
    float gateLevel = 0;  // envelope level when the gate closed
    for (int64_t i = 0; i < total; ++i) {
        const float t = static_cast<float>(i) / sr;
        // Envelope: linear attack, hold, exponential decay to sustain, then a release that
        // reaches exactly zero at its end so voices never stop with a click.
        float env;
        if (i < gate) {
            if (t < attack) {
                env = t / attack;
            } else if (t < attack + p.hold) {
                env = 1.0f;
            } else {
                float td = t - attack - p.hold;
                float fall = p.decay > 0 ? std::exp(-4.6f * td / p.decay) : 0.0f;
                env = p.sustain + (1.0f - p.sustain) * fall;
            }
            gateLevel = env;
        } else {
            float tr = static_cast<float>(i - gate) / sr;
            env = gateLevel * std::exp(-4.6f * tr / release) * std::max(0.0f, 1.0f - tr / release);
        }
        if (p.tremDepth > 0) {
            env *= 1.0f - p.tremDepth * (0.5f + 0.5f * std::sin(2.0f * kPi * p.tremRate * t));
        }

        if (i % kControlBlock == 0) {
            float semis = p.sweep;
            if (p.sweepTime > 0) {
                float u = std::min(t / p.sweepTime, 1.0f);
                float shaped = 1.0f - std::pow(1.0f - u, p.sweepCurve);
                semis = p.sweep + (p.sweepEnd - p.sweep) * shaped;
            }
            if (p.vibDepth > 0 && t > p.vibDelay) {
                float fadeIn = std::min((t - p.vibDelay) / 0.25f, 1.0f);
                semis += fadeIn * p.vibDepth * std::sin(2.0f * kPi * p.vibRate * (t - p.vibDelay));
            }
            if (!arp.empty() && p.arpRate > 0) {
                size_t step = static_cast<size_t>(t * p.arpRate) % arp.size();
                semis += arp[step];
            }
            inc = midiToHz(baseMidi + semis) / sr;
            duty = p.duty;
            if (p.dutyEnd >= 0) {
                duty += (p.dutyEnd - p.duty) * std::min(t / std::max(p.dutyTime, 0.001f), 1.0f);
            }
            duty = std::clamp(duty, 0.02f, 0.98f);
            if (p.filter != FilterType::None) {
                float cutoff = p.cutoff;
                if (p.cutoffEnd > 0) {
                    float u = std::min(t / std::max(p.cutoffTime, 0.001f), 1.0f);
                    cutoff = p.cutoff * std::pow(p.cutoffEnd / p.cutoff, u);
                }
                filter.tune(cutoff * trackRatio, p.q, sampleRate);
            }
        }

        float s = osc1.next(std::min(inc, 1.0f), duty);
        if (p.osc2Mix > 0) {
            s += p.osc2Mix * osc2.next(std::min(inc * osc2Ratio, 1.0f), duty);
        }
        if (p.subMix > 0) s += p.subMix * sub.next(inc * 0.5f, 0.5f);
        if (p.noiseMix > 0) s += p.noiseMix * white.next();

        if (p.filter != FilterType::None) s = filter.process(s, p.filter);
        if (p.drive > 0) s = std::tanh(s * driveGain) * driveNorm;
        out[static_cast<size_t>(i)] = s * env * level;
    }
    return out;
}

void mixInto(Stereo& out, const std::vector<float>& voice, int64_t at, float gain, float pan) {
    float angle = (std::clamp(pan, -1.0f, 1.0f) + 1.0f) * 0.25f * kPi;
    float gl = gain * std::cos(angle) * 1.41421356f;
    float gr = gain * std::sin(angle) * 1.41421356f;
    const int64_t n = static_cast<int64_t>(out.size());
    for (size_t i = 0; i < voice.size(); ++i) {
        int64_t k = at + static_cast<int64_t>(i);
        if (k < 0) continue;
        if (k >= n) break;
        out.left[static_cast<size_t>(k)] += voice[i] * gl;
        out.right[static_cast<size_t>(k)] += voice[i] * gr;
    }
}

void applyEcho(const Stereo& in, Stereo& out, int delaySamples, float feedback, float level) {
    if (delaySamples <= 0 || level <= 0) return;
    std::vector<float> bufL(static_cast<size_t>(delaySamples), 0.0f);
    std::vector<float> bufR(static_cast<size_t>(delaySamples), 0.0f);
    feedback = std::clamp(feedback, 0.0f, 0.9f);
    float lowL = 0, lowR = 0;
    size_t pos = 0;
    const size_t n = std::min(in.size(), out.size());
    for (size_t i = 0; i < n; ++i) {
        float l = bufL[pos], r = bufR[pos];
        // The repeats lose their top end, like tape, so they sit behind the dry sound.
        lowL += 0.35f * (l - lowL);
        lowR += 0.35f * (r - lowR);
        float mono = 0.5f * (in.left[i] + in.right[i]);
        bufL[pos] = mono + lowR * feedback;
        bufR[pos] = lowL * feedback;
        out.left[i] += l * level;
        out.right[i] += r * level;
        if (++pos == bufL.size()) pos = 0;
    }
}

namespace {

struct Comb {
    std::vector<float> buf;
    size_t pos = 0;
    float store = 0;
    float process(float x, float feedback, float damp) {
        float y = buf[pos];
        store = y * (1.0f - damp) + store * damp;
        buf[pos] = x + store * feedback;
        if (++pos == buf.size()) pos = 0;
        return y;
    }
};

struct AllPass {
    std::vector<float> buf;
    size_t pos = 0;
    float process(float x) {
        float b = buf[pos];
        buf[pos] = x + b * 0.5f;
        if (++pos == buf.size()) pos = 0;
        return b - x;
    }
};

}  // namespace

void applyReverb(const Stereo& in, Stereo& out, float size, float damp, float level,
                 int sampleRate) {
    if (level <= 0) return;
    static const int kCombs[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    static const int kAllPasses[4] = {556, 441, 341, 225};
    const float scale = static_cast<float>(sampleRate) / 44100.0f;
    const float feedback = std::clamp(size, 0.0f, 0.97f);
    for (int side = 0; side < 2; ++side) {
        const int spread = side * 23;
        std::vector<Comb> combs(8);
        std::vector<AllPass> passes(4);
        for (int i = 0; i < 8; ++i) {
            combs[i].buf.assign(static_cast<size_t>((kCombs[i] + spread) * scale), 0.0f);
        }
        for (int i = 0; i < 4; ++i) {
            passes[i].buf.assign(static_cast<size_t>((kAllPasses[i] + spread) * scale), 0.0f);
        }
        std::vector<float>& dst = side == 0 ? out.left : out.right;
        const size_t n = std::min(in.size(), out.size());
        for (size_t i = 0; i < n; ++i) {
            float x = (in.left[i] + in.right[i]) * 0.015f;
            float y = 0;
            for (Comb& c : combs) y += c.process(x, feedback, damp);
            for (AllPass& a : passes) y = a.process(y);
            dst[i] += y * 3.0f * level;
        }
    }
}

void highPass(std::vector<float>& samples, float cutoffHz, int sampleRate) {
    StateVariableFilter filter;
    filter.tune(cutoffHz, 0.707f, sampleRate);
    for (float& s : samples) s = filter.process(s, FilterType::HighPass);
}

Levels measure(const std::vector<float>& samples) {
    Levels l;
    double sum = 0;
    for (float s : samples) {
        l.peak = std::max(l.peak, std::fabs(s));
        sum += static_cast<double>(s) * s;
    }
    if (!samples.empty()) l.rms = static_cast<float>(std::sqrt(sum / samples.size()));
    return l;
}

Levels measure(const Stereo& samples) {
    Levels a = measure(samples.left), b = measure(samples.right);
    Levels l;
    l.peak = std::max(a.peak, b.peak);
    l.rms = std::sqrt(0.5f * (a.rms * a.rms + b.rms * b.rms));
    return l;
}

float toDb(float level) {
    return level > 0 ? 20.0f * std::log10(level) : -200.0f;
}

float softLimit(float x, float knee, float ceiling) {
    float a = std::fabs(x);
    if (a <= knee) return x;
    float room = ceiling - knee;
    float over = a - knee;
    // Slope 1 at the knee, approaching the ceiling asymptotically.
    float y = knee + room * std::tanh(over / room);
    return x < 0 ? -y : y;
}

}  // namespace vg::synth
