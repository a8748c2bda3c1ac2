#pragma once

#include "enemy/BossKit.h"

namespace vg {

class KindSpawn;

// The first boss: a heavy gunship with two wings, each a part of its own (Boss1Wing). It
// enters fast from the top and brakes for 120 frames while it cannot be hurt, then sways
// sideways and fires a 1200-frame cycle from its centre port and the gun ports under its wings:
// aimed fans, twin spirals, a burst of speeding fans, walls of needles, star fans with aimed
// triples, and rings from the wing roots. A destroyed wing silences its side; with both gone the
// boss sways faster and throws rings of orbs from the wing roots with an aimed needle stream.
// After 7200 frames it loses 200 hit points a frame until it is destroyed by the usual
// sequence, sinking as it bursts.
class Boss1 : public BossBody {
  public:
    static constexpr int32_t kHitPoints = 80000;
    static constexpr int32_t kEntryFrames = 120;
    static constexpr int32_t kTimeLimit = 7200;

    Boss1(int32_t x, int32_t y, int8_t attackLevel);

    // Its two wings, side 0 then side 1, at the back of its layer.
    void addParts(KindSpawn& spawn);
    void drawShadow(DIB& surface) override;

    uint8_t tuneStarted = 0;

    // A gun port: its offset from the boss and the wing that must be intact for it to fire (-1:
    // none, the centre port).
    struct Port {
        int16_t dx;
        int16_t dy;
        int8_t wing;
    };

    // The phases of its cycle (the phase table names them).
    void aimedFans(System& system, int32_t t);
    void spirals(System& system, int32_t t);
    void speedingFans(System& system, int32_t t);
    void needleWalls(System& system, int32_t t);
    void starFans(System& system, int32_t t);
    void leftRings(System& system, int32_t t);
    void rightRings(System& system, int32_t t);
    void centreRings(System& system, int32_t t);

  private:
    void move(System& system) override;
    void attack(System& system) override;
    void steer();
    void ringAttack(System& system);
    bool bothWingsDestroyed() const { return isPartLost(0) && isPartLost(1); }
    bool open(const Port& port) const;
    int32_t portX(const Port& port) const;
    int32_t portY(const Port& port) const;
    int32_t ringBullets() const;
};

// A wing of Boss1, bound to it (side 0 left, 1 right). It takes hits while the body lives and
// cannot be hurt over the body's entry. Destroyed, it tells the body, bursts briefly and stays
// on as wreckage that passes every hit on to the body. It dies with the body and gives no
// reward of its own.
class Boss1Wing : public BoundPart {
  public:
    static constexpr int32_t kHitPoints = 20000;

    // (x, y): the body's position.
    Boss1Wing(int32_t x, int32_t y, int32_t bodySerial, uint8_t side);

    void draw(DIB& surface) override;

    uint8_t side;
    int32_t wreckCounter = 0;

  private:
    void onLost(System& system) override;
    void whileLost(System& system) override;
};

}  // namespace vg
