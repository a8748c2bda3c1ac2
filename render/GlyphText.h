#pragma once

#include <cstdint>

#include "resources/DIB.h"

namespace vg {

// A bitmap font: a sheet of 16 cells per row starting with the space character (0x20) at the
// origin; code n sits at column n & 15 and row ((n >> 4) - 2) & 15 of the cell grid. Owned by
// whoever draws with it; the sheet is not owned.
struct GlyphFont {
    const DIB* sheet = nullptr;
    int32_t originX = 0;
    int32_t originY = 0;
    int32_t cellWidth = 0;
    int32_t cellHeight = 0;
    // Added to the advance; negative values overlap the characters.
    int32_t spacing = 0;
};

// Draws `text` (at most 255 characters; a line feed or the terminator ends it) with one blit per
// character at cell size, the pen moving right by cell width + spacing.
void drawGlyphText(DIB* destination, const DIB* sheet, const char* text, int32_t x, int32_t y,
                   int32_t originX, int32_t originY, int32_t cellWidth, int32_t cellHeight,
                   int32_t spacing, uint32_t mode, uint32_t parameter);
void drawGlyphText(const GlyphFont& font, uint32_t mode, uint32_t parameter, DIB* destination,
                   const char* text, int32_t x, int32_t y);

// As drawGlyphText, but each character (at most 259) is scaled from its cell to w x h and the
// pen moves right by w + spacing.
void drawGlyphTextScaled(DIB* destination, const DIB* sheet, const char* text, int32_t x, int32_t y,
                         int32_t w, int32_t h, int32_t originX, int32_t originY, int32_t cellWidth,
                         int32_t cellHeight, int32_t spacing, uint32_t mode, uint32_t parameter);
void drawGlyphTextScaled(const GlyphFont& font, uint32_t mode, uint32_t parameter, DIB* destination,
                         const char* text, int32_t x, int32_t y, int32_t w, int32_t h);

}  // namespace vg
