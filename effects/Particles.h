#pragma once

#include "effects/Effect.h"

namespace vg {

// An engine flame blown out behind a craft: `speed` (16.16) along `direction` (16.16 degrees),
// jittered by a few degrees.
class BoosterEffect : public Effect {
  public:
    BoosterEffect(int32_t x, int32_t y, int32_t speed, int32_t direction);
    void update() override;
    void draw(DIB& surface) override;
};

// A spark of energy taken.
class GetEnergyEffect : public Effect {
  public:
    GetEnergyEffect(int32_t x, int32_t y);
    void update() override;
    void draw(DIB& surface) override;
};

// A particle of a crystal taken.
class GetCrystalParticle : public Effect {
  public:
    GetCrystalParticle(int32_t x, int32_t y, int32_t kind);
    void update() override;
    void draw(DIB& surface) override;

    int32_t kind;
};

// The flash of a bullet turning into a crystal: waits delay / 4 frames, then shrinks away.
class ChangeBulletEffect : public Effect {
  public:
    ChangeBulletEffect(int32_t delay, int32_t x, int32_t y, int32_t vx, int32_t vy);
    void update() override;
    void draw(DIB& surface) override;

    int32_t wait;
};

// The burst of a power-up taken.
class ItemEffect : public Effect {
  public:
    ItemEffect(int32_t x, int32_t y);
    void update() override;
    void draw(DIB& surface) override;
};

}  // namespace vg
