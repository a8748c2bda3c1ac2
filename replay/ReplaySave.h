#pragma once

#include <cstdint>

#include "core/Task.h"
#include "replay/ReplayScreenBase.h"
#include "screens/ScreenBase.h"

namespace vg {

// After name entry: ends every task, stops recording (the replay of the game just played stays
// in memory), loads "replayBack.png" with a red cast and opens ReplaySave. Lives one update.
class ReplaySaveInit : public Task {
  public:
    void update() override;
};

// Save the game just played into one of the 25 slots: confirm on an empty slot saves at once,
// on a used one asks first (ReplayOverwrite); cancel or Escape goes to the title. A save that
// fails says so on the screen, and the file the slot held stays as it was.
class ReplaySave : public ReplayScreenBase {
  public:
    // How long the failure line stays.
    static constexpr int32_t kFailureFrames = 180;

    void update() override;
    void draw(DIB& surface) override;

    // Writes the replay into `slot` (1..25) under the name last entered: the folder is made if
    // missing; on success the confirm sound and the list read again, on failure the refusal
    // sound and the failure line. Returns whether the file was written.
    bool saveToSlot(int slot);

    // Frames the failure line has still to show.
    int32_t failureShown = 0;
};

// "Overwrite?" over the frozen save screen, for a used slot: Left and Right choose between
// "Yes" and "No" (starting on "No"); confirm on "Yes" saves, then both close.
class ReplayOverwrite : public ScreenBase {
  public:
    explicit ReplayOverwrite(int slot);
    void update() override;
    void draw(DIB& surface) override;

    int choice = 1;  // 0 "Yes", 1 "No"
    int slot;
    int32_t bandHeight = 0;  // 16.16
};

}  // namespace vg
