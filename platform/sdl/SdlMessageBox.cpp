#include <SDL.h>

#include <cstdio>

#include "platform/Window.h"

namespace vg {

void showMessageBox(const std::string& title, const std::string& text) {
    // Without a display SDL cannot show a box; the console gets the message instead.
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, title.c_str(), text.c_str(),
                                 nullptr) != 0) {
        std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    }
}

}  // namespace vg
