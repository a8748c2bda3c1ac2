#include "screens/SetupDraw.h"

#include <cmath>

#include "AtlasCells.h"
#include "core/SaveData.h"
#include "core/System.h"
#include "render/Blit.h"
#include "render/Cell.h"
#include "resources/ImageSlots.h"

namespace vg {

void drawSetupBackground(const System& system, DIB& surface, uint32_t alpha) {
    const DIB& image = system.imageSlots[kSlotMenuBack];
    const atlas::Cell& cell = atlas::selectBack::kBackground;
    if (alpha < 255) {
        blitCell(image, surface, cell, 0, 0, 0, Alpha, alpha);
    } else {
        blitCell(image, surface, cell, 0, 0, 0, 0, 0);
    }
}

void drawModeCaption(const System& system, DIB& surface) {
    blitCell(system.imageSlots[kSlotMenuBack], surface, atlas::selectBack::kModeCaption,
             system.playMode == 1 ? 1 : 0, 5, 5, ColorKey | Add, 0);
}

int32_t difficultyCornerX(uint8_t difficulty, bool forFlyOut) {
    // The ship and stage choice put Normal and Extra2 at 400; the difficulty's fly-out lands
    // Normal, Extra and Extra2 there.
    if (difficulty == 1 || difficulty == 4) return 400;
    if (forFlyOut && difficulty == 3) return 400;
    return 440;
}

void drawDifficultyCorner(const System& system, DIB& surface) {
    if (system.difficulty >= kDifficultyCount) return;
    blitCell(system.imageSlots[kSlotMenuBack], surface, atlas::selectBack::kDifficultyLabel,
             system.difficulty, difficultyCornerX(system.difficulty, false), 20, ColorKey | Add, 0);
}

uint32_t pulseAlpha(int32_t n) {
    constexpr double kPi = 3.141592;
    const double degrees = static_cast<double>((3 * static_cast<int64_t>(n)) % 360);
    const double wave = (std::cos(degrees * kPi / 180.0) + 1.571) * -127.0 / kPi;
    return static_cast<uint32_t>(128 - static_cast<int32_t>(wave));
}

}  // namespace vg
