#pragma once

#include "enemy/BossDestruction.h"
#include "enemy/EnemyBase.h"

namespace vg {

// The first semi-boss: a ground fortress that rolls in with the scrolling ground during its
// entry frames, unhurt, and then stands. On a 400-frame cycle it fires streams of aimed fans
// (the same fan at five speeds) from its left gun, its centre and its right turret, and then
// four sprays of ten fans fanning out downward. After 3600 frames it loses 200 hit points a
// frame until destroyed; it ends with the sequence every boss shares.
class SemiBoss1 : public EnemyBase {
  public:
    static constexpr int32_t kHitPoints = 40000;
    static constexpr int32_t kTimeLimit = 3600;

    SemiBoss1(int32_t x, int32_t y, int32_t direction, int32_t speed, int32_t entryFrames,
              int8_t attackLevel);

    void update() override;
    void draw(DIB& surface) override;

    int32_t entryFrames;
    uint8_t animationStep = 0;  // 0..17, three pictures
    BossDestruction destruction;

  private:
    void attack(System& system, int32_t t);
    void stream(System& system, int32_t n, int32_t spread, int32_t dx, int32_t dy);
    void spray(System& system, int32_t n, int32_t centre, int32_t speed);
};

}  // namespace vg
