#pragma once

#include <cstdint>

#include "screens/ScreenBase.h"

namespace vg {

// The pause menu over the frozen stage: "Return to Game", "Quit" (to the title) and "Retry"
// (the stage again from its start). The System creates it at the front of the pause layer when
// the pause key is pressed during a stage, after freezing every task; the pause key closes it
// again like "Return to Game".
class Pause : public ScreenBase {
  public:
    enum Item { kItemReturn, kItemQuit, kItemRetry, kItemCount };
    static constexpr const char* kItemNames[kItemCount] = {"Return to Game", "Quit", "Retry"};
    // Draws over which the dark cover fades in.
    static constexpr int32_t kFadeDraws = 16;
    static constexpr int32_t kPulseSteps = 32;

    void update() override;
    void draw(DIB& surface) override;

    int cursor = kItemReturn;
    // Counted in draw: the menu acts only once it has been drawn.
    int32_t frame = 0;
    int32_t pulse = 0;
    // Whether the stage title had finished when the pause opened; "Return to Game" puts this
    // back, so closing the pause never starts what only a started stage allows (a second player
    // joining during the stage title or the closing fade).
    uint8_t stageStartedBefore = 0;
    bool opened = false;

  private:
    // Back to the game: the tasks resume at the start of the next frame step, so this frame is
    // still drawn frozen (see System::resumeNextFrame).
    void returnToGame(System& system);
    // Quit and Retry: the stage's tasks end and its tunes are let go.
    void leaveStage(System& system);
};

}  // namespace vg
