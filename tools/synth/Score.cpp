#include "tools/synth/Score.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <vector>

#include "tools/synth/Patch.h"

namespace vg::synth {

namespace {

// Every tune is levelled to this loudness over its loop, then soft limited.
constexpr float kTargetRmsDb = -20.0f;
constexpr float kLimiterKnee = 0.45f;
constexpr float kLimiterCeiling = 0.8f;
// How long echo, reverb and releases may ring on; the loop starts this far into the first
// pass, where the sound is already what it is on every later pass.
constexpr double kTailSeconds = 4.0;
// Below this the mix holds only rumble that no speaker plays but that would still use headroom.
constexpr float kMasterHighPassHz = 30.0f;
// The intro plus two passes of the loop must fit in this; anything longer is a typing slip.
constexpr int kMaxRenderSeconds = 900;

struct Instrument {
    std::string name;
    Patch patch;
};

struct Pattern {
    std::string name;
    int bars = 1;
    int line = 0;
    std::map<int, std::vector<std::string>> tracks;  // by instrument index
    std::set<int> inherited;  // tracks copied from another pattern and not yet replaced
};

struct Entry {
    int pattern = 0;
    int transpose = 0;
};

struct Score {
    float tempo = 120;
    int steps = 4;
    int meter = 4;
    float swing = 0;
    int echoSteps = 0;
    float echoFeedback = 0.3f, echoLevel = 0;
    float reverbSize = 0.8f, reverbDamp = 0.3f, reverbLevel = 0;
    std::vector<Instrument> instruments;
    std::vector<Pattern> patterns;
    std::vector<Entry> intro, loop;
};

std::optional<std::vector<float>> parseChord(std::string_view text, int octave) {
    static const int kSteps[7] = {9, 11, 0, 2, 4, 5, 7};
    if (text.empty() || text[0] < 'A' || text[0] > 'G') return std::nullopt;
    int root = kSteps[text[0] - 'A'];
    size_t i = 1;
    if (i < text.size() && text[i] == '#') {
        ++root;
        ++i;
    } else if (i < text.size() && text[i] == 'b') {
        --root;
        ++i;
    }
    struct Quality {
        const char* name;
        std::vector<float> steps;
    };
    static const Quality kQualities[] = {
        {"", {0, 4, 7}},           {"m", {0, 3, 7}},         {"7", {0, 4, 7, 10}},
        {"m7", {0, 3, 7, 10}},     {"maj7", {0, 4, 7, 11}},  {"sus4", {0, 5, 7}},
        {"sus2", {0, 2, 7}},       {"dim", {0, 3, 6}},       {"aug", {0, 4, 8}},
        {"5", {0, 7, 12}},         {"add9", {0, 4, 7, 14}},  {"madd9", {0, 3, 7, 14}},
        {"m9", {0, 3, 7, 10, 14}}, {"9", {0, 4, 7, 10, 14}}, {"6", {0, 4, 7, 9}},
        {"m6", {0, 3, 7, 9}},      {"7sus4", {0, 5, 7, 10}}, {"maj9", {0, 4, 7, 11, 14}},
        {"dim7", {0, 3, 6, 9}},    {"m7b5", {0, 3, 6, 10}},
    };
    std::string_view quality = text.substr(i);
    for (const Quality& q : kQualities) {
        if (quality == q.name) {
            std::vector<float> notes;
            float base = static_cast<float>((octave + 1) * 12 + root);
            for (float s : q.steps) notes.push_back(base + s);
            return notes;
        }
    }
    return std::nullopt;
}

bool parseInt(const std::string& text, int lo, int hi, int& out) {
    float v = 0;
    if (!parseNumber(text, v) || v != std::floor(v) || v < lo || v > hi) return false;
    out = static_cast<int>(v);
    return true;
}

// Stores `text` in `out` when it is a number within [lo, hi].
bool parseRanged(const std::string& text, float lo, float hi, float& out) {
    float v = 0;
    if (!parseNumber(text, v) || v < lo || v > hi) return false;
    out = v;
    return true;
}

// Parses "name=value" words of a setting line (echo, reverb).
bool parseSetting(const std::vector<std::string>& words, Score& s, std::string& error) {
    const bool echo = words[0] == "echo";
    for (size_t i = 1; i < words.size(); ++i) {
        const std::string& w = words[i];
        size_t eq = w.find('=');
        std::string key = w.substr(0, eq == std::string::npos ? w.size() : eq);
        std::string value = eq == std::string::npos ? "" : w.substr(eq + 1);
        bool ok = false;
        if (echo && key == "steps") ok = parseInt(value, 1, 64, s.echoSteps);
        if (echo && key == "feedback") ok = parseRanged(value, 0, 0.9f, s.echoFeedback);
        if (echo && key == "level") ok = parseRanged(value, 0, 2, s.echoLevel);
        if (!echo && key == "size") ok = parseRanged(value, 0, 0.97f, s.reverbSize);
        if (!echo && key == "damp") ok = parseRanged(value, 0, 1, s.reverbDamp);
        if (!echo && key == "level") ok = parseRanged(value, 0, 2, s.reverbLevel);
        if (!ok) {
            error = "bad " + words[0] + " setting '" + w + "'";
            return false;
        }
    }
    return true;
}

int findInstrument(const Score& s, const std::string& name) {
    for (size_t i = 0; i < s.instruments.size(); ++i) {
        if (s.instruments[i].name == name) return static_cast<int>(i);
    }
    return -1;
}

bool parseOrder(const Score& s, const std::vector<std::string>& words, std::vector<Entry>& out,
                std::string& error) {
    for (size_t i = 1; i < words.size(); ++i) {
        std::string name = words[i];
        Entry e;
        size_t sign = name.find_first_of("+-");
        if (sign != std::string::npos) {
            if (!parseInt(name.substr(sign), -24, 24, e.transpose)) {
                error = "bad transposition in '" + words[i] + "'";
                return false;
            }
            name = name.substr(0, sign);
        }
        e.pattern = -1;
        for (size_t p = 0; p < s.patterns.size(); ++p) {
            if (s.patterns[p].name == name) e.pattern = static_cast<int>(p);
        }
        if (e.pattern < 0) {
            error = "unknown pattern '" + name + "'";
            return false;
        }
        out.push_back(e);
    }
    return true;
}

bool isKeyword(const std::string& w) {
    static const char* kKeywords[] = {"tempo",  "steps",   "meter", "swing", "echo",
                                      "reverb", "pattern", "intro", "loop",  "instrument"};
    for (const char* k : kKeywords) {
        if (w == k) return true;
    }
    return false;
}

bool parseScore(std::string_view text, Score& s, std::string& error) {
    enum class Block { None, Instrument, Pattern } block = Block::None;
    std::istringstream in{std::string(text)};
    std::string line;
    int lineNo = 0;
    bool sawIntro = false, sawLoop = false;
    while (std::getline(in, line)) {
        ++lineNo;
        std::vector<std::string> words = splitWords(line);
        words.erase(std::remove(words.begin(), words.end(), "|"), words.end());
        if (words.empty()) continue;
        const std::string& head = words[0];
        std::string why;
        bool ok = true;
        if (head == "tempo" || head == "swing") {
            ok = words.size() == 2 && (head == "tempo" ? parseRanged(words[1], 30, 300, s.tempo)
                                                       : parseRanged(words[1], 0, 0.45f, s.swing));
            block = Block::None;
        } else if (head == "steps" || head == "meter") {
            ok =
                words.size() == 2 && parseInt(words[1], 1, 16, head == "steps" ? s.steps : s.meter);
            block = Block::None;
        } else if (head == "echo" || head == "reverb") {
            ok = parseSetting(words, s, why);
            block = Block::None;
        } else if (head == "instrument") {
            if (words.size() < 2 || isKeyword(words[1]) ||
                words[1].find('=') != std::string::npos || findInstrument(s, words[1]) >= 0) {
                why = "an instrument needs a new name";
                ok = false;
            } else {
                s.instruments.push_back({words[1], Patch{}});
                for (size_t i = 2; ok && i < words.size(); ++i) {
                    ok = applyPatchWord(s.instruments.back().patch, words[i], why);
                }
                block = Block::Instrument;
            }
        } else if (head == "pattern") {
            Pattern p;
            const bool like = words.size() == 5 && words[3] == "like";
            if ((words.size() != 3 && !like) || !parseInt(words[2], 1, 64, p.bars)) {
                why = "expected: pattern NAME BARS [like OTHER]";
                ok = false;
            } else {
                if (like) {
                    // A variation: starts as a copy of the other pattern; every track it
                    // names is replaced, the rest are kept.
                    auto base = std::find_if(s.patterns.begin(), s.patterns.end(),
                                             [&](const Pattern& o) { return o.name == words[4]; });
                    if (base == s.patterns.end() || base->bars != p.bars) {
                        ok = false;
                        why = "'like' needs an earlier pattern of as many bars";
                    } else {
                        p.tracks = base->tracks;
                        for (const auto& entry : p.tracks) p.inherited.insert(entry.first);
                    }
                }
                p.name = words[1];
                p.line = lineNo;
                for (const Pattern& other : s.patterns) {
                    if (other.name == p.name) {
                        ok = false;
                        why = "pattern defined twice";
                    }
                }
                if (p.name.find_first_of("+-") != std::string::npos) {
                    ok = false;
                    why = "pattern names may not contain + or -";
                }
                s.patterns.push_back(p);
                block = Block::Pattern;
            }
        } else if (head == "intro" || head == "loop") {
            bool& seen = head == "intro" ? sawIntro : sawLoop;
            if (seen) {
                ok = false;
                why = head + " given twice";
            } else {
                seen = true;
                ok = parseOrder(s, words, head == "intro" ? s.intro : s.loop, why);
            }
            block = Block::None;
        } else if (block == Block::Instrument) {
            for (size_t i = 0; ok && i < words.size(); ++i) {
                ok = applyPatchWord(s.instruments.back().patch, words[i], why);
            }
        } else if (block == Block::Pattern) {
            int track = findInstrument(s, head);
            if (track < 0) {
                ok = false;
                why = "unknown instrument '" + head + "'";
            } else {
                Pattern& p = s.patterns.back();
                std::vector<std::string>& steps = p.tracks[track];
                if (p.inherited.erase(track) != 0) steps.clear();
                steps.insert(steps.end(), words.begin() + 1, words.end());
            }
        } else {
            ok = false;
            why = "unexpected '" + head + "'";
        }
        if (!ok) {
            error = "line " + std::to_string(lineNo) + ": " + (why.empty() ? "bad line" : why);
            return false;
        }
    }
    if (s.loop.empty()) {
        error = "no loop order";
        return false;
    }
    for (const Pattern& p : s.patterns) {
        const size_t length = static_cast<size_t>(p.bars * s.meter * s.steps);
        for (const auto& [track, steps] : p.tracks) {
            if (steps.empty() || steps.size() > length) {
                error = "line " + std::to_string(p.line) + ": track " +
                        s.instruments[static_cast<size_t>(track)].name + " in pattern " + p.name +
                        " has " + std::to_string(steps.size()) + " steps, the pattern " +
                        std::to_string(length);
                return false;
            }
        }
    }
    return true;
}

struct Event {
    int64_t at = 0;
    int instrument = 0;
    Note note;
};

// One word of a track, understood.
struct Step {
    enum Kind { Hold, Off, Hit, Pitch, Chord } kind = Hold;
    float velocity = 0.8f;
    std::vector<float> pitches;  // semitone numbers
};

bool parseStep(const std::string& w, const Patch& patch, Step& step) {
    step = Step{};
    if (w == ".") return true;
    if (w == "-") return step.kind = Step::Off, true;
    if (w == "x" || w == "X" || w == "o") {
        step.kind = Step::Hit;
        step.velocity = w == "X" ? 1.0f : w == "x" ? 0.8f : 0.45f;
        return true;
    }
    if (w[0] == '@') {
        auto notes = parseChord(std::string_view(w).substr(1), patch.octave);
        if (!notes) return false;
        step.kind = Step::Chord;
        step.pitches = *notes;
        return true;
    }
    std::string_view name = w;
    if (name.back() == '!') {
        step.velocity = 1.0f;
        name.remove_suffix(1);
    }
    auto note = parseNoteName(name);
    if (!note) return false;
    step.kind = Step::Pitch;
    step.pitches = {static_cast<float>(*note)};
    return true;
}

uint32_t mixSeed(uint32_t a, uint32_t b) {
    uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u + (a << 6) + (a >> 2));
    return h ? h : 1u;
}

// Collects the notes of one pattern played from `start` with the given transposition.
bool collectPattern(const Score& s, const Entry& entry, double start, double stepSamples,
                    std::vector<Event>& events, std::string& error) {
    const Pattern& p = s.patterns[static_cast<size_t>(entry.pattern)];
    const int length = p.bars * s.meter * s.steps;
    auto timeOf = [&](int step) {
        double swing = (step % 2 == 1 && step < length) ? s.swing : 0.0;
        return static_cast<int64_t>(std::llround(start + (step + swing) * stepSamples));
    };
    for (const auto& [track, words] : p.tracks) {
        const Patch& patch = s.instruments[static_cast<size_t>(track)].patch;
        std::vector<Step> steps(static_cast<size_t>(length));
        for (int i = 0; i < length; ++i) {
            const std::string& w = words[static_cast<size_t>(i) % words.size()];
            if (!parseStep(w, patch, steps[static_cast<size_t>(i)])) {
                error = "pattern " + p.name + ": bad step '" + w + "' for " +
                        s.instruments[static_cast<size_t>(track)].name;
                return false;
            }
        }
        for (int i = 0; i < length; ++i) {
            const Step& st = steps[static_cast<size_t>(i)];
            if (st.kind == Step::Hold || st.kind == Step::Off) continue;
            int end = i + 1;
            while (end < length && steps[static_cast<size_t>(end)].kind == Step::Hold) ++end;
            const int64_t at = timeOf(i);
            const int64_t gate = std::max<int64_t>(timeOf(end) - at, 1);
            uint32_t seed = mixSeed(mixSeed(static_cast<uint32_t>(track) + 1u,
                                            static_cast<uint32_t>(entry.pattern) * 131u +
                                                static_cast<uint32_t>(entry.transpose + 64)),
                                    static_cast<uint32_t>(i));
            Event e;
            e.at = at;
            e.instrument = track;
            e.note.gate = gate;
            e.note.velocity = st.velocity;
            e.note.seed = seed;
            if (st.kind == Step::Hit) {
                e.note.hz = patch.freq;
                events.push_back(e);
                continue;
            }
            std::vector<float> pitches = st.pitches;
            for (float& pitch : pitches) pitch += static_cast<float>(entry.transpose);
            if (st.kind == Step::Chord && patch.arpRate > 0) {
                // An arpeggio: one voice stepping through the chord.
                e.note.hz = midiToHz(pitches[0]);
                for (float pitch : pitches) e.note.arp.push_back(pitch - pitches[0]);
                events.push_back(e);
                continue;
            }
            for (size_t k = 0; k < pitches.size(); ++k) {
                e.note.hz = midiToHz(pitches[k]);
                e.note.seed = mixSeed(seed, static_cast<uint32_t>(k));
                events.push_back(e);
            }
        }
    }
    return true;
}

}  // namespace

bool renderTune(std::string_view text, TuneAudio& out, std::string& error) {
    out = TuneAudio{};
    Score s;
    if (!parseScore(text, s, error)) return false;

    const int rate = TuneAudio::kSampleRate;
    const double stepSamples = rate * 60.0 / (s.tempo * s.steps);
    auto sectionSteps = [&](const std::vector<Entry>& entries) {
        int64_t n = 0;
        for (const Entry& e : entries) {
            n += s.patterns[static_cast<size_t>(e.pattern)].bars * s.meter * s.steps;
        }
        return n;
    };
    // Section lengths are rounded once, so every pass of the loop is the same number of samples
    // and every note lands at the same offset within its pass.
    const int64_t introLength = std::llround(sectionSteps(s.intro) * stepSamples);
    const int64_t loopLength = std::llround(sectionSteps(s.loop) * stepSamples);
    const int64_t tail = std::min<int64_t>(std::llround(kTailSeconds * rate), loopLength);
    if (introLength + 2 * loopLength > int64_t{kMaxRenderSeconds} * rate) {
        error = "the tune is too long to render";
        return false;
    }

    // The intro, then the loop twice: the second pass carries the first pass's tails, as every
    // later repeat will.
    std::vector<Event> events;
    auto collectSection = [&](const std::vector<Entry>& entries, int64_t sectionStart) {
        double at = 0;
        for (const Entry& e : entries) {
            if (!collectPattern(s, e, static_cast<double>(sectionStart) + at, stepSamples, events,
                                error)) {
                return false;
            }
            at += s.patterns[static_cast<size_t>(e.pattern)].bars * s.meter * s.steps * stepSamples;
        }
        return true;
    };
    if (!collectSection(s.intro, 0) || !collectSection(s.loop, introLength) ||
        !collectSection(s.loop, introLength + loopLength)) {
        return false;
    }

    const int64_t renderLength = introLength + 2 * loopLength;
    Stereo dry, echoBus, reverbBus;
    dry.resize(static_cast<size_t>(renderLength));
    echoBus.resize(static_cast<size_t>(renderLength));
    reverbBus.resize(static_cast<size_t>(renderLength));
    std::vector<double> energy(s.instruments.size(), 0.0);
    const int64_t loopBegin = introLength + tail;
    for (const Event& e : events) {
        const Patch& patch = s.instruments[static_cast<size_t>(e.instrument)].patch;
        std::vector<float> voice = renderVoice(patch, e.note, rate);
        if (e.at >= loopBegin && e.at < loopBegin + loopLength) {
            for (float v : voice) energy[static_cast<size_t>(e.instrument)] += double(v) * v;
        }
        mixInto(dry, voice, e.at, 1.0f, patch.pan);
        if (patch.echoSend > 0) mixInto(echoBus, voice, e.at, patch.echoSend, patch.pan);
        if (patch.reverbSend > 0) mixInto(reverbBus, voice, e.at, patch.reverbSend, patch.pan);
    }
    if (s.echoSteps > 0 && s.echoLevel > 0) {
        applyEcho(echoBus, dry, static_cast<int>(std::llround(s.echoSteps * stepSamples)),
                  s.echoFeedback, s.echoLevel);
    }
    applyReverb(reverbBus, dry, s.reverbSize, s.reverbDamp, s.reverbLevel, rate);
    highPass(dry.left, kMasterHighPassHz, rate);
    highPass(dry.right, kMasterHighPassHz, rate);

    const size_t begin = static_cast<size_t>(introLength + tail);
    const size_t end = begin + static_cast<size_t>(loopLength);
    Stereo loopPart;
    loopPart.left.assign(dry.left.begin() + static_cast<std::ptrdiff_t>(begin),
                         dry.left.begin() + static_cast<std::ptrdiff_t>(end));
    loopPart.right.assign(dry.right.begin() + static_cast<std::ptrdiff_t>(begin),
                          dry.right.begin() + static_cast<std::ptrdiff_t>(end));
    const Levels levels = measure(loopPart);
    if (levels.rms <= 0) {
        error = "the tune is silent";
        return false;
    }
    const float gain = std::pow(10.0f, kTargetRmsDb / 20.0f) / levels.rms;
    out.samples.resize(end);
    for (size_t i = 0; i < end; ++i) {
        out.samples.left[i] = softLimit(dry.left[i] * gain, kLimiterKnee, kLimiterCeiling);
        out.samples.right[i] = softLimit(dry.right[i] * gain, kLimiterKnee, kLimiterCeiling);
    }
    out.loopStart = static_cast<int64_t>(begin);
    for (size_t i = 0; i < s.instruments.size(); ++i) {
        float rms = static_cast<float>(std::sqrt(energy[i] / static_cast<double>(loopLength)));
        out.trackLevels.emplace_back(s.instruments[i].name, toDb(rms * gain));
    }
    return true;
}

}  // namespace vg::synth
