#include "effects/Particles.h"

#include <algorithm>

#include "AtlasCells.h"
#include "core/FixedMath.h"
#include "core/GameRandom.h"
#include "core/PlayField.h"
#include "render/Blend.h"
#include "render/Cell.h"
#include "resources/ImageSlots.h"

namespace vg {

namespace {

// The scatter shared by the pickup sparks: three draws in this order, heading (whole degrees),
// speed ((r & 63) * 2048 in 16.16, below one pixel a frame) and starting age (0..7).
void scatter(Effect& effect) {
    GameRandom& random = gameRandom();
    const uint32_t directionDraw = random.randomNext();
    const int32_t heading = fixedFromInt(static_cast<int32_t>(directionDraw % 360));
    const uint32_t speedDraw = random.randomNext();
    const int32_t speed = static_cast<int32_t>(speedDraw & 63) * 2048;
    const uint32_t ageDraw = random.randomNext();
    effect.age = static_cast<int32_t>(ageDraw & 7);
    effect.vx = fixedMul(speed, cosFixed(heading));
    effect.vy = fixedMul(speed, sinFixed(heading));
}

}  // namespace

// ---------------------------------------------------------------------------------------------

BoosterEffect::BoosterEffect(int32_t x, int32_t y, int32_t s, int32_t d)
    : Effect(x, y), speed(s), direction(d) {}

void BoosterEffect::update() {
    // One draw per frame: ((r & 127) - 64) / 16 degrees, exactly, in 16.16.
    const uint32_t jitterDraw = gameRandom().randomNext();
    direction += (static_cast<int32_t>(jitterDraw & 127) - 64) * 4096;
    vx = fixedMul(speed, cosFixed(direction));
    vy = fixedMul(speed, sinFixed(direction));
    x += vx;
    y += vy;
    ageAndLive(kLifetime);
}

void BoosterEffect::draw(DIB& surface) {
    System* sys = system();
    if (!sys) return;
    blitCellCentred(sys->imageSlots[kSlotEnemy], surface, atlas::enemy::kBooster, 0,
                    screenX(*sys, x), screenY(*sys, y), Alpha | Add,
                    clampAlpha(255 - age * 255 / kLifetime));
}

// ---------------------------------------------------------------------------------------------

GetEnergyEffect::GetEnergyEffect(int32_t x, int32_t y) : Effect(x, y) {
    scatter(*this);
}

void GetEnergyEffect::update() {
    moveWithDrag(kDrag);
    ageAndLive(kLifetime);
}

void GetEnergyEffect::draw(DIB& surface) {
    System* sys = system();
    if (!sys) return;
    const int32_t size = sparkSize(age);
    if (size <= 0) return;
    blitCellScaledCentred(sys->imageSlots[kSlotItem], surface, atlas::item::kEnergySpark, 0,
                          screenX(*sys, x), screenY(*sys, y), size, size, Add);
}

// ---------------------------------------------------------------------------------------------

GetCrystalParticle::GetCrystalParticle(int32_t x, int32_t y, int32_t k) : Effect(x, y), kind(k) {
    scatter(*this);
}

void GetCrystalParticle::update() {
    moveWithDrag(GetEnergyEffect::kDrag);
    ageAndLive(kLifetime);
}

void GetCrystalParticle::draw(DIB& surface) {
    System* sys = system();
    if (!sys) return;
    const int32_t size = GetEnergyEffect::sparkSize(age);
    if (size <= 0) return;
    blitCellScaledCentred(sys->imageSlots[kSlotItem], surface, atlas::item::kCrystalParticle, 0,
                          screenX(*sys, x), screenY(*sys, y), size, size, Alpha | Add,
                          clampAlpha(255 - age * 255 / kLifetime));
}

// ---------------------------------------------------------------------------------------------

ChangeBulletEffect::ChangeBulletEffect(int32_t d, int32_t x, int32_t y, int32_t vx, int32_t vy)
    : Effect(x, y, vx, vy), wait(std::max(d, 0) / 4) {}

void ChangeBulletEffect::update() {
    if (wait > 0) {
        --wait;
        return;
    }
    ageAndLive(kLifetime);
}

void ChangeBulletEffect::draw(DIB& surface) {
    System* sys = system();
    if (!sys || wait > 0) return;
    const int32_t side = 64 - 2 * age;
    if (side <= 0) return;
    blitCellScaledCentred(sys->imageSlots[kSlotItem], surface, atlas::item::kChangeBullet, 0,
                          screenX(*sys, x), screenY(*sys, y), side, side, Alpha | Add,
                          clampAlpha(255 - age * 255 / kLifetime));
}

// ---------------------------------------------------------------------------------------------

ItemEffect::ItemEffect(int32_t x, int32_t y) : Effect(x, y) {}

void ItemEffect::update() {
    ageAndLive(kLifetime);
}

void ItemEffect::draw(DIB& surface) {
    System* sys = system();
    if (!sys) return;
    const atlas::Cell& cell = atlas::item::kItemBurst;
    blitCellCentred(sys->imageSlots[kSlotItem], surface, cell,
                    std::clamp(age / 2, 0, cell.frames - 1), screenX(*sys, x), screenY(*sys, y),
                    ColorKey | Alpha | Add, clampAlpha(256 - 255 * age / kLifetime));
}

}  // namespace vg
