#include "panels/LaserFrame.h"

#include <algorithm>

#include "AtlasCells.h"
#include "core/PlayField.h"
#include "core/System.h"
#include "effects/Effect.h"
#include "player/PlayerBase.h"
#include "render/Blend.h"
#include "render/Blit.h"
#include "render/Cell.h"
#include "resources/ImageSlots.h"

namespace vg {

namespace {

// Left gauge: a ship left of 150; right gauge: a ship between 90 and 240.
bool shipNear(const System& system, int gauge) {
    for (int index = 0; index < 2; ++index) {
        const PlayerBase* ship = PlayerBase::find(system, index);
        if (!ship) continue;
        const int32_t x = fixedToInt(ship->x);
        if (gauge == 0 ? x < 150 : (x > 90 && x < 240)) return true;
    }
    return false;
}

}  // namespace

int32_t LaserFrame::fillWidth(int32_t energy) {
    return std::clamp(energy, 0, PlayerBase::kMaxEnergy) * kWidth / PlayerBase::kMaxEnergy;
}

void LaserFrame::update() {
    ++frame;
    const System* sys = systemOf(*this);
    if (!sys) return;
    for (int gauge = 0; gauge < 2; ++gauge) {
        if (shipNear(*sys, gauge)) {
            opacity[gauge] = std::max(opacity[gauge] - 15, 64);
        } else {
            opacity[gauge] = std::min(opacity[gauge] + 15, 255);
        }
        const PlayerBase* player = PlayerBase::find(*sys, gauge);
        if (!player) continue;
        const int32_t width = fillWidth(player->energy);
        if (width >= trailWidth[gauge]) {
            trailWidth[gauge] = width;
        } else if (frame % 4 == 0) {
            --trailWidth[gauge];
        }
    }
}

void LaserFrame::draw(DIB& surface) {
    const System* sys = systemOf(*this);
    if (!sys) return;
    namespace cells = atlas::frame;
    const DIB& sheet = sys->imageSlots[kSlotFrame];
    const atlas::Cell& fill = cells::kEnergyGaugeFill;
    for (int gauge = 0; gauge < 2; ++gauge) {
        const PlayerBase* player = PlayerBase::find(*sys, gauge);
        if (!player) continue;
        const uint32_t alpha = static_cast<uint32_t>(std::clamp(opacity[gauge], 0, 255));
        const int32_t x = kGaugeX[gauge];
        blitCell(sheet, surface, cells::kEnergyLabel, 0, x, kGaugeY - 12, ColorKey | Alpha | Add,
                 alpha);
        blitCell(sheet, surface, cells::kEnergyGaugeBack, 0, x, kGaugeY, ColorKey | Alpha,
                 alpha / 2);
        // The fill, coloured from 32 energy on, the colour shown every other frame so that a
        // charged gauge flashes.
        const int32_t energy = player->energy;
        uint32_t colour = 0xFFFFFF;
        if ((frame & 1) != 0 && energy >= 32) colour = energy >= 48 ? kFullTint : kWarmTint;
        const uint32_t mode = ColorKey | Alpha | Add | Mask;
        const int32_t width = fillWidth(energy);
        blit(&sheet, &surface, x, kGaugeY, width, fill.h, fill.x, fill.y, mode,
             colourParameter(alpha, colour));
        // Energy lost lately, in red, shrinking toward the fill.
        const int32_t trail = std::min(trailWidth[gauge], kWidth);
        if (trail > width) {
            blit(&sheet, &surface, x + width, kGaugeY, trail - width, fill.h, fill.x + width,
                 fill.y, mode, colourParameter(alpha, kLossColour));
        }
    }
}

}  // namespace vg
