#include <algorithm>

#include "AtlasCells.h"
#include "core/Layers.h"
#include "core/PlayField.h"
#include "core/System.h"
#include "core/TaskQuery.h"
#include "effects/BlackFrame.h"
#include "effects/BossShieldFrame.h"
#include "render/Blend.h"
#include "render/Blit.h"
#include "render/Cell.h"
#include "resources/ImageSlots.h"

namespace vg {

void BlackFrame::draw(DIB& surface) {
    fillRect(&surface, 0, 0, System::kFieldWidth, 32, 0, Alpha, 128);
    fillRect(&surface, 0, System::kFieldHeight - 32, System::kFieldWidth, 32, 0, Alpha, 128);
}

// ---------------------------------------------------------------------------------------------

BossShieldFrame::BossShieldFrame(int32_t max) : shownValue(max), maximum(max) {}

BossShieldFrame* BossShieldFrame::find(const TaskManager& manager) {
    return findFirstInLayer<BossShieldFrame>(manager, layer::kFrame);
}

void BossShieldFrame::close() {
    if (phase == kClosing) return;
    phase = kClosing;
    phaseCounter = 0;
}

int32_t BossShieldFrame::barWidth() const {
    if (maximum <= 0) return 0;
    const int64_t value = std::clamp(shownValue, 0, maximum);
    return static_cast<int32_t>(value * kBarWidth / maximum);
}

void BossShieldFrame::draw(DIB& surface) {
    const System* sys = systemOf(*this);
    if (!sys) return;
    const bool running = state == kTaskActive;
    if (running && phase == kOpening) y += (fixedFromInt(kShownY) - y) / 8;
    if (running && phase == kClosing) y += (fixedFromInt(kHiddenY) - y) / 8;

    namespace cells = atlas::frame;
    const DIB& sheet = sys->imageSlots[kSlotFrame];
    const int32_t top = fixedToInt(y);
    blitCell(sheet, surface, cells::kBossGaugeBack, 0, 2, top + 2, Alpha,
             phase == kFilling ? 128 : 64);
    const int32_t texture = std::clamp(textureOffset, 0, cells::kBossGaugeBar.frames - 1);
    if (phase == kFilling) {
        blitCellScaled(sheet, surface, cells::kBossGaugeBar, texture, 2, top + 2,
                       phaseCounter * kBarWidth / kFillingFrames, cells::kBossGaugeBar.h, 0, 128);
    } else if (phase == kShowing) {
        // Drawn mirrored, so the texture runs the other way as the bar shrinks.
        blitCellScaled(sheet, surface, cells::kBossGaugeBar, texture, 2, top + 2, -barWidth(),
                       cells::kBossGaugeBar.h, 0, 128);
    }
    blitCell(sheet, surface, cells::kBossGaugeFrame, 0, 1, top, ColorKey);

    if (!running) return;
    textureOffset = (textureOffset + 1) % cells::kBossGaugeBar.frames;
    if (phase != kShowing) ++phaseCounter;
    if (phase == kOpening && phaseCounter >= kOpeningFrames) {
        phase = kFilling;
        phaseCounter = 0;
    } else if (phase == kFilling && phaseCounter >= kFillingFrames) {
        phase = kShowing;
        phaseCounter = 0;
    } else if (phase == kClosing && phaseCounter >= kClosingFrames) {
        end();
    }
}

}  // namespace vg
