#pragma once

#include <cstdint>

#include "render/Blend.h"
#include "render/GlyphText.h"
#include "resources/DIB.h"

namespace vg {

// Alpha of the unselected menu texts.
constexpr uint32_t kDimAlpha = 64;

// The menu background (slot 7, 512 x 384 from source (0, 1)) fading in over the first 16
// frames of a screen, then a plain copy.
void drawMenuBackground(const DIB& background, DIB& surface, int32_t frame);

// Menu-font text: selected texts glow (ColorKey + Add), the others are dimmed.
void drawMenuText(const GlyphFont& font, DIB& surface, const char* text, int32_t x, int32_t y,
                  bool selected);

// The growing echo of a selected text: the text stretched to 20 + k pixels high about its middle,
// fading as k grows; k is the pulse counter 0..15.
void drawMenuEcho(const GlyphFont& font, DIB& surface, const char* text, int32_t x, int32_t y,
                  int32_t k);

// The dark band of the modal dialogs; `height` (16.16) moves 1/8 of the way to 100 pixels per
// call.
void drawDialogBand(DIB& surface, int32_t& height);

}  // namespace vg
