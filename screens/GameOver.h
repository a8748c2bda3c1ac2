#pragma once

#include <cstdint>

#include "core/Task.h"

namespace vg {

class System;

// The game-over screen after a declined continue (layer 29, over the frozen game, logic in
// draw): the field fades to black under the "GAME OVER" banner and the game-over tune; Shot
// after frame 192, or frame 301, leads to name entry when the game was recorded, else back to
// the replay screen.
class GameOver : public Task {
  public:
    static constexpr int32_t kFadeFrames = 96;
    // Shot is taken after this frame; the screen leaves by itself after kLastFrame.
    static constexpr int32_t kShotAfter = 192;
    static constexpr int32_t kLastFrame = 300;
    static constexpr int32_t kBannerY = 174;

    void draw(DIB& surface) override;

    int32_t frame = 0;
};

}  // namespace vg
