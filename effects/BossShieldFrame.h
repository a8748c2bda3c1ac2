#pragma once

#include <cstdint>

#include "core/Task.h"

namespace vg {

class TaskManager;

// The boss hit-point gauge at the top of the field: opens, fills, shows the value the boss
// passes each frame, and closes when the boss dies. Every boss and semi-boss keeps one (creating
// it when none exists) on the frame layer. Its steps run in its draw, and only while the game
// runs, so a paused game shows it still.
class BossShieldFrame : public Task {
  public:
    enum Phase : uint8_t { kOpening = 0, kFilling = 1, kShowing = 2, kClosing = 3 };
    static constexpr int32_t kOpeningFrames = 24;
    static constexpr int32_t kFillingFrames = 32;
    static constexpr int32_t kClosingFrames = 64;
    static constexpr int32_t kShownY = 37;
    static constexpr int32_t kHiddenY = -12;
    static constexpr int32_t kBarWidth = 237;

    explicit BossShieldFrame(int32_t maximum);

    void draw(DIB& surface) override;

    void setValue(int32_t value) { shownValue = value; }
    // The boss died: the gauge slides away and ends.
    void close();

    // The live gauge, or null.
    static BossShieldFrame* find(const TaskManager& manager);

    // Width of the bar for the shown value: 0..237, 0 for a maximum of 0 or less.
    int32_t barWidth() const;

    int32_t shownValue;
    int32_t maximum;
    int32_t y = 0;  // 16.16
    uint8_t phase = kOpening;
    int32_t phaseCounter = 0;
    int32_t textureOffset = 0;  // 0..116
};

}  // namespace vg
