#include "effects/Effect.h"

#include "core/PlayField.h"

namespace vg {

void Effect::moveWithDrag(int32_t drag) {
    x += vx;
    y += vy;
    vx = fixedMul(vx, drag);
    vy = fixedMul(vy, drag);
}

}  // namespace vg
