#pragma once

namespace vg {

// The eight shared image slots of System (slot n is imageSlots[n - 1]). Loading into a slot
// replaces its picture.
inline constexpr int kSlotBullet = 0;  // "bullet.png"
inline constexpr int kSlotShip = 1;    // "ship.png"
inline constexpr int kSlotItem = 2;    // "item.png"
inline constexpr int kSlotEnemy = 3;   // "enemy.png"
// The current stage's picture: "boss1.png".."boss5.png" (boss cells and scenery), "ending.png".
inline constexpr int kSlotStage = 4;
inline constexpr int kSlotExplosion = 5;  // "exp.png"
// The background of the current screen, reloaded by each screen's start task: the menu
// pictures, or during a stage its scrolling map ("back1.png".."back5.png", "endingBack.png").
inline constexpr int kSlotMenuBack = 6;
inline constexpr int kSlotBackground = 6;
inline constexpr int kSlotFrame = 7;  // "frame.png": fonts, panels, banners

}  // namespace vg
