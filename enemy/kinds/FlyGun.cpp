#include "enemy/kinds/FlyGun.h"

#include "core/System.h"
#include "enemy/Bullet.h"
#include "enemy/KindSpawn.h"

namespace vg {

namespace {

constexpr uint8_t kOrb = 0;

constexpr KindFigures kFigures{
    .hitPoints = FlyGun::kHitPoints,
    .entryHold = 0,
    .hitBox = {-24, -24, 24, 24},
    .bounds = {-96, -64, 408, 448},
    .reward = {64, 200, 5, 3},
    .destruction = Destruction::Quick,
    .sprite = &atlas::enemy::kFlyGun,
    .shadow = &atlas::enemy::kFlyGun,
};

}  // namespace

FlyGun::FlyGun(int32_t x0, int32_t y0, int32_t direction, int32_t speed, int8_t level)
    : KindBase(x0, y0, kFigures), brake{kFixedOne, 0, speed, direction} {
    attackLevel = level;
    setVelocityAlong(*this, direction, speed);
}

FlyGun::FlyGun(int32_t x0, int32_t y0, int32_t direction, int32_t speed, int32_t factor,
               int32_t frames, int8_t level)
    : FlyGun(x0, y0, direction, speed, level) {
    braking = true;
    brake.factor = factor;
    brake.frames = frames;
}

void FlyGun::move(System&) {
    if (braking) brake.step(frameCount, vx, vy);
    moveByVelocity(*this);
}

void FlyGun::act(System& sys) {
    turretAngle = turnTowardTarget(*this, turretAngle, 5.0);
    fire(sys);
}

void FlyGun::fire(System& sys) {
    if ((frameCount + 40) % 80 != 0 || frameCount > 179 || attackLevel < 0) return;
    if (!nearestPlayer()) return;
    const int32_t down = 90 * kDegree;
    for (int32_t s = 1; s <= attackLevel + 1; ++s) {
        fireAngled(sys, x - fixedFromInt(16), y + fixedFromInt(32), down, fixedFromInt(s), kOrb,
                   serial, BulletOrder::Front);
        fireAngled(sys, x + fixedFromInt(16), y + fixedFromInt(32), down, fixedFromInt(s), kOrb,
                   serial, BulletOrder::Front);
    }
}

int32_t FlyGun::spriteFrame() const {
    // Frame k shows the turret at 20 k degrees.
    return (static_cast<int32_t>(turretAngle) + 10) / 20 % 18;
}

EnemyBase* spawnFlyGun(KindSpawn& spawn) {
    const int32_t x = spawn.x();
    const int32_t y = spawn.y();
    const int32_t direction = spawn.number("direction");
    const int32_t speed = spawn.number("speed");
    if (spawn.kind.variant == 0) {
        return spawn.create<FlyGun>(x, y, direction, speed, spawn.attackLevel());
    }
    return spawn.create<FlyGun>(x, y, direction, speed, spawn.number("factor"),
                                spawn.integer("frames"), spawn.attackLevel());
}

}  // namespace vg
