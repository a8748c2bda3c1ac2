#include "enemy/TankSmall.h"

#include "core/System.h"
#include "enemy/Bullet.h"
#include "enemy/EnemyCommon.h"
#include "enemy/KindSpawn.h"
#include "player/PlayerBase.h"

namespace vg {

namespace {

constexpr TankFigures kFigures{
    .hitPoints = TankSmall::kHitPoints,
    .left = -64,
    .top = -32,
    .right = 376,
    .bottom = 384,
    .baseScore = 100,
    .turretStep = 5.0,
    .hull = atlas::enemy::kTankHull,
    .shadow = atlas::enemy::kTankShadow,
    .turret = atlas::enemy::kTankTurret,
    .turretLeft = -9,
    .turretTop = -10,
};

constexpr int32_t kShellSpeed = 157286;  // 2.4
constexpr uint8_t kShell = 5;

}  // namespace

TankSmall::TankSmall(int32_t x0, int32_t y0, int32_t direction, int32_t speed, int32_t travelFrames,
                     int8_t level)
    : TurretTank(x0, y0, direction, speed, travelFrames, level, kHitPoints, 0) {}

const TankFigures& TankSmall::figures() const {
    return kFigures;
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

EnemyBase* spawnTankSmall(KindSpawn& spawn) {
    return spawn.create<TankSmall>(spawn.x(), spawn.y(), spawn.number("direction"),
                                   spawn.number("speed"), spawn.integer("travelFrames"),
                                   spawn.attackLevel());
}

}  // namespace vg
