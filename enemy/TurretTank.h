#pragma once

#include <cstdint>

#include "AtlasCells.h"
#include "enemy/EnemyBase.h"
#include "enemy/TankHull.h"

namespace vg {

// What sets one tank kind apart in the shared tank body: its full hit points, the box it may
// roam (whole pixels, as outsideBounds takes it), the base score of its destruction, how far its
// turret turns a frame, and its pictures with the turret picture's corner relative to the tank.
struct TankFigures {
    int32_t hitPoints;
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
    int32_t baseScore;
    double turretStep;  // degrees a frame
    const atlas::Cell& hull;
    const atlas::Cell& shadow;
    const atlas::Cell& turret;
    int32_t turretLeft;
    int32_t turretTop;
};

// The body the small tanks share: a TankHull that drives and brakes on the scrolling ground, a
// turret turning toward the nearest ship, full hit points held over the first 10 frames, and the
// one-frame destruction that leaves a burning wreck. A kind gives its figures and its fire.
class TurretTank : public EnemyBase {
  public:
    void update() final;
    void draw(DIB& surface) final;

    TankHull hull;
    double turretAngle;  // degrees, 0..360

  protected:
    // x, y, direction and speed as 16.16 values; the travel frames before braking; the turret's
    // first angle in degrees.
    TurretTank(int32_t x, int32_t y, int32_t direction, int32_t speed, int32_t travelFrames,
               int8_t attackLevel, int32_t fullHitPoints, double turretAngle);

  private:
    virtual const TankFigures& figures() const = 0;
    // The frame's fire, once the turret has turned.
    virtual void fire(System& system) = 0;
};

}  // namespace vg
