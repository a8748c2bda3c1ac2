#pragma once

#include "enemy/BossKit.h"

namespace vg {

// The first semi-boss: a ground fortress that rolls in with the scrolling ground during its
// entry frames, unhurt, and then stands. On a 400-frame cycle it fires streams of aimed fans
// (the same fan at five speeds) from its left gun, its centre and its right turret, and then
// four sprays of ten fans fanning out downward. After 3600 frames it loses 200 hit points a
// frame until destroyed; it ends with the sequence every boss shares.
class SemiBoss1 : public BossBody {
  public:
    static constexpr int32_t kHitPoints = 40000;
    static constexpr int32_t kTimeLimit = 3600;

    SemiBoss1(int32_t x, int32_t y, int32_t direction, int32_t speed, int32_t entryFrames,
              int8_t attackLevel);

    // Its own order: the hit pass comes first, and the entry frames do nothing but enter.
    void update() override;

    int32_t entryFrames;
    uint8_t animationStep = 0;  // 0..17, three pictures

    // The phases of its cycle (the phase table names them).
    void leftStream(System& system, int32_t t);
    void centreStream(System& system, int32_t t);
    void rightStream(System& system, int32_t t);
    void spray(System& system, int32_t t);

  private:
    // An entry frame: it rides the ground in, unhurt and unflashing.
    void move(System& system) override;
    void attack(System& system) override;
    void drawSprite(DIB& surface, const System& system, bool red) override;
    int32_t spriteFrame() const override { return animationStep / 6; }
    void stream(System& system, int32_t n, int32_t spread, int32_t dx, int32_t dy);
};

}  // namespace vg
