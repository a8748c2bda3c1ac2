#pragma once

#include "enemy/KindBase.h"

namespace vg {

// The glider: a broad wing that enters along its direction, its sideways drift dying away,
// two booster flames behind it. During its first 240 frames it latches the nearest ship's
// position every 80 frames and fires level + 3 volleys, 5 frames apart, of large-shell fans
// at it from its two outer gun ports, and from attack level 1 also from the two inner ones
// (level -1: a single shell per port; level -2 and below: nothing). It cannot be destroyed in
// its first 40 frames. Destroyed, it bursts over 8 frames where it stands and ends with the
// closing blast and a shock ring.
class Kite : public KindBase {
  public:
    static constexpr int32_t kHitPoints = 5000;

    Kite(int32_t x, int32_t y, int32_t direction, int32_t speed, int8_t attackLevel);

  private:
    void move(System& system) override;
    void act(System& system) override;
    void fire(System& system);
};

}  // namespace vg
