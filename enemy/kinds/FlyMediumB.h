#pragma once

#include "enemy/KindBase.h"

namespace vg {

// The twin-propeller gunship that breaks when badly damaged. It drifts down slowly, speeding
// off downward after 720 frames, its turret following the nearest ship. Whole, it latches the
// ship's position every 90 frames and fires level + 3 fans of 2 level + 1 orbs at it, 5 frames
// apart. The first time its hit points fall to 800 or below (but not to 0) it breaks: the
// player who struck it gains a kill in the chain (and, for a laser hit, the bullet change), four
// puffs flash, and from then on it turns slowly spinning rings of 18 orbs every 16 frames.
// Destroyed, it bursts over 8 frames where it stands.
class FlyMediumB : public KindBase {
  public:
    static constexpr int32_t kHitPoints = 4000;
    static constexpr int32_t kBreakingPoint = 800;

    FlyMediumB(int32_t x, int32_t y, int8_t attackLevel);

    double aim = 0;  // degrees, 0..360: where the turret points
    uint8_t broken = 0;
    int32_t breakCounter = 0;  // frames since breaking

  private:
    void move(System& system) override;
    void beforeHits(System& system) override;
    void act(System& system) override;
    void drawSprite(DIB& surface, const System& system, bool red) override;
    // The propellers turn through two pictures (the shadow's too).
    int32_t spriteFrame() const override { return frameCount / 2 % 2; }
    void breakUp(System& system);
    void fire(System& system);
    int32_t turretFrame() const;
};

}  // namespace vg
