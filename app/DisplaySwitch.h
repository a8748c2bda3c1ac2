#pragma once

#include "platform/Window.h"

namespace vg {

// Full screen and window size handling of the game window: Alt+Enter, F1 and maximise toggle
// full screen; losing activation and F5 leave it; F5 toggles single and double window size.
class DisplaySwitch {
  public:
    // The screen surface's size: the full-screen mode wanted and the single-scale client area.
    DisplaySwitch(GameWindow& window, Size surfaceSize) : window_(window), surface_(surfaceSize) {}

    // Whether the display offers a mode of exactly this width and height.
    bool displayModeExists(Size size) const;
    // In full screen, leaves it whatever `fullScreen` says (so the same call toggles). In a
    // window, goes full screen at `size` when asked; false when that mode cannot be set.
    bool setDisplayMode(Size size, bool fullScreen);
    // Alt+Enter: full screen at the surface's size, or 640 x 480 where the display lacks it.
    bool toggleFullScreen();
    // Losing activation: back to the window.
    void leaveFullScreen() { setDisplayMode(surface_, false); }
    // F5: leave full screen, then single scale becomes double and anything else single.
    void toggleWindowScale();

  private:
    GameWindow& window_;
    Size surface_;
};

}  // namespace vg
