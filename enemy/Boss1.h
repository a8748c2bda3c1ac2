#pragma once

#include "enemy/BossDestruction.h"
#include "enemy/EnemyBase.h"

namespace vg {

// The first boss: a heavy gunship with two wings, each a part of its own (Boss1Wing). It
// enters fast from the top and brakes for 120 frames while it cannot be hurt, then sways
// sideways and fires a 1200-frame cycle from its centre port and the gun ports under its wings:
// aimed fans, twin spirals, a burst of speeding fans, walls of needles, star fans with aimed
// triples, and rings from the wing tips. A destroyed wing silences its side; with both gone the
// boss sways faster and throws rings of orbs from the wing roots with an aimed needle stream.
// After 7200 frames it loses 200 hit points a frame until it is destroyed by the usual
// sequence, sinking as it bursts.
class Boss1 : public EnemyBase {
  public:
    static constexpr int32_t kHitPoints = 80000;
    static constexpr int32_t kEntryFrames = 120;
    static constexpr int32_t kTimeLimit = 7200;

    Boss1(int32_t x, int32_t y, int8_t attackLevel);

    void update() override;
    void draw(DIB& surface) override;
    void drawShadow(DIB& surface) override;

    // Set by the wing of that side (0 left, 1 right) when it is destroyed.
    uint8_t wingDestroyed[2] = {0, 0};
    uint8_t tuneStarted = 0;
    BossDestruction destruction;

  private:
    void steer();
    void attack(System& system);
    void cycleAttack(System& system, int32_t t);
    void ringAttack(System& system);
    bool bothWingsDestroyed() const { return wingDestroyed[0] && wingDestroyed[1]; }
};

// A wing of Boss1, bound to it by serial (found each frame, never held). It sits at the body's
// side, cannot be hurt for 120 frames and takes hits while the body lives. Destroyed, it tells
// the body, bursts briefly and stays on as wreckage that passes every hit on to the body. It
// dies with the body and gives no reward of its own.
class Boss1Wing : public EnemyBase {
  public:
    static constexpr int32_t kHitPoints = 20000;

    // (x, y): the body's position; `side` 0 left, 1 right.
    Boss1Wing(int32_t x, int32_t y, int32_t bodySerial, uint8_t side);

    void update() override;
    void draw(DIB& surface) override;

    int32_t bodySerial;
    uint8_t side;
    uint8_t wrecked = 0;
    int32_t wreckCounter = 0;

  private:
    void followBody(const EnemyBase& body);
    void wreckStep(System& system);
};

}  // namespace vg
