#include "enemy/kinds/Kite.h"

#include "core/Layers.h"
#include "core/System.h"
#include "effects/Particles.h"
#include "enemy/Bullet.h"
#include "enemy/EnemyCommon.h"
#include "enemy/KindSpawn.h"
#include "sound/SoundBank.h"

namespace vg {

namespace {

constexpr int32_t kDrift = 62259;  // 0.95
constexpr int32_t kShellSpeed = 3 * kFixedOne;
constexpr uint8_t kShell = 5;

constexpr PixelOffset kFirstBursts[] = {{-14, 30}, {34, 30}};
constexpr PixelOffset kMiddleBursts[] = {{-44, 0}, {4, 0}, {52, 0}};
constexpr PixelOffset kLastBursts[] = {{-34, -20}, {14, -20}, {62, -20}};
// Medium air kind: held for 40 frames, bursts of 4 pieces at steps 0, 4 and 8 where it stands,
// the last with the shock ring.
constexpr KindFigures kFigures{
    .hitPoints = Kite::kHitPoints,
    .entryHold = 40,
    .hitBox = {-64, -20, 64, 15},
    .bounds = {-96, -64, 408, 448},
    .reward = {128, 250, 8, 3},
    .destruction = Destruction::Bursts,
    .bursts = {4, 4, SoundManager::kSoundKill2, true, kFirstBursts, kMiddleBursts, kLastBursts},
    .sprite = &atlas::enemy::kKite,
    .shadow = &atlas::enemy::kKite,
};

}  // namespace

Kite::Kite(int32_t x0, int32_t y0, int32_t direction, int32_t speed, int8_t level)
    : KindBase(x0, y0, kFigures) {
    attackLevel = level;
    setVelocityAlong(*this, direction, speed);
}

// The sideways drift dies away; the vertical motion stays.
void Kite::move(System&) {
    moveByVelocity(*this);
    vx = fixedMul(vx, kDrift);
}

// Only while it has hit points: fire, then the two booster flames on even ages.
void Kite::act(System& sys) {
    fire(sys);
    if (frameCount % 2 == 0) {
        for (const int32_t side : {-24, 24}) {
            sys.spawnFront<BoosterEffect>(layer::kEffect, x + fixedFromInt(side),
                                          y - fixedFromInt(36), 2 * kFixedOne, 270 * kDegree);
        }
    }
}

void Kite::fire(System& sys) {
    if (frameCount >= 240 || !nearestPlayer()) return;
    const int32_t phase = frameCount % 80;
    if (phase == 0) latchTarget(*this);
    if (attackLevel < -2) return;
    if (phase % 5 != 0 || phase / 5 > attackLevel + 2) return;
    const int32_t n = 2 * attackLevel + 3;
    const int32_t spread = (20 - 2 * attackLevel) * kDegree;
    const auto volley = [&](int32_t dx, int32_t dy) {
        fireAimedFan(n, sys, targetX, targetY, x + fixedFromInt(dx), y + fixedFromInt(dy),
                     kShellSpeed, spread, kShell, serial);
    };
    volley(-30, 10);
    volley(30, 10);
    if (attackLevel >= 1) {
        volley(-20, 20);
        volley(20, 20);
    }
}

EnemyBase* spawnKite(KindSpawn& spawn) {
    return spawn.create<Kite>(spawn.x(), spawn.y(), spawn.number("direction"),
                              spawn.number("speed"), spawn.attackLevel());
}

}  // namespace vg
