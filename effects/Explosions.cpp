#include "effects/Explosions.h"

#include <algorithm>

#include "AtlasCells.h"
#include "core/FixedMath.h"
#include "core/GameRandom.h"
#include "core/MapScroll.h"
#include "core/PlayField.h"
#include "render/Blend.h"
#include "render/Cell.h"
#include "resources/ImageSlots.h"

namespace vg {

namespace {

// Frame `frame` of a strip, held on its last picture should an age run past the strip.
int32_t stripFrame(const atlas::Cell& cell, int32_t frame) {
    return std::clamp(frame, 0, cell.frames - 1);
}

}  // namespace

// ---------------------------------------------------------------------------------------------

Explosion::Explosion(int32_t x, int32_t y, int32_t vx, int32_t vy, int32_t k)
    : Effect(x, y, vx, vy), kind(k) {}

const atlas::Cell* Explosion::strip(int32_t kind) {
    // Row y = 64 * kind of the sheet; kinds whose row holds no strip draw nothing.
    switch (kind) {
        case 0:
            return &atlas::exp::kExplosion0;
        case 1:
            return &atlas::exp::kExplosion1;
        case kSmoke:
            return &atlas::exp::kSmoke;
        case 3:
            return &atlas::exp::kShipExplosion;
        case 6:
            return &atlas::exp::kExplosion6;
        case 8:
            return &atlas::exp::kExplosion8;
        default:
            return nullptr;
    }
}

uint32_t Explosion::smokeAlpha(int32_t age) {
    // 256 - 256 * age / 60 taken as a byte: 0 (nothing) at age 0, 128 at age 30, 0 at age 60.
    if (age <= 0) return 0;
    return clampAlpha(256 - 256 * static_cast<int64_t>(age) / kSmokeLifetime);
}

void Explosion::update() {
    moveWithDrag(kind == kSmoke ? kSmokeDrag : kFireDrag);
    ageAndLive(lifetime());
}

void Explosion::draw(DIB& surface) {
    System* sys = system();
    if (!sys || surface.empty()) {
        end();
        return;
    }
    const atlas::Cell* cell = strip(kind);
    if (!cell) return;
    const DIB& sheet = sys->imageSlots[kSlotExplosion];
    const int32_t sx = screenX(*sys, x);
    const int32_t sy = screenY(*sys, y);
    if (kind == kSmoke) {
        blitCellCentred(sheet, surface, *cell, stripFrame(*cell, age / 4), sx, sy,
                        ColorKey | Alpha | Subtract, smokeAlpha(age));
    } else {
        blitCellCentred(sheet, surface, *cell, stripFrame(*cell, age / 2), sx, sy, ColorKey | Add);
    }
}

// ---------------------------------------------------------------------------------------------

VozerorExplosion::VozerorExplosion(int32_t x, int32_t y) : Effect(x, y) {
    // Four or five draws in this order: start direction, turn per step, form, (burst) speed step.
    GameRandom& random = gameRandom();
    const uint32_t directionDraw = random.randomNext();
    direction = fixedFromInt(static_cast<int32_t>(directionDraw % 360));
    const uint32_t turnDraw = random.randomNext();
    // ((r & 0x1FF) - 255) / 16 degrees, exactly, in 16.16.
    turn = (static_cast<int32_t>(turnDraw & 0x1FF) - 255) * 4096;
    const uint32_t formDraw = random.randomNext();
    burst = (formDraw & 1) != 0;
    if (burst) {
        const uint32_t speedDraw = random.randomNext();
        speedStep = static_cast<int32_t>(speedDraw & 0x1F) * 4096;
    } else {
        vx = fixedMul(kTrailSpeed, cosFixed(direction));
        vy = fixedMul(kTrailSpeed, sinFixed(direction));
    }
}

void VozerorExplosion::update() {
    System* sys = system();
    if (!sys) {
        end();
        return;
    }
    if (burst) {
        // A fan of ten puffs at once, each one turned further and flying faster.
        for (int32_t k = 0; k < kBurstCount; ++k) {
            const int32_t heading = direction + k * turn;
            const int32_t speed = kFixedOne + k * speedStep;
            sys->spawnFront<Explosion>(layer, x, y, fixedMul(speed, cosFixed(heading)),
                                       fixedMul(speed, sinFixed(heading)), 1);
        }
        end();
        return;
    }
    // A curling chain: one puff per frame where the head has got to.
    x += vx;
    y += vy;
    direction += turn;
    vx = fixedMul(kTrailSpeed, cosFixed(direction));
    vy = fixedMul(kTrailSpeed, sinFixed(direction));
    sys->spawnFront<Explosion>(layer, x, y, vx / 4, vy / 4, 1);
    ++age;
    if (age >= kTrailCount) end();
}

// ---------------------------------------------------------------------------------------------

BrokenPiece::BrokenPiece(int32_t x, int32_t y) : Effect(x, y) {
    // Five draws in this order: vx, vy, size, picture frame, starting age.
    GameRandom& random = gameRandom();
    const uint32_t vxDraw = random.randomNext();
    vx = (static_cast<int32_t>(vxDraw & 31) - 15) * (kFixedOne / 4);
    const uint32_t vyDraw = random.randomNext();
    vy = (static_cast<int32_t>(vyDraw & 15) - 10) * (kFixedOne / 2);
    const uint32_t sizeDraw = random.randomNext();
    large = static_cast<uint8_t>(sizeDraw & 1);
    const uint32_t frameDraw = random.randomNext();
    frame = static_cast<uint8_t>(frameDraw % kFrames);
    const uint32_t ageDraw = random.randomNext();
    age = static_cast<int32_t>(ageDraw & 31);
}

void BrokenPiece::update() {
    x += vx;
    y += vy;
    if (vy < kFallSpeed) vy += kGravity;
    ageAndLive(kLifetime);
}

void BrokenPiece::draw(DIB& surface) {
    System* sys = system();
    if (!sys || surface.empty()) {
        end();
        return;
    }
    const atlas::Cell& cell = large ? atlas::enemy::kPieceLarge : atlas::enemy::kPieceSmall;
    // The key colour alone; passed with an opaque alpha.
    blitCellCentred(sys->imageSlots[kSlotEnemy], surface, cell, (frame % kFrames) / 4,
                    screenX(*sys, x), screenY(*sys, y), ColorKey | Alpha, 255);
    if (running()) frame = static_cast<uint8_t>((frame + 1) % kFrames);
}

// ---------------------------------------------------------------------------------------------

FireSpark::FireSpark(int32_t x, int32_t y) : Effect(x, y), trailSize{} {
    // Three draws in this order: speed, direction, starting age.
    GameRandom& random = gameRandom();
    const uint32_t speedDraw = random.randomNext();
    const int32_t speed = kFixedOne + static_cast<int32_t>(speedDraw & 255) * 2048;
    const uint32_t directionDraw = random.randomNext();
    const int32_t heading = fixedFromInt(static_cast<int32_t>(directionDraw % 360));
    const uint32_t ageDraw = random.randomNext();
    age = static_cast<int32_t>(ageDraw & 7);
    vx = fixedMul(speed, cosFixed(heading));
    vy = fixedMul(speed, sinFixed(heading));
    for (int i = 0; i < kTrail; ++i) {
        trailX[i] = x;
        trailY[i] = y;
    }
}

void FireSpark::update() {
    for (int i = kTrail - 1; i > 0; --i) {
        trailX[i] = trailX[i - 1];
        trailY[i] = trailY[i - 1];
        trailSize[i] = trailSize[i - 1];
    }
    moveWithDrag(kDrag);
    vy += kGravity;
    trailX[0] = x;
    trailY[0] = y;
    trailSize[0] = 8 - age / 6;
    ageAndLive(kLifetime);
}

void FireSpark::draw(DIB& surface) {
    System* sys = system();
    if (!sys || surface.empty()) {
        end();
        return;
    }
    const DIB& sheet = sys->imageSlots[kSlotEnemy];
    const uint32_t alpha = clampAlpha(256 - 256 * static_cast<int64_t>(age) / kLifetime);
    for (int i = 0; i < kTrail; ++i) {
        const int32_t size = trailSize[i];
        if (size <= 0) continue;
        blitCellScaledCentred(sheet, surface, atlas::enemy::kFireSpark, 0, screenX(*sys, trailX[i]),
                              screenY(*sys, trailY[i]), size, size, Alpha | Add, alpha);
    }
}

// ---------------------------------------------------------------------------------------------

Burn::Burn(int32_t x, int32_t y) : Effect(x, y) {}

void Burn::update() {
    if (owner) y += mapSpeed(*owner);
    if (y > kBelowField || y < kAboveField) end();
}

void Burn::draw(DIB& surface) {
    System* sys = system();
    if (!sys || surface.empty()) {
        end();
        return;
    }
    blitCellCentred(sys->imageSlots[kSlotEnemy], surface, atlas::enemy::kBurn,
                    (frame % kFrames) / 6, screenX(*sys, x), screenY(*sys, y), ColorKey);
    if (running()) frame = static_cast<uint8_t>((frame + 1) % kFrames);
}

// ---------------------------------------------------------------------------------------------

ShipExplosion::ShipExplosion(int32_t x, int32_t y) : Effect(x, y) {}

void ShipExplosion::update() {
    ageAndLive(kLifetime);
}

void ShipExplosion::draw(DIB& surface) {
    System* sys = system();
    if (!sys) return;
    const atlas::Cell& cell = atlas::exp::kShipExplosion;
    blitCellScaledCentred(sys->imageSlots[kSlotExplosion], surface, cell, stripFrame(cell, age / 3),
                          screenX(*sys, x), screenY(*sys, y), 128, 128, ColorKey | Add);
}

// ---------------------------------------------------------------------------------------------

ShipExplosionLight::ShipExplosionLight(int32_t x, int32_t y, int32_t v)
    : Effect(x, y), variant(v) {}

void ShipExplosionLight::update() {
    ageAndLive(kLifetime);
}

void ShipExplosionLight::draw(DIB& surface) {
    System* sys = system();
    if (!sys || variant < 0 || variant > 3) return;
    // Variants 1 and 3 mirror left-right, 2 and 3 top-bottom.
    const int32_t w = (variant & 1) ? -384 : 384;
    const int32_t h = (variant & 2) ? -384 : 384;
    blitCellScaledCentred(sys->imageSlots[kSlotShip], surface, atlas::ship::kExplosionLight, 0,
                          screenX(*sys, x), screenY(*sys, y), w, h, ColorKey | Alpha | Add,
                          clampAlpha(255 - age * 255 / 6));
}

}  // namespace vg
