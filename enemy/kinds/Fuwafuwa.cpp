#include "enemy/kinds/Fuwafuwa.h"

#include "core/FixedMath.h"
#include "core/GameSound.h"
#include "core/Layers.h"
#include "core/System.h"
#include "effects/Particles.h"
#include "enemy/Bullet.h"
#include "enemy/EnemyCommon.h"
#include "enemy/KindSpawn.h"
#include "sound/SoundBank.h"

namespace vg {

namespace {

constexpr int32_t kDrift = 62259;    // 0.95: the sideways drift dies away
constexpr int32_t kSlowing = 64880;  // 0.99 while sinking faster than 1 pixel a frame
constexpr int32_t kLift = 655;       // about 0.01 a frame upward ...
constexpr int32_t kClimb = -131071;  // ... until it climbs at about 2 pixels a frame
constexpr uint8_t kShell = 5;

constexpr PixelOffset kFirstBursts[] = {{20, 30}, {68, 30}};
constexpr PixelOffset kMiddleBursts[] = {{-10, 0}, {38, 0}, {86, 0}};
constexpr PixelOffset kLastBursts[] = {{0, -20}, {48, -20}};
// The body fills the upper half of the hit box (the atlas anchors the picture there).
constexpr KindFigures kFigures{
    .hitPoints = Fuwafuwa::kHitPoints,
    .entryHold = 0,
    .hitBox = {-24, -24, 24, 0},
    .bounds = {-96, -64, 408, 448},
    .reward = {128, 250, 8, 5},
    .destruction = Destruction::Bursts,
    .bursts = {6, 4, SoundManager::kSoundKill2, true, kFirstBursts, kMiddleBursts, kLastBursts},
    .sprite = &atlas::enemy::kFuwafuwa,
    .shadow = &atlas::enemy::kFuwafuwa,
};

}  // namespace

Fuwafuwa::Fuwafuwa(int32_t x0, int32_t y0, int32_t direction, int32_t speed, int8_t level)
    : KindBase(x0, y0, kFigures) {
    attackLevel = level;
    setVelocityAlong(*this, direction, speed);
}

void Fuwafuwa::move(System&) {
    moveByVelocity(*this);
    vx = fixedMul(vx, kDrift);
    if (vy > kFixedOne) vy = fixedMul(vy, kSlowing);
    if (vy >= kClimb) vy -= kLift;
}

void Fuwafuwa::act(System& sys) {
    fire(sys);
    if (frameCount % 2 == 0) {
        sys.spawnFront<BoosterEffect>(layer::kEffect, x + kFixedOne, y - fixedFromInt(28),
                                      2 * kFixedOne, 270 * kDegree);
    }
}

void Fuwafuwa::fire(System& sys) {
    if (frameCount >= 240 || !nearestPlayer()) return;
    const int32_t phase = frameCount % 80;
    if (phase == 0) latchTarget(*this);
    // Centred on the latched point, seen from where the floater is now.
    const int32_t theta = atan2Fixed(targetY - y, targetX - x);
    // A ring of n <= 0 shells is nothing (and would divide by zero).
    const int32_t n = 4 * attackLevel + 4;
    if (n <= 0) return;
    const int32_t speed = 144179 + attackLevel * 32768;  // 2.2 + 0.5 level
    const int32_t spacing = fixedFromInt(360) / n;
    const int32_t lastRing = attackLevel + 4;
    if (phase % 3 == 0 && phase / 3 <= lastRing) {
        fireFan(n, sys, x, y, theta, speed, spacing, kShell, serial);
    }
    const int32_t later = phase - 30;
    if (later >= 0 && later % 3 == 0 && later / 3 <= lastRing) {
        fireFan(n, sys, x, y, theta + fixedFromInt(180) / n, speed, spacing, kShell, serial);
    }
}

EnemyBase* spawnFuwafuwa(KindSpawn& spawn) {
    return spawn.create<Fuwafuwa>(spawn.x(), spawn.y(), spawn.number("direction"),
                                  spawn.number("speed"), spawn.attackLevel());
}

}  // namespace vg
