#pragma once

#include <cstdint>

#include "screens/ScreenBase.h"

namespace vg {

// The title menu: six items (game start, stage select, replay, score, option, exit) over
// "title.png", fading in over 32 frames.
class Title : public ScreenBase {
  public:
    static constexpr int kItemCount = 6;
    static constexpr int kItemGameStart = 0;
    static constexpr int kItemStageSelect = 1;
    static constexpr int kItemReplay = 2;
    static constexpr int kItemScore = 3;
    static constexpr int kItemExit = 5;
    static constexpr int kItemOption = 4;
    // Frames without a menu action before the attract mode starts.
    static constexpr int32_t kIdleFrames = 600;

    void update() override;
    void draw(DIB& surface) override;

    int32_t n = 0;

  private:
    void confirm(System& system, int8_t item);
};

}  // namespace vg
