#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/Window.h"

namespace vg {

namespace {

// SDL's drivers without a display: a box would either fail or, where an X display happens to be
// reachable anyway, wait for a click that no one can give.
bool displayless() {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    return driver && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0);
}

}  // namespace

void showMessageBox(const std::string& title, const std::string& text) {
    // Standard error always: a player who started the game from a terminal reads it there, and
    // it is the only place without a display.
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    std::fflush(stderr);
    if (displayless()) return;
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, title.c_str(), text.c_str(), nullptr);
}

}  // namespace vg
