#pragma once

#include "core/Task.h"

namespace vg {

class System;

// The first task of the game: default keys, the shared sprite sheets, the save file, the sound
// effects with the saved volumes; then the logo. Lives one update.
class GameInit : public Task {
  public:
    void update() override;

    // Everything GameInit does before the logo: the menu memory and keys reset, the shared
    // sprite sheets, the save file (System::saveFileName, none when empty), the sound effects and
    // the saved volumes. Tools that start a stage directly begin with this.
    static void loadSharedAssets(System& system);
};

}  // namespace vg
