#pragma once

#include "enemy/KindBase.h"

namespace vg {

// The tiny propeller plane: flies straight, or the curving form turns by a fixed amount each
// frame for its first frames. During its first 120 frames it latches the nearest ship's
// position every 40 frames and, from attack level 1, fires level-many large shells at it,
// 8 frames apart. It dies in the frame its hit points run out.
class TinyPlane : public KindBase {
  public:
    static constexpr int32_t kHitPoints = 180;

    // The curving plane turns by `turn` on every frame while its age is at most `turnFrames`
    // (turnFrames + 1 frames, from age 0). The straight plane leaves both out: turnFrames -1
    // never turns.
    TinyPlane(int32_t x, int32_t y, int32_t direction, int32_t speed, int8_t attackLevel,
              int32_t turn = 0, int32_t turnFrames = -1);

    int32_t direction;  // 16.16 degrees, 0..360
    int32_t speed;
    int32_t turn;  // 16.16 degrees per frame
    int32_t turnFrames;
    int32_t directionFrame;

  private:
    void move(System& system) override;
    void act(System& system) override;
    int32_t spriteFrame() const override { return directionFrame; }
};

}  // namespace vg
