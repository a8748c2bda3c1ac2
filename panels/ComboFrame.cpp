#include "panels/ComboFrame.h"

#include <algorithm>

#include "AtlasCells.h"
#include "core/Layers.h"
#include "core/PlayField.h"
#include "core/System.h"
#include "core/TaskQuery.h"
#include "effects/BossShieldFrame.h"
#include "player/PlayerBase.h"
#include "render/Blend.h"
#include "render/Blit.h"
#include "render/Cell.h"
#include "resources/ImageSlots.h"

namespace vg {

namespace {

// True when any ship flies over the panel at `panelTop`: for the left panel a ship left of 150,
// for the right one between 90 and 270, in both from 5 above the panel to 95 below its top.
bool shipOver(const System& system, int panel, int32_t panelTop) {
    for (int index = 0; index < 2; ++index) {
        const PlayerBase* ship = PlayerBase::find(system, index);
        if (!ship) continue;
        const int32_t x = fixedToInt(ship->x);
        const int32_t y = fixedToInt(ship->y);
        const bool across = panel == 0 ? x < 150 : (x > 90 && x < 270);
        if (across && y >= panelTop - 5 && y <= panelTop + 95) return true;
    }
    return false;
}

}  // namespace

void ComboFrame::update() {
    const System* sys = systemOf(*this);
    if (!sys) return;
    const int32_t target = fixedFromInt(BossShieldFrame::find(*sys) ? kBelowGaugeY : kTopY);
    for (int panel = 0; panel < 2; ++panel) {
        panelY[panel] += (target - panelY[panel]) / 8;
        if (shipOver(*sys, panel, fixedToInt(panelY[panel]))) {
            opacity[panel] = std::max(opacity[panel] - kOpacityStep, kFadedOpacity);
        } else {
            opacity[panel] = std::min(opacity[panel] + kOpacityStep, 255);
        }
    }
}

void ComboFrame::draw(DIB& surface) {
    const System* sys = systemOf(*this);
    if (!sys) return;
    namespace cells = atlas::frame;
    const DIB& sheet = sys->imageSlots[kSlotFrame];
    for (int panel = 0; panel < 2; ++panel) {
        const PlayerBase* player = PlayerBase::find(*sys, panel);
        if (!player) continue;
        const uint32_t alpha = static_cast<uint32_t>(std::clamp(opacity[panel], 0, 255));
        const int32_t left = panel == 0 ? kLeftX : kRightX;
        const int32_t top = fixedToInt(panelY[panel]);
        // The timer bar: the groove, and the full bar cut to the time left.
        blitCell(sheet, surface, cells::kComboBarBack, 0, left, top, ColorKey | Alpha, alpha);
        const int32_t timer =
            std::clamp<int32_t>(player->comboTimer, 0, PlayerBase::kMaxComboTimer);
        const int32_t filled = timer * kBarWidth / PlayerBase::kMaxComboTimer;
        const atlas::Cell& fill = cells::kComboBarFill;
        blit(&sheet, &surface, left, top, filled, fill.h, fill.x, fill.y, ColorKey | Alpha, alpha);
        // "CHAIN" and the count, right-aligned under the bar.
        blitCell(sheet, surface, cells::kComboLabel, 0, left, top + 18, ColorKey | Alpha | Add,
                 alpha);
        const atlas::Cell& digits = cells::kComboDigits;
        int32_t value = std::max<int32_t>(player->combo, 0);
        int32_t x = left + kBarWidth - digits.w;
        for (int32_t i = 0; i < 5 && x >= left; ++i, x -= digits.w - 4) {
            blitCell(sheet, surface, digits, value % 10, x, top + 14, ColorKey | Alpha | Add,
                     alpha);
            value /= 10;
            if (value == 0) break;
        }
    }
}

}  // namespace vg
