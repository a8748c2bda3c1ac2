#include "enemy/SemiBoss1.h"

#include "core/Layers.h"
#include "core/MapScroll.h"
#include "core/System.h"
#include "effects/BossShieldFrame.h"
#include "enemy/Bullet.h"
#include "enemy/EnemyCommon.h"
#include "enemy/KindSpawn.h"
#include "render/Blend.h"
#include "render/Cell.h"
#include "resources/ImageSlots.h"

namespace vg {

namespace {

constexpr BossReward kReward{128, 3000, 25, 5};
constexpr uint8_t kOrb = 0;
constexpr uint8_t kStar = 2;
// The five speeds of a stream: 2.0, 2.3, 2.6, 2.9, 3.2.
constexpr int32_t kStreamSpeeds[5] = {131072, 150732, 170393, 190054, 209715};

}  // namespace

SemiBoss1::SemiBoss1(int32_t x0, int32_t y0, int32_t direction, int32_t speed, int32_t entry,
                     int8_t level)
    : EnemyBase(x0, y0), entryFrames(entry) {
    hitPoints = kHitPoints;
    hitBox = {-100, -80, 70, 50};
    attackLevel = level;
    setVelocityAlong(*this, direction, speed);
}

void SemiBoss1::update() {
    System* sys = system();
    if (!sys) return;
    if (!dead) hitPass();
    if (frameCount < entryFrames) {
        // Entering with the ground: unhurt and unflashing.
        moveByVelocity(*this, mapSpeed(*sys));
        hitFlash = 0;
        hitPoints = kHitPoints;
        animationStep = static_cast<uint8_t>((animationStep + 1) % 18);
        ++frameCount;
        return;
    }
    if (dead) {
        destruction.step(*this, kReward, false);
        return;
    }
    if (outsideBounds(*this, -128, -128, 400, 512)) {
        if (BossShieldFrame* shield = BossShieldFrame::find(*sys)) shield->close();
        end();
        return;
    }
    if (hitPoints > 0)
        attack(*sys, static_cast<int32_t>((static_cast<int64_t>(frameCount) - entryFrames) % 400));
    burnOutAfter(*this, kTimeLimit);
    if (hitPoints <= 0) {
        destruction.step(*this, kReward, false);
        return;
    }
    keepBossShield(*this, kHitPoints);
    ++frameCount;
}

void SemiBoss1::stream(System& sys, int32_t n, int32_t spread, int32_t dx, int32_t dy) {
    latchTarget(*this);
    for (const int32_t speed : kStreamSpeeds) {
        fireAimedFan(n, sys, targetX, targetY, x + fixedFromInt(dx), y + fixedFromInt(dy), speed,
                     spread, kOrb, serial);
    }
}

void SemiBoss1::spray(System& sys, int32_t n, int32_t centre, int32_t speed) {
    const int32_t spread = (36 - attackLevel) * kDegree;
    for (int32_t e = 0; e < 10; ++e) {
        fireFan(n, sys, x, y, (centre - e) * kDegree, speed + e * kFixedOne / 20, spread, kStar,
                serial);
    }
}

void SemiBoss1::attack(System& sys, int32_t t) {
    const int32_t level = attackLevel;
    switch (t) {
        case 0:
        case 120:
            stream(sys, 4 * level + 3, (30 - 4 * level) * kDegree, -100, 20);
            break;
        case 30:
        case 150:
            stream(sys, 4 * level + 3, (30 - 5 * level) * kDegree, 0, 30);
            break;
        case 60:
        case 180:
            stream(sys, 6 * level + 3, (30 - 6 * level) * kDegree, 40, -30);
            break;
        case 240:
            spray(sys, 2 * level + 5, 85, 78643);
            break;
        case 260:
            spray(sys, 4 * level + 5, 94, 117964);
            break;
        case 280:
            spray(sys, 6 * level + 5, 103, 157286);
            break;
        case 300:
            spray(sys, 8 * level + 5, 112, 3 * kFixedOne);
            break;
        default:
            break;
    }
}

void SemiBoss1::draw(DIB& surface) {
    const System* sys = system();
    if (!sys) {
        end();
        return;
    }
    const DIB& sheet = sys->imageSlots[kSlotStage];
    const atlas::Cell& cell = atlas::boss1::kSemiBoss1;
    const int32_t left = screenX(*sys, x) - cell.w / 2;
    const int32_t top = screenY(*sys, y) - cell.h / 2;
    blitCell(sheet, surface, atlas::boss1::kSemiBoss1Shadow, 0, left + 2, top + 2, Subtract, 128);
    const bool red = !dead && lowHitPointBlink(kHitPoints);
    drawLit(*this, surface, sheet, cell, animationStep / 6, left, top, red);
}

EnemyBase* spawnSemiBoss1(KindSpawn& spawn) {
    return spawn.create<SemiBoss1>(spawn.x(), spawn.y(), spawn.number("direction"),
                                   spawn.number("speed"), spawn.integer("entryFrames"),
                                   spawn.attackLevel());
}

}  // namespace vg
