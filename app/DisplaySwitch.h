#pragma once

#include "platform/Window.h"

namespace vg {

// Full screen and window size handling of the game window: Alt+Enter, F1 and maximise toggle
// full screen; losing activation and F5 leave it; F5 toggles single and double window size.
// Full screen covers the display at its current resolution; the window does the scaling.
class DisplaySwitch {
  public:
    // The screen surface's size: the single-scale client area.
    DisplaySwitch(GameWindow& window, Size surfaceSize) : window_(window), surface_(surfaceSize) {}

    // In full screen, leaves it whatever `fullScreen` says (so the same call toggles). In a
    // window, goes full screen when asked; false when the window cannot.
    bool setDisplayMode(bool fullScreen);
    // Alt+Enter, F1, maximise.
    bool toggleFullScreen() { return setDisplayMode(true); }
    // Losing activation: back to the window.
    void leaveFullScreen() { setDisplayMode(false); }
    // F5: leave full screen, then single scale becomes double and anything else single.
    void toggleWindowScale();

  private:
    GameWindow& window_;
    Size surface_;
};

}  // namespace vg
