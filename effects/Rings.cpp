#include "effects/Rings.h"

#include <cmath>

#include "AtlasCells.h"
#include "core/MapScroll.h"
#include "core/PlayField.h"
#include "render/Blend.h"
#include "render/Cell.h"
#include "resources/ImageSlots.h"

namespace vg {

RingEffect::RingEffect(int32_t x, int32_t y, int32_t l, int32_t s, int32_t v)
    : Effect(x, y), lifetime(l), finalSize(s), variant(v) {}

uint32_t RingEffect::fadeAlpha(int32_t age, int32_t lifetime) {
    if (lifetime <= 0) return 0;
    return clampAlpha(static_cast<int64_t>(std::cos(age * 1.570796 / lifetime) * 255));
}

void RingEffect::update() {
    ageAndLive(lifetime);
}

void RingEffect::draw(DIB& surface) {
    System* sys = system();
    if (!sys || lifetime <= 0 || variant < 0 || variant > 2 || age > lifetime) return;
    const int32_t box = static_cast<int32_t>(static_cast<int64_t>(age) * finalSize / lifetime);
    if (box <= 0) return;
    // Variant 2 is the second picture mirrored left-right.
    const int32_t picture = variant == 0 ? 0 : 1;
    const int32_t w = variant == 2 ? -box : box;
    blitCellScaledCentred(sys->imageSlots[kSlotEnemy], surface, atlas::enemy::kRing, picture,
                          screenX(*sys, x), screenY(*sys, y), w, box, ColorKey | Alpha | Add,
                          fadeAlpha(age, lifetime));
}

RippleEffect::RippleEffect(int32_t x, int32_t y, int32_t s) : Effect(x, y), size(s) {}

void RippleEffect::update() {
    if (owner) y += mapSpeed(*owner);
    ageAndLive(kLifetime);
}

void RippleEffect::draw(DIB& surface) {
    System* sys = system();
    if (!sys || size <= 0) return;
    const int32_t w = static_cast<int32_t>(static_cast<int64_t>(age) * size / kLifetime);
    // Two thirds of the width, from an even width; the ellipse sits above the point.
    const int32_t h = 2 * (w / 2) / 3;
    if (w <= 0 || h <= 0) return;
    const int32_t sx = screenX(*sys, x);
    const int32_t sy = screenY(*sys, y);
    blitCellScaled(sys->imageSlots[kSlotEnemy], surface, atlas::enemy::kRipple, 0, sx - w / 2,
                   sy - w / 2, w, h, ColorKey | Alpha | Add, RingEffect::fadeAlpha(age, kLifetime));
}

}  // namespace vg
