#pragma once

#include <cstdint>

#include "core/Task.h"

namespace vg {

class PlayerBase;

// The stage result: tallies lives, crystals and the longest chain of each present player, adds
// the stage bonus at frame 100 and shows it until frame 300.
class Result : public Task {
  public:
    static constexpr int32_t kLastFrame = 300;
    static constexpr int32_t kBonusFrame = 100;
    static constexpr int32_t kFadeStart = 284;
    static constexpr uint32_t kPanelColour = 0x208040;

    void update() override;
    void draw(DIB& surface) override;

    // maxCombo x 1000 + lives x 100,000 + crystals x 500 (negative counts count as 0).
    static int64_t stageBonus(const PlayerBase& player);

    int32_t frame = -1;  // the frame last run, 0..300
    bool present[2] = {false, false};
    int32_t lives[2] = {0, 0};
    int32_t crystals[2] = {0, 0};
    int32_t maxCombo[2] = {0, 0};
    int64_t bonus[2] = {0, 0};
    int32_t width = 0;
    int32_t height = 1;
};

}  // namespace vg
