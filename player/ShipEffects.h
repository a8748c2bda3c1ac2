#pragma once

#include <cstdint>

#include "AtlasCells.h"
#include "core/PlayField.h"
#include "effects/Effect.h"

namespace vg {

// The short effects of the ships' weapons. Positions are 16.16 field pixels; every one goes on
// the effect layer, holds no hit box and ends itself.

// A spark of a grazed bullet: flies from the ship toward the bullet, a few degrees off, at a
// random speed, shrinking over 32 frames.
class GrazeEffect : public Effect {
  public:
    GrazeEffect(int32_t x, int32_t y, int32_t bulletX, int32_t bulletY);
    void update() override;
    void draw(DIB& surface) override;

    static constexpr int32_t kLifetime = 32;
};

// The flash of a beam switching on above its option.
class LaserEffect : public Effect {
  public:
    LaserEffect(int32_t x, int32_t y) : Effect(x, y) {}
    void update() override;
    void draw(DIB& surface) override;

    static constexpr int32_t kLifetime = 8;
};

// A muzzle flash: the three pictures of its cell, one per frame, where a shot left.
class MuzzleFlash : public Effect {
  public:
    MuzzleFlash(int32_t x, int32_t y, const atlas::Cell& cell) : Effect(x, y), cell_(cell) {}
    void update() override;
    void draw(DIB& surface) override;

  private:
    const atlas::Cell& cell_;
};

class Shot1Flash : public MuzzleFlash {
  public:
    Shot1Flash(int32_t x, int32_t y) : MuzzleFlash(x, y, atlas::ship::kShot1Flash) {}
};
class Shot2Flash : public MuzzleFlash {
  public:
    Shot2Flash(int32_t x, int32_t y) : MuzzleFlash(x, y, atlas::ship::kShot2Flash) {}
};
class BitShot2Flash : public MuzzleFlash {
  public:
    BitShot2Flash(int32_t x, int32_t y) : MuzzleFlash(x, y, atlas::ship::kBitShot2Flash) {}
};
class Shot4Flash : public MuzzleFlash {
  public:
    Shot4Flash(int32_t x, int32_t y) : MuzzleFlash(x, y, atlas::ship::kShot4Flash) {}
};
class BitShot4Flash : public MuzzleFlash {
  public:
    BitShot4Flash(int32_t x, int32_t y) : MuzzleFlash(x, y, atlas::ship::kBitShot4Flash) {}
};

// Where a shot struck: six pictures, two frames each, drifting on with a quarter of the shot's
// speed.
class ShotBurst : public Effect {
  public:
    ShotBurst(int32_t x, int32_t y, int32_t vx, int32_t vy) : Effect(x, y, vx, vy) {}
    void update() override;
    void draw(DIB& surface) override;

    static constexpr int32_t kLifetime = 12;

  protected:
    virtual const atlas::Cell& cell() const { return atlas::ship::kShotBurst; }
};

// Where a laser shot struck.
class LaserBurst : public ShotBurst {
  public:
    using ShotBurst::ShotBurst;

  protected:
    const atlas::Cell& cell() const override { return atlas::ship::kLaserBurst; }
};

// A spark where a beam or a laser shot burns into an enemy; rises a little as it fades.
class LaserParticle : public ShotBurst {
  public:
    LaserParticle(int32_t x, int32_t y) : ShotBurst(x, y, 0, -kFixedOne) {}

  protected:
    const atlas::Cell& cell() const override { return atlas::ship::kLaserParticle; }
};

// A spark thrown out of a bomb: random heading, speed and starting age, slowing down, fading.
class BombEffect : public Effect {
  public:
    BombEffect(int32_t x, int32_t y);
    void update() override;
    void draw(DIB& surface) override;

    static constexpr int32_t kLifetime = 32;

  protected:
    // `speedUnit`: 16.16 pixels per frame per step of the random speed (-63..64 steps).
    BombEffect(int32_t x, int32_t y, int32_t speedUnit);
    virtual const atlas::Cell& cell() const { return atlas::ship::kBombEffect; }
};

// The slower spark of Bomb2.
class Bomb2Effect : public BombEffect {
  public:
    Bomb2Effect(int32_t x, int32_t y);

  protected:
    const atlas::Cell& cell() const override { return atlas::ship::kBomb2Effect; }
};

}  // namespace vg
