#include "enemy/TurretTank.h"

#include <cmath>

#include "core/System.h"
#include "enemy/EnemyCommon.h"

namespace vg {

TurretTank::TurretTank(int32_t x0, int32_t y0, int32_t direction, int32_t speed,
                       int32_t travelFrames, int8_t level, const KindFigures& figures,
                       const TankLook& look, double turret)
    : KindBase(x0, y0, figures), hull(direction, travelFrames), turretAngle(turret), look_(look) {
    attackLevel = level;
    setVelocityAlong(*this, direction, speed);
}

void TurretTank::move(System&) {
    hull.drive(*this);
}

void TurretTank::act(System& sys) {
    turretAngle = turnTowardTarget(*this, turretAngle, look_.turretStep);
    fire(sys);
}

void TurretTank::drawSprite(DIB& surface, const System& sys, bool red) {
    const DIB& sheet = enemySheet(sys);
    hull.draw(*this, surface, sheet, look_.hull, look_.shadow, red);
    // 17 turret pictures share the full turn.
    const int32_t turret = static_cast<int32_t>(std::lround(turretAngle * 17 / 360)) % 17;
    drawLit(*this, surface, sheet, look_.turret, turret, screenX(sys, x) + look_.turret.anchorX,
            screenY(sys, y) + look_.turret.anchorY, red);
}

}  // namespace vg
