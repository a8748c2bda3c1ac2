#include "player/ShotBase.h"

#include "core/FixedMath.h"

namespace vg {

ShotBase::ShotBase(int32_t x0, int32_t y0, int32_t speed, int32_t angle, uint8_t ownerIndex,
                   uint8_t type, bool isLaser)
    : x(x0),
      y(y0),
      vx(fixedMul(speed, cosFixed(angle))),
      vy(fixedMul(speed, sinFixed(angle))),
      owner(ownerIndex),
      laser(isLaser ? 1 : 0),
      shotType(type) {}

void ShotBase::update() {
    x += vx;
    y += vy;
    if (x < fixedFromInt(-40) || x > fixedFromInt(312) || y < fixedFromInt(-40) ||
        y > fixedFromInt(408)) {
        end();
    }
}

void ShotBase::hit() {
    end();
}

}  // namespace vg
