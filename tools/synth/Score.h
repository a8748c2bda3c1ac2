#pragma once

// Tune scores: a small tracker-like text format that a person can read and edit.
//
//   tempo 150                  # beats per minute
//   steps 4                    # steps per beat (4: a step is a sixteenth note)
//   meter 4                    # beats per bar
//   swing 0.1                  # every second step comes this fraction of a step late
//   echo steps=3 feedback=0.35 level=0.3     # tempo-synced ping-pong echo
//   reverb size=0.8 damp=0.3 level=0.25
//
//   instrument lead wave=square duty=0.25    # a track: patch words may go on the next
//     attack=0.01 decay=0.3 sustain=0.6      # lines too, up to the next keyword
//
//   pattern A 2                # a pattern of 2 bars; each line: a track, then one word a step
//     lead  E5 . . . B4 . D5 . | E5 . . . - . . .
//     bass  E2 . E3 .          # shorter lines repeat to fill the pattern
//     kick  x . . . x . . .
//     pad   @Em . . . . . . . @C . . . . . . .
//
//   pattern A2 2 like A        # a variation: a copy of A in which the tracks named below
//     lead  E6 . . . B5 . D6 .   # replace A's, and the others stay as they are
//
//   intro A                    # played once
//   loop  A B A+2 B            # played forever; +n / -n transposes the pitched tracks
//
// Step words: a note name (C4, F#3, Bb2; "!" after it accents it) starts a note and ends the
// one before; "." holds; "-" ends the note; "x" is a hit at the instrument's own pitch ("X"
// accented, "o" soft); "@Am7" is a chord voiced at the instrument's octave (played as an
// arpeggio when the instrument has arp_rate). "|" is only for the eye.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/synth/Synth.h"

namespace vg::synth {

struct TuneAudio {
    static constexpr int kSampleRate = 44100;
    Stereo samples;
    int64_t loopStart = 0;  // in samples; the loop runs from here to the end
    // Review aid: each instrument's dry loudness in the final mix, dBFS (overlapping notes of a
    // track are counted as if they did not interfere).
    std::vector<std::pair<std::string, float>> trackLevels;
};

// Parses and renders a score. The result is levelled to the tunes' common loudness and soft
// limited below full scale. The part from loopStart to the end is exactly one period of the
// loop (echo and reverb tails included), so it repeats without a seam.
bool renderTune(std::string_view text, TuneAudio& out, std::string& error);

}  // namespace vg::synth
