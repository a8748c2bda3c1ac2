#include "tools/synth/Effect.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "tools/synth/Patch.h"
#include "tools/synth/Synth.h"

namespace vg::synth {

namespace {

struct Layer {
    Patch patch;
    float at = 0;
    float length = 0.1f;
    float velocity = 1;
};

// Splits "a:b:c" into numbers.
bool parseTriple(std::string_view v, float (&out)[3]) {
    for (int i = 0; i < 3; ++i) {
        size_t colon = v.find(':');
        std::string_view part = v.substr(0, colon);
        if (!parseNumber(part, out[i])) return false;
        if (i < 2) {
            if (colon == std::string_view::npos) return false;
            v.remove_prefix(colon + 1);
        } else if (colon != std::string_view::npos) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool renderEffect(std::string_view text, EffectSound& out, std::string& error) {
    out.samples.clear();
    int rate = 44100;
    float peakDb = -6;
    float echo[3] = {0, 0, 0};
    std::vector<Layer> layers;

    std::istringstream in{std::string(text)};
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        std::vector<std::string> words = splitWords(line);
        if (words.empty()) continue;
        size_t first = 0;
        if (words[0] == "layer") {
            layers.emplace_back();
            first = 1;
        }
        for (size_t w = first; w < words.size(); ++w) {
            const std::string& word = words[w];
            size_t eq = word.find('=');
            std::string key = word.substr(0, eq);
            std::string value = eq == std::string::npos ? "" : word.substr(eq + 1);
            std::string why;
            float v = 0;
            bool ok = true;
            if (layers.empty()) {
                // Settings of the whole effect.
                if (key == "rate") {
                    ok = parseNumber(value, v) && (v == 22050 || v == 44100);
                    rate = static_cast<int>(v);
                } else if (key == "peak") {
                    ok = parseNumber(value, v) && v <= -1 && v >= -60;
                    peakDb = v;
                } else if (key == "echo") {
                    ok = parseTriple(value, echo) && echo[0] > 0 && echo[0] < 2;
                } else {
                    ok = false;
                }
                if (!ok) why = "bad setting '" + word + "'";
            } else {
                Layer& layer = layers.back();
                if (key == "at") {
                    ok = parseNumber(value, v) && v >= 0 && v < 30;
                    layer.at = v;
                } else if (key == "length") {
                    ok = parseNumber(value, v) && v > 0 && v < 30;
                    layer.length = v;
                } else if (key == "velocity") {
                    ok = parseNumber(value, v) && v >= 0 && v <= 4;
                    layer.velocity = v;
                } else {
                    ok = applyPatchWord(layer.patch, word, why);
                }
                if (!ok && why.empty()) why = "bad value '" + word + "'";
            }
            if (!ok) {
                error = "line " + std::to_string(lineNo) + ": " + why;
                return false;
            }
        }
    }
    if (layers.empty()) {
        error = "no layer";
        return false;
    }

    Stereo mix;
    size_t length = 0;
    std::vector<std::vector<float>> voices;
    std::vector<int64_t> starts;
    uint32_t seed = 1;
    for (const Layer& layer : layers) {
        Note note;
        note.hz = layer.patch.freq;
        note.gate = static_cast<int64_t>(layer.length * rate);
        note.velocity = layer.velocity;
        note.seed = seed++;
        voices.push_back(renderVoice(layer.patch, note, rate));
        starts.push_back(static_cast<int64_t>(layer.at * rate));
        length = std::max(length, static_cast<size_t>(starts.back()) + voices.back().size());
    }
    if (echo[2] > 0) length += static_cast<size_t>(echo[0] * rate * 6);
    mix.resize(length);
    for (size_t i = 0; i < voices.size(); ++i) {
        // Effects are mono: centre everything, the panning gain cancels out.
        mixInto(mix, voices[i], starts[i], 1.0f, 0.0f);
    }
    if (echo[2] > 0) {
        Stereo wet;
        wet.resize(length);
        applyEcho(mix, wet, static_cast<int>(echo[0] * rate), echo[1], echo[2]);
        for (size_t i = 0; i < length; ++i) {
            mix.left[i] += 0.5f * (wet.left[i] + wet.right[i]);
        }
    }

    std::vector<float>& s = mix.left;
    Levels levels = measure(s);
    if (levels.peak <= 0) {
        error = "the effect is silent";
        return false;
    }
    const float gain = std::pow(10.0f, peakDb / 20.0f) / levels.peak;
    for (float& x : s) x *= gain;

    // Trim what is inaudible at the end, with a short fade so the cut never clicks.
    size_t end = s.size();
    while (end > 0 && std::fabs(s[end - 1]) < 1.0f / 32768.0f) --end;
    const size_t fade = std::min<size_t>(end, static_cast<size_t>(rate / 200));
    for (size_t i = 0; i < fade; ++i) {
        s[end - fade + i] *= 1.0f - static_cast<float>(i + 1) / static_cast<float>(fade + 1);
    }
    s.resize(end);
    out.sampleRate = rate;
    out.samples = std::move(s);
    return true;
}

}  // namespace vg::synth
