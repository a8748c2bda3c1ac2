#include "player/ShipEffects.h"

#include <algorithm>

#include "core/FixedMath.h"
#include "core/GameRandom.h"
#include "core/System.h"
#include "render/Blend.h"
#include "render/Cell.h"
#include "resources/ImageSlots.h"

namespace vg {

namespace {

// Drag of the bomb sparks, 16.16.
constexpr int32_t kSparkDrag = 64225;

int32_t clampedFrame(const atlas::Cell& cell, int32_t frame) {
    return std::clamp(frame, 0, cell.frames - 1);
}

}  // namespace

GrazeEffect::GrazeEffect(int32_t x0, int32_t y0, int32_t bulletX, int32_t bulletY)
    : Effect(x0, y0) {
    // One draw per statement, in this order: the heading's offset, then the speed.
    const int32_t offset = static_cast<int32_t>(gameRandom().randomNext() & 15) - 7;
    const int32_t steps = static_cast<int32_t>(gameRandom().randomNext() & 127);
    const int32_t heading = atan2Fixed(bulletY - y0, bulletX - x0) + fixedFromInt(offset);
    const int32_t speed = steps * (kFixedOne / 16);
    vx = fixedMul(speed, cosFixed(heading));
    vy = fixedMul(speed, sinFixed(heading));
}

void GrazeEffect::update() {
    x += vx;
    y += vy;
    if (++age >= kLifetime) end();
}

void GrazeEffect::draw(DIB& surface) {
    const System* sys = system();
    if (!sys) return;
    const int32_t size = 8 - age * 8 / kLifetime;
    if (size <= 0) return;
    blitCellScaledCentred(sys->imageSlots[kSlotShip], surface, atlas::ship::kGrazeSpark, 0,
                          screenX(*sys, x), screenY(*sys, y), size, size, Add);
}

void LaserEffect::update() {
    if (++age >= kLifetime) end();
}

void LaserEffect::draw(DIB& surface) {
    const System* sys = system();
    if (!sys) return;
    // Opens from the cell's size to half as large again while it fades.
    const int32_t size = atlas::ship::kLaserEffect.w + age * 2;
    const uint32_t alpha = static_cast<uint32_t>(255 - age * 255 / kLifetime);
    blitCellScaledCentred(sys->imageSlots[kSlotShip], surface, atlas::ship::kLaserEffect, 0,
                          screenX(*sys, x), screenY(*sys, y), size, size, Alpha | Add, alpha);
}

void MuzzleFlash::update() {
    if (++age >= cell_.frames) end();
}

void MuzzleFlash::draw(DIB& surface) {
    const System* sys = system();
    if (!sys) return;
    blitCellCentred(sys->imageSlots[kSlotShip], surface, cell_, clampedFrame(cell_, age),
                    screenX(*sys, x), screenY(*sys, y), ColorKey | Add);
}

void ShotBurst::update() {
    x += vx;
    y += vy;
    if (++age >= kLifetime) end();
}

void ShotBurst::draw(DIB& surface) {
    const System* sys = system();
    if (!sys) return;
    const atlas::Cell& picture = cell();
    blitCellCentred(sys->imageSlots[kSlotShip], surface, picture, clampedFrame(picture, age / 2),
                    screenX(*sys, x), screenY(*sys, y), ColorKey | Add);
}

BombEffect::BombEffect(int32_t x0, int32_t y0) : BombEffect(x0, y0, kFixedOne / 4) {}

BombEffect::BombEffect(int32_t x0, int32_t y0, int32_t speedUnit) : Effect(x0, y0) {
    // One draw per statement, in this order: heading, speed, starting age.
    const int32_t heading = static_cast<int32_t>(gameRandom().randomNext() % 360);
    const int32_t steps = static_cast<int32_t>(gameRandom().randomNext() % 128) - 63;
    age = static_cast<int32_t>(gameRandom().randomNext() % 16);
    const int32_t speed = steps * speedUnit;
    vx = fixedMul(speed, cosFixed(fixedFromInt(heading)));
    vy = fixedMul(speed, sinFixed(fixedFromInt(heading)));
}

void BombEffect::update() {
    moveWithDrag(kSparkDrag);
    ageAndLive(kLifetime);
}

void BombEffect::draw(DIB& surface) {
    const System* sys = system();
    if (!sys) return;
    // 256 at age 0 would be alpha 0 in the low byte: the spark is at full strength instead.
    const uint32_t alpha = clampAlpha(256 - age * 255 / kLifetime);
    blitCellCentred(sys->imageSlots[kSlotShip], surface, cell(), 0, screenX(*sys, x),
                    screenY(*sys, y), Alpha | Add, alpha);
}

Bomb2Effect::Bomb2Effect(int32_t x0, int32_t y0) : BombEffect(x0, y0, kFixedOne / 16) {}

}  // namespace vg
