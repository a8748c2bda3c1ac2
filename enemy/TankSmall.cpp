#include "enemy/TankSmall.h"

#include <cmath>

#include "core/System.h"
#include "enemy/Bullet.h"
#include "enemy/EnemyCommon.h"
#include "player/PlayerBase.h"

namespace vg {

namespace {

constexpr int32_t kShellSpeed = 157286;  // 2.4
constexpr uint8_t kShell = 5;

}  // namespace

TankSmall::TankSmall(int32_t x0, int32_t y0, int32_t direction, int32_t speed, int32_t travelFrames,
                     int8_t level)
    : EnemyBase(x0, y0), hull(direction, travelFrames) {
    hitPoints = kHitPoints;
    attackLevel = level;
    const Velocity v = velocityAlong(direction, speed);
    vx = v.x;
    vy = v.y;
}

void TankSmall::update() {
    System* sys = system();
    if (!sys) return;
    hull.drive(*this);
    if (outsideBounds(*this, -64, -32, 376, 384)) {
        end();
        return;
    }
    hitPass();
    if (frameCount < 10) hitPoints = kHitPoints;
    if (hitPoints <= 0) {
        smallCraftDestruction(*this, 100, true);
        return;
    }
    turretAngle = turnTowardTarget(*this, turretAngle, 5.0);
    fire(*sys);
    ++frameCount;
}

void TankSmall::fire(System& sys) {
    if (frameCount >= 240 || attackLevel < 1) return;
    const PlayerBase* player = nearestPlayer();
    if (!player || distanceToPlayer(sys, *this, *player) <= 80) return;
    // Shot k of the volley leaves at phase 8k of the 40-frame cycle.
    const int32_t phase = frameCount % 40;
    if (phase % 8 != 0 || phase / 8 >= attackLevel) return;
    // The turret's whole degrees rounded to 30 (it is never negative).
    const int32_t a = static_cast<int32_t>(turretAngle);
    const int32_t angle = 30 * ((a + 15) / 30);
    fireAngled(sys, x, y, fixedFromInt(angle), kShellSpeed, kShell, serial);
}

void TankSmall::draw(DIB& surface) {
    const System* sys = system();
    if (!sys) {
        end();
        return;
    }
    const DIB& sheet = enemySheet(*sys);
    const bool red = lowHitPointBlink(kHitPoints);
    hull.draw(*this, surface, sheet, atlas::enemy::kTankHull, atlas::enemy::kTankShadow, red);
    const int32_t turret = static_cast<int32_t>(std::lround(turretAngle * 17 / 360)) % 17;
    drawLit(*this, surface, sheet, atlas::enemy::kTankTurret, turret, screenX(*sys, x) - 9,
            screenY(*sys, y) - 10, red);
}

}  // namespace vg
