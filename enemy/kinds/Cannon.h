#pragma once

#include "enemy/KindBase.h"

namespace vg {

// The big ground turret riding the scrolling ground. Its twin barrels turn toward the nearest
// ship by 2 degrees a frame; during its first 420 frames, every 64 frames, it fires level + 1
// volleys 8 frames apart, each barrel throwing one orb straight and one spread 25 degrees
// outward (level -1 and below: nothing). Destroyed, its turret vanishes in bursts over 25
// frames and a burning wreck stays on the ground.
class Cannon : public KindBase {
  public:
    static constexpr int32_t kHitPoints = 5000;

    Cannon(int32_t x, int32_t y, int8_t attackLevel);

    double turretAngle = 90;  // degrees, 0..360: pointing down the screen at first

  private:
    void move(System& system) override;
    void act(System& system) override;
    void fire(System& system);
    void destructionStep(System& system) override;
    void drawSprite(DIB& surface, const System& system, bool red) override;
    int32_t spriteFrame() const override;
};

}  // namespace vg
