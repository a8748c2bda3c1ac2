#include "enemy/bosses/SemiBoss1.h"

#include "core/Layers.h"
#include "core/MapScroll.h"
#include "core/System.h"
#include "enemy/Bullet.h"
#include "enemy/EnemyCommon.h"
#include "enemy/KindSpawn.h"
#include "render/Blend.h"
#include "render/Cell.h"
#include "resources/ImageSlots.h"

namespace vg {

namespace {

constexpr uint8_t kOrb = 0;
constexpr uint8_t kStar = 2;
// The five speeds of a stream: 2.0, 2.3, 2.6, 2.9, 3.2.
constexpr int32_t kStreamSpeeds[5] = {131072, 150732, 170393, 190054, 209715};

// Its hit points are held over its entry frames by its own update (the entry is scripted).
constexpr KindFigures kFigures{
    .hitPoints = SemiBoss1::kHitPoints,
    .entryHold = 0,
    .hitBox = {-100, -80, 70, 50},
    .bounds = {-128, -128, 400, 512},
    .reward = {128, 3000, 25, 5},
    .destruction = Destruction::Own,
    .sheet = Sheet::Stage,
    .sprite = &atlas::boss1::kSemiBoss1,
};
constexpr BossFigures kBoss{.timeLimit = SemiBoss1::kTimeLimit, .fadesTune = false};

// The 400-frame cycle from the end of the entry.
constexpr BossPhase<SemiBoss1> kPhases[] = {
    {0, 120, 120, &SemiBoss1::leftStream},
    {30, 150, 120, &SemiBoss1::centreStream},
    {60, 180, 120, &SemiBoss1::rightStream},
    {240, 300, 20, &SemiBoss1::spray},
};
constexpr BossPlan<SemiBoss1> kPlan{400, kPhases};

}  // namespace

SemiBoss1::SemiBoss1(int32_t x0, int32_t y0, int32_t direction, int32_t speed, int32_t entry,
                     int8_t level)
    : BossBody(x0, y0, kFigures, kBoss), entryFrames(entry) {
    attackLevel = level;
    setVelocityAlong(*this, direction, speed);
}

void SemiBoss1::update() {
    System* sys = system();
    if (!sys) return;
    if (!dead) hitPass();
    if (frameCount < entryFrames) {
        move(*sys);
        ++frameCount;
        return;
    }
    if (dead) {
        destructionFrame(*sys);
        return;
    }
    if (outsideItsBounds()) {
        leaveField(*sys);
        end();
        return;
    }
    if (hitPoints > 0) attack(*sys);
    afterHits(*sys);
    if (hitPoints <= 0) {
        destructionFrame(*sys);
        return;
    }
    keepBossShield(*this, kHitPoints);
    ++frameCount;
}

void SemiBoss1::move(System& sys) {
    moveByVelocity(*this, mapSpeed(sys));
    hitFlash = 0;
    hitPoints = kHitPoints;
    animationStep = static_cast<uint8_t>((animationStep + 1) % 18);
}

void SemiBoss1::attack(System& sys) {
    kPlan.run(*this, sys, static_cast<int64_t>(frameCount) - entryFrames);
}

void SemiBoss1::stream(System& sys, int32_t n, int32_t spread, int32_t dx, int32_t dy) {
    latchTarget(*this);
    for (const int32_t speed : kStreamSpeeds) {
        fireAimedFan(n, sys, targetX, targetY, x + fixedFromInt(dx), y + fixedFromInt(dy), speed,
                     spread, kOrb, serial);
    }
}

void SemiBoss1::leftStream(System& sys, int32_t) {
    stream(sys, 4 * attackLevel + 3, (30 - 4 * attackLevel) * kDegree, -100, 20);
}

void SemiBoss1::centreStream(System& sys, int32_t) {
    stream(sys, 4 * attackLevel + 3, (30 - 5 * attackLevel) * kDegree, 0, 30);
}

void SemiBoss1::rightStream(System& sys, int32_t) {
    stream(sys, 6 * attackLevel + 3, (30 - 6 * attackLevel) * kDegree, 40, -30);
}

void SemiBoss1::spray(System& sys, int32_t t) {
    // Spray k (t = 240 + 20 k) has 2 (k + 1) level + 5 bullets a fan, centred 9 k degrees further
    // round, 0.6 k faster.
    struct Spray {
        int32_t perLevel;
        int32_t centre;
        int32_t speed;
    };
    constexpr Spray kSprays[4] = {
        {2, 85, 78643}, {4, 94, 117964}, {6, 103, 157286}, {8, 112, 3 * kFixedOne}};
    const Spray& s = kSprays[(t - 240) / 20];
    const int32_t n = s.perLevel * attackLevel + 5;
    const int32_t spread = (36 - attackLevel) * kDegree;
    for (int32_t e = 0; e < 10; ++e) {
        fireFan(n, sys, x, y, (s.centre - e) * kDegree, s.speed + e * kFixedOne / 20, spread, kStar,
                serial);
    }
}

void SemiBoss1::drawSprite(DIB& surface, const System& sys, bool red) {
    const atlas::Cell& shadow = atlas::boss1::kSemiBoss1Shadow;
    blitCell(sys.imageSlots[kSlotStage], surface, shadow, 0, screenX(sys, x) + shadow.anchorX,
             screenY(sys, y) + shadow.anchorY, Subtract, 128);
    KindBase::drawSprite(surface, sys, red);
}

EnemyBase* spawnSemiBoss1(KindSpawn& spawn) {
    return spawn.create<SemiBoss1>(spawn.x(), spawn.y(), spawn.number("direction"),
                                   spawn.number("speed"), spawn.integer("entryFrames"),
                                   spawn.attackLevel());
}

}  // namespace vg
