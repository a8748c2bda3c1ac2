#pragma once

#include <cstdint>

#include "core/Task.h"

namespace vg {

class System;

// Starts what comes next in the stage chain, in its one update: the stage `stageIndex` (its
// standing tasks, pictures, tunes, script and ships), or after the last stage the ending, or
// name entry, the title or the replay list. It also records a finished game (gameCleared,
// extraCleared, the clear marks) and the progress of a full game (furthestStage).
class StageInit : public Task {
  public:
    void update() override;

    // The script entry for a stage and difficulty: "stage<n><e|n|h>.dat". Difficulty 1 plays the
    // "n" script, 2..4 the "h" script, anything else the "e" script; stage indices above 4 play
    // stage 1's.
    static void scriptName(uint8_t stageIndex, uint8_t difficulty, char (&name)[16]);

  private:
    static void recordFinishedGame(System& system);
    static void recordProgress(System& system);
    static void startStage(System& system);
    static void startEnding(System& system);
};

}  // namespace vg
