#include "enemy/kinds/TinyPlane.h"

#include "core/System.h"
#include "enemy/Bullet.h"
#include "enemy/EnemyCommon.h"
#include "enemy/KindSpawn.h"

namespace vg {

namespace {

constexpr int32_t kShellSpeed = 183500;  // 2.8
constexpr uint8_t kShell = 5;

constexpr KindFigures kFigures{
    .hitPoints = TinyPlane::kHitPoints,
    .entryHold = 0,
    .hitBox = {-10, -10, 10, 10},
    .bounds = {-80, -48, 392, 432},
    .reward = {64, 120, 3, 0},
    .destruction = Destruction::Quick,
    .sprite = &atlas::enemy::kTinyPlane,
    .shadow = &atlas::enemy::kTinyPlane,
};

}  // namespace

TinyPlane::TinyPlane(int32_t x0, int32_t y0, int32_t dir, int32_t planeSpeed, int8_t level,
                     int32_t turnPerFrame, int32_t frames)
    : KindBase(x0, y0, kFigures),
      direction(wrapAngle(dir)),
      speed(planeSpeed),
      turn(turnPerFrame),
      turnFrames(frames),
      directionFrame(sixteenDirectionFrame(dir)) {
    attackLevel = level;
    setVelocityAlong(*this, direction, speed);
}

void TinyPlane::move(System&) {
    moveByVelocity(*this);
    if (frameCount <= turnFrames) {
        direction = wrapAngle(static_cast<int64_t>(direction) + turn);
        setVelocityAlong(*this, direction, speed);
        directionFrame = sixteenDirectionFrame(direction);
    }
}

void TinyPlane::act(System& sys) {
    if (frameCount > 119) return;
    const int32_t phase = frameCount % 40;
    if (phase == 0) latchTarget(*this);
    if (attackLevel < 1 || phase % 8 != 0 || phase / 8 >= attackLevel) return;
    fireAimed(sys, targetX, targetY, x, y, kShellSpeed, kShell, serial, BulletOrder::Back);
}

EnemyBase* spawnTinyPlane(KindSpawn& spawn) {
    const int32_t x = spawn.x();
    const int32_t y = spawn.y();
    const int32_t direction = spawn.number("direction");
    const int32_t speed = spawn.number("speed");
    if (spawn.kind.variant == 0) {
        return spawn.create<TinyPlane>(x, y, direction, speed, spawn.attackLevel());
    }
    return spawn.create<TinyPlane>(x, y, direction, speed, spawn.attackLevel(),
                                   spawn.number("turn"), spawn.integer("turnFrames"));
}

}  // namespace vg
