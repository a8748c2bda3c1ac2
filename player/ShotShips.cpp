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

struct Origin {
    int32_t x;
    int32_t y;
};

// The fan volley of row `row`, then the muzzle flashes.
template <class Shot, class Flash, class OptionFlash>
void fanVolley(System& sys, uint8_t owner, int row, Origin ship, const Origin (&options)[2]) {
    const FanRow& fan = kFanRows[row];
    const int shotLayer = layer::shotLayer(owner);
    for (const int32_t dx : {-10, 10}) {
        sys.spawnBack<Shot>(shotLayer, ship.x + px(dx), ship.y, kShotSpeed, kUp, owner,
                            fan.shipType);
    }
    for (int i = 0; i < fan.count; ++i) {
        const FanShot& shot = fan.shots[i];
        const Origin o = options[shot.side];
        sys.spawnBack<Shot>(shotLayer, o.x, o.y, kShotSpeed, px(shot.degrees), owner, shot.type);
    }
    sys.spawnFront<Flash>(layer::kEffect, ship.x - px(10), ship.y - px(18));
    sys.spawnFront<Flash>(layer::kEffect, ship.x + px(10), ship.y - px(18));
    for (const Origin& o : options) sys.spawnFront<OptionFlash>(layer::kEffect, o.x, o.y - px(16));
}

template <class Flash>
void laserFlashes(System& sys, Origin ship, const Origin (&options)[2]) {
    sys.spawnFront<Flash>(layer::kEffect, ship.x, ship.y - px(18));
    for (const Origin& o : options) sys.spawnFront<Flash>(layer::kEffect, o.x, o.y - px(16));
}

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

// ---- Ship2 ----------------------------------------------------------------------------------

Ship2::Ship2(uint8_t index) : ShipBase(index, kShip2Traits) {}

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
    System* sys = system();
    if (!sys) return;
    const uint8_t type = static_cast<uint8_t>(tablePower());
    const int shotLayer = layer::shotLayer(playerIndex);
    const Origin ship{shipFieldX(), y};
    const Origin sides[2] = {{optionFieldX(options[0]), options[0].y},
                             {optionFieldX(options[1]), options[1].y}};
    const bool locked = chainHold > 0;
    const auto aim = [&](Origin from, int32_t unlocked) {
        return locked ? atan2Fixed(lockY - from.y, lockX - from.x) : unlocked;
    };
    sys->spawnBack<LaserShot2>(shotLayer, ship.x, ship.y, px(16), aim(ship, kUp), playerIndex,
                               type);
    sys->spawnBack<LaserShot2>(shotLayer, sides[0].x, sides[0].y, px(12), aim(sides[0], px(260)),
                               playerIndex, type);
    sys->spawnBack<LaserShot2>(shotLayer, sides[1].x, sides[1].y, px(12), aim(sides[1], px(280)),
                               playerIndex, type);
    laserFlashes<Shot2Flash>(*sys, ship, sides);
    playSound(*sys, kSoundLaser2);
}

void Ship2::fireVolley() {
    System* sys = system();
    if (!sys) return;
    const Origin sides[2] = {{optionFieldX(options[0]), options[0].y},
                             {optionFieldX(options[1]), options[1].y}};
    fanVolley<Shot2, Shot2Flash, BitShot2Flash>(*sys, playerIndex, tablePower(), {shipFieldX(), y},
                                                sides);
}

void Ship2::moveOptions() {
    const int32_t factor = setFollowTargets(options, x, y, laserOn());
    approachTargets(factor, factor);
}

// ---- Ship4 ----------------------------------------------------------------------------------

Ship4::Ship4(uint8_t index) : ShipBase(index, kShip4Traits) {}

void Ship4::bomb() {
    launchBomb(*this, BombKind::Bomb2);
}

void Ship4::fireLaserShots() {
    System* sys = system();
    if (!sys) return;
    const uint8_t type = static_cast<uint8_t>(tablePower());
    const int shotLayer = layer::shotLayer(playerIndex);
    const Origin ship{shipFieldX(), y};
    const Origin sides[2] = {{optionFieldX(options[0]), options[0].y},
                             {optionFieldX(options[1]), options[1].y}};
    sys->spawnBack<LaserShot4>(shotLayer, ship.x, ship.y, px(16), kUp, playerIndex, type);
    // The options' needles leave crossing, the left one to the right.
    sys->spawnBack<LaserShot4>(shotLayer, sides[0].x, sides[0].y, px(8), px(300), playerIndex,
                               type);
    sys->spawnBack<LaserShot4>(shotLayer, sides[1].x, sides[1].y, px(8), px(240), playerIndex,
                               type);
    laserFlashes<Shot4Flash>(*sys, ship, sides);
    playSound(*sys, kSoundLaser2);
}

void Ship4::fireVolley() {
    System* sys = system();
    if (!sys) return;
    const Origin sides[2] = {{optionFieldX(options[0]), options[0].y},
                             {optionFieldX(options[1]), options[1].y}};
    fanVolley<Shot4, Shot4Flash, BitShot4Flash>(*sys, playerIndex, tablePower(), {shipFieldX(), y},
                                                sides);
}

void Ship4::moveOptions() {
    const int32_t factor = setFollowTargets(options, x, y, laserOn());
    approachTargets(factor, factor);
}

}  // namespace vg
