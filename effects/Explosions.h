#pragma once

#include "effects/Effect.h"

namespace vg {

namespace atlas {
struct Cell;
}

// A fire puff (kinds 0, 1, 3, 6, 8: the row of the explosion sheet) or smoke (kind 2). A kind
// without a strip in the sheet lives as kind 1 does and draws nothing.
class Explosion : public Effect {
  public:
    static constexpr int32_t kSmoke = 2;
    static constexpr int32_t kFireLifetime = 30;
    static constexpr int32_t kSmokeLifetime = 60;
    static constexpr int32_t kFireDrag = 62259;
    static constexpr int32_t kSmokeDrag = 60948;

    Explosion(int32_t x, int32_t y, int32_t vx, int32_t vy, int32_t kind);
    void update() override;
    void draw(DIB& surface) override;

    int32_t lifetime() const { return kind == kSmoke ? kSmokeLifetime : kFireLifetime; }
    // The strip of `kind` in the explosion sheet, or null when the sheet has none.
    static const atlas::Cell* strip(int32_t kind);
    // The smoke's alpha: 256 - 256 * age / 60 in a byte, so it starts invisible at age 0.
    static uint32_t smokeAlpha(int32_t age);

    int32_t kind;
};

// An enemy explosion of random shape: a fan of ten puffs or a curling chain of twelve. Draws
// nothing itself; its puffs go on its own layer.
class VozerorExplosion : public Effect {
  public:
    static constexpr int32_t kBurstCount = 10;
    static constexpr int32_t kTrailCount = 12;
    static constexpr int32_t kTrailSpeed = 16 * 65536;

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
    static constexpr int32_t kLifetime = 79;
    static constexpr int32_t kGravity = 6553;
    static constexpr int32_t kFallSpeed = 5 * 65536;
    static constexpr uint8_t kFrames = 40;  // 10 pictures, 4 draws each

    BrokenPiece(int32_t x, int32_t y);
    void update() override;
    void draw(DIB& surface) override;

    uint8_t large = 0;
    uint8_t frame = 0;
};

// A spark with a fading trail of its last six positions.
class FireSpark : public Effect {
  public:
    static constexpr int32_t kLifetime = 48;
    static constexpr int32_t kDrag = 58982;
    static constexpr int32_t kGravity = 6553;

    FireSpark(int32_t x, int32_t y);
    void update() override;
    void draw(DIB& surface) override;

    static constexpr int kTrail = 6;
    int32_t trailX[kTrail];
    int32_t trailY[kTrail];
    int32_t trailSize[kTrail];
};

// The burning wreck of a ground enemy; rides the scrolling ground until it leaves the field.
class Burn : public Effect {
  public:
    static constexpr int32_t kBelowField = 416 * 65536;
    static constexpr int32_t kAboveField = -32 * 65536;
    static constexpr uint8_t kFrames = 18;  // 3 pictures, 6 draws each

    Burn(int32_t x, int32_t y);
    void update() override;
    void draw(DIB& surface) override;

    uint8_t frame = 0;
};

// The player's ship blowing up.
class ShipExplosion : public Effect {
  public:
    static constexpr int32_t kLifetime = 45;

    ShipExplosion(int32_t x, int32_t y);
    void update() override;
    void draw(DIB& surface) override;
};

// The flash of light of a ship blowing up: variant 0 as drawn, 1..3 mirrored (see draw); others
// draw nothing.
class ShipExplosionLight : public Effect {
  public:
    static constexpr int32_t kLifetime = 7;

    ShipExplosionLight(int32_t x, int32_t y, int32_t variant);
    void update() override;
    void draw(DIB& surface) override;

    int32_t variant;
};

}  // namespace vg
