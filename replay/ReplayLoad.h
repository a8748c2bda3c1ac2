#pragma once

#include <cstdint>
#include <string>

#include "core/Task.h"
#include "replay/ReplayScreenBase.h"
#include "screens/ScreenBase.h"

namespace vg {

// Entry to the replay list from the title (and the return to it after a watched replay): ends
// every task, leaves the stage, keeps or starts the title tune, resets the replay, loads
// "replayBack.png" and opens ReplayLoad. Lives one update.
class ReplayLoadInit : public Task {
  public:
    void update() override;
};

// Choose a saved replay: Up and Down over the 25 slots, confirm on a listed one opens the stage
// choice of that file over this screen, cancel or Escape returns to the title.
class ReplayLoad : public ReplayScreenBase {
  public:
    void update() override;
};

// The stage to watch a replay from: the five stages, those the file holds as "stage1".."stage5",
// those whose input is damaged as "damaged" and the others as "---------"; Up and Down move
// between the held ones (never onto a damaged one). Confirm loads the file and plays it from the
// chosen stage; cancel or Escape goes back to the list.
class ReplayLoadStageSelect : public ScreenBase {
  public:
    static constexpr int kStages = ReplayData::kGameStages;

    ReplayLoadStageSelect(std::string path, uint8_t stageMask, uint8_t damagedMask = 0);
    void update() override;
    void draw(DIB& surface) override;

    // The line shown for stage `stage` (0..4).
    std::string lineText(int stage) const;
    // The next held stage from `from` in steps of `step` (+1 or -1), wrapping 0..4; `from` when
    // none is found in ten steps.
    int nextHeldStage(int from, int step) const;

    std::string path;
    uint8_t stageMask;
    uint8_t damagedMask;
    int cursor = 0;

  private:
    void watch(System& system);
};

// Starts playing back the replay loaded in `system.replay` from `stage`: the player's own choice
// of game kept to be put back when the playback ends, the replay's difficulty, a full game's
// stage chain, the stage's start records, playback on, and a StageInit (back of layer 0) that
// starts the stage on the next update pass. False (nothing changed) when the replay does not
// hold the stage.
bool startReplayPlayback(System& system, int stage);

}  // namespace vg
