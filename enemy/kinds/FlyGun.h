#pragma once

#include "enemy/EnemyCommon.h"
#include "enemy/KindBase.h"

namespace vg {

// The gun carrier: a flat wing round a big turret that follows the nearest ship. It flies along
// its direction (the braking form brakes and speeds up again as a braking FlySmall does) and,
// at ages 40 and 120 only, from attack level 0, drops two columns of orbs straight down from
// its wing guns, one pair at each speed 1, 2, ... level + 1. It dies in the frame its hit
// points run out.
class FlyGun : public KindBase {
  public:
    static constexpr int32_t kHitPoints = 2200;

    FlyGun(int32_t x, int32_t y, int32_t direction, int32_t speed, int8_t attackLevel);
    // The braking form.
    FlyGun(int32_t x, int32_t y, int32_t direction, int32_t speed, int32_t factor, int32_t frames,
           int8_t attackLevel);

    bool braking = false;
    BrakeMotion brake;
    // Where the turret points (degrees); only drawn, the guns fire straight down.
    double turretAngle = 90;

  private:
    void move(System& system) override;
    void act(System& system) override;
    void fire(System& system);
    int32_t spriteFrame() const override;
};

}  // namespace vg
