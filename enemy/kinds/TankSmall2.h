#pragma once

#include "enemy/TurretTank.h"

namespace vg {

// The heavier twin-gun tank. It moves and brakes like TankSmall; its turret starts along its
// direction and turns toward the nearest ship by 3 degrees a frame. From attack level 1, during
// its first 300 frames and while the ship is more than 80 pixels away, it fires level-many
// pairs of spinning squares every 90 frames, 8 frames apart, one from each barrel tip along the
// turret. Held at full hit points for 10 frames; destroyed like TankSmall.
class TankSmall2 : public TurretTank {
  public:
    static constexpr int32_t kHitPoints = 400;

    TankSmall2(int32_t x, int32_t y, int32_t direction, int32_t speed, int32_t travelFrames,
               int8_t attackLevel);

  private:
    void fire(System& system) override;
};

}  // namespace vg
