#include "effects/ScreenEffects.h"

#include <algorithm>

#include "AtlasCells.h"
#include "core/GameRandom.h"
#include "core/PlayField.h"
#include "render/Blend.h"
#include "render/Blit.h"
#include "render/Cell.h"
#include "render/ScaledBlit.h"
#include "resources/ImageSlots.h"
#include "stage/Back.h"

namespace vg {

Flash::Flash(int32_t d) : Effect(0, 0), duration(d), remaining(d) {}

void Flash::update() {
    --remaining;
    if (remaining < 0) end();
}

void Flash::draw(DIB& surface) {
    if (duration <= 0 || remaining < 0) return;
    const int64_t alpha = static_cast<int64_t>(remaining) * 128 / duration;
    fillRect(&surface, 0, 0, surface.width, surface.height, 0xFFFFFF, Alpha, clampAlpha(alpha));
}

// ---------------------------------------------------------------------------------------------

Blur::Blur(int32_t d) : Effect(0, 0), duration(d), remaining(d) {}

void Blur::update() {
    Back* back = owner ? Back::find(*owner) : nullptr;
    if (back && duration > 0) {
        const int64_t elapsed = static_cast<int64_t>(duration) - remaining;
        back->alpha = static_cast<int32_t>(elapsed * 247 / duration + 8);
    }
    // A duration of 0 or less starts with remaining at most 0: it ends here at once.
    --remaining;
    if (remaining < 0) {
        if (back) back->alpha = 255;
        end();
    }
}

// ---------------------------------------------------------------------------------------------

Vibration::Vibration(int32_t a, int32_t d) : Effect(0, 0), amplitude(a), duration(d) {}

void Vibration::update() {
    System* sys = system();
    if (!sys) {
        end();
        return;
    }
    if (age >= duration) {
        sys->shakeOffsetX = 0;
        sys->shakeOffsetY = 0;
        end();
        return;
    }
    // Two draws a frame, x then y: ((r & A) - A / 2) whole pixels, divided down as it ages.
    const int32_t a = std::max(amplitude, 0);
    const int32_t divisor = age / 3 + 1;
    const uint32_t xDraw = gameRandom().randomNext();
    const int32_t shakeX =
        (static_cast<int32_t>(xDraw & static_cast<uint32_t>(a)) - a / 2) / divisor;
    const uint32_t yDraw = gameRandom().randomNext();
    const int32_t shakeY =
        (static_cast<int32_t>(yDraw & static_cast<uint32_t>(a)) - a / 2) / divisor;
    sys->shakeOffsetX = fixedFromInt(shakeX);
    sys->shakeOffsetY = fixedFromInt(shakeY);
    ++age;
}

// ---------------------------------------------------------------------------------------------

OpticalEffect::OpticalEffect(int32_t x, int32_t y) : Effect(x, y) {}

void OpticalEffect::update() {
    ageAndLive(kLifetime);
}

void OpticalEffect::draw(DIB& surface) {
    System* sys = system();
    if (!sys || surface.empty()) return;
    const int32_t small = 2 * age;  // side of the shrunk copy
    const int32_t seen = 4 * age;   // side of the square of the surface under the lens
    if (small <= 0) return;
    DIB& scratch = sys->workSurface;
    if ((scratch.width < small || scratch.height < small) &&
        !scratch.create(std::max(small, 128), std::max(small, 128))) {
        return;
    }
    const int32_t cx = screenX(*sys, x);
    const int32_t cy = screenY(*sys, y);

    // 1. The square under the lens, halved into the scratch. It is clipped on all four edges
    // of the surface, to whole pairs of pixels so that every scratch pixel keeps the place it
    // has in an unclipped copy; what lies outside stays black (the scratch's key colour when
    // its corner is outside too).
    fillRect(&scratch, 0, 0, small, small, 0, 0, 128);
    const int32_t left = cx - seen / 2;
    const int32_t top = cy - seen / 2;
    const int32_t skipX = std::max(0, -left);
    const int32_t skipY = std::max(0, -top);
    const int32_t x0 = left + skipX + (skipX & 1);
    const int32_t y0 = top + skipY + (skipY & 1);
    int32_t x1 = std::min(left + seen, surface.width);
    int32_t y1 = std::min(top + seen, surface.height);
    x1 -= (x1 - left) & 1;
    y1 -= (y1 - top) & 1;
    if (x1 > x0 && y1 > y0) {
        blitScaled(&scratch, &surface, (x0 - left) / 2, (y0 - top) / 2, (x1 - x0) / 2,
                   (y1 - y0) / 2, x0, y0, x1 - x0, y1 - y0, 0, 128);
    }
    // 2. The lens rim over it.
    blitCellScaled(sys->imageSlots[kSlotEnemy], scratch, atlas::enemy::kLens, 0, 0, 0, small, small,
                   ColorKey);
    // 3. Back onto the surface, larger than it was: the picture swells under the lens.
    const int32_t shown = seen + 14;
    const bool fading = age > 16;
    blitScaled(&surface, &scratch, cx - shown / 2, cy - shown / 2, shown, shown, 0, 0, small, small,
               fading ? ColorKey | Alpha : ColorKey,
               fading ? clampAlpha((16 - age) * 255 / 16 + 255) : 0);
}

}  // namespace vg
