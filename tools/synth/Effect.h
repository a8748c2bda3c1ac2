#pragma once

// Sound-effect files: a few settings for the whole effect, then one or more layers, each a
// patch that starts at its own time and holds its gate for its own length:
//
//   rate=44100 peak=-8            # sample rate; the peak level the effect is scaled to, dBFS
//   echo=0.09:0.35:0.3            # optional: delay seconds : feedback : level
//   layer at=0 length=0.12        # start time and gate length, seconds
//     wave=square freq=C6 duty=0.25 sweep=0 sweep_end=-12 sweep_time=0.1 decay=0.1 sustain=0
//
// The layers are summed, echoed, scaled to the peak and trimmed after the last audible sample.

#include <string>
#include <string_view>
#include <vector>

namespace vg::synth {

struct EffectSound {
    int sampleRate = 44100;
    std::vector<float> samples;  // mono
};

// Parses and renders an effect file's text. On failure returns false with `error` naming the
// line; `out` is left empty.
bool renderEffect(std::string_view text, EffectSound& out, std::string& error);

}  // namespace vg::synth
