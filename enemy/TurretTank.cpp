#include "enemy/TurretTank.h"

#include <cmath>

#include "core/System.h"
#include "enemy/EnemyCommon.h"

namespace vg {

TurretTank::TurretTank(int32_t x0, int32_t y0, int32_t direction, int32_t speed,
                       int32_t travelFrames, int8_t level, int32_t fullHitPoints, double turret)
    : EnemyBase(x0, y0), hull(direction, travelFrames), turretAngle(turret) {
    hitPoints = fullHitPoints;
    attackLevel = level;
    setVelocityAlong(*this, direction, speed);
}

void TurretTank::update() {
    System* sys = system();
    if (!sys) return;
    const TankFigures& kind = figures();
    hull.drive(*this);
    if (outsideBounds(*this, kind.left, kind.top, kind.right, kind.bottom)) {
        end();
        return;
    }
    hitPass();
    if (frameCount < 10) hitPoints = kind.hitPoints;
    if (hitPoints <= 0) {
        smallCraftDestruction(*this, kind.baseScore, true);
        return;
    }
    turretAngle = turnTowardTarget(*this, turretAngle, kind.turretStep);
    fire(*sys);
    ++frameCount;
}

void TurretTank::draw(DIB& surface) {
    const System* sys = system();
    if (!sys) {
        end();
        return;
    }
    const TankFigures& kind = figures();
    const DIB& sheet = enemySheet(*sys);
    const bool red = lowHitPointBlink(kind.hitPoints);
    hull.draw(*this, surface, sheet, kind.hull, kind.shadow, red);
    // 17 turret pictures share the full turn.
    const int32_t turret = static_cast<int32_t>(std::lround(turretAngle * 17 / 360)) % 17;
    drawLit(*this, surface, sheet, kind.turret, turret, screenX(*sys, x) + kind.turretLeft,
            screenY(*sys, y) + kind.turretTop, red);
}

}  // namespace vg
