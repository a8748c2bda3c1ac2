#include "enemy/BossDestruction.h"

#include "core/GameSound.h"
#include "core/Layers.h"
#include "core/System.h"
#include "effects/BossShieldFrame.h"
#include "effects/Explosions.h"
#include "effects/ScreenEffects.h"
#include "enemy/Bullet.h"
#include "enemy/EnemyBase.h"
#include "enemy/EnemyCommon.h"
#include "sound/SoundBank.h"

namespace vg {

namespace {

// Burst b (0..16, steps 4..68) uses offsets 5b .. 5b + 4 of this ring of twenty, so each burst
// lights a different part of the body.
constexpr PixelOffset kBurstOffsets[20] = {
    {-40, -30}, {32, 10},  {-8, 36}, {50, -12}, {-56, 18}, {12, -44}, {-28, 8},
    {44, 32},   {-48, -6}, {20, 24}, {0, -20},  {-36, 40}, {58, 4},   {-16, -36},
    {28, -24},  {-60, 30}, {8, 50},  {38, -40}, {-24, 20}, {16, -4},
};
// The final burst, within about 80 pixels of the centre.
constexpr PixelOffset kFinalOffsets[32] = {
    {0, 0},    {-30, -20}, {30, 20},  {-60, 10},  {60, -10}, {-20, 50}, {20, -50}, {-45, -55},
    {45, 55},  {-75, -30}, {75, 30},  {-10, 75},  {10, -75}, {-50, 40}, {50, -40}, {-35, 70},
    {35, -70}, {-70, -60}, {70, 60},  {-15, -35}, {15, 35},  {-80, 0},  {80, 0},   {0, 80},
    {0, -80},  {-25, 15},  {25, -15}, {-55, -75}, {55, 75},  {-40, 65}, {40, -65}, {-65, 45},
};

constexpr int32_t kBigExplosion = 6;
constexpr int32_t kWhiteHot = 8;

}  // namespace

void BossDestruction::step(EnemyBase& boss, const KindReward& reward, bool fadeBossTune) {
    System* sys = systemOf(boss);
    if (!sys) return;
    const int32_t step = counter++;
    const int effectLayer = layer::debrisLayer(boss.layer);
    if (step == 0) {
        boss.dead = 1;
        nearKill = boss.killReward(reward.chainTime, reward.baseScore, reward.energyCost);
        dropEnergyUnlessLaser(boss, nearKill + reward.energyBonus);
        if (BossShieldFrame* shield = BossShieldFrame::find(*sys)) shield->close();
        for (int i = 0; i < 4; ++i) sys->spawnFront<VozerorExplosion>(effectLayer, boss.x, boss.y);
        playSound(*sys, SoundManager::kSoundKill);
        if (fadeBossTune) stopSound(*sys, SoundManager::kMusicBoss);
    }
    cancelAllBullets(*sys);
    if (step >= 4 && step <= 68 && step % 4 == 0) {
        const int32_t burst = step / 4 - 1;
        for (int32_t i = 0; i < 5; ++i) {
            const PixelOffset o = kBurstOffsets[(5 * burst + i) % 20];
            sys->spawnFront<Explosion>(effectLayer, boss.x + fixedFromInt(o.dx),
                                       boss.y + fixedFromInt(o.dy), 0, -kFixedOne, kBigExplosion);
        }
        if (step == 28 || step == 68) playSound(*sys, SoundManager::kSoundKill);
    }
    if (step < kLastStep) return;
    for (const PixelOffset& o : kFinalOffsets) {
        sys->spawnFront<Explosion>(effectLayer, boss.x + fixedFromInt(o.dx),
                                   boss.y + fixedFromInt(o.dy), 0, 0, kWhiteHot);
    }
    sys->spawnFront<Vibration>(layer::kEffect, 160, 64);
    sys->spawnFront<Flash>(layer::kEffect, 92);
    for (int i = 0; i < 6; ++i) sys->spawnFront<VozerorExplosion>(effectLayer, boss.x, boss.y);
    sys->spawnFront<Blur>(layer::kEffect, Blur::kBossDuration);
    playSound(*sys, SoundManager::kSoundBossKill);
    boss.end();
}

void burnOutAfter(EnemyBase& boss, int32_t timeLimit) {
    if (boss.frameCount <= timeLimit || boss.hitPoints <= 0) return;
    boss.hitPoints -= 200;
    boss.lastHitKind = kHitShot;
    if (boss.hitPoints <= 0) boss.timedOut = 1;
}

void keepBossShield(EnemyBase& boss, int32_t maximum) {
    System* sys = systemOf(boss);
    if (!sys || boss.dead) return;
    // A gauge still sliding away after an earlier boss is not this boss's: a new one goes in
    // front of it, where the search finds it first from then on.
    BossShieldFrame* shield = BossShieldFrame::find(*sys);
    if (shield && shield->phase != BossShieldFrame::kClosing) {
        shield->setValue(boss.hitPoints);
    } else {
        sys->spawnFront<BossShieldFrame>(layer::kFrame, maximum);
    }
}

}  // namespace vg
