#include "enemy/kinds/FlyMediumB.h"

#include <algorithm>

#include "core/GameSound.h"
#include "core/Layers.h"
#include "core/System.h"
#include "effects/Explosions.h"
#include "enemy/Bullet.h"
#include "enemy/EnemyCommon.h"
#include "enemy/KindSpawn.h"
#include "player/PlayerBase.h"
#include "sound/SoundBank.h"

namespace vg {

namespace {

constexpr int32_t kSpeedUp = 68812;  // 1.05
constexpr uint8_t kOrb = 0;
constexpr uint8_t kGlintOrb = 3;

constexpr PixelOffset kFirstBursts[] = {{-9, 30}, {11, 30}};
constexpr PixelOffset kMiddleBursts[] = {{-24, 0}, {-4, 0}};
constexpr PixelOffset kLastBursts[] = {{-9, -30}, {11, -30}};
constexpr KindFigures kFigures{
    .hitPoints = FlyMediumB::kHitPoints,
    .entryHold = 0,
    .hitBox = {-20, -36, 20, 20},
    .bounds = {-82, -50, 394, 434},
    .reward = {128, 350, 10, 3},
    .destruction = Destruction::Bursts,
    .bursts = {4, 4, SoundManager::kSoundKill2, true, kFirstBursts, kMiddleBursts, kLastBursts},
    .sprite = &atlas::enemy::kFlyMediumB,
    .shadow = &atlas::enemy::kFlyMediumB,
};

}  // namespace

FlyMediumB::FlyMediumB(int32_t x0, int32_t y0, int8_t level) : KindBase(x0, y0, kFigures) {
    vy = 19660;
    attackLevel = level;
}

void FlyMediumB::move(System&) {
    moveByVelocity(*this);
    if (frameCount > 720 && vy < 2 * kFixedOne) vy = fixedMul(vy, kSpeedUp);
}

void FlyMediumB::beforeHits(System&) {
    aim = turnTowardTarget(*this, aim, 5.0);
}

void FlyMediumB::act(System& sys) {
    // Hit points still above 0 here: a craft destroyed outright does not break first.
    if (!broken && hitPoints <= kBreakingPoint) breakUp(sys);
    fire(sys);
    if (broken) ++breakCounter;
}

void FlyMediumB::breakUp(System& sys) {
    broken = 1;
    breakCounter = 0;
    PlayerBase* player = lastHitter == kNoHitter ? nullptr : PlayerBase::find(sys, lastHitter);
    if (player && player->energy > 0) {
        player->chainLink(64);
        if (lastHitKind == kHitLaser) {
            changeBulletsToCrystals(sys, serial, player, x, y);
            player->energy = static_cast<int16_t>(
                std::clamp<int32_t>(player->energy - 1, 0, PlayerBase::kMaxEnergy));
        }
    }
    for (const PixelOffset o :
         {PixelOffset{0, -10}, PixelOffset{5, -15}, PixelOffset{-5, -10}, PixelOffset{5, -5}}) {
        sys.spawnFront<Explosion>(layer::kEffect, x + fixedFromInt(o.dx), y + fixedFromInt(o.dy), 0,
                                  kFixedOne, 0);
    }
    playSound(sys, SoundManager::kSoundKill);
}

void FlyMediumB::fire(System& sys) {
    if (frameCount >= 720) return;
    if (broken) {
        // A full ring, each one turned 16 degrees further than the last.
        if (breakCounter > 30 && breakCounter % 16 == 0) {
            fireFan(18, sys, x, y - fixedFromInt(10), fixedFromInt(breakCounter), kFixedOne,
                    20 * kDegree, kOrb, serial);
        }
        return;
    }
    const int32_t phase = frameCount % 90;
    if (phase == 0) latchTarget(*this);
    if (attackLevel < -2) return;
    if (phase % 5 != 0 || phase / 5 > attackLevel + 2) return;
    const int32_t speed = 157286 + attackLevel * 16384;  // 2.4 + level x 0.25
    fireAimedFan(2 * attackLevel + 1, sys, targetX, targetY, x, y, speed, 8 * kDegree, kGlintOrb,
                 serial);
}

int32_t FlyMediumB::turretFrame() const {
    // Picture k shows the turret at 20 k degrees.
    return (static_cast<int32_t>(aim) + 10) / 20 % 18;
}

void FlyMediumB::drawSprite(DIB& surface, const System& sys, bool red) {
    const DIB& sheet = enemySheet(sys);
    const int32_t sx = screenX(sys, x);
    const int32_t sy = screenY(sys, y);
    const atlas::Cell& body = broken ? atlas::enemy::kFlyMediumBBroken : atlas::enemy::kFlyMediumB;
    drawLit(*this, surface, sheet, body, spriteFrame(), sx + body.anchorX, sy + body.anchorY, red);
    const atlas::Cell& turret = atlas::enemy::kFlyMediumBTurret;
    drawLit(*this, surface, sheet, turret, turretFrame(), sx + turret.anchorX, sy + turret.anchorY,
            red);
}

EnemyBase* spawnFlyMediumB(KindSpawn& spawn) {
    return spawn.create<FlyMediumB>(spawn.x(), spawn.y(), spawn.attackLevel());
}

}  // namespace vg
