#pragma once

#include <array>
#include <cstdint>

namespace vg {

class System;

// Takes the game from its start to the first stage of a full game as a player would, with
// button presses through the players' own keys: skips the logo, chooses the title's game start,
// the difficulty and each player's ship (a second player joins by pressing Shot), and confirms.
// Reads the screens' state every frame, so it never depends on how many frames a fade takes.
class MenuDriver {
  public:
    // `ships`: ship type of each player, 255 for no second player. A "2" variant the save has
    // not unlocked cannot be chosen: its base ship is played.
    MenuDriver(uint8_t difficulty, std::array<uint8_t, 2> ships);

    // Each player's button byte for the next frame. A press lasts one frame and is followed by
    // a frame with nothing held, so every press is a new one for the menus.
    std::array<uint8_t, 2> decide(const System& system);

  private:
    uint8_t difficulty_;
    std::array<uint8_t, 2> ships_;
    bool released_ = true;
    int variantTries_ = 0;
};

}  // namespace vg
