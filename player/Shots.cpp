#include "player/Shots.h"

#include <algorithm>
#include <cmath>

#include "core/FixedMath.h"
#include "core/Layers.h"
#include "core/System.h"
#include "enemy/EnemyBase.h"
#include "player/ShipEffects.h"
#include "render/Blend.h"
#include "render/Cell.h"
#include "resources/ImageSlots.h"

namespace vg {

namespace {

namespace cells = atlas::ship;

// Damage by shot type 0..5; any other type deals the first.
using DamageTable = int32_t[6];
constexpr DamageTable kShot1Damage = {90, 110, 140, 90, 90, 90};
constexpr DamageTable kShot2Damage = {100, 105, 110, 100, 100, 100};
constexpr DamageTable kShot4Damage = {70, 85, 90, 70, 70, 70};
constexpr int32_t kLaserShot1Damage = 90;
constexpr DamageTable kLaserShot2Damage = {80, 100, 110, 120, 140, 160};
constexpr DamageTable kLaserShot4Damage = {80, 100, 120, 130, 150, 180};

int32_t damageOf(const DamageTable& table, uint8_t type) {
    return type < 6 ? table[type] : table[0];
}

constexpr int32_t kHomingTurn = 2;  // degrees per frame
constexpr int32_t kHomingTopSpeed = 16 * kFixedOne;
constexpr int32_t kHomingAcceleration = kFixedOne / 4;

}  // namespace

PlayerShot::PlayerShot(int32_t x0, int32_t y0, int32_t speed, int32_t angle, uint8_t ownerIndex,
                       uint8_t type, bool isLaser, const atlas::Cell& cell, int32_t amount)
    : ShotBase(x0, y0, speed, angle, ownerIndex, type, isLaser), cell_(cell) {
    damage = amount;
}

void PlayerShot::draw(DIB& surface) {
    const System* sys = systemOf(*this);
    if (!sys) return;
    blitCellCentred(sys->imageSlots[kSlotShip], surface, cell_,
                    std::min<int32_t>(shotType, cell_.frames - 1), screenX(*sys, x),
                    screenY(*sys, y), ColorKey);
}

void PlayerShot::hit() {
    if (System* sys = systemOf(*this)) {
        if (laser) {
            sys->spawnFront<LaserBurst>(layer::kEffect, x, y, vx / 4, vy / 4);
            sys->spawnFront<LaserParticle>(layer::kEffect, x, y);
        } else {
            sys->spawnFront<ShotBurst>(layer::kEffect, x, y, vx / 4, vy / 4);
        }
    }
    end();
}

Shot1::Shot1(int32_t x0, int32_t y0, int32_t speed, int32_t angle, uint8_t owner, uint8_t type)
    : PlayerShot(x0, y0, speed, angle, owner, type, false, cells::kShot1,
                 damageOf(kShot1Damage, type)) {}

Shot2::Shot2(int32_t x0, int32_t y0, int32_t speed, int32_t angle, uint8_t owner, uint8_t type)
    : PlayerShot(x0, y0, speed, angle, owner, type, false, cells::kShot2,
                 damageOf(kShot2Damage, type)) {}

Shot3::Shot3(int32_t x0, int32_t y0, int32_t speed, int32_t angle, uint8_t owner, uint8_t type)
    : PlayerShot(x0, y0, speed, angle, owner, type, false, cells::kShot3,
                 damageOf(kShot1Damage, type)) {}

Shot4::Shot4(int32_t x0, int32_t y0, int32_t speed, int32_t angle, uint8_t owner, uint8_t type)
    : PlayerShot(x0, y0, speed, angle, owner, type, false, cells::kShot4,
                 damageOf(kShot4Damage, type)) {}

LaserShot1::LaserShot1(int32_t x0, int32_t y0, int32_t speed, int32_t angle, uint8_t owner)
    : PlayerShot(x0, y0, speed, angle, owner, 0, true, cells::kLaserShot1, kLaserShot1Damage) {}

LaserShot2::LaserShot2(int32_t x0, int32_t y0, int32_t speed, int32_t angle, uint8_t owner,
                       uint8_t type)
    : PlayerShot(x0, y0, speed, angle, owner, type, true, cells::kLaserShot2,
                 damageOf(kLaserShot2Damage, type)) {}

LaserShot3::LaserShot3(int32_t x0, int32_t y0, int32_t speed, int32_t angle, uint8_t owner)
    : PlayerShot(x0, y0, speed, angle, owner, 0, true, cells::kLaserShot3, kLaserShot1Damage) {}

LaserShot4::LaserShot4(int32_t x0, int32_t y0, int32_t speed0, int32_t angle, uint8_t owner,
                       uint8_t type)
    : PlayerShot(x0, y0, speed0, angle, owner, type, true, cells::kLaserShot4,
                 damageOf(kLaserShot4Damage, type)),
      heading(static_cast<double>(angle) / kFixedOne),
      speed(speed0) {}

void LaserShot4::update() {
    const System* sys = systemOf(*this);
    if (const EnemyBase* target = sys ? EnemyBase::nearestEnemy(*sys, x, y) : nullptr) {
        const double toward = atan2Double(static_cast<double>(target->y - y) / kFixedOne,
                                          static_cast<double>(target->x - x) / kFixedOne);
        heading = turnToward(toward, heading, kHomingTurn);
        const auto angle = static_cast<int32_t>(heading * kFixedOne);
        vx = fixedMul(speed, cosFixed(angle));
        vy = fixedMul(speed, sinFixed(angle));
        if (speed < kHomingTopSpeed) speed += kHomingAcceleration;
    }
    ShotBase::update();
}

}  // namespace vg
