#pragma once

#include "effects/Effect.h"

namespace vg {

// An engine flame blown out behind a craft: `speed` (16.16) along `direction` (16.16 degrees).
// Each frame the direction wanders by a random -4..+4 degrees.
class BoosterEffect : public Effect {
  public:
    static constexpr int32_t kLifetime = 10;

    BoosterEffect(int32_t x, int32_t y, int32_t speed, int32_t direction);
    void update() override;
    void draw(DIB& surface) override;

    int32_t speed;
    int32_t direction;
};

// A spark of energy taken: a random heading and speed, slowing and shrinking.
class GetEnergyEffect : public Effect {
  public:
    static constexpr int32_t kLifetime = 32;
    static constexpr int32_t kDrag = 64225;

    GetEnergyEffect(int32_t x, int32_t y);
    void update() override;
    void draw(DIB& surface) override;

    // Side of the shrinking spark at `age`: 8 down to 0.
    static int32_t sparkSize(int32_t age) { return (kLifetime - age) * 8 / kLifetime; }
};

// A particle of a crystal taken; moves as a GetEnergyEffect.
class GetCrystalParticle : public Effect {
  public:
    static constexpr int32_t kLifetime = GetEnergyEffect::kLifetime;

    GetCrystalParticle(int32_t x, int32_t y, int32_t kind);
    void update() override;
    void draw(DIB& surface) override;

    int32_t kind;
};

// The flash of a bullet turning into a crystal: waits delay / 4 frames unseen (a negative
// delay waits none), then shrinks away over 32 frames.
class ChangeBulletEffect : public Effect {
  public:
    static constexpr int32_t kLifetime = 32;

    ChangeBulletEffect(int32_t delay, int32_t x, int32_t y, int32_t vx, int32_t vy);
    void update() override;
    void draw(DIB& surface) override;

    int32_t wait;
};

// The burst of a power-up taken.
class ItemEffect : public Effect {
  public:
    static constexpr int32_t kLifetime = 14;

    ItemEffect(int32_t x, int32_t y);
    void update() override;
    void draw(DIB& surface) override;
};

}  // namespace vg
