#pragma once

#include <cstdint>

#include "core/MapScroll.h"

namespace vg {

class TaskManager;

// The scrolling map's picture: the field-sized window of the stage's tall background picture
// that the map scroll (core/MapScroll.h) slides up. Everything on the ground moves down the
// screen by the scroll speed each frame (the map speed).
class Back : public MapScroll {
  public:
    // Variant 0 draws with Alpha, 1 with ColorKey + Alpha (over BackOver).
    explicit Back(uint8_t variant);

    void update() override;
    void draw(DIB& surface) override;

    // The first Back among layers 0 and 1, or null.
    static Back* find(const TaskManager& manager);

    int32_t alpha = 255;
    uint8_t variant;
};

}  // namespace vg
