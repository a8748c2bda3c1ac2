#include "enemy/TinyPlane.h"

#include "core/System.h"
#include "enemy/Bullet.h"
#include "enemy/EnemyCommon.h"
#include "enemy/KindSpawn.h"

namespace vg {

namespace {

constexpr int32_t kShellSpeed = 183500;  // 2.8
constexpr uint8_t kShell = 5;

}  // namespace

TinyPlane::TinyPlane(int32_t x0, int32_t y0, int32_t dir, int32_t planeSpeed, int8_t level,
                     int32_t turnPerFrame, int32_t frames)
    : EnemyBase(x0, y0),
      direction(wrapAngle(dir)),
      speed(planeSpeed),
      turn(turnPerFrame),
      turnFrames(frames),
      spriteFrame(sixteenDirectionFrame(dir)) {
    hitPoints = kHitPoints;
    attackLevel = level;
    setVelocityAlong(*this, direction, speed);
}

void TinyPlane::update() {
    System* sys = system();
    if (!sys) return;
    if (dead) {
        end();
        return;
    }
    moveByVelocity(*this);
    if (frameCount <= turnFrames) {
        direction = wrapAngle(static_cast<int64_t>(direction) + turn);
        setVelocityAlong(*this, direction, speed);
        spriteFrame = sixteenDirectionFrame(direction);
    }
    if (outsideBounds(*this, -80, -48, 392, 432)) {
        end();
        return;
    }
    hitPass();
    if (hitPoints <= 0) {
        quickDestruction(*this, 64, 120, 3, 0);
        return;
    }
    fire(*sys);
    ++frameCount;
}

void TinyPlane::fire(System& sys) {
    if (frameCount > 119) return;
    const int32_t phase = frameCount % 40;
    if (phase == 0) latchTarget(*this);
    if (attackLevel < 1 || phase % 8 != 0 || phase / 8 >= attackLevel) return;
    fireAimed(sys, targetX, targetY, x, y, kShellSpeed, kShell, serial, BulletOrder::Back);
}

void TinyPlane::draw(DIB& surface) {
    const System* sys = system();
    if (!sys) {
        end();
        return;
    }
    const atlas::Cell& cell = atlas::enemy::kTinyPlane;
    const bool red = lowHitPointBlink(kHitPoints);
    drawLit(*this, surface, enemySheet(*sys), cell, spriteFrame, screenX(*sys, x) - cell.w / 2,
            screenY(*sys, y) - cell.h / 2, red);
}

void TinyPlane::drawShadow(DIB& surface) {
    if (const System* sys = system()) {
        drawAirShadow(*this, surface, enemySheet(*sys), atlas::enemy::kTinyPlane, spriteFrame);
    }
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
