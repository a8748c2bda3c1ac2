#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Keyboard.h"

namespace vg {

// Keys held over frame ranges, for driving the game without a keyboard. Text format, one range
// a line, '#' starts a comment:
//
//     0-119   RIGHT Z      # frames 0..119 inclusive: Right and Z down
//     120     ESCAPE       # frame 120 alone
//
// Keys are the names the key configuration shows, in any case (Left, Up, Space, Enter, Esc,
// Shift, F10, Z, 5 ...; also Escape and Return), or virtual-key codes (0x hex, or decimal
// above 9, 1..255). Frames no line names have every key up; ranges may overlap and add up.
class KeyScript {
  public:
    // Replaces the script with `text`. On a bad line: false, `error` says which and why, and
    // the script is left empty.
    bool parse(std::string_view text, std::string* error = nullptr);
    // The snapshot of frame `frame` (bit 7 set for each key down).
    KeySnapshot frame(uint32_t frame) const;
    // One past the last frame any range covers; 0 for an empty script.
    uint32_t length() const;

    static int keyCode(std::string_view name);

  private:
    struct Range {
        uint32_t first;
        uint32_t last;
        std::vector<uint8_t> keys;
    };
    std::vector<Range> ranges_;
};

// A keyboard that plays a script: the n-th snapshot taken is frame n of the script.
class KeyScriptKeyboard final : public KeyboardDevice {
  public:
    explicit KeyScriptKeyboard(const KeyScript& script) : script_(script) {}
    void snapshot(KeySnapshot& keys) override { keys = script_.frame(next_++); }

  private:
    const KeyScript& script_;
    uint32_t next_ = 0;
};

}  // namespace vg
