#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "resources/DIB.h"
#include "resources/DIBSection.h"

namespace vg {

// Style bits of a font request.
enum FontFlags : uint32_t {
    kFontBold = 0x01,
    kFontItalic = 0x02,
    kFontUnderline = 0x04,
    kFontStrikeOut = 0x08,
    kFontAntialiased = 0x10,
};

// Cell height of every text font, in pixels.
inline constexpr int32_t kTextHeight = 16;
// drawText formats into a buffer of this many bytes: at most 1023 characters are drawn.
inline constexpr size_t kTextBufferSize = 1024;

// A scalable face rendered at the text height with a set of style flags. Each face file is
// loaded once per process and shared by every font; rendered glyphs are kept per font, so a
// line drawn every frame costs no rasterising after its first frame. Text bytes are single-byte
// characters (ASCII, and Latin-1 for bytes from 0x80).
class TextFont {
  public:
    // Null when the face file cannot be loaded. The face names of the game map onto the fonts of
    // the system: "Tohoma" and any bold request take the bold sans face, every other name the
    // regular sans face.
    static std::unique_ptr<TextFont> create(uint32_t flags, const char* face);
    ~TextFont();
    TextFont(const TextFont&) = delete;
    TextFont& operator=(const TextFont&) = delete;

    // Draws `length` bytes of `text` with the top of the text cell at row y, left edge at x,
    // onto a transparent background (only the glyphs' own pixels change; their high byte
    // becomes 0). Clipped to the surface. Returns the pen's x after the last character.
    int32_t draw(DIB& surface, int32_t x, int32_t y, const char* text, size_t length, uint32_t rgb);
    // Advance width of the text in pixels.
    int32_t measure(const char* text, size_t length);

    uint32_t flags() const { return flags_; }
    // Distance from the top of the cell to the baseline, in pixels.
    int32_t ascent() const { return ascent_; }

  private:
    struct Glyph {
        bool rendered = false;
        int16_t left = 0;
        int16_t top = 0;
        uint16_t width = 0;
        uint16_t rows = 0;
        int32_t advance = 0;
        std::vector<uint8_t> coverage;  // width * rows bytes, 0 (clear) .. 255 (solid)
    };

    TextFont() = default;
    Glyph& glyph(uint8_t code);

    void* face_ = nullptr;  // the shared FT_Face
    uint32_t flags_ = 0;
    int32_t ascent_ = 0;
    int32_t underlinePosition_ = 0;
    std::array<Glyph, 256> glyphs_{};
};

// Formats like printf into a 1024-byte buffer (longer results are cut to 1023 characters) and
// draws the result at (x, y) in the section's font and text colour. Returns the number of
// characters drawn, or -1 when the section has no font or no pixels.
int drawText(DIBSection& surface, int32_t x, int32_t y, const char* format, ...)
    __attribute__((format(printf, 4, 5)));

}  // namespace vg
