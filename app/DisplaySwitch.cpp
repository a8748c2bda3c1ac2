#include "app/DisplaySwitch.h"

#include <algorithm>

namespace vg {

bool DisplaySwitch::displayModeExists(Size size) const {
    const auto modes = window_.displayModes();
    return std::find(modes.begin(), modes.end(), size) != modes.end();
}

bool DisplaySwitch::setDisplayMode(Size size, bool fullScreen) {
    // The window's own full-screen state decides, not a comparison of the display mode with the
    // requested size: on a display without the requested mode the game runs at 640 x 480, and a
    // request to leave at the surface's size must still bring the window back.
    if (window_.isFullScreen()) {
        window_.leaveFullScreen();
        return true;
    }
    if (!fullScreen) return true;
    if (!displayModeExists(size)) return false;
    return window_.enterFullScreen(size);
}

bool DisplaySwitch::toggleFullScreen() {
    if (displayModeExists(surface_)) return setDisplayMode(surface_, true);
    return setDisplayMode({640, 480}, true);
}

void DisplaySwitch::toggleWindowScale() {
    setDisplayMode(surface_, false);
    const Size single = surface_;
    const Size twice{surface_.width * 2, surface_.height * 2};
    window_.setClientSize(window_.clientSize() == single ? twice : single);
}

}  // namespace vg
