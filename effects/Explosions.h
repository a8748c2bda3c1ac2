#pragma once

#include "effects/Effect.h"

namespace vg {

// A fire puff (kinds 0, 1, 6, 8 ...: the row of the explosion sheet) or smoke (kind 2).
class Explosion : public Effect {
  public:
    Explosion(int32_t x, int32_t y, int32_t vx, int32_t vy, int32_t kind);
    void update() override;
    void draw(DIB& surface) override;

    int32_t kind;
};

// An enemy explosion of random shape: a fan of ten puffs or a curling chain of twelve. Draws
// nothing itself; its puffs go on its own layer.
class VozerorExplosion : public Effect {
  public:
    VozerorExplosion(int32_t x, int32_t y);
    void update() override;

    int32_t direction;  // 16.16 degrees
    int32_t turn;       // 16.16 degrees per step
    int32_t speedStep = 0;
    bool burst = false;
};

// A tumbling piece of debris thrown up and falling.
class BrokenPiece : public Effect {
  public:
    BrokenPiece(int32_t x, int32_t y);
    void update() override;
    void draw(DIB& surface) override;

    uint8_t large = 0;
    uint8_t frame = 0;
};

// A spark with a fading trail of its last six positions.
class FireSpark : public Effect {
  public:
    FireSpark(int32_t x, int32_t y);
    void update() override;
    void draw(DIB& surface) override;

    static constexpr int kTrail = 6;
    int32_t trailX[kTrail];
    int32_t trailY[kTrail];
    int32_t trailSize[kTrail];
};

// The burning wreck of a ground enemy; rides the scrolling ground.
class Burn : public Effect {
  public:
    Burn(int32_t x, int32_t y);
    void update() override;
    void draw(DIB& surface) override;

    uint8_t frame = 0;
};

// The player's ship blowing up.
class ShipExplosion : public Effect {
  public:
    ShipExplosion(int32_t x, int32_t y);
    void update() override;
    void draw(DIB& surface) override;
};

// The flash of light of a ship blowing up; variants 1..3 mirror it.
class ShipExplosionLight : public Effect {
  public:
    ShipExplosionLight(int32_t x, int32_t y, int32_t variant);
    void update() override;
    void draw(DIB& surface) override;

    int32_t variant;
};

}  // namespace vg
