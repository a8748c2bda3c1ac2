#pragma once

#include "enemy/KindBase.h"

namespace vg {

// The medium gunship. It sinks slowly down the screen with a booster flame behind it and leaves
// downward at 1 pixel a frame after 660 frames; its turret follows the nearest ship. During its
// first 600 frames it latches the ship's position every 80 frames and fires fans at it, wider and
// faster with the attack level, with a pair of needles from its wing guns from level 2 (level
// 0 fires nothing; levels above 3 and below 0 fire the fiercest pattern). Held at full hit
// points for 30 frames. Destroyed, it sinks and bursts over 16 frames like a small boss.
class FlyMediumA : public KindBase {
  public:
    static constexpr int32_t kHitPoints = 8000;

    FlyMediumA(int32_t x, int32_t y, int8_t attackLevel);

    double aim = 0;  // degrees, 0..360: where the turret points

  private:
    void move(System& system) override;
    void beforeHits(System& system) override;
    void act(System& system) override;
    void destructionStep(System& system) override;
    int32_t spriteFrame() const override;
};

}  // namespace vg
