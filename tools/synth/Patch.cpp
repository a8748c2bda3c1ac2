#include "tools/synth/Patch.h"

#include <charconv>
#include <cmath>

namespace vg::synth {

std::vector<std::string> splitWords(std::string_view line) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
        if (i == start) break;
        // A comment starts with '#' as a word of its own, so sharps like F#4 stay notes.
        if (line[start] == '#') break;
        words.emplace_back(line.substr(start, i - start));
    }
    return words;
}

bool parseNumber(std::string_view text, float& value) {
    if (text.empty()) return false;
    if (text.front() == '+') text.remove_prefix(1);
    float v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

std::optional<int> parseNoteName(std::string_view text) {
    static const int kSteps[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (text.size() < 2 || text[0] < 'A' || text[0] > 'G') return std::nullopt;
    int semis = kSteps[text[0] - 'A'];
    size_t i = 1;
    if (text[i] == '#') {
        ++semis;
        ++i;
    } else if (text[i] == 'b') {
        --semis;
        ++i;
    }
    bool negative = false;
    if (i < text.size() && text[i] == '-') {
        negative = true;
        ++i;
    }
    if (i + 1 != text.size() || text[i] < '0' || text[i] > '9') return std::nullopt;
    int octave = text[i] - '0';
    if (negative) octave = -octave;
    return (octave + 1) * 12 + semis;
}

namespace {

bool parseWave(std::string_view v, Wave& wave) {
    if (v == "square")
        wave = Wave::Square;
    else if (v == "saw")
        wave = Wave::Saw;
    else if (v == "triangle")
        wave = Wave::Triangle;
    else if (v == "sine")
        wave = Wave::Sine;
    else if (v == "noise")
        wave = Wave::Noise;
    else if (v == "metal")
        wave = Wave::Metal;
    else
        return false;
    return true;
}

bool parseFreq(std::string_view v, float& hz) {
    if (auto note = parseNoteName(v)) {
        hz = midiToHz(static_cast<float>(*note));
        return true;
    }
    return parseNumber(v, hz) && hz > 0;
}

}  // namespace

bool applyPatchWord(Patch& p, std::string_view word, std::string& error) {
    size_t eq = word.find('=');
    if (eq == std::string_view::npos || eq == 0) {
        error = "expected key=value, got '" + std::string(word) + "'";
        return false;
    }
    std::string_view key = word.substr(0, eq);
    std::string_view value = word.substr(eq + 1);
    auto bad = [&] {
        error = "bad value for " + std::string(key) + ": '" + std::string(value) + "'";
        return false;
    };
    if (key == "wave") return parseWave(value, p.wave) || bad();
    if (key == "wave2") return parseWave(value, p.wave2) || bad();
    if (key == "freq") return parseFreq(value, p.freq) || bad();
    if (key == "filter") {
        if (value == "none")
            p.filter = FilterType::None;
        else if (value == "lp")
            p.filter = FilterType::LowPass;
        else if (value == "hp")
            p.filter = FilterType::HighPass;
        else if (value == "bp")
            p.filter = FilterType::BandPass;
        else
            return bad();
        return true;
    }
    if (key == "arp") {
        std::vector<float> steps;
        size_t start = 0;
        while (start <= value.size()) {
            size_t comma = value.find(',', start);
            if (comma == std::string_view::npos) comma = value.size();
            float v = 0;
            if (!parseNumber(value.substr(start, comma - start), v)) return bad();
            steps.push_back(v);
            start = comma + 1;
        }
        p.arp = steps;
        return true;
    }

    float v = 0;
    if (!parseNumber(value, v)) return bad();
    struct Field {
        const char* name;
        float Patch::*field;
        float lo, hi;
    };
    static const Field kFields[] = {
        {"duty", &Patch::duty, 0.01f, 0.99f},
        {"duty_end", &Patch::dutyEnd, 0.01f, 0.99f},
        {"duty_time", &Patch::dutyTime, 0.001f, 60},
        {"osc2", &Patch::osc2Mix, 0, 4},
        {"detune", &Patch::detune, -1200, 1200},
        {"osc2_semis", &Patch::osc2Semis, -48, 48},
        {"sub", &Patch::subMix, 0, 4},
        {"noise", &Patch::noiseMix, 0, 4},
        {"sweep", &Patch::sweep, -96, 96},
        {"sweep_end", &Patch::sweepEnd, -96, 96},
        {"sweep_time", &Patch::sweepTime, 0, 60},
        {"sweep_curve", &Patch::sweepCurve, 0.1f, 20},
        {"vib_rate", &Patch::vibRate, 0, 100},
        {"vib_depth", &Patch::vibDepth, 0, 24},
        {"vib_delay", &Patch::vibDelay, 0, 60},
        {"arp_rate", &Patch::arpRate, 0, 200},
        {"attack", &Patch::attack, 0, 60},
        {"hold", &Patch::hold, 0, 60},
        {"decay", &Patch::decay, 0, 60},
        {"sustain", &Patch::sustain, 0, 1},
        {"release", &Patch::release, 0, 60},
        {"trem_rate", &Patch::tremRate, 0, 100},
        {"trem_depth", &Patch::tremDepth, 0, 1},
        {"cutoff", &Patch::cutoff, 20, 22000},
        {"cutoff_end", &Patch::cutoffEnd, 20, 22000},
        {"cutoff_time", &Patch::cutoffTime, 0.001f, 60},
        {"q", &Patch::q, 0.1f, 20},
        {"key_track", &Patch::keyTrack, 0, 2},
        {"drive", &Patch::drive, 0, 4},
        {"volume", &Patch::volume, 0, 4},
        {"pan", &Patch::pan, -1, 1},
        {"echo", &Patch::echoSend, 0, 2},
        {"reverb", &Patch::reverbSend, 0, 2},
    };
    for (const Field& f : kFields) {
        if (key == f.name) {
            if (v < f.lo || v > f.hi) return bad();
            p.*(f.field) = v;
            return true;
        }
    }
    if (key == "octave") {
        if (v < 0 || v > 8) return bad();
        p.octave = static_cast<int>(v);
        return true;
    }
    error = "unknown key '" + std::string(key) + "'";
    return false;
}

}  // namespace vg::synth
