#pragma once

#include "enemy/EnemyCommon.h"
#include "enemy/KindBase.h"

namespace vg {

// How a FlySmall flies; the keyword chooses the mode.
struct FlySmallCourse {
    enum Mode : uint8_t {
        kStraight = 0,   // along its course
        kBrake = 1,      // brakes by `factor` for `frames`, then speeds up again
        kCurve = 2,      // turns by `turn` and changes speed by `acceleration` for `frames`
        kShip = 3,       // starts straight down, homes on the ship for 120 frames
        kShipBrake = 4,  // aims at the ship on its first frame, then brakes as kBrake
    };
    uint8_t mode = kStraight;
    int32_t direction = 0;  // 16.16 degrees (straight down for the ship modes)
    int32_t speed = 0;      // 16.16 pixels per frame
    int32_t factor = kFixedOne;
    int32_t frames = 0;
    int32_t turn = 0;          // 16.16 degrees per frame
    int32_t acceleration = 0;  // 16.16 pixels per frame per frame
};

// The small dart fighter of five flight patterns. From attack level 1, during its first 120
// frames, it fires level-many large shells every 64 frames, 10 frames apart, each aimed at the
// nearest ship. It cannot be destroyed in its first 10 frames; destroyed, it bursts like a
// TankSmall and leaves no wreck.
class FlySmall : public KindBase {
  public:
    static constexpr int32_t kHitPoints = 150;

    FlySmall(int32_t x, int32_t y, const FlySmallCourse& course, int8_t attackLevel);

    uint8_t mode;
    int32_t course;  // 16.16 degrees
    int32_t speed;
    BrakeMotion brake;
    int32_t turn;
    int32_t acceleration;
    int32_t curveFrames;
    int32_t directionFrame;

  private:
    void move(System& system) override;
    void act(System& system) override;
    int32_t spriteFrame() const override { return directionFrame; }
    void steer();
    void setCourse(int32_t direction);
};

}  // namespace vg
