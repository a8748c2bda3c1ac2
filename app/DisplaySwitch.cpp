#include "app/DisplaySwitch.h"

namespace vg {

bool DisplaySwitch::setDisplayMode(bool fullScreen) {
    // The window's own full-screen state decides, so a request to leave always brings the
    // window back, and the same call toggles.
    if (window_.isFullScreen()) {
        window_.leaveFullScreen();
        return true;
    }
    if (!fullScreen) return true;
    return window_.enterFullScreen();
}

void DisplaySwitch::toggleWindowScale() {
    setDisplayMode(false);
    const Size single = surface_;
    const Size twice{surface_.width * 2, surface_.height * 2};
    window_.setClientSize(window_.clientSize() == single ? twice : single);
}

}  // namespace vg
