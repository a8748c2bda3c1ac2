#include "enemy/kinds/TankSmall.h"

#include "core/System.h"
#include "enemy/Bullet.h"
#include "enemy/EnemyCommon.h"
#include "enemy/KindSpawn.h"
#include "player/PlayerBase.h"

namespace vg {

namespace {

constexpr KindFigures kFigures{
    .hitPoints = TankSmall::kHitPoints,
    .entryHold = 10,
    .hitBox = {-10, -10, 10, 10},
    .bounds = {-64, -32, 376, 384},
    .reward = {64, 100, 3, 0},
    .destruction = Destruction::SmallCraft,
    .wreck = true,
};
constexpr TankLook kLook{5.0, atlas::enemy::kTankHull, atlas::enemy::kTankShadow,
                         atlas::enemy::kTankTurret};

constexpr int32_t kShellSpeed = 157286;  // 2.4
constexpr uint8_t kShell = 5;

}  // namespace

TankSmall::TankSmall(int32_t x0, int32_t y0, int32_t direction, int32_t speed, int32_t travelFrames,
                     int8_t level)
    : TurretTank(x0, y0, direction, speed, travelFrames, level, kFigures, kLook, 0) {}

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

EnemyBase* spawnTankSmall(KindSpawn& spawn) {
    return spawn.create<TankSmall>(spawn.x(), spawn.y(), spawn.number("direction"),
                                   spawn.number("speed"), spawn.integer("travelFrames"),
                                   spawn.attackLevel());
}

}  // namespace vg
