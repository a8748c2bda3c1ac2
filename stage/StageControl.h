#pragma once

#include <cstdint>
#include <vector>

#include "core/Task.h"
#include "stage/StageEvent.h"

namespace vg {

class System;

// Plays a stage script: owns the stage clock and the event list, and once per frame fires every
// event whose time equals the clock (enemies, scenery, clouds, holes, banners, the map settings,
// the clock itself). One per stage and one for the ending, on layer 0; it never ends itself.
//
// One-shot events leave the list when they fire. Standing events (CLOUD, CLOUD_EX, the three
// clock events and any kind the runner does not know) stay and fire again whenever the clock
// comes back to their time: moving the clock back is how a stage holds at a boss and how
// scenery repeats.
class StageControl : public Task {
  public:
    // Walks the list in order, comparing each event's time with the clock as it is at that
    // moment (a clock event changes which later events fire in the same walk), then counts the
    // clock on by one.
    void update() override;

    // Fires one event now, whatever its time.
    static void perform(System& system, const StageEvent& event, int32_t& clock);
    static bool isStanding(int32_t kind);

    int32_t eventClock = 0;
    std::vector<StageEvent> events;
};

}  // namespace vg
