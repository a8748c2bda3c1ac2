// TYPE-B (Ship2) and TYPE-B2 (Ship4): fans of shots, laser shots from the ship and both options.
#include <array>

#include "core/FixedMath.h"
#include "core/GameSound.h"
#include "core/Layers.h"
#include "core/System.h"
#include "player/Bombs.h"
#include "player/ShipEffects.h"
#include "player/Ships.h"
#include "player/Shots.h"
#include "sound/SoundBank.h"

namespace vg {

namespace {

using namespace SoundManager;

constexpr ShipTraits kShip2Traits{
    1, 170393, 104857, 6,  32,   {8, 20, 28, 28, 28, 28}, 255, 4, kSoundShot2, kSoundLaser2,
    7, 0,      13,     52, true,
};
constexpr ShipTraits kShip4Traits{
    3, 170393, 104857, 6,  32,   {6, 12, 24, 24, 24, 24}, 255, 3, kSoundShot2, kSoundLaser2,
    6, 0,      13,     54, true,
};

constexpr int32_t kShotSpeed = 14 * kFixedOne;
constexpr int32_t kUp = 270 * kFixedOne;

// Options follow the ship in view coordinates, closing on their target by these per frame.
constexpr int32_t kFollow = 9830;
constexpr int32_t kFollowLaser = 13107;

constexpr int32_t px(int32_t pixels) {
    return fixedFromInt(pixels);
}

// One shot of an option in the fan table: side 0 is the left option, side 1 the right.
struct FanShot {
    uint8_t side;
    uint8_t type;
    int16_t degrees;
};
struct FanRow {
    uint8_t shipType;  // the two shots of the ship, straight up
    uint8_t count;
    FanShot shots[10];
};
constexpr FanRow kFanRows[6] = {
    {0, 2, {{0, 3, 260}, {1, 5, 280}}},
    {1, 4, {{0, 3, 260}, {1, 5, 280}, {0, 0, 270}, {1, 0, 270}}},
    {1, 6, {{0, 3, 260}, {1, 5, 280}, {0, 0, 270}, {1, 0, 270}, {0, 4, 255}, {1, 6, 285}}},
    {2,
     8,
     {{0, 2, 260},
      {1, 2, 280},
      {0, 1, 270},
      {1, 1, 270},
      {0, 3, 255},
      {1, 5, 285},
      {0, 4, 250},
      {1, 6, 290}}},
    {2,
     8,
     {{0, 2, 260},
      {1, 2, 280},
      {0, 2, 270},
      {1, 2, 270},
      {0, 3, 255},
      {1, 5, 285},
      {0, 4, 250},
      {1, 6, 290}}},
    {2,
     10,
     {{0, 2, 260},
      {1, 2, 280},
      {0, 2, 270},
      {1, 2, 270},
      {0, 3, 255},
      {1, 5, 285},
      {0, 4, 250},
      {1, 6, 290},
      {0, 4, 245},
      {1, 6, 295}}},
};

// Both options follow the ship in view coordinates: above and beside it, or, with the laser,
// wider and lower. Returns how far they close on their targets per frame.
int32_t setFollowTargets(std::array<ShipOption, 2>& options, int32_t shipX, int32_t shipY,
                         bool laser) {
    for (ShipOption& option : options) {
        const int32_t side = option.side == 0 ? -1 : 1;
        option.targetX = shipX + px(side * (laser ? 40 : 24));
        option.targetY = shipY + px(laser ? 14 : -10);
    }
    return laser ? kFollowLaser : kFollow;
}

}  // namespace

// ---- FanShip --------------------------------------------------------------------------------

void FanShip::moveOptions() {
    const int32_t factor = setFollowTargets(options, x, y, laserOn());
    approachTargets(factor, factor);
}

FanShip::Muzzles FanShip::muzzles() const {
    return {{shipFieldX(), y},
            {{optionFieldX(options[0]), options[0].y}, {optionFieldX(options[1]), options[1].y}}};
}

template <class Shot, class Flash, class OptionFlash>
void FanShip::fireFan() {
    System* sys = system();
    if (!sys) return;
    const Muzzles from = muzzles();
    const FanRow& fan = kFanRows[tablePower()];
    const int shotLayer = layer::shotLayer(playerIndex);
    for (const int32_t dx : {-10, 10}) {
        sys->spawnBack<Shot>(shotLayer, from.ship.x + px(dx), from.ship.y, kShotSpeed, kUp,
                             playerIndex, fan.shipType);
    }
    for (int i = 0; i < fan.count; ++i) {
        const FanShot& shot = fan.shots[i];
        const Muzzle o = from.sides[shot.side];
        sys->spawnBack<Shot>(shotLayer, o.x, o.y, kShotSpeed, px(shot.degrees), playerIndex,
                             shot.type);
    }
    sys->spawnFront<Flash>(layer::kEffect, from.ship.x - px(10), from.ship.y - px(18));
    sys->spawnFront<Flash>(layer::kEffect, from.ship.x + px(10), from.ship.y - px(18));
    for (const Muzzle& o : from.sides) {
        sys->spawnFront<OptionFlash>(layer::kEffect, o.x, o.y - px(16));
    }
}

template <class LaserShot, class Flash>
void FanShip::fireLaser(const Muzzles& from, int32_t optionSpeed, const int32_t (&angles)[3]) {
    System* sys = system();
    if (!sys) return;
    const uint8_t type = static_cast<uint8_t>(tablePower());
    const int shotLayer = layer::shotLayer(playerIndex);
    sys->spawnBack<LaserShot>(shotLayer, from.ship.x, from.ship.y, px(16), angles[0], playerIndex,
                              type);
    for (int side = 0; side < 2; ++side) {
        sys->spawnBack<LaserShot>(shotLayer, from.sides[side].x, from.sides[side].y, optionSpeed,
                                  angles[1 + side], playerIndex, type);
    }
    sys->spawnFront<Flash>(layer::kEffect, from.ship.x, from.ship.y - px(18));
    for (const Muzzle& o : from.sides) sys->spawnFront<Flash>(layer::kEffect, o.x, o.y - px(16));
    playSound(*sys, kSoundLaser2);
}

// ---- Ship2 ----------------------------------------------------------------------------------

Ship2::Ship2(uint8_t index) : FanShip(index, kShip2Traits) {}

void Ship2::fireWeapons() {
    // Without a held lock the target sits straight above the ship.
    if (chainHold == 0) {
        lockX = shipFieldX();
        lockY = 0;
    }
    ShipBase::fireWeapons();
}

void Ship2::laserStruck(int32_t enemyX, int32_t enemyY) {
    ShipBase::laserStruck(enemyX, enemyY);
    lockX = enemyX;
    lockY = enemyY;
}

void Ship2::fireLaserShots() {
    const Muzzles from = muzzles();
    // While the chain is held the shots aim at the locked point.
    const bool locked = chainHold > 0;
    const auto aim = [&](Muzzle m, int32_t unlocked) {
        return locked ? atan2Fixed(lockY - m.y, lockX - m.x) : unlocked;
    };
    fireLaser<LaserShot2, Shot2Flash>(
        from, px(12),
        {aim(from.ship, kUp), aim(from.sides[0], px(260)), aim(from.sides[1], px(280))});
}

void Ship2::fireVolley() {
    fireFan<Shot2, Shot2Flash, BitShot2Flash>();
}

// ---- Ship4 ----------------------------------------------------------------------------------

Ship4::Ship4(uint8_t index) : FanShip(index, kShip4Traits) {}

void Ship4::bomb() {
    launchBomb(*this, BombKind::Bomb2);
}

void Ship4::fireLaserShots() {
    // The options' needles leave crossing, the left one to the right.
    fireLaser<LaserShot4, Shot4Flash>(muzzles(), px(8), {kUp, px(300), px(240)});
}

void Ship4::fireVolley() {
    fireFan<Shot4, Shot4Flash, BitShot4Flash>();
}

}  // namespace vg
