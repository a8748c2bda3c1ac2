#pragma once

#include <cstdint>

#include "core/Task.h"

namespace vg {

class TaskManager;

// The boss hit-point gauge at the top of the field: opens, fills, shows the value the boss
// passes each frame, and closes when the boss dies. Every boss and semi-boss keeps one (creating
// it when none exists) on the frame layer.
class BossShieldFrame : public Task {
  public:
    explicit BossShieldFrame(int32_t maximum);

    void update() override;
    void draw(DIB& surface) override;

    void setValue(int32_t value) { shownValue = value; }
    // The boss died: the gauge slides away and ends.
    void close();

    // The live gauge, or null.
    static BossShieldFrame* find(const TaskManager& manager);

    int32_t shownValue;
    int32_t maximum;
};

}  // namespace vg
