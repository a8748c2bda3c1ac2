#include "enemy/Boss1.h"

#include "core/FixedMath.h"
#include "core/GameSound.h"
#include "core/Layers.h"
#include "core/System.h"
#include "effects/BossShieldFrame.h"
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

constexpr BossReward kReward{128, 5000, 25, 5};

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

// A gun port: its offset from the boss and the wing that must be intact for it to fire (-1:
// none, the centre port).
struct Port {
    int16_t dx;
    int16_t dy;
    int8_t wing;
};
constexpr Port kCentre{0, 10, -1};
constexpr Port kLeft{-40, 50, 0};
constexpr Port kRight{40, 50, 1};
// The ring launchers at the wing roots.
constexpr Port kLeftRoot{-70, 10, 0};
constexpr Port kRightRoot{70, 10, 1};

// Whole degrees 0..359 as 16.16.
int32_t degrees(int32_t whole) {
    return wrapAngle(static_cast<int64_t>(whole) * kFixedOne);
}

}  // namespace

Boss1::Boss1(int32_t x0, int32_t y0, int8_t level) : EnemyBase(x0, y0) {
    hitPoints = kHitPoints;
    hitBox = {-35, -60, 35, 40};
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

void Boss1::update() {
    System* sys = system();
    if (!sys) return;
    if (!tuneStarted) {
        tuneStarted = 1;
        stopSound(*sys, SoundManager::kMusicStage);
        playSound(*sys, SoundManager::kMusicBoss);
    }
    steer();
    moveByVelocity(*this);
    if (outsideBounds(*this, -100, -100, 372, 484)) {
        if (!dead) {
            if (BossShieldFrame* shield = BossShieldFrame::find(*sys)) shield->close();
        }
        end();
        return;
    }
    if (dead) {
        destruction.step(*this, kReward, true);
        return;
    }
    hitPass();
    if (frameCount < kEntryFrames) hitPoints = kHitPoints;
    burnOutAfter(*this, kTimeLimit);
    if (hitPoints <= 0) {
        destruction.step(*this, kReward, true);
        return;
    }
    keepBossShield(*this, kHitPoints);
    if (frameCount >= kEntryFrames) attack(*sys);
    ++frameCount;
}

void Boss1::attack(System& sys) {
    if (bothWingsDestroyed()) {
        ringAttack(sys);
    } else {
        cycleAttack(sys, (frameCount - kEntryFrames) % 1200);
    }
}

void Boss1::cycleAttack(System& sys, int32_t t) {
    const int32_t level = attackLevel;
    const auto open = [&](const Port& port) { return port.wing < 0 || !wingDestroyed[port.wing]; };
    const auto px = [&](const Port& port) { return x + fixedFromInt(port.dx); };
    const auto py = [&](const Port& port) { return y + fixedFromInt(port.dy); };
    // Each open port in the order centre, left, right.
    const auto eachPort = [&](auto&& fire) {
        for (const Port& port : {kCentre, kLeft, kRight}) {
            if (open(port)) fire(port);
        }
    };

    if (t < 150) {
        // Aimed fans from all three ports, six every 30 frames.
        if (t % 30 == 0) latchTarget(*this);
        if (t % 5 == 0 && t % 30 <= 15) {
            const int32_t n = 2 * level + 1;
            const int32_t speeds[3] = {speedOf(35), speedOf(15), speedOf(25)};
            int i = 0;
            for (const Port& port : {kCentre, kLeft, kRight}) {
                if (open(port)) {
                    fireAimedFan(n, sys, targetX, targetY, px(port), py(port), speeds[i],
                                 30 * kDegree, kNeedle, serial);
                }
                ++i;
            }
        }
    } else if (t >= 180 && t < 280) {
        // Twin spirals, turning opposite ways.
        if (t % 2 == 0) {
            if (open(kLeft)) {
                fireAngled(sys, px(kLeft), py(kLeft), degrees((6 * t) % 360), speedOf(25), kOrb,
                           serial);
            }
            if (open(kRight)) {
                fireAngled(sys, px(kRight), py(kRight), degrees(-6 * t), speedOf(25), kOrb, serial);
            }
        }
    } else if (t >= 280 && t < 300) {
        // A burst of ever faster fans at the latched point.
        if (t == 280) latchTarget(*this);
        if (t % 5 == 0) {
            fireAimedFan(4 * level + 5, sys, targetX, targetY, px(kCentre), py(kCentre),
                         3 * kFixedOne + (t - 280) * kFixedOne / 10, (15 - 2 * level) * kDegree,
                         kOrb, serial);
        }
    } else if (t >= 300 && t < 500) {
        // Walls of needles, straight down, then slanted.
        const int32_t c = t % 40;
        if (t % 2 == 0 && c <= 10) {
            const bool straight = c <= 5;
            const int32_t centre = (straight ? 90 : 110) * kDegree;
            const int32_t speed = 2 * kFixedOne + (t % 20) * kFixedOne / (straight ? 16 : 8);
            eachPort([&](const Port& port) {
                fireFan(2 * level + 9, sys, px(port), py(port), centre, speed,
                        (40 - 2 * level) * kDegree, kNeedle, serial);
            });
        }
    } else if (t >= 600 && t <= 800) {
        // Star fans from the centre, aimed triples from every port.
        if (t % 40 == 20) {
            fireFan(5 * level + 12, sys, px(kCentre), py(kCentre), 90 * kDegree, 2 * kFixedOne,
                    (20 - 3 * level) * kDegree, kStar, serial);
        }
        if (t % 30 == 0) {
            if (const PlayerBase* player = nearestPlayer()) {
                const int32_t tx = aimX(sys, *player);
                const int32_t ty = aimY(*player);
                eachPort([&](const Port& port) {
                    for (const int32_t speed : {170393, 183500, 196608}) {
                        fireAimed(sys, tx, ty, px(port), py(port), speed, kGlintOrb, serial);
                    }
                });
            }
        }
    } else if (t == 900 || t == 950 || t == 1020) {
        // Rings.
        const int32_t n = 2 * level + 3;
        if (n <= 0) return;
        const int32_t spacing = fixedFromInt(360) / n;
        if (t == 900 && open(kLeftRoot)) {
            for (int32_t r = 0; r < 10; ++r) {
                fireFan(n, sys, px(kLeftRoot), py(kLeftRoot), degrees(2 * r), kFixedOne, spacing,
                        kStar, serial);
            }
        } else if (t == 950 && open(kRightRoot)) {
            for (int32_t r = 0; r < 10; ++r) {
                const int32_t turn = degrees(36 + 2 * r);
                fireFan(n, sys, px(kRightRoot), py(kRightRoot), turn, 2 * kFixedOne, spacing, kStar,
                        serial);
                fireFan(n, sys, px(kRightRoot), py(kRightRoot), turn, kFixedOne, spacing, kStar,
                        serial);
            }
        } else if (t == 1020) {
            // Centred 15 degrees below the ship's direction (the latched point without a ship).
            int32_t tx = targetX;
            int32_t ty = targetY;
            if (const PlayerBase* player = nearestPlayer()) {
                tx = aimX(sys, *player);
                ty = aimY(*player);
            }
            const int32_t toShip = atan2Fixed(ty - py(kCentre), tx - px(kCentre));
            for (int32_t r = 0; r < 12; ++r) {
                fireFan(n, sys, px(kCentre), py(kCentre), toShip + (15 + 2 * r) * kDegree,
                        3 * kFixedOne, spacing, kStar, serial);
            }
        }
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
    blitCell(sys->imageSlots[kSlotStage], surface, atlas::boss1::kBoss1Shadow, 0,
             screenX(*sys, fixedFromInt(spot.x)) - 79, screenY(*sys, fixedFromInt(spot.y)) - 86,
             Subtract, 128);
}

void Boss1::draw(DIB& surface) {
    const System* sys = system();
    if (!sys) {
        end();
        return;
    }
    const bool red = !dead && lowHitPointBlink(kHitPoints);
    drawLit(*this, surface, sys->imageSlots[kSlotStage], atlas::boss1::kBoss1, 0,
            screenX(*sys, x) - 79, screenY(*sys, y) - 86, red);
}

// ---------------------------------------------------------------------------------------------

namespace {

// The wing sits this far from the body's centre.
constexpr int32_t kWingDx = 51;
constexpr int32_t kWingDy = 32;
// The short destruction of a wing: a puff on each odd step, 1..15.
constexpr int32_t kWreckSteps = 16;
constexpr PixelOffset kWreckPuffs[8] = {{-10, -8}, {8, -14}, {-4, -20}, {14, -4},
                                        {-16, -2}, {4, -10}, {-8, -24}, {12, -18}};

}  // namespace

Boss1Wing::Boss1Wing(int32_t bodyX, int32_t bodyY, int32_t body, uint8_t wingSide)
    : EnemyBase(bodyX + fixedFromInt(wingSide ? kWingDx : -kWingDx), bodyY + fixedFromInt(kWingDy)),
      bodySerial(body),
      side(wingSide ? 1 : 0) {
    hitPoints = kHitPoints;
    hitBox = side == 0 ? HitBox{-40, -30, 15, 0} : HitBox{-15, -30, 40, 0};
}

void Boss1Wing::followBody(const EnemyBase& body) {
    x = addClamped(body.x, fixedFromInt(side ? kWingDx : -kWingDx));
    y = addClamped(body.y, fixedFromInt(kWingDy));
}

void Boss1Wing::update() {
    System* sys = system();
    if (!sys) return;
    Boss1* body = dynamic_cast<Boss1*>(findBySerial(*sys, bodySerial));
    if (!body) {
        end();
        return;
    }
    followBody(*body);
    if (body->hitPoints <= 0) {
        hitPoints = 0;
    } else if (!body->dead) {
        hitPass();
        if (frameCount < 120) hitPoints = kHitPoints;
        if (wrecked) {
            // The wreck is armour of the body: what strikes it strikes the body.
            const int32_t lost = kHitPoints - hitPoints;
            if (lost > 0) {
                body->hitPoints -= lost;
                body->lastHitKind = lastHitKind;
                body->lastHitter = lastHitter;
                body->hitFlash = 3;
            }
            hitPoints = kHitPoints;
        }
    }
    if (!wrecked && hitPoints <= 0) {
        // From now on the wreck only passes hits on, from full hit points.
        wrecked = 1;
        hitPoints = kHitPoints;
        body->wingDestroyed[side] = 1;
        playSound(*sys, SoundManager::kSoundKill);
    }
    if (wrecked) wreckStep(*sys);
    ++frameCount;
}

void Boss1Wing::wreckStep(System& sys) {
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
    // The intact wing is part of the body's picture; a destroyed one shows its wreck over it,
    // placed from the body's position (the wing sits at a fixed offset from it).
    if (!wrecked) return;
    const System* sys = system();
    if (!sys) {
        end();
        return;
    }
    const int32_t bodyX = screenX(*sys, x) + (side ? -kWingDx : kWingDx);
    const int32_t bodyY = screenY(*sys, y) - kWingDy;
    blitCell(sys->imageSlots[kSlotStage], surface, atlas::boss1::kBoss1WingWreck, side,
             bodyX + (side ? 15 : -79), bodyY - 8, ColorKey);
}

EnemyBase* spawnBoss1(KindSpawn& spawn) {
    const int32_t x = spawn.x();
    const int32_t y = spawn.y();
    // The body first, so that its serial is known to the wings that follow it.
    Boss1* body = spawn.create<Boss1>(x, y, spawn.attackLevel());
    if (!body) return nullptr;
    for (uint8_t side = 0; side < 2; ++side) {
        spawn.place<Boss1Wing>(Placement::Back, x, y, body->serial, side);
    }
    return body;
}

}  // namespace vg
