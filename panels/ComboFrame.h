#pragma once

#include <cstdint>

#include "core/Task.h"

namespace vg {

// The chain display: for each player a timer bar and the chain count, player 0's on the left
// of the field and player 1's on the right, moving down while a boss gauge is shown and fading
// while a ship flies over it.
class ComboFrame : public Task {
  public:
    static constexpr int32_t kBarWidth = 88;
    static constexpr int32_t kTopY = 37;
    static constexpr int32_t kBelowGaugeY = 53;
    static constexpr int32_t kLeftX = 4;
    static constexpr int32_t kRightX = 240 - 4 - kBarWidth;
    static constexpr int32_t kFadedOpacity = 64;
    static constexpr int32_t kOpacityStep = 15;

    void update() override;
    void draw(DIB& surface) override;

    // Per panel (0 left, 1 right).
    int32_t panelY[2] = {kTopY << 16, kTopY << 16};  // 16.16
    int32_t opacity[2] = {255, 255};
};

}  // namespace vg
