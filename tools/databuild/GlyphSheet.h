#pragma once

#include <cairo.h>

#include <string>

#include "tools/databuild/Atlas.h"

namespace vg::databuild {

// Renders the bitmap fonts of the game from the sans typefaces through FreeType: 16 characters
// per row of cells from 0x20, white glyphs with anti-aliased edges on black, so that they read
// under ColorKey + Add and take any colour from Mask or Tint. The cell of 0x7F holds the end
// mark of name entry.
class GlyphSheet {
  public:
    explicit GlyphSheet(std::string fontDir) : fontDir_(std::move(fontDir)) {}

    // Draws `cell.gen` into the cell's frames: "menufont" or "smallfont" (characters 0x20..0x7F),
    // "digits" or "bigdigits" (0..9).
    bool render(const AtlasCell& cell, cairo_surface_t* surface, std::string& error) const;

  private:
    std::string fontDir_;
};

}  // namespace vg::databuild
