#include "player/BombBase.h"

#include "core/FixedMath.h"

namespace vg {

BombBase::BombBase(int32_t x0, int32_t y0, int32_t speed, int32_t angle, uint8_t ownerIndex,
                   HitBox box)
    : x(x0),
      y(y0),
      vx(fixedMul(speed, cosFixed(angle))),
      vy(fixedMul(speed, sinFixed(angle))),
      hitBox(box),
      owner(ownerIndex) {}

}  // namespace vg
