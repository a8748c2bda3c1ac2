#pragma once

#include <cstdint>

#include "core/Task.h"

namespace vg {

class TaskManager;

// The scrolling map: a field-sized window that slides up the stage's tall background picture.
// Everything on the ground moves down the screen by the scroll speed each frame (the map speed).
class Back : public Task {
  public:
    // Variant 0 draws with Alpha, 1 with ColorKey + Alpha (over BackOver).
    explicit Back(uint8_t variant);

    void update() override;
    void draw(DIB& surface) override;

    // The first Back among layers 0 and 1, or null.
    static Back* find(const TaskManager& manager);

    // 16.16 values.
    int32_t mapPosition = 3000 * 65536;  // source row of the picture at the top of the field
    int32_t scrollSpeed = 65536;         // pixels per frame the map position falls
    int32_t loopBackPoint = 0;           // the map position is reset to this ...
    int32_t loopPoint = 0;               // ... when it falls below this
    int32_t alpha = 255;
    uint8_t variant;
};

// The scroll speed of the stage's Back (16.16), or 0 when there is none: what ground objects,
// scenery and ground effects add to their y each frame.
int32_t mapSpeed(const TaskManager& manager);

}  // namespace vg
