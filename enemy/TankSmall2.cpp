#include "enemy/TankSmall2.h"

#include <cmath>

#include "core/FixedMath.h"
#include "core/System.h"
#include "enemy/Bullet.h"
#include "enemy/EnemyCommon.h"
#include "player/PlayerBase.h"

namespace vg {

namespace {

constexpr int32_t kShotSpeed = 2 * kFixedOne;
constexpr uint8_t kSquare = 6;

}  // namespace

TankSmall2::TankSmall2(int32_t x0, int32_t y0, int32_t direction, int32_t speed,
                       int32_t travelFrames, int8_t level)
    : EnemyBase(x0, y0),
      hull(direction, travelFrames),
      turretAngle(normalizeAngle(static_cast<double>(wrapAngle(direction)) / kFixedOne)) {
    hitPoints = kHitPoints;
    attackLevel = level;
    const Velocity v = velocityAlong(direction, speed);
    vx = v.x;
    vy = v.y;
}

void TankSmall2::update() {
    System* sys = system();
    if (!sys) return;
    hull.drive(*this);
    if (outsideBounds(*this, -96, -64, 408, 384)) {
        end();
        return;
    }
    hitPass();
    if (frameCount < 10) hitPoints = kHitPoints;
    if (hitPoints <= 0) {
        smallCraftDestruction(*this, 150, true);
        return;
    }
    turretAngle = turnTowardTarget(*this, turretAngle, 3.0);
    fire(*sys);
    ++frameCount;
}

void TankSmall2::fire(System& sys) {
    if (frameCount >= 300 || attackLevel < 1) return;
    const PlayerBase* player = nearestPlayer();
    if (!player || distanceToPlayer(sys, *this, *player) <= 80) return;
    const int32_t phase = frameCount % 90;
    if (phase % 8 != 0 || phase / 8 >= attackLevel) return;
    // The barrel tips: 10 pixels ahead of the centre, 10 to one side and 6 to the other.
    const int32_t theta = fixedDegrees(turretAngle);
    const int32_t c = cosFixed(theta);
    const int32_t s = sinFixed(theta);
    fireAngled(sys, x + 10 * c + 10 * s, y + 10 * s - 10 * c, theta, kShotSpeed, kSquare, serial,
               BulletOrder::Front);
    fireAngled(sys, x + 10 * c - 6 * s, y + 10 * s + 6 * c, theta, kShotSpeed, kSquare, serial,
               BulletOrder::Front);
}

void TankSmall2::draw(DIB& surface) {
    const System* sys = system();
    if (!sys) {
        end();
        return;
    }
    const DIB& sheet = enemySheet(*sys);
    const bool red = lowHitPointBlink(kHitPoints);
    hull.draw(*this, surface, sheet, atlas::enemy::kTank2Hull, atlas::enemy::kTank2Shadow, red);
    const int32_t turret = static_cast<int32_t>(std::lround(turretAngle * 17 / 360)) % 17;
    drawLit(*this, surface, sheet, atlas::enemy::kTank2Turret, turret, screenX(*sys, x) - 12,
            screenY(*sys, y) - 12, red);
}

}  // namespace vg
