#pragma once

#include <cstdint>

#include "resources/DIB.h"

namespace vg {

class System;

// Drawing shared by the game set-up screens (difficulty, ship and stage choice), all from
// "selectBack.png" in the menu background slot.

// The background at `alpha` (255: a plain copy).
void drawSetupBackground(const System& system, DIB& surface, uint32_t alpha);
// "GAME START" or "STAGE SELECT" in the top-left corner, by playMode.
void drawModeCaption(const System& system, DIB& surface);
// The chosen difficulty's label in the top-right corner (nothing for a difficulty past the
// table).
void drawDifficultyCorner(const System& system, DIB& surface);
// Where the difficulty label rests in the corner: x 400 for Normal, Extra and Extra2 (whose
// labels are wider), else 440; y 20.
int32_t difficultyCornerX(uint8_t difficulty, bool forFlyOut);
// The pulsing alpha of a selected label at frame n: 151..231, period 120 frames.
uint32_t pulseAlpha(int32_t n);

}  // namespace vg
