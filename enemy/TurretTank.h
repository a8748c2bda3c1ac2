#pragma once

#include <cstdint>

#include "AtlasCells.h"
#include "enemy/KindBase.h"
#include "enemy/TankHull.h"

namespace vg {

// The pictures of one tank kind and how far its turret turns a frame.
struct TankLook {
    double turretStep;  // degrees a frame
    const atlas::Cell& hull;
    const atlas::Cell& shadow;
    const atlas::Cell& turret;
};

// The body the small tanks share: a TankHull that drives and brakes on the scrolling ground and a
// turret turning toward the nearest ship. A kind gives its figures, its look and its fire.
class TurretTank : public KindBase {
  public:
    TankHull hull;
    double turretAngle;  // degrees, 0..360

  protected:
    // x, y, direction and speed as 16.16 values; the travel frames before braking; the turret's
    // first angle in degrees.
    TurretTank(int32_t x, int32_t y, int32_t direction, int32_t speed, int32_t travelFrames,
               int8_t attackLevel, const KindFigures& figures, const TankLook& look,
               double turretAngle);

  private:
    void move(System& system) final;
    void act(System& system) final;
    void drawSprite(DIB& surface, const System& system, bool red) final;
    // The frame's fire, once the turret has turned.
    virtual void fire(System& system) = 0;

    const TankLook& look_;
};

}  // namespace vg
