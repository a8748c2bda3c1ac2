#pragma once

#include <cstdint>

#include "core/PlayField.h"
#include "core/Task.h"

namespace vg {

// A bomb: a large slow blast on the bomb layer that damages every enemy it overlaps each frame
// and turns the enemy bullets it overlaps into energy. At most one exists at a time.
class BombBase : public Task {
  public:
    // `angle` in 16.16 degrees; position in field coordinates.
    BombBase(int32_t x, int32_t y, int32_t speed, int32_t angle, uint8_t owner, HitBox box);

    int32_t x;
    int32_t y;
    int32_t vx;
    int32_t vy;
    HitBox hitBox;
    uint8_t owner;
    // What an overlapping enemy loses each frame.
    int32_t damage = 80;
};

}  // namespace vg
