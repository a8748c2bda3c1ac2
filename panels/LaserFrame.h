#pragma once

#include <cstdint>

#include "core/Task.h"

namespace vg {

// The energy gauge of each player, with the red trail of recent loss; fades while a ship flies
// over it.
class LaserFrame : public Task {
  public:
    static constexpr int32_t kWidth = 115;
    static constexpr int32_t kGaugeY = 340;
    static constexpr int32_t kGaugeX[2] = {5, 120};
    static constexpr uint32_t kWarmTint = 0x00FFFF;  // energy 32..47
    static constexpr uint32_t kFullTint = 0x00FF00;  // energy 48 and more
    static constexpr uint32_t kLossColour = 0xFF0000;

    void update() override;
    void draw(DIB& surface) override;

    // Width of the filled part for `energy` (clamped to 0..64).
    static int32_t fillWidth(int32_t energy);

    uint32_t frame = 0;
    // Per gauge (player 0, player 1).
    int32_t opacity[2] = {255, 255};
    int32_t trailWidth[2] = {0, 0};  // follows rises at once, falls a pixel every 4 frames
};

}  // namespace vg
