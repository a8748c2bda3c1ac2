#pragma once

#include <cstdint>

namespace vg {

class PlayerBase;
class System;

// Creates the ship of `shipType` (0 "TYPE-A" .. 3 "TYPE-B2") for `playerIndex` at the front of
// the player layer. Null for a type above 3 (no such player) or when the arena is full.
PlayerBase* createShip(System& system, uint8_t shipType, uint8_t playerIndex);

}  // namespace vg
