#include "enemy/kinds/TankSmall2.h"

#include "core/FixedMath.h"
#include "core/System.h"
#include "enemy/Bullet.h"
#include "enemy/EnemyCommon.h"
#include "enemy/KindSpawn.h"
#include "player/PlayerBase.h"

namespace vg {

namespace {

constexpr KindFigures kFigures{
    .hitPoints = TankSmall2::kHitPoints,
    .entryHold = 10,
    .hitBox = {-10, -10, 10, 10},
    .bounds = {-96, -64, 408, 384},
    .reward = {64, 150, 3, 0},
    .destruction = Destruction::SmallCraft,
    .wreck = true,
};
constexpr TankLook kLook{3.0, atlas::enemy::kTank2Hull, atlas::enemy::kTank2Shadow,
                         atlas::enemy::kTank2Turret};

constexpr int32_t kShotSpeed = 2 * kFixedOne;
constexpr uint8_t kSquare = 6;

}  // namespace

TankSmall2::TankSmall2(int32_t x0, int32_t y0, int32_t direction, int32_t speed,
                       int32_t travelFrames, int8_t level)
    : TurretTank(x0, y0, direction, speed, travelFrames, level, kFigures, kLook,
                 normalizeAngle(static_cast<double>(wrapAngle(direction)) / kFixedOne)) {}

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

EnemyBase* spawnTankSmall2(KindSpawn& spawn) {
    return spawn.create<TankSmall2>(spawn.x(), spawn.y(), spawn.number("direction"),
                                    spawn.number("speed"), spawn.integer("travelFrames"),
                                    spawn.attackLevel());
}

}  // namespace vg
