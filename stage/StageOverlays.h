#pragma once

#include <cstdint>

#include "core/Task.h"

namespace vg {

// Stage-wide pictures over and under the map.

// A picture drifting beneath the fourth stage's translucent map (layer 1, in front of the Back
// so that it is drawn first): two 120 x 156 cells of the stage image stretched over the field,
// the second mirrored, wandering sideways and against the scroll.
class BackOver : public Task {
  public:
    void update() override;
    void draw(DIB& surface) override;

    int32_t x = 312 * 65536;  // 16.16
    int32_t y = 0;            // 16.16
};

// The second stage's slow sunset: an orange wash that deepens over five minutes (layer 12).
class ScreenEffectStage2 : public Task {
  public:
    static constexpr int32_t kFullCount = 18000;
    void update() override;
    void draw(DIB& surface) override;

    int32_t counter = 0;
};

// The third stage's gloom: the field darkened throughout (layer 12).
class ScreenEffectStage3 : public Task {
  public:
    void draw(DIB& surface) override;
};

}  // namespace vg
