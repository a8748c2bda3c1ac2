#pragma once

#include "core/Task.h"

namespace vg {

// The first task of the game: default keys, the shared sprite sheets, the save file, the sound
// effects with the saved volumes; then the logo. Lives one update.
class GameInit : public Task {
  public:
    void update() override;
};

}  // namespace vg
