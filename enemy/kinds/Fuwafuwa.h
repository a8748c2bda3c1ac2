#pragma once

#include "enemy/KindBase.h"

namespace vg {

// The floater: it sinks in along its direction, slows, stops and drifts back up until it climbs
// at 2 pixels a frame, a booster flame above it. During its first 240 frames it latches the
// nearest ship's position every 80 frames and throws full rings of 4 level + 4 large shells
// centred on it, level + 5 rings 3 frames apart, then the same rings turned half a spacing 30
// frames later (level -1 and below: nothing). Destroyed, it bursts over 8 frames where it
// stands and ends with the closing blast and a shock ring.
class Fuwafuwa : public KindBase {
  public:
    static constexpr int32_t kHitPoints = 6000;

    Fuwafuwa(int32_t x, int32_t y, int32_t direction, int32_t speed, int8_t attackLevel);

  private:
    void move(System& system) override;
    void act(System& system) override;
    void fire(System& system);
    // The lamp pulses through four pictures; the shadow keeps the first.
    int32_t spriteFrame() const override { return frameCount / 4 % 4; }
    int32_t shadowFrame() const override { return 0; }
};

}  // namespace vg
