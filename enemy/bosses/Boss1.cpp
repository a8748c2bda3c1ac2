#include "enemy/bosses/Boss1.h"

#include "core/FixedMath.h"
#include "core/GameSound.h"
#include "core/Layers.h"
#include "core/System.h"
#include "effects/Explosions.h"
#include "enemy/Bullet.h"
#include "enemy/EnemyCommon.h"
#include "enemy/KindSpawn.h"
#include "player/PlayerBase.h"
#include "render/Blend.h"
#include "render/Cell.h"
#include "resources/ImageSlots.h"
#include "sound/SoundBank.h"

namespace vg {

namespace {

// Entry braking per frame, and the sinking of the destroyed boss.
constexpr int32_t kEntryDragX = 64225;  // 0.98
constexpr int32_t kEntryDragY = 63569;  // 0.97
constexpr int32_t kSinkDrag = 60948;    // 0.93
constexpr int32_t kSinkFall = 1310;     // 0.02

constexpr uint8_t kOrb = 0;
constexpr uint8_t kNeedle = 1;
constexpr uint8_t kStar = 2;
constexpr uint8_t kGlintOrb = 3;

constexpr int32_t speedOf(int32_t tenths) {
    return tenths * kFixedOne / 10;
}

using Port = Boss1::Port;
constexpr Port kCentre{0, 10, -1};
constexpr Port kLeft{-40, 50, 0};
constexpr Port kRight{40, 50, 1};
// The ring launchers beside the hull: fixed points of the body, not gun ports, so a lost wing
// does not silence them (the both-wings-lost rings fire from the same points).
constexpr Port kLeftRoot{-70, 10, -1};
constexpr Port kRightRoot{70, 10, -1};

// Whole degrees 0..359 as 16.16.
int32_t degrees(int32_t whole) {
    return wrapAngle(static_cast<int64_t>(whole) * kFixedOne);
}

constexpr KindFigures kFigures{
    .hitPoints = Boss1::kHitPoints,
    .entryHold = Boss1::kEntryFrames,
    .hitBox = {-35, -60, 35, 40},
    .bounds = {-100, -100, 372, 484},
    .reward = {128, 5000, 25, 5},
    .destruction = Destruction::Own,
    .movesWhileDead = true,
    .sheet = Sheet::Stage,
    .sprite = &atlas::boss1::kBoss1,
};
constexpr BossFigures kBoss{.timeLimit = Boss1::kTimeLimit, .fadesTune = true};

// The 1200-frame cycle while a wing is left.
constexpr BossPhase<Boss1> kPhases[] = {
    {0, 149, 5, &Boss1::aimedFans},      {180, 279, 2, &Boss1::spirals},
    {280, 299, 5, &Boss1::speedingFans}, {300, 499, 2, &Boss1::needleWalls},
    {600, 800, 10, &Boss1::starFans},    {900, 900, 1, &Boss1::leftRings},
    {950, 950, 1, &Boss1::rightRings},   {1020, 1020, 1, &Boss1::centreRings},
};
constexpr BossPlan<Boss1> kPlan{1200, kPhases};

}  // namespace

Boss1::Boss1(int32_t x0, int32_t y0, int8_t level) : BossBody(x0, y0, kFigures, kBoss) {
    vy = 3 * kFixedOne;
    attackLevel = level;
}

void Boss1::steer() {
    if (dead) {
        vx = fixedMul(vx, kSinkDrag);
        vy += kSinkFall;
    } else if (frameCount < kEntryFrames) {
        vx = fixedMul(vx, kEntryDragX);
        vy = fixedMul(vy, kEntryDragY);
    } else if (bothWingsDestroyed()) {
        const int32_t a = degrees(static_cast<int32_t>((4LL * frameCount) % 360));
        vx = -cosFixed(a);
        vy = sinFixed(a);
    } else {
        const int32_t a = degrees(frameCount % 360);
        vx = -cosFixed(a);
        vy = sinFixed(a) / 4;
    }
}

void Boss1::addParts(KindSpawn& spawn) {
    // The wings go behind the tasks of the air layer, the left one first.
    for (uint8_t side = 0; side < 2; ++side) {
        spawn.place<Boss1Wing>(Placement::Back, x, y, serial, side);
    }
}

void Boss1::move(System& sys) {
    if (!tuneStarted) {
        tuneStarted = 1;
        stopSound(sys, SoundManager::kMusicStage);
        playSound(sys, SoundManager::kMusicBoss);
    }
    steer();
    moveByVelocity(*this);
}

void Boss1::attack(System& sys) {
    if (frameCount < kEntryFrames) return;
    if (bothWingsDestroyed()) {
        ringAttack(sys);
    } else {
        kPlan.run(*this, sys, frameCount - kEntryFrames);
    }
}

bool Boss1::open(const Port& port) const {
    return port.wing < 0 || !isPartLost(port.wing);
}

int32_t Boss1::portX(const Port& port) const {
    return x + fixedFromInt(port.dx);
}

int32_t Boss1::portY(const Port& port) const {
    return y + fixedFromInt(port.dy);
}

void Boss1::aimedFans(System& sys, int32_t t) {
    // Six every 30 frames from all three ports, at the point latched at the first.
    const int32_t level = attackLevel;
    if (t % 30 == 0) latchTarget(*this);
    if (t % 30 > 15) return;
    const int32_t n = 2 * level + 1;
    const int32_t speeds[3] = {speedOf(35), speedOf(15), speedOf(25)};
    int i = 0;
    for (const Port& port : {kCentre, kLeft, kRight}) {
        if (open(port)) {
            fireAimedFan(n, sys, targetX, targetY, portX(port), portY(port), speeds[i],
                         30 * kDegree, kNeedle, serial);
        }
        ++i;
    }
}

void Boss1::spirals(System& sys, int32_t t) {
    // Twin spirals, turning opposite ways.
    if (open(kLeft)) {
        fireAngled(sys, portX(kLeft), portY(kLeft), degrees((6 * t) % 360), speedOf(25), kOrb,
                   serial);
    }
    if (open(kRight)) {
        fireAngled(sys, portX(kRight), portY(kRight), degrees(-6 * t), speedOf(25), kOrb, serial);
    }
}

void Boss1::speedingFans(System& sys, int32_t t) {
    // A burst of ever faster fans at the point latched at the first.
    const int32_t level = attackLevel;
    if (t == 280) latchTarget(*this);
    fireAimedFan(4 * level + 5, sys, targetX, targetY, portX(kCentre), portY(kCentre),
                 3 * kFixedOne + (t - 280) * kFixedOne / 10, (15 - 2 * level) * kDegree, kOrb,
                 serial);
}

void Boss1::needleWalls(System& sys, int32_t t) {
    // Walls of needles from every open port, straight down, then slanted.
    const int32_t level = attackLevel;
    const int32_t c = t % 40;
    if (c > 10) return;
    const bool straight = c <= 5;
    const int32_t centre = (straight ? 90 : 110) * kDegree;
    const int32_t speed = 2 * kFixedOne + (t % 20) * kFixedOne / (straight ? 16 : 8);
    for (const Port& port : {kCentre, kLeft, kRight}) {
        if (!open(port)) continue;
        fireFan(2 * level + 9, sys, portX(port), portY(port), centre, speed,
                (40 - 2 * level) * kDegree, kNeedle, serial);
    }
}

void Boss1::starFans(System& sys, int32_t t) {
    // Star fans from the centre, aimed triples from every open port.
    const int32_t level = attackLevel;
    if (t % 40 == 20) {
        fireFan(5 * level + 12, sys, portX(kCentre), portY(kCentre), 90 * kDegree, 2 * kFixedOne,
                (20 - 3 * level) * kDegree, kStar, serial);
    }
    if (t % 30 != 0) return;
    const PlayerBase* player = nearestPlayer();
    if (!player) return;
    const int32_t tx = aimX(sys, *player);
    const int32_t ty = aimY(*player);
    for (const Port& port : {kCentre, kLeft, kRight}) {
        if (!open(port)) continue;
        for (const int32_t speed : {170393, 183500, 196608}) {
            fireAimed(sys, tx, ty, portX(port), portY(port), speed, kGlintOrb, serial);
        }
    }
}

int32_t Boss1::ringBullets() const {
    return 2 * attackLevel + 3;
}

void Boss1::leftRings(System& sys, int32_t) {
    // Ten rings turned 2 degrees apart from the left ring launcher.
    const int32_t n = ringBullets();
    if (n <= 0) return;
    const int32_t spacing = fixedFromInt(360) / n;
    for (int32_t r = 0; r < 10; ++r) {
        fireFan(n, sys, portX(kLeftRoot), portY(kLeftRoot), degrees(2 * r), kFixedOne, spacing,
                kStar, serial);
    }
}

void Boss1::rightRings(System& sys, int32_t) {
    // Ten pairs of rings, a fast and a slow one, from the right ring launcher.
    const int32_t n = ringBullets();
    if (n <= 0) return;
    const int32_t spacing = fixedFromInt(360) / n;
    for (int32_t r = 0; r < 10; ++r) {
        const int32_t turn = degrees(36 + 2 * r);
        fireFan(n, sys, portX(kRightRoot), portY(kRightRoot), turn, 2 * kFixedOne, spacing, kStar,
                serial);
        fireFan(n, sys, portX(kRightRoot), portY(kRightRoot), turn, kFixedOne, spacing, kStar,
                serial);
    }
}

void Boss1::centreRings(System& sys, int32_t) {
    // Twelve fast rings from the centre, the first centred 15 degrees below the ship's direction
    // (the latched point without a ship).
    const int32_t n = ringBullets();
    if (n <= 0) return;
    const int32_t spacing = fixedFromInt(360) / n;
    int32_t tx = targetX;
    int32_t ty = targetY;
    if (const PlayerBase* player = nearestPlayer()) {
        tx = aimX(sys, *player);
        ty = aimY(*player);
    }
    const int32_t toShip = atan2Fixed(ty - portY(kCentre), tx - portX(kCentre));
    for (int32_t r = 0; r < 12; ++r) {
        fireFan(n, sys, portX(kCentre), portY(kCentre), toShip + (15 + 2 * r) * kDegree,
                3 * kFixedOne, spacing, kStar, serial);
    }
}

void Boss1::ringAttack(System& sys) {
    const int32_t level = attackLevel;
    const int32_t n = 3 * level + 10;
    const int32_t turn = degrees(frameCount % 360 + 90);
    if (frameCount % 16 == 0) latchTarget(*this);
    if (n > 0) {
        const int32_t spacing = fixedFromInt(360) / n;
        if (frameCount % 16 == 0) {
            fireFan(n, sys, x + fixedFromInt(kLeftRoot.dx), y + fixedFromInt(kLeftRoot.dy), turn,
                    78643, spacing, kOrb, serial);
        } else if (frameCount % 16 == 7) {
            fireFan(n, sys, x + fixedFromInt(kRightRoot.dx), y + fixedFromInt(kRightRoot.dy), turn,
                    2 * kFixedOne, spacing, kOrb, serial);
        }
    }
    if (frameCount % 2 == 0 && frameCount % 64 < level + 12) {
        fireAimedFan(level + 1, sys, targetX, targetY, x, y + fixedFromInt(kCentre.dy), 157286,
                     2 * kDegree, kNeedle, serial);
    }
}

void Boss1::drawShadow(DIB& surface) {
    const System* sys = system();
    if (!sys) return;
    // Its own silhouette, where the shadows of the air kinds fall, with the body's origin.
    const ShadowSpot spot = airShadowSpot(x, y);
    const atlas::Cell& shadow = atlas::boss1::kBoss1Shadow;
    blitCell(sys->imageSlots[kSlotStage], surface, shadow, 0,
             screenX(*sys, fixedFromInt(spot.x)) + shadow.anchorX,
             screenY(*sys, fixedFromInt(spot.y)) + shadow.anchorY, Subtract, 128);
}

// ---------------------------------------------------------------------------------------------

namespace {

// A wing holds over the body's entry and takes no reward of its own.
constexpr KindFigures wingFigures(HitBox box) {
    return {.hitPoints = Boss1Wing::kHitPoints,
            .entryHold = 0,
            .hitBox = box,
            .bounds = {},
            .reward = {},
            .destruction = Destruction::Own};
}
constexpr KindFigures kWingFigures[2] = {wingFigures({-40, -30, 15, 0}),
                                         wingFigures({-15, -30, 40, 0})};
constexpr const atlas::Point* kWingAnchors[2] = {&atlas::boss1::kBoss1WingLeft,
                                                 &atlas::boss1::kBoss1WingRight};
constexpr const atlas::Point* kWreckCorners[2] = {&atlas::boss1::kBoss1WreckLeft,
                                                  &atlas::boss1::kBoss1WreckRight};

// The short destruction of a wing: a puff on each odd step, 1..15.
constexpr int32_t kWreckSteps = 16;
constexpr PixelOffset kWreckPuffs[8] = {{-10, -8}, {8, -14}, {-4, -20}, {14, -4},
                                        {-16, -2}, {4, -10}, {-8, -24}, {12, -18}};

}  // namespace

Boss1Wing::Boss1Wing(int32_t bodyX, int32_t bodyY, int32_t body, uint8_t wingSide)
    : BoundPart(bodyX, bodyY, body, kWingFigures[wingSide ? 1 : 0], *kWingAnchors[wingSide ? 1 : 0],
                wingSide ? 1 : 0),
      side(wingSide ? 1 : 0) {}

void Boss1Wing::onLost(System& sys) {
    playSound(sys, SoundManager::kSoundKill);
}

void Boss1Wing::whileLost(System& sys) {
    const int32_t step = wreckCounter;
    if (step >= kWreckSteps) return;
    ++wreckCounter;
    if (step % 2 == 0) return;
    const PixelOffset o = kWreckPuffs[step / 2];
    const int32_t kind = step == 1 ? 6 : 1;
    const int32_t dx = side ? -o.dx : o.dx;
    sys.spawnFront<Explosion>(layer::kEffect, x + fixedFromInt(dx), y + fixedFromInt(o.dy), 0, 0,
                              kind);
}

void Boss1Wing::draw(DIB& surface) {
    // The intact wing is part of the body's picture; a destroyed one shows its wreck over it.
    if (!lost) return;
    const System* sys = system();
    if (!sys) {
        end();
        return;
    }
    const atlas::Point& corner = *kWreckCorners[side];
    blitCell(sys->imageSlots[kSlotStage], surface, atlas::boss1::kBoss1WingWreck, side,
             bodyScreenX(*sys) + corner.x, bodyScreenY(*sys) + corner.y, ColorKey);
}

EnemyBase* spawnBoss1(KindSpawn& spawn) {
    // The body first, so that its serial is known to the wings it adds.
    Boss1* body = spawn.create<Boss1>(spawn.x(), spawn.y(), spawn.attackLevel());
    if (body) body->addParts(spawn);
    return body;
}

}  // namespace vg
