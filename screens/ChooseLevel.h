#pragma once

#include <cstdint>

#include "core/Task.h"
#include "screens/ScreenBase.h"

namespace vg {

// Starts the difficulty choice: clears the task list, loads "selectBack.png", creates
// ChooseLevel, and turns a stored difficulty that is not offered (Extra before a game was
// cleared, Extra2 before Extra was, or no difficulty at all) back to Easy. Lives one update.
class ChooseLevelInit : public Task {
  public:
    void update() override;
};

// The difficulty choice: Easy, Normal, Hard, and Extra once a game was cleared, in a panel that
// slides in; Extra2 (after Extra was cleared) is reached by wrapping and has no row. Confirm
// flies the label to the corner and starts the ship choice for the player who confirmed;
// cancel returns to the title.
class ChooseLevel : public ScreenBase {
  public:
    static constexpr int32_t kFlyOutFrames = 8;

    void update() override;
    void draw(DIB& surface) override;

    // The highest difficulty the menu offers: 4 when Extra was cleared, 3 when a game was, else
    // 2.
    static int highestOffered(const System& system);

    int32_t n = 0;
    int32_t panelX = -160 * 65536;  // 16.16
    int32_t flyOut = 0;
    int chooser = 0;
    int32_t flyX = 0;  // 16.16
    int32_t flyY = 0;  // 16.16
};

}  // namespace vg
