#include "enemy/Bullet.h"

#include <cmath>
#include <cstdint>

#include "core/FixedMath.h"
#include "core/Layers.h"
#include "core/System.h"
#include "core/TaskQuery.h"
#include "effects/FloatingText.h"
#include "effects/Particles.h"
#include "player/Pickups.h"
#include "player/PlayerBase.h"
#include "render/Blit.h"
#include "render/Cell.h"
#include "resources/ImageSlots.h"

namespace vg {

namespace {

namespace cells = atlas::bullet;

// The cold colour set lies this far below the hot one on the bullet sheet.
constexpr int32_t kColdSetOffset = 111;
// 5.625 degrees (half a sprite direction step) in 16.16.
constexpr int32_t kHalfDirectionStep = 368640;

// Sprite direction of a velocity: its heading in whole degrees (0..359), rounded to the
// nearest of 32 steps of 11.25 degrees; 360 - 5.625 and above gives 32, drawn as 0.
uint8_t directionOfVelocity(int32_t vx, int32_t vy) {
    int32_t degrees = atan2Fixed(vy, vx) / kFixedOne;
    if (degrees < 0) degrees += 360;
    return static_cast<uint8_t>((degrees * 1000 + 5625) / 11250);
}

// Sprite direction of an angle (16.16 degrees): the whole degrees of angle + 5.625 (floored, so
// an angle and the same angle a turn later agree), made 0..359, over 11.25.
uint8_t directionOfAngle(int32_t angle) {
    const int64_t shifted = static_cast<int64_t>(angle) + kHalfDirectionStep;
    int64_t degrees =
        shifted >= 0 ? shifted / kFixedOne : -((-shifted + kFixedOne - 1) / kFixedOne);
    degrees %= 360;
    if (degrees < 0) degrees += 360;
    return static_cast<uint8_t>(degrees * 100 / 1125);
}

// The sheet holds frames 0..8 of a quarter turn; the other quarters mirror them.
struct DirectionalFrame {
    int32_t frame;
    bool mirrorX;
    bool mirrorY;
};
DirectionalFrame directionalFrame(int32_t index) {
    if (index < 8) return {index, false, false};
    if (index < 16) return {16 - index, true, false};
    if (index < 24) return {index - 16, true, true};
    return {32 - index, false, true};
}

const atlas::Cell& cellOfType(uint8_t type) {
    static constexpr const atlas::Cell* kCells[] = {
        &cells::kBullet0, &cells::kBullet1, &cells::kBullet2, &cells::kBullet3,
        &cells::kBullet4, &cells::kBullet5, &cells::kBullet6, &cells::kBullet7,
    };
    return *kCells[type <= kBulletCancelled ? type : 0];
}

int32_t speedComponent(int64_t delta, int32_t speed, int32_t distance) {
    return static_cast<int32_t>(delta * speed / distance);
}

}  // namespace

BulletBase::BulletBase(int32_t x0, int32_t y0, int32_t vx0, int32_t vy0)
    : x(x0), y(y0), vx(vx0), vy(vy0) {}

void BulletBase::update() {
    x += vx;
    y += vy;
    if (x < fixedFromInt(-16) || x > fixedFromInt(288) || y < fixedFromInt(-16) ||
        y > fixedFromInt(400)) {
        end();
        return;
    }
    ++age;
}

void BulletBase::draw(DIB& surface) {
    const System* system = systemOf(*this);
    if (!system) return;
    const int32_t sx = screenX(*system, x);
    const int32_t sy = screenY(*system, y);
    fillRect(&surface, sx + hitBox.left, sy + hitBox.top, hitBox.right - hitBox.left,
             hitBox.bottom - hitBox.top, 0xffff30, 0, 255);
}

Bullet::Bullet(AimAt target, int32_t x0, int32_t y0, int32_t speed, uint8_t bulletType,
               int32_t owner)
    : BulletBase(x0, y0, 0, speed), type(bulletType), ownerId(owner) {
    const int64_t dx = static_cast<int64_t>(target.x) - x0;
    const int64_t dy = static_cast<int64_t>(target.y) - y0;
    const double length = std::sqrt(static_cast<double>(dx) * static_cast<double>(dx) +
                                    static_cast<double>(dy) * static_cast<double>(dy));
    // The distance is truncated back to 16.16; below one unit the bullet falls straight down.
    const int32_t distance = length < 2147483647.0 ? static_cast<int32_t>(length) : 2147483647;
    if (distance > 0) {
        vx = speedComponent(dx, speed, distance);
        vy = speedComponent(dy, speed, distance);
    }
    direction = directionOfVelocity(vx, vy);
}

Bullet::Bullet(int32_t x0, int32_t y0, int32_t angle, int32_t speed, uint8_t bulletType,
               int32_t owner)
    : BulletBase(x0, y0, fixedMul(speed, cosFixed(angle)), fixedMul(speed, sinFixed(angle))),
      type(bulletType),
      direction(directionOfAngle(angle)),
      ownerId(owner) {}

void Bullet::draw(DIB& surface) {
    System* system = systemOf(*this);
    if (!system) return;
    // A frozen game (the pause and continue screens) still draws its tasks: the picture must
    // not move on, so only a running bullet advances its animation.
    const bool running = state == kTaskActive;
    if (type == kBulletCancelled && animationStep > 12) {
        if (running) end();
        return;
    }
    const DIB& sheet = system->imageSlots[kSlotBullet];
    const int32_t sx = screenX(*system, x);
    const int32_t sy = screenY(*system, y);
    const int32_t setOffset = bulletsInColdColours(*system) ? kColdSetOffset : 0;
    const uint8_t step = animationStep;

    int32_t frame = 0;
    bool mirrorX = false;
    bool mirrorY = false;
    switch (type) {
        case 0:
            frame = step / 3 % 4;
            break;
        case 2:
            frame = step % 8;
            break;
        case 3:
            frame = step / 3 % 10;
            break;
        case 6:
            frame = step / 2 % 8;
            break;
        case kBulletCancelled:
            frame = step / 3;
            break;
        case 1:
        case 4:
        case 5: {
            const DirectionalFrame d = directionalFrame(direction);
            frame = d.frame;
            mirrorX = d.mirrorX;
            mirrorY = d.mirrorY;
            break;
        }
        default:
            break;
    }
    atlas::Cell cell = cellOfType(type);
    cell.y += setOffset;
    blitCellCentred(sheet, surface, cell, frame, sx, sy, ColorKey, 0, mirrorX, mirrorY);

    if (age == 1) {
        atlas::Cell flash = cells::kSpawnFlash;
        flash.y += setOffset;
        blitCellCentred(sheet, surface, flash, 0, sx, sy, Add, 128, (fixedToInt(x) & 1) != 0,
                        (fixedToInt(y) & 1) != 0);
    }
    // Each cycle above repeats within 240 steps, so the byte may wrap without a jump.
    if (running)
        animationStep =
            static_cast<uint8_t>(type == kBulletCancelled ? step + 1 : (step + 1) % 240);
}

void Bullet::cancel() {
    if (type == kBulletCancelled) return;
    type = kBulletCancelled;
    animationStep = 0;
    vx /= 2;
    vy /= 2;
}

namespace {

Bullet* announced(TaskManager& manager, Bullet* bullet) {
    if (bullet) {
        const System* system = dynamic_cast<const System*>(&manager);
        if (system && system->observer) system->observer->bulletFired(*bullet);
    }
    return bullet;
}

}  // namespace

Bullet* fireAimed(TaskManager& manager, int32_t targetX, int32_t targetY, int32_t x, int32_t y,
                  int32_t speed, uint8_t type, int32_t ownerId, BulletOrder order) {
    const AimAt target{targetX, targetY};
    return announced(
        manager,
        order == BulletOrder::Front
            ? manager.spawnFront<Bullet>(layer::kBullet, target, x, y, speed, type, ownerId)
            : manager.spawnBack<Bullet>(layer::kBullet, target, x, y, speed, type, ownerId));
}

Bullet* fireAngled(TaskManager& manager, int32_t x, int32_t y, int32_t angle, int32_t speed,
                   uint8_t type, int32_t ownerId, BulletOrder order) {
    return announced(
        manager,
        order == BulletOrder::Front
            ? manager.spawnFront<Bullet>(layer::kBullet, x, y, angle, speed, type, ownerId)
            : manager.spawnBack<Bullet>(layer::kBullet, x, y, angle, speed, type, ownerId));
}

void fireFan(int32_t n, TaskManager& manager, int32_t x, int32_t y, int32_t centreAngle,
             int32_t speed, int32_t spread, uint8_t type, int32_t ownerId, BulletOrder order) {
    if (n <= 0) return;
    const int64_t c = centreAngle;
    const int64_t s = spread;
    // An even fan straddles the centre line by half a spacing.
    const int64_t first = n % 2 ? c - s * (n - 1) / 2 : c + s / 2 - s * n / 2;
    for (int32_t i = 0; i < n; ++i) {
        int64_t angle = first + s * i;
        // Only a fan of absurd width leaves the range of the 16.16 word: bring it back by turns.
        if (angle > INT32_MAX || angle < INT32_MIN) angle %= 360LL * kFixedOne;
        fireAngled(manager, x, y, static_cast<int32_t>(angle), speed, type, ownerId, order);
    }
}

void fireAimedFan(int32_t n, TaskManager& manager, int32_t targetX, int32_t targetY, int32_t x,
                  int32_t y, int32_t speed, int32_t spread, uint8_t type, int32_t ownerId,
                  BulletOrder order) {
    if (n <= 0) return;
    int32_t centre = atan2Fixed(targetY - y, targetX - x) / kFixedOne;
    if (centre < 0) centre += 360;
    fireFan(n, manager, x, y, fixedFromInt(centre), speed, spread, type, ownerId, order);
}

int changeBulletsToCrystals(System& system, int32_t serial, const PlayerBase* killer, int32_t x,
                            int32_t y) {
    uint8_t energyTier = 1;
    uint8_t crystalTier = 1;
    if (killer) {
        energyTier = killer->energy >= 48 ? 3 : killer->energy >= 32 ? 2 : 1;
        crystalTier = killer->crystals >= 1024 ? 3 : killer->crystals >= 512 ? 2 : 1;
    }
    int changed = 0;
    forEachInLayer<Bullet>(system, layer::kBullet, [&](Bullet& bullet) {
        if (bullet.type == kBulletCancelled) return;
        if (bullet.ownerId != serial && bullet.ownerId != -1) return;
        system.spawnFront<Crystal>(layer::kCrystal, bullet.x, bullet.y, energyTier, crystalTier,
                                   static_cast<int16_t>(changed / 4 + 24));
        system.spawnFront<ChangeBulletEffect>(layer::kBulletChange, changed, bullet.x, bullet.y,
                                              bullet.vx, bullet.vy);
        bullet.end();
        ++changed;
    });
    if (changed > 0 && system.config.bulletChangeCount) {
        system.spawnFront<ChangeBulletNumFont>(layer::kEffect, x, y, changed);
    }
    return changed;
}

void cancelAllBullets(TaskManager& manager) {
    forEachInLayer<BulletBase>(manager, layer::kBullet,
                               [](BulletBase& bullet) { bullet.cancel(); });
}

bool bulletsInColdColours(const TaskManager& manager) {
    bool cold = false;
    forEachInLayer<PlayerBase>(manager, layer::kPlayer, [&](PlayerBase& player) {
        if (player.energy == 0) cold = true;
    });
    return cold;
}

}  // namespace vg
