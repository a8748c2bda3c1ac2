#pragma once

#include <cstdint>

#include "AtlasCells.h"
#include "player/ShotBase.h"

namespace vg {

// The ships' shots: a picture of the ship sheet chosen by shot type, a damage by class and
// type, and a burst where they strike. Positions are 16.16 field pixels, angles 16.16 degrees.
class PlayerShot : public ShotBase {
  public:
    void draw(DIB& surface) override;
    // The burst (and, for laser shots, a laser particle) where it struck; then it ends.
    void hit() override;

  protected:
    PlayerShot(int32_t x, int32_t y, int32_t speed, int32_t angle, uint8_t owner, uint8_t shotType,
               bool laser, const atlas::Cell& cell, int32_t damage);

  private:
    const atlas::Cell& cell_;
};

// Normal shots; types 0..2 (Shot1, Shot3) or 0..6 (Shot2, Shot4: 3..6 the angled ones).
class Shot1 : public PlayerShot {
  public:
    Shot1(int32_t x, int32_t y, int32_t speed, int32_t angle, uint8_t owner, uint8_t shotType);
};
class Shot2 : public PlayerShot {
  public:
    Shot2(int32_t x, int32_t y, int32_t speed, int32_t angle, uint8_t owner, uint8_t shotType);
};
class Shot3 : public PlayerShot {
  public:
    Shot3(int32_t x, int32_t y, int32_t speed, int32_t angle, uint8_t owner, uint8_t shotType);
};
class Shot4 : public PlayerShot {
  public:
    Shot4(int32_t x, int32_t y, int32_t speed, int32_t angle, uint8_t owner, uint8_t shotType);
};

// Laser shots: the strike tells the owner (its chain hold, TYPE-B's lock).
class LaserShot1 : public PlayerShot {
  public:
    LaserShot1(int32_t x, int32_t y, int32_t speed, int32_t angle, uint8_t owner);
};
class LaserShot2 : public PlayerShot {
  public:
    LaserShot2(int32_t x, int32_t y, int32_t speed, int32_t angle, uint8_t owner, uint8_t shotType);
};
class LaserShot3 : public PlayerShot {
  public:
    LaserShot3(int32_t x, int32_t y, int32_t speed, int32_t angle, uint8_t owner);
};

// A homing needle: each frame it turns by at most 2 degrees toward the nearest enemy and
// speeds up by 0.25 per frame up to 16; with no enemy it flies straight on.
class LaserShot4 : public PlayerShot {
  public:
    LaserShot4(int32_t x, int32_t y, int32_t speed, int32_t angle, uint8_t owner, uint8_t shotType);
    void update() override;

    double heading;  // degrees
    int32_t speed;   // 16.16 pixels per frame
};

}  // namespace vg
