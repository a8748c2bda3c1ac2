#include "render/GlyphText.h"

#include <limits>

#include "render/Blit.h"
#include "render/ScaledBlit.h"

namespace vg {
namespace {

constexpr int kMaxText = 255;
constexpr int kMaxScaledText = 259;

bool fitsInt32(int64_t v) {
    return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
}

// Where code n's cell starts on the sheet; false if a far-off font puts it beyond int range.
bool cellOf(int32_t n, int32_t originX, int32_t originY, int32_t cellWidth, int32_t cellHeight,
            int32_t& sx, int32_t& sy) {
    const int64_t x = int64_t{originX} + int64_t{cellWidth} * (n & 15);
    const int64_t y = int64_t{originY} + int64_t{cellHeight} * (((n >> 4) - 2) & 15);
    if (!fitsInt32(x) || !fitsInt32(y)) return false;
    sx = static_cast<int32_t>(x);
    sy = static_cast<int32_t>(y);
    return true;
}

}  // namespace

void drawGlyphText(DIB* destination, const DIB* sheet, const char* text, int32_t x, int32_t y,
                   int32_t originX, int32_t originY, int32_t cellWidth, int32_t cellHeight,
                   int32_t spacing, uint32_t mode, uint32_t parameter) {
    if (text == nullptr) return;
    int64_t pen = x;
    // Longer text is cut at the buffer's length rather than written past it.
    for (int i = 0; i < kMaxText && text[i] != '\0' && text[i] != '\n'; ++i) {
        if (!fitsInt32(pen)) return;
        const int32_t n = static_cast<unsigned char>(text[i]);
        int32_t sx = 0, sy = 0;
        if (cellOf(n, originX, originY, cellWidth, cellHeight, sx, sy)) {
            blit(sheet, destination, static_cast<int32_t>(pen), y, cellWidth, cellHeight, sx, sy,
                 mode, parameter);
        }
        pen += int64_t{cellWidth} + spacing;
    }
}

void drawGlyphText(const GlyphFont& font, uint32_t mode, uint32_t parameter, DIB* destination,
                   const char* text, int32_t x, int32_t y) {
    drawGlyphText(destination, font.sheet, text, x, y, font.originX, font.originY, font.cellWidth,
                  font.cellHeight, font.spacing, mode, parameter);
}

void drawGlyphTextScaled(DIB* destination, const DIB* sheet, const char* text, int32_t x, int32_t y,
                         int32_t w, int32_t h, int32_t originX, int32_t originY, int32_t cellWidth,
                         int32_t cellHeight, int32_t spacing, uint32_t mode, uint32_t parameter) {
    if (text == nullptr) return;
    int64_t pen = x;
    for (int i = 0; i < kMaxScaledText && text[i] != '\0' && text[i] != '\n'; ++i) {
        if (!fitsInt32(pen)) return;
        // This form takes the code as signed; the cell row comes out the same for both readings.
        const int32_t n = static_cast<signed char>(text[i]);
        int32_t sx = 0, sy = 0;
        if (cellOf(n, originX, originY, cellWidth, cellHeight, sx, sy)) {
            blitScaled(destination, sheet, static_cast<int32_t>(pen), y, w, h, sx, sy, cellWidth,
                       cellHeight, mode, parameter);
        }
        pen += int64_t{w} + spacing;
    }
}

void drawGlyphTextScaled(const GlyphFont& font, uint32_t mode, uint32_t parameter, DIB* destination,
                         const char* text, int32_t x, int32_t y, int32_t w, int32_t h) {
    drawGlyphTextScaled(destination, font.sheet, text, x, y, w, h, font.originX, font.originY,
                        font.cellWidth, font.cellHeight, font.spacing, mode, parameter);
}

}  // namespace vg
