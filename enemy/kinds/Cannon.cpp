#include "enemy/kinds/Cannon.h"

#include "core/FixedMath.h"
#include "core/GameSound.h"
#include "core/Layers.h"
#include "core/MapScroll.h"
#include "core/System.h"
#include "effects/Explosions.h"
#include "enemy/Bullet.h"
#include "enemy/EnemyCommon.h"
#include "enemy/KindSpawn.h"
#include "sound/SoundBank.h"

namespace vg {

namespace {

constexpr int32_t kStraightSpeed = 157286;  // 2.4
constexpr int32_t kSpreadSpeed = 2 * kFixedOne;
constexpr int32_t kSpread = 25 * kDegree;
constexpr uint8_t kOrb = 0;

// Where the bursts of the destruction go off, one every 5 steps from step 0 to step 25.
constexpr PixelOffset kBursts[6] = {{0, 0}, {-22, -14}, {20, 12}, {-16, 20}, {24, -18}, {0, 4}};

// It rides the ground on while it bursts.
constexpr KindFigures kFigures{
    .hitPoints = Cannon::kHitPoints,
    .entryHold = 0,
    .hitBox = {-45, -45, 45, 45},
    .bounds = {-50, -50, 322, 384},
    .reward = {128, 250, 5, 4},
    .destruction = Destruction::Own,
    .movesWhileDead = true,
    .sprite = &atlas::enemy::kCannon,
};

}  // namespace

Cannon::Cannon(int32_t x0, int32_t y0, int8_t level) : KindBase(x0, y0, kFigures) {
    attackLevel = level;
}

void Cannon::move(System& sys) {
    moveByVelocity(*this, mapSpeed(sys));
}

void Cannon::act(System& sys) {
    if (nearestPlayer()) {
        turretAngle = turnTowardTarget(*this, turretAngle, 2.0);
        if (frameCount < 420) fire(sys);
    }
}

void Cannon::fire(System& sys) {
    const int32_t phase = frameCount & 63;
    if (attackLevel < 0 || phase % 8 != 0 || phase / 8 > attackLevel) return;
    const int32_t theta = fixedDegrees(turretAngle);
    const int32_t c = cosFixed(theta);
    const int32_t s = sinFixed(theta);
    // The barrel tips, 40 pixels ahead of the centre and 10 to each side.
    const int32_t firstX = x + 40 * c + 10 * s;
    const int32_t firstY = y + 40 * s - 10 * c;
    const int32_t secondX = x + 40 * c - 10 * s;
    const int32_t secondY = y + 40 * s + 10 * c;
    const BulletOrder front = BulletOrder::Front;
    fireAngled(sys, firstX, firstY, theta, kStraightSpeed, kOrb, serial, front);
    fireAngled(sys, firstX, firstY, theta - kSpread, kSpreadSpeed, kOrb, serial, front);
    fireAngled(sys, secondX, secondY, theta, kStraightSpeed, kOrb, serial, front);
    fireAngled(sys, secondX, secondY, theta + kSpread, kSpreadSpeed, kOrb, serial, front);
}

void Cannon::destructionStep(System& sys) {
    const int32_t step = deathCounter++;
    if (step == 0) {
        dead = 1;
        const KindReward& reward = figures().reward;
        nearKill = killReward(reward.chainTime, reward.baseScore, reward.energyCost);
        playSound(sys, SoundManager::kSoundKill2);
    }
    if (step % 5 != 0 || step > 25) return;
    const PixelOffset o = kBursts[step / 5];
    burstsAt(*this, {o}, 4);
    if (step == 25) {
        sys.spawnFront<Burn>(layer::wreckLayer(layer), x, y);
        dropEnergyUnlessLaser(*this, nearKill + figures().reward.energyBonus);
        closingExplosion(*this, false);
        end();
    }
}

int32_t Cannon::spriteFrame() const {
    return (static_cast<int32_t>(turretAngle) + 5) / 10 % 36;
}

void Cannon::drawSprite(DIB& surface, const System& sys, bool red) {
    // The destroyed turret is gone; its bursts and wreck are effects of their own.
    if (!dead) KindBase::drawSprite(surface, sys, red);
}

EnemyBase* spawnCannon(KindSpawn& spawn) {
    return spawn.create<Cannon>(spawn.x(), spawn.y(), spawn.attackLevel());
}

}  // namespace vg
