#include <cstdio>

#include "platform/Window.h"

namespace vg {

void debugOutput(const char* text) {
    std::fputs(text, stderr);
    std::fflush(stderr);
}

}  // namespace vg
