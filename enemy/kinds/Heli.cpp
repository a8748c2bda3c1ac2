#include "enemy/kinds/Heli.h"

#include "core/GameSound.h"
#include "core/Layers.h"
#include "core/System.h"
#include "enemy/Bullet.h"
#include "enemy/EnemyCommon.h"
#include "enemy/KindSpawn.h"
#include "player/Pickups.h"
#include "player/PlayerBase.h"
#include "sound/SoundBank.h"

namespace vg {

namespace {

constexpr uint8_t kGlintOrb = 3;
constexpr int32_t kSlow = 2 * kFixedOne;
constexpr int32_t kFast = 163840;  // 2.5

constexpr PixelOffset kFirstBursts[] = {{-10, 30}, {10, 30}};
constexpr PixelOffset kMiddleBursts[] = {{-29, 0}, {-9, 10}, {11, -10}, {31, 0}};
constexpr PixelOffset kLastBursts[] = {{0, -30}};
constexpr KindFigures kFigures{
    .hitPoints = Heli::kHitPoints,
    .entryHold = 0,
    .hitBox = {-30, 5, 30, 15},
    .bounds = {-82, -50, 394, 434},
    .reward = {128, 200, 5, 2},
    .destruction = Destruction::Bursts,
    .bursts = {6, 5, SoundManager::kSoundKill, false, kFirstBursts, kMiddleBursts, kLastBursts},
    .sprite = &atlas::enemy::kHeli,
    .shadow = &atlas::enemy::kHeliShadow,
    .shadowPicture = ShadowPicture::Own,
};

}  // namespace

Heli::Heli(int32_t x0, int32_t y0, uint8_t carried) : KindBase(x0, y0, kFigures), variant(carried) {
    vy = 39321;
}

void Heli::move(System&) {
    moveByVelocity(*this);
}

void Heli::act(System& sys) {
    if (frameCount < 600) fire(sys);
}

void Heli::fire(System& sys) {
    const PlayerBase* player = nearestPlayer();
    if (!player) return;
    const int32_t tx = aimX(sys, *player);
    const int32_t ty = aimY(*player);
    const int32_t p = (frameCount - 48) & 127;
    if (p == 0) {
        fireAimedFan(2, sys, tx, ty, x, y, kSlow, 35 * kDegree, kGlintOrb, serial);
        fireAimedFan(2, sys, tx, ty, x, y, kFast, 35 * kDegree, kGlintOrb, serial);
    } else if (p == 20) {
        fireAimedFan(3, sys, tx, ty, x, y, kSlow, 20 * kDegree, kGlintOrb, serial);
        fireAimedFan(2, sys, tx, ty, x, y, kFast, 20 * kDegree, kGlintOrb, serial);
    }
}

void Heli::destroyed(System& sys) {
    // Diagonally away, the signs taken from the age and the integer y; variant 2 the other way.
    int32_t itemVx = (frameCount & 1) ? -kFixedOne : kFixedOne;
    int32_t itemVy = (fixedToInt(y) & 1) ? -kFixedOne : kFixedOne;
    if (variant == 2) {
        itemVx = -itemVx;
        itemVy = -itemVy;
    }
    const uint8_t type = variant == 2 ? kItemBomb : kItemPowerUp;
    sys.spawnFront<Item>(layer::kItem, x, y, itemVx, itemVy, type);
}

EnemyBase* spawnHeli(KindSpawn& spawn) {
    return spawn.create<Heli>(spawn.x(), spawn.y(), spawn.kind.variant);
}

}  // namespace vg
