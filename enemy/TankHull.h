#pragma once

#include <cstdint>

#include "AtlasCells.h"

namespace vg {

class DIB;
class EnemyBase;

// The hull of the small tanks: it drives along its direction for its travel frames with its
// treads turning, then brakes to a stop (velocity x 0.8 per frame) and the treads stand still;
// all the while it rides the scrolling ground.
struct TankHull {
    // Speed factor of the braking, 0.8.
    static constexpr int32_t kBrake = 52428;

    TankHull(int32_t direction, int32_t travelFrames);

    // One frame of motion of `tank` (age = its frameCount).
    void drive(EnemyBase& tank);
    // Shadow, then hull, at the tank's screen position; `red` is the low-hit-point blink.
    void draw(const EnemyBase& tank, DIB& surface, const DIB& sheet, const atlas::Cell& hull,
              const atlas::Cell& shadow, bool red) const;

    int32_t travelFrames;
    uint8_t hullFrame;       // 0..15, 22.5 degrees each, from the direction
    uint8_t treadFrame = 0;  // 0..11, four frames per tread picture
};

}  // namespace vg
