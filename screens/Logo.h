#pragma once

#include <cstdint>

#include "screens/ScreenBase.h"

namespace vg {

// The opening logo: fades in over 64 frames, stands, fades out from frame 148, and hands over
// to the title at frame 181. A confirm, cancel or auto press skips to the fade-out. It also
// watches for the hidden direction sequence that unlocks everything.
class Logo : public ScreenBase {
  public:
    static constexpr int32_t kEndFrame = 181;
    static constexpr int32_t kFadeOutFrame = 148;
    static constexpr int kUnlockSteps = 8;

    void update() override;
    void draw(DIB& surface) override;

    // The logo's alpha at frame n.
    static uint32_t alphaAt(int32_t n);

    int32_t n = 0;
    // Steps of the sequence matched so far, shared by both players.
    int unlockCount = 0;

  private:
    void unlockSequence(System& system);
    static void unlock(System& system);
};

}  // namespace vg
