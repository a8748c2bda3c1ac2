#pragma once

#include <cstdint>

#include "player/BombBase.h"

namespace vg {

class PlayerBase;

// The blast of the TYPE-A and TYPE-B ships: a wide fireball drifting slowly, 81 frames.
class Bomb : public BombBase {
  public:
    Bomb(int32_t x, int32_t y, int32_t angle, uint8_t owner);
    void update() override;
    void draw(DIB& surface) override;

    uint16_t counter = 0;
    uint8_t animationStep = 0;
};

// The blast of the TYPE-A2 and TYPE-B2 ships: a smaller dark vortex that lingers, 221 frames,
// and hits harder.
class Bomb2 : public BombBase {
  public:
    Bomb2(int32_t x, int32_t y, int32_t angle, uint8_t owner);
    void update() override;
    void draw(DIB& surface) override;

    uint16_t counter = 0;
    uint8_t animationStep = 0;
};

enum class BombKind { Bomb, Bomb2 };

// Launches a bomb of `kind` from `ship` when this frame's input holds the bomb button, no bomb is
// on the bomb layer and the stock allows: one bomb fewer, the blast at the ship's field position
// heading as the direction buttons say, and 180 frames of invincibility for every ship in play
// and for the launcher whatever its state (which is what saves a Dying ship).
void launchBomb(PlayerBase& ship, BombKind kind);

}  // namespace vg
