#pragma once

#include <cstdint>

#include "core/Task.h"

namespace vg {

class TaskManager;

// The scrolling of the map: a field-sized window sliding up the stage's tall picture. The
// stage's Back task is one and draws the picture; what rides the ground (ground kinds, scenery,
// ground effects, pickups) only asks how far the ground moves this frame, through mapSpeed, and
// so needs nothing of the stage.
class MapScroll : public Task {
  public:
    // One frame: the map position falls by the scroll speed (held far beyond any picture) and
    // jumps back to the loop-back point once below the loop point.
    void scroll();

    // The first MapScroll among layers 0 and 1, or null.
    static MapScroll* find(const TaskManager& manager);

    // 16.16 values.
    int32_t mapPosition = 3000 * 65536;  // source row of the picture at the top of the field
    int32_t scrollSpeed = 65536;         // pixels per frame the map position falls
    int32_t loopBackPoint = 0;           // the map position is reset to this ...
    int32_t loopPoint = 0;               // ... when it falls below this
};

// The scroll speed of the stage's map (16.16), or 0 when there is none: what ground objects,
// scenery and ground effects add to their y each frame.
int32_t mapSpeed(const TaskManager& manager);

}  // namespace vg
