#pragma once

// The text form of a patch: whitespace-separated key=value words, shared by the effect files
// and the instrument blocks of the scores, e.g.
//   wave=square duty=0.25 attack=0.005 decay=0.2 sustain=0.6 release=0.1 cutoff=3000
// Lists (arp) are comma-separated: arp=0,4,7. Pitches may be given as note names (freq=C5).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/synth/Synth.h"

namespace vg::synth {

// Splits a line into words, dropping a comment: a word starting with '#' and the rest.
std::vector<std::string> splitWords(std::string_view line);

bool parseNumber(std::string_view text, float& value);

// A note name such as "C4", "F#3", "Bb5" (C4 = 60) as a semitone number.
std::optional<int> parseNoteName(std::string_view text);

// Applies one key=value word to a patch. Returns false and fills `error` for an unknown key
// or a bad value; the patch keeps its old value then.
bool applyPatchWord(Patch& patch, std::string_view word, std::string& error);

}  // namespace vg::synth
