#include "enemy/kinds/FlyMediumA.h"

#include "core/GameSound.h"
#include "core/Layers.h"
#include "core/System.h"
#include "effects/Explosions.h"
#include "effects/Particles.h"
#include "enemy/Bullet.h"
#include "enemy/EnemyCommon.h"
#include "enemy/KindSpawn.h"
#include "sound/SoundBank.h"

namespace vg {

namespace {

// The fire of one attack level in the 80-frame cycle: fans of 5 (phase 0) and 6 (phase 10)
// bullets, a narrow fan of 5 at phase 20 (when its spread is set) and pairs of needles at three
// phases from `pairPhase` (when their speed is set).
struct FireRow {
    int32_t spread;
    int32_t speed;
    int32_t narrowSpread;
    int32_t pairSpeed;
    int32_t pairPhase;
};
constexpr FireRow kRows[] = {
    {20 * kDegree, 170393, 0, 0, 0},                  // level 1
    {15 * kDegree, 183500, 0, 196608, 30},            // level 2
    {13 * kDegree, 196608, 5 * kDegree, 209715, 40},  // level 3
    {12 * kDegree, 196608, 4 * kDegree, 222822, 40},  // any other level
};
constexpr int32_t kNarrowSpeed = 196608;
constexpr uint8_t kOrb = 0;
constexpr uint8_t kNeedle = 1;

// Sinking of a destroyed craft, per frame: velocity x x 0.93, velocity y + 0.02.
constexpr int32_t kSinkDrag = 60948;
constexpr int32_t kSinkFall = 1310;

struct Offset {
    int32_t dx;
    int32_t dy;
};
// The bursts of steps 4, 8 and 12 of the destruction.
constexpr Offset kBursts[3][2] = {
    {{-16, -20}, {14, 8}},
    {{10, -26}, {-12, 14}},
    {{-4, -8}, {18, 20}},
};

constexpr KindFigures kFigures{
    .hitPoints = FlyMediumA::kHitPoints,
    .entryHold = 30,
    .hitBox = {-20, -40, 20, 30},
    .bounds = {-82, -50, 394, 434},
    .reward = {128, 500, 10, 3},
    .destruction = Destruction::Own,
    .movesWhileDead = true,
    .sprite = &atlas::enemy::kFlyMediumA,
    .shadow = &atlas::enemy::kFlyMediumA,
};

}  // namespace

FlyMediumA::FlyMediumA(int32_t x0, int32_t y0, int8_t level) : KindBase(x0, y0, kFigures) {
    vy = 26214;
    attackLevel = level;
}

void FlyMediumA::move(System&) {
    moveByVelocity(*this);
    if (dead) {
        vx = fixedMul(vx, kSinkDrag);
        vy += kSinkFall;
    } else if (frameCount > 660) {
        vy = kFixedOne;
    }
}

void FlyMediumA::beforeHits(System& sys) {
    aim = turnTowardTarget(*this, aim, 5.0);
    if (frameCount % 2 == 0) {
        sys.spawnFront<BoosterEffect>(layer::kEffect, x - fixedFromInt(8), y - fixedFromInt(42),
                                      2 * kFixedOne, 270 * kDegree);
    }
}

void FlyMediumA::act(System& sys) {
    if (frameCount >= 600 || attackLevel == 0) return;
    const int32_t phase = (frameCount + 40) % 80;
    if (phase == 0) latchTarget(*this);
    const FireRow& row = kRows[attackLevel >= 1 && attackLevel <= 3 ? attackLevel - 1 : 3];
    if (phase == 0) {
        fireAimedFan(5, sys, targetX, targetY, x, y, row.speed, row.spread, kOrb, serial);
    } else if (phase == 10) {
        fireAimedFan(6, sys, targetX, targetY, x, y, row.speed, row.spread, kOrb, serial);
    } else if (phase == 20 && row.narrowSpread != 0) {
        fireAimedFan(5, sys, targetX, targetY, x, y, kNarrowSpeed, row.narrowSpread, kOrb, serial);
    }
    const bool pairPhase =
        row.pairSpeed != 0 &&
        (phase == row.pairPhase || phase == row.pairPhase + 10 || phase == row.pairPhase + 20);
    if (pairPhase) {
        fireAimed(sys, targetX, targetY, x - fixedFromInt(20), y, row.pairSpeed, kNeedle, serial);
        fireAimed(sys, targetX, targetY, x + fixedFromInt(20), y, row.pairSpeed, kNeedle, serial);
    }
}

void FlyMediumA::destructionStep(System& sys) {
    const int32_t step = deathCounter++;
    const int32_t drift = -kFixedOne;
    if (step == 0) {
        dead = 1;
        const KindReward& reward = figures().reward;
        nearKill = killReward(reward.chainTime, reward.baseScore, reward.energyCost);
        destroyEffects(x - fixedFromInt(12), y + fixedFromInt(10), vx, drift, 4);
        destroyEffects(x + fixedFromInt(12), y - fixedFromInt(10), vx, drift, 4);
        playSound(sys, SoundManager::kSoundKill2);
    } else if (step % 4 == 0 && step <= 12) {
        for (const Offset& o : kBursts[step / 4 - 1]) {
            sys.spawnFront<Explosion>(layer::kEffect, x + fixedFromInt(o.dx),
                                      y + fixedFromInt(o.dy), 0, drift, 6);
        }
        if (step == 8) playSound(sys, SoundManager::kSoundKill);
    } else if (step == 16) {
        destroyEffects(x, y, vx, drift, 6);
        dropEnergyUnlessLaser(*this, nearKill + figures().reward.energyBonus);
        closingExplosion(*this, true);
        end();
    }
}

int32_t FlyMediumA::spriteFrame() const {
    // Frame k shows the turret at 20 (k + 1) degrees: the aim floored from 10 degrees in steps
    // of 20, wrapped to 18 frames.
    return (static_cast<int32_t>(aim) + 350) / 20 % 18;
}

EnemyBase* spawnFlyMediumA(KindSpawn& spawn) {
    return spawn.create<FlyMediumA>(spawn.x(), spawn.y(), spawn.attackLevel());
}

}  // namespace vg
