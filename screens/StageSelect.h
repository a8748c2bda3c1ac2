#pragma once

#include <cstdint>

#include "core/Task.h"
#include "screens/ScreenBase.h"

namespace vg {

// Starts the stage choice for player p (no clearing, no loading).
class StageSelectInit : public Task {
  public:
    explicit StageSelectInit(int player) : player(player) {}
    void update() override;

    int player;
};

// The stage choice of single-stage play: the stages up to the furthest one a full game has
// reached. Confirm gives both players the power level that stage expects and fades to black
// into the stage; cancel returns to the ship choice.
class StageSelect : public ScreenBase {
  public:
    static constexpr int32_t kFadeFrames = 64;

    explicit StageSelect(int player);
    void update() override;
    void draw(DIB& surface) override;

    // min(furthestStage, 4).
    static int highestOffered(const System& system);
    // The power level a single stage starts with: 0, 1, 3, 3, 4 for stages 0..4.
    static uint8_t powerForStage(int stage);

    int player;
    int32_t fade = 0;
    int32_t n = 0;
    int32_t panelX = -80 * 65536;  // 16.16
};

}  // namespace vg
