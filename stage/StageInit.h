#pragma once

#include <cstdint>

#include "core/Task.h"

namespace vg {

class System;

// Starts what comes next in the stage chain, in its one update: the stage `stageIndex` (its
// standing tasks, and the pictures, tunes, script and tasks of its StageTable, and the ships), or
// after the last stage the ending, or name entry, the title or the replay list. It also records a
// finished game (gameCleared, extraCleared, the clear marks) and the progress of a full game
// (furthestStage).
class StageInit : public Task {
  public:
    void update() override;

  private:
    static void recordFinishedGame(System& system);
    static void recordProgress(System& system);
    static void startStage(System& system);
    static void startEnding(System& system);
};

}  // namespace vg
