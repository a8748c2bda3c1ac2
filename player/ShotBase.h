#pragma once

#include <cstdint>

#include "core/PlayField.h"
#include "core/Task.h"

namespace vg {

// A player's shot: flies straight from where it was fired until it leaves the field or strikes
// an enemy. Shots live on their owner's shot layer (layer::shotLayer).
class ShotBase : public Task {
  public:
    // `angle` in 16.16 degrees (270 straight up); position in field coordinates.
    ShotBase(int32_t x, int32_t y, int32_t speed, int32_t angle, uint8_t owner, uint8_t shotType,
             bool laser);

    // Moves; ends once x leaves -40..312 or y leaves -40..408 (both inclusive).
    void update() override;
    // The enemy hit pass calls this when the shot strikes: the class's burst, then the shot ends.
    virtual void hit();

    int32_t x;
    int32_t y;
    int32_t vx;
    int32_t vy;
    HitBox hitBox{-10, -12, 10, 12};
    int32_t damage = 80;
    uint8_t owner;
    uint8_t laser;
    uint8_t shotType;
};

}  // namespace vg
