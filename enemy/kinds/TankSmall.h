#pragma once

#include "enemy/TurretTank.h"

namespace vg {

// A small ground tank. It rolls in along its direction for its travel frames, brakes to a stop
// and rides the scrolling ground on. Its turret turns toward the nearest ship by 5 degrees a
// frame; from attack level 1, during its first 240 frames and while the ship is more than 80
// pixels away, it fires level-many large shells every 40 frames, 8 frames apart, along the
// turret rounded to 30 degrees. It cannot be destroyed in its first 10 frames; destroyed, it
// bursts white-hot and leaves a burning wreck.
class TankSmall : public TurretTank {
  public:
    static constexpr int32_t kHitPoints = 350;

    // x, y, direction and speed as 16.16 values; the travel frames before braking.
    TankSmall(int32_t x, int32_t y, int32_t direction, int32_t speed, int32_t travelFrames,
              int8_t attackLevel);

  private:
    void fire(System& system) override;
};

}  // namespace vg
