#include "enemy/EnemyCommon.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "core/FixedMath.h"
#include "core/GameRandom.h"
#include "core/Layers.h"
#include "core/System.h"
#include "effects/Explosions.h"
#include "effects/Rings.h"
#include "enemy/EnemyBase.h"
#include "player/PlayerBase.h"
#include "render/Blend.h"
#include "render/Cell.h"
#include "resources/ImageSlots.h"

namespace vg {

namespace {

constexpr int64_t kFullTurn = 360LL * kFixedOne;
// 11.25 and 22.5 degrees in 16.16.
constexpr int64_t kHalfSixteenth = 737280;
constexpr int64_t kSixteenth = 1474560;

// How strongly a sprite used as its own shadow darkens the ground.
constexpr uint32_t kSpriteShadowAlpha = 96;

int64_t magnitude(int32_t value) {
    return std::llabs(static_cast<int64_t>(value));
}

}  // namespace

Velocity velocityAlong(int32_t direction, int32_t speed) {
    return {fixedMul(speed, cosFixed(direction)), fixedMul(speed, sinFixed(direction))};
}

void setVelocityAlong(EnemyBase& enemy, int32_t direction, int32_t speed) {
    const Velocity v = velocityAlong(direction, speed);
    enemy.vx = v.x;
    enemy.vy = v.y;
}

int32_t wrapAngle(int64_t angle) {
    int64_t wrapped = angle % kFullTurn;
    if (wrapped < 0) wrapped += kFullTurn;
    return static_cast<int32_t>(wrapped);
}

int32_t sixteenDirectionFrame(int32_t direction) {
    return static_cast<int32_t>(wrapAngle(direction + kHalfSixteenth) / kSixteenth);
}

int32_t addClamped(int32_t a, int32_t b) {
    const int64_t sum = static_cast<int64_t>(a) + b;
    if (sum > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (sum < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(sum);
}

void moveByVelocity(EnemyBase& enemy, int32_t extraY) {
    enemy.x = addClamped(enemy.x, enemy.vx);
    enemy.y = addClamped(addClamped(enemy.y, enemy.vy), extraY);
}

bool outsideBounds(const EnemyBase& enemy, int32_t left, int32_t top, int32_t right,
                   int32_t bottom) {
    return enemy.x > fixedFromInt(right) || enemy.x < fixedFromInt(left) ||
           enemy.y > fixedFromInt(bottom) || enemy.y < fixedFromInt(top);
}

int32_t distanceToPlayer(const System& system, const EnemyBase& enemy, const PlayerBase& player) {
    const double dx = static_cast<double>(player.fieldX(system)) - fixedToInt(enemy.x);
    const double dy = static_cast<double>(player.fieldY()) - fixedToInt(enemy.y);
    return static_cast<int32_t>(std::sqrt(dx * dx + dy * dy));
}

double headingTo(int32_t x, int32_t y, int32_t tx, int32_t ty) {
    const double dx = (static_cast<double>(tx) - x) / kFixedOne;
    const double dy = (static_cast<double>(ty) - y) / kFixedOne;
    return atan2Double(dy, dx);
}

int32_t fixedDegrees(double degrees) {
    return static_cast<int32_t>(degrees * kFixedOne);
}

bool latchTarget(EnemyBase& enemy) {
    const System* system = systemOf(enemy);
    const PlayerBase* player = enemy.nearestPlayer();
    if (!system || !player) return false;
    enemy.targetX = EnemyBase::aimX(*system, *player);
    enemy.targetY = EnemyBase::aimY(*player);
    return true;
}

double turnTowardTarget(const EnemyBase& enemy, double aim, double maxStep) {
    const System* system = systemOf(enemy);
    const PlayerBase* player = enemy.nearestPlayer();
    if (!system || !player) return aim;
    const double heading =
        headingTo(enemy.x, enemy.y, EnemyBase::aimX(*system, *player), EnemyBase::aimY(*player));
    return turnToward(heading, aim, maxStep);
}

int32_t randomThrow() {
    const int32_t r = static_cast<int32_t>(gameRandom().randomNext() & 127);
    return (r - 63) * (kFixedOne / 32);
}

void dropEnergyUnlessLaser(EnemyBase& enemy, int32_t code) {
    if (enemy.lastHitKind != kHitLaser) enemy.energyDrop(code);
}

void closingExplosion(EnemyBase& enemy, bool ring) {
    System* system = systemOf(enemy);
    if (!system) return;
    const int effectLayer = layer::debrisLayer(enemy.layer);
    if ((enemy.frameCount & 7) == 0) {
        system->spawnFront<VozerorExplosion>(effectLayer, enemy.x, enemy.y);
    } else if ((enemy.frameCount & 3) == 1) {
        const int32_t throwX = randomThrow();
        const int32_t throwY = randomThrow();
        system->spawnFront<Explosion>(effectLayer, enemy.x, enemy.y, throwX, throwY, 1);
    }
    if (ring) system->spawnFront<RingEffect>(effectLayer, enemy.x, enemy.y, 16, 192, 0);
}

void burstsAt(EnemyBase& enemy, std::initializer_list<PixelOffset> offsets, int32_t debris) {
    burstsAt(enemy, std::span<const PixelOffset>(offsets.begin(), offsets.size()), debris);
}

void burstsAt(EnemyBase& enemy, std::span<const PixelOffset> offsets, int32_t debris) {
    for (const PixelOffset& o : offsets) {
        enemy.destroyEffects(enemy.x + fixedFromInt(o.dx), enemy.y + fixedFromInt(o.dy), enemy.vx,
                             -kFixedOne, debris);
    }
}

void BrakeMotion::step(int32_t age, int32_t& vx, int32_t& vy) const {
    if (age <= frames) {
        vx = fixedMul(vx, factor);
        vy = fixedMul(vy, factor);
        return;
    }
    // After braking: a stopped component starts again from the course, and the craft speeds up
    // by the inverse factor until one component reaches the speed. Magnitudes are compared, so
    // a craft flying left or up stops accelerating too.
    const Velocity course = velocityAlong(this->course, speed);
    if (vx == 0) vx = factor != 0 ? fixedDiv(course.x, factor) : course.x;
    if (vy == 0) vy = factor != 0 ? fixedDiv(course.y, factor) : course.y;
    if (factor != 0 && magnitude(vx) < magnitude(speed) && magnitude(vy) < magnitude(speed)) {
        vx = fixedDiv(vx, factor);
        vy = fixedDiv(vy, factor);
    }
}

const DIB& enemySheet(const System& system) {
    return system.imageSlots[kSlotEnemy];
}

void drawLit(const EnemyBase& enemy, DIB& surface, const DIB& sheet, const atlas::Cell& cell,
             int32_t frame, int32_t left, int32_t top, bool red, bool mirrorX, bool mirrorY) {
    if (red) {
        blitCell(sheet, surface, cell, frame, left, top, ColorKey | Tint, 0xff0000, mirrorX,
                 mirrorY);
    } else {
        blitCell(sheet, surface, cell, frame, left, top, ColorKey, 0, mirrorX, mirrorY);
    }
    // The hit pass that counts the flash down no longer runs once the enemy is dead.
    if (enemy.hitFlash > 0 && !enemy.dead) {
        blitCell(sheet, surface, cell, frame, left, top, ColorKey | Alpha | Mask, 0x400000ff,
                 mirrorX, mirrorY);
    }
}

ShadowSpot airShadowSpot(int32_t x, int32_t y) {
    const int32_t px = fixedToInt(x);
    const int32_t py = fixedToInt(y);
    return {px + (130 - px) / 4, py + (256 - py) / 4 + 40};
}

void drawAirShadow(const EnemyBase& enemy, DIB& surface, const DIB& sheet, const atlas::Cell& cell,
                   int32_t frame, ShadowPicture picture) {
    const System* system = systemOf(enemy);
    if (!system) return;
    const ShadowSpot spot = airShadowSpot(enemy.x, enemy.y);
    const bool own = picture == ShadowPicture::Own;
    blitCellCentred(sheet, surface, cell, frame, screenX(*system, fixedFromInt(spot.x)),
                    screenY(*system, fixedFromInt(spot.y)),
                    own ? Subtract : (ColorKey | Alpha | Subtract), own ? 128 : kSpriteShadowAlpha);
}

}  // namespace vg
