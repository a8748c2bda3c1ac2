#pragma once

#include "enemy/KindBase.h"

namespace vg {

// The item carrier: a helicopter drifting down at 0.6 pixels a frame. During its first 600
// frames, from age 48 and every 128 frames, it fires two pairs of glinting orbs 35 degrees apart
// at the nearest ship and, 20 frames later, a fan of three and one of two (it has no attack
// level: every script gets the same pattern). Destroyed, it bursts over 10 frames where it
// hovers and leaves its item, a power-up (variant 1) or a bomb (variant 2), moving diagonally
// away.
class Heli : public KindBase {
  public:
    static constexpr int32_t kHitPoints = 3000;

    // `variant` 1 carries a power-up, 2 a bomb.
    Heli(int32_t x, int32_t y, uint8_t variant);

    uint8_t variant;

  private:
    void move(System& system) override;
    void act(System& system) override;
    // The item leaves the frame the carrier is destroyed.
    void destroyed(System& system) override;
    void fire(System& system);
    int32_t spriteFrame() const override { return frameCount % 4; }
    int32_t shadowFrame() const override { return 0; }
};

}  // namespace vg
