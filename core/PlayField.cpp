#include "core/PlayField.h"

#include "core/System.h"

namespace vg {

int32_t screenX(const System& system, int32_t fieldX) {
    return fixedToInt(fieldX) - fixedToInt(system.fieldScroll) + 12 +
           fixedToInt(system.shakeOffsetX);
}

int32_t screenY(const System& system, int32_t fieldY) {
    return fixedToInt(fieldY) + fixedToInt(system.shakeOffsetY);
}

int32_t fieldXOfView(const System& system, int32_t viewX) {
    return fixedToInt(viewX) + fixedToInt(system.fieldScroll) - 12;
}

}  // namespace vg
