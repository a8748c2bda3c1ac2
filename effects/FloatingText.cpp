#include "effects/FloatingText.h"

#include <cstdio>
#include <cstring>

#include "AtlasCells.h"
#include "core/PlayField.h"
#include "effects/Fonts.h"
#include "render/Blend.h"
#include "render/Cell.h"
#include "render/GlyphText.h"
#include "resources/ImageSlots.h"

namespace vg {

NearKillFont::NearKillFont(int32_t x, int32_t y, int32_t vx, int32_t vy, int32_t l)
    : Effect(x, y, vx, vy), level(l) {}

uint32_t NearKillFont::alphaAt(int32_t age) {
    // (32 - age) * 256 / 16 + 256: 256 (opaque) at 32 down to 0 at 48.
    return clampAlpha((32 - age) * 256 / 16 + 256);
}

void NearKillFont::update() {
    moveWithDrag(kDrag);
    ageAndLive(kLifetime);
}

void NearKillFont::draw(DIB& surface) {
    System* sys = system();
    const atlas::Cell& cell = atlas::enemy::kNearKill;
    if (!sys || level < 1 || level > cell.frames) return;
    const int32_t sx = screenX(*sys, x);
    const int32_t sy = screenY(*sys, y);
    const DIB& sheet = sys->imageSlots[kSlotEnemy];
    if (age < 32) {
        blitCellCentred(sheet, surface, cell, level - 1, sx, sy, ColorKey | Add);
    } else {
        blitCellCentred(sheet, surface, cell, level - 1, sx, sy, ColorKey | Alpha | Add,
                        alphaAt(age));
    }
}

// ---------------------------------------------------------------------------------------------

ChangeBulletNumFont::ChangeBulletNumFont(int32_t x, int32_t y, int32_t n)
    : Effect(x, y), count(n) {}

int64_t ChangeBulletNumFont::shownValue() const {
    if (age >= kCountUpFrames) return count;
    return static_cast<int64_t>(count) * age / kCountUpFrames;
}

uint32_t ChangeBulletNumFont::alphaAt(int32_t age) {
    if (age < kFadeStart) return 255;
    // (148 - age) * 255 / 32 - 1 read as a byte: 255 at 148 down to 0 at 180.
    return clampAlpha(256 + ((kFadeStart - age) * 255 / 32 - 1));
}

void ChangeBulletNumFont::update() {
    if (count <= 0) {
        end();
        return;
    }
    ageAndLive(kLifetime);
}

void ChangeBulletNumFont::draw(DIB& surface) {
    System* sys = system();
    if (!sys || count <= 0) return;
    char text[24];
    std::snprintf(text, sizeof text, "x%lld", static_cast<long long>(shownValue()));
    // A wide, flat text for the first eight frames that snaps to the font's size.
    int32_t w = 12;
    int32_t h = 12;
    if (age <= 7) {
        w = 432 - 48 * age;
        h = (8 - age) * 3 / 2;
    }
    const GlyphFont font = smallFont(*sys);
    const int32_t length = static_cast<int32_t>(std::strlen(text));
    const int32_t width = length * w + (length - 1) * font.spacing;
    drawGlyphTextScaled(font, ColorKey | Alpha | Add | Mask, colourParameter(alphaAt(age), kColour),
                        &surface, text, screenX(*sys, x) - width / 2, screenY(*sys, y) - h / 2, w,
                        h);
}

// ---------------------------------------------------------------------------------------------

GetCrystalFont::GetCrystalFont(int32_t x, int32_t y, int32_t v, int32_t k)
    : Effect(x, y), value(v), sizeKind(k) {}

void GetCrystalFont::update() {
    y -= kFixedOne;
    ageAndLive(kLifetime);
}

void GetCrystalFont::draw(DIB& surface) {
    System* sys = system();
    if (!sys || value <= 0) return;
    const atlas::Cell& cell = sizeKind == 3   ? atlas::item::kCrystalDigits20
                              : sizeKind == 2 ? atlas::item::kCrystalDigits16
                                              : atlas::item::kCrystalDigits14;
    const int32_t c = cell.w;
    int32_t digits = 0;
    for (int32_t rest = value; rest > 0; rest /= 10) ++digits;
    const int32_t sx = screenX(*sys, x);
    const int32_t top = screenY(*sys, y) - c / 2;
    const uint32_t alpha = clampAlpha(255 - age * 254 / kLifetime);
    const DIB& sheet = sys->imageSlots[kSlotItem];
    int32_t rest = value;
    for (int32_t i = 0; i < digits; ++i, rest /= 10) {
        // The i-th digit from the right (the units are 0).
        const int32_t left = sx - c * digits / 2 + c * (digits - i);
        blitCell(sheet, surface, cell, rest % 10, left, top, ColorKey | Alpha, alpha);
    }
}

// ---------------------------------------------------------------------------------------------

ItemFont::ItemFont(int32_t x, int32_t y, int32_t vx, int32_t vy, int32_t l)
    : Effect(x, y, vx, vy), label(l) {}

void ItemFont::update() {
    moveWithDrag(kDrag);
    ageAndLive(kLifetime);
}

void ItemFont::draw(DIB& surface) {
    System* sys = system();
    const atlas::Cell& cell = atlas::item::kItemLabel;
    if (!sys || label < 0 || label >= cell.frames) return;
    const int32_t sx = screenX(*sys, x);
    const int32_t sy = screenY(*sys, y);
    const DIB& sheet = sys->imageSlots[kSlotItem];
    if (age < kStretchStart) {
        blitCellCentred(sheet, surface, cell, label, sx, sy, ColorKey);
        return;
    }
    // Stretched wider and flatter while it fades.
    const int32_t a = age - kStretchStart;
    const int32_t squash = 12 * a / 30;
    const int32_t w = cell.w + 8 * a;
    const int32_t h = cell.h - squash;
    if (h <= 0) return;
    blitCellScaled(sheet, surface, cell, label, sx - cell.w / 2 - 4 * a,
                   sy - cell.h / 2 + squash / 2, w, h, ColorKey | Alpha,
                   clampAlpha(256 - 255 * a / 30));
}

}  // namespace vg
