// TYPE-A (Ship1) and TYPE-A2 (Ship3): straight volleys and beams from the options.
#include <array>
#include <cstdlib>

#include "core/FixedMath.h"
#include "core/Layers.h"
#include "core/System.h"
#include "core/TaskQuery.h"
#include "enemy/EnemyBase.h"
#include "player/Bombs.h"
#include "player/ShipEffects.h"
#include "player/Ships.h"
#include "player/Shots.h"
#include "sound/SoundBank.h"

namespace vg {

namespace {

using namespace SoundManager;

constexpr ShipTraits kShip1Traits{
    0, 209715, 131072, 5,  15,    {8, 10, 12, 16, 20, 24}, 5, 3, kSoundShot, kSoundLaser,
    3, 3,      12,     55, false,
};
constexpr ShipTraits kShip3Traits{
    2,  183500, 222822, 5,  15,    {8, 10, 12, 16, 20, 20}, 4, 3, kSoundShot, kSoundLaser,
    10, 10,     12,     54, false,
};

constexpr int32_t kShotSpeed = 14 * kFixedOne;
constexpr int32_t kLaserShotSpeed = 18 * kFixedOne;
constexpr int32_t kUp = 270 * kFixedOne;

// Ship1 options: how far they close on their target per frame, 16.16.
constexpr int32_t kFollow = 19660;
constexpr int32_t kFollowLaser = 39321;
// Ship3 options.
constexpr int32_t kCircle = 6553;
constexpr int32_t kSlideX = 1703;
constexpr int32_t kSlideY = 655;
constexpr int32_t kUnderEnemy = 100 * kFixedOne;
constexpr int32_t kLowestUnderEnemy = 352 * kFixedOne;

constexpr int32_t px(int32_t pixels) {
    return fixedFromInt(pixels);
}

int32_t wrapAngle(int32_t angle) {
    return angle >= px(360) ? angle - px(360) : angle;
}

struct Origin {
    int32_t x;
    int32_t y;
};

// Where the options' shots leave from (their field positions).
std::array<Origin, 2> optionOrigins(const std::array<ShipOption, 2>& options) {
    return {Origin{options[0].x, options[0].y}, Origin{options[1].x, options[1].y}};
}

// The shared volley table of the beam ships by row 0..5: two shots from the ship, one or two from
// each option, then the muzzle flashes.
template <class Shot>
void beamShipVolley(System& sys, uint8_t owner, int row, Origin ship,
                    const std::array<Origin, 2>& options) {
    static constexpr uint8_t kShipType[6] = {0, 1, 1, 2, 2, 2};
    static constexpr uint8_t kOptionType[6] = {0, 0, 1, 1, 0, 1};
    const int shotLayer = layer::shotLayer(owner);
    const int32_t shipY = ship.y - px(row >= 4 ? 15 : 10);
    for (const int32_t dx : {-10, 10}) {
        sys.spawnBack<Shot>(shotLayer, ship.x + px(dx), shipY, kShotSpeed, kUp, owner,
                            kShipType[row]);
    }
    for (int side = 0; side < 2; ++side) {
        const Origin o = options[side];
        if (row < 4) {
            sys.spawnBack<Shot>(shotLayer, o.x, o.y - px(10), kShotSpeed, kUp, owner,
                                kOptionType[row]);
            continue;
        }
        // Two each, staggered outward: (+5, -15) and (-5, -5) on the left, mirrored on the right.
        const int32_t outward = side == 0 ? 5 : -5;
        sys.spawnBack<Shot>(shotLayer, o.x + px(outward), o.y - px(15), kShotSpeed, kUp, owner,
                            kOptionType[row]);
        sys.spawnBack<Shot>(shotLayer, o.x - px(outward), o.y - px(5), kShotSpeed, kUp, owner,
                            kOptionType[row]);
    }
    sys.spawnFront<Shot1Flash>(layer::kEffect, ship.x - px(10), ship.y - px(15));
    sys.spawnFront<Shot1Flash>(layer::kEffect, ship.x + px(10), ship.y - px(15));
    for (const Origin& o : options) sys.spawnFront<Shot1Flash>(layer::kEffect, o.x, o.y - px(20));
}

// Laser shots from the body: one at power 3, two at power 4.
template <class LaserShot>
void bodyLaserShots(System& sys, uint8_t owner, int power, Origin ship) {
    const int shotLayer = layer::shotLayer(owner);
    const int32_t y = ship.y - px(10);
    if (power == 3) {
        sys.spawnBack<LaserShot>(shotLayer, ship.x, y, kLaserShotSpeed, kUp, owner);
    } else if (power == 4) {
        sys.spawnBack<LaserShot>(shotLayer, ship.x - px(10), y, kLaserShotSpeed, kUp, owner);
        sys.spawnBack<LaserShot>(shotLayer, ship.x + px(10), y, kLaserShotSpeed, kUp, owner);
    }
}

}  // namespace

// ---- Ship1 ----------------------------------------------------------------------------------

Ship1::Ship1(uint8_t index) : ShipBase(index, kShip1Traits) {
    options[0].angle = px(180);
    options[1].angle = 0;
}

void Ship1::startLaser() {
    switchBeamsOn();
    options[0].angle = px(180);
    options[1].angle = 0;
}

void Ship1::fireLaserShots() {
    if (System* sys = system())
        bodyLaserShots<LaserShot1>(*sys, playerIndex, power, {shipFieldX(), y});
}

void Ship1::fireVolley() {
    System* sys = system();
    if (!sys) return;
    beamShipVolley<Shot1>(*sys, playerIndex, tablePower(), {shipFieldX(), y},
                          optionOrigins(options));
}

void Ship1::moveOptions() {
    const int32_t fx = shipFieldX();
    const bool full = tablePower() == 5;
    for (ShipOption& option : options) {
        if (!laserOn()) {
            option.targetX = fx + px(option.side == 0 ? -24 : 24);
            option.targetY = y + px(14);
        } else if (!full) {
            // An ellipse over the ship.
            option.targetX = fx + fixedMul(px(24), cosFixed(option.angle));
            option.targetY = y + fixedMul(px(8), sinFixed(option.angle)) - px(16);
            option.angle = wrapAngle(option.angle + px(6));
        } else {
            option.targetX = fx;
            option.targetY = y - px(20);
        }
    }
    const int32_t factor = laserOn() ? kFollowLaser : kFollow;
    approachTargets(factor, factor);
    if (!laserOn()) return;
    for (ShipOption& option : options) {
        if (!full) {
            beamStep(option.beam, option.x, option.y - px(14));
        } else if (option.side == 0) {
            // At full power one wide beam comes from the ship itself.
            beamStep(option.beam, fx, y);
        } else {
            option.beam.state = Beam::Off;
        }
    }
}

// ---- Ship3 ----------------------------------------------------------------------------------

Ship3::Ship3(uint8_t index) : ShipBase(index, kShip3Traits) {
    options[0].angle = 0;
    options[1].angle = px(180);
}

void Ship3::bomb() {
    launchBomb(*this, BombKind::Bomb2);
}

void Ship3::startLaser() {
    switchBeamsOn();
    options[0].angle = 0;
    options[1].angle = px(180);
}

void Ship3::fireLaserShots() {
    if (System* sys = system())
        bodyLaserShots<LaserShot3>(*sys, playerIndex, power, {shipFieldX(), y});
}

void Ship3::fireVolley() {
    System* sys = system();
    if (!sys) return;
    // The highest level, 4, fires the full-power row.
    const int row = power >= 4 ? 5 : power;
    beamShipVolley<Shot3>(*sys, playerIndex, row, {shipFieldX(), y}, optionOrigins(options));
}

void Ship3::moveOptions() {
    System* sys = system();
    if (!sys) return;
    const int32_t fx = shipFieldX();
    if (!laserOn()) {
        for (ShipOption& option : options) {
            // Circling the ship.
            option.targetX = fx + fixedMul(px(64), cosFixed(-option.angle));
            option.targetY = y + fixedMul(px(64), sinFixed(-option.angle));
            option.angle += px(10);
            if (option.angle > px(360)) option.angle -= px(350);
        }
        approachTargets(kCircle, kCircle);
        return;
    }
    for (ShipOption& option : options) {
        // The enemy nearest sideways; the first found wins a tie.
        const EnemyBase* chosen = nullptr;
        int64_t best = 0;
        for (const int enemyLayer : layer::kEnemyLayers) {
            forEachInLayer<EnemyBase>(*sys, enemyLayer, [&](const EnemyBase& enemy) {
                if (enemy.dead) return;
                const int64_t d = std::llabs(int64_t{enemy.x} - option.x);
                if (!chosen || d < best) {
                    chosen = &enemy;
                    best = d;
                }
            });
        }
        if (chosen) {
            // Slide under it and burn it from below.
            option.targetX = chosen->x + fixedMul(px(12), sinFixed(option.angle));
            option.targetY = std::min(chosen->y + kUnderEnemy, kLowestUnderEnemy);
        } else {
            // Nothing to burn: hold beside the ship.
            option.targetX = fx + px(option.side == 0 ? -24 : 24);
            option.targetY = y;
        }
        option.angle = wrapAngle(option.angle + px(1));
    }
    approachTargets(kSlideX, kSlideY);
    for (ShipOption& option : options) beamStep(option.beam, option.x, option.y - px(14));
}

}  // namespace vg
