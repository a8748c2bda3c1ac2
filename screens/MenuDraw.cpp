#include "screens/MenuDraw.h"

#include "render/Blit.h"
#include "render/Cell.h"

namespace vg {

void drawMenuBackground(const DIB& background, DIB& surface, int32_t frame) {
    constexpr int32_t kFadeFrames = 16;
    if (frame < kFadeFrames) {
        blitCell(background, surface, atlas::selectBack::kBackground, 0, 0, 0, Alpha,
                 static_cast<uint32_t>(frame * 255 / kFadeFrames));
    } else {
        blitCell(background, surface, atlas::selectBack::kBackground, 0, 0, 0, 0);
    }
}

void drawMenuText(const GlyphFont& font, DIB& surface, const char* text, int32_t x, int32_t y,
                  bool selected) {
    if (selected) {
        drawGlyphText(font, ColorKey | Add, 0, &surface, text, x, y);
    } else {
        drawGlyphText(font, ColorKey | Alpha | Add, kDimAlpha, &surface, text, x, y);
    }
}

void drawMenuEcho(const GlyphFont& font, DIB& surface, const char* text, int32_t x, int32_t y,
                  int32_t k) {
    const uint32_t alpha = static_cast<uint32_t>(255 - k * 255 / 16);
    drawGlyphTextScaled(font, ColorKey | Alpha | Add, alpha, &surface, text, x, y - k / 2,
                        font.cellWidth, font.cellHeight + k);
}

void drawDialogBand(DIB& surface, int32_t& height) {
    constexpr int32_t kTarget = 100 << 16;
    height += (kTarget - height) / 8;
    const int32_t h = height >> 16;
    fillRect(&surface, 0, (surface.height - h) / 2, surface.width, h, 0, Alpha, 128);
}

}  // namespace vg
