#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "core/Layers.h"

namespace vg {

class EnemyBase;
class KindSpawn;

// Where a new task goes in its layer: before the tasks already there, or after them.
enum class Placement : uint8_t { Front, Back };

// Makes the enemy of one keyword (and the parts bound to it) from a script event; null when the
// arena is full. Each kind's file defines its own (see enemy/README.md).
using KindFactory = EnemyBase* (*)(KindSpawn& spawn);

// One enemy keyword of the stage scripts. Everything the parser, the spawner, the statistics
// and the tests know of a keyword is here, once.
struct KindRow {
    const char* keyword;
    int32_t code;  // StageEvent::kind
    // What the parser reads, in order: 'N' a number field (16.16, fractions kept), 'I' an
    // integer field (stored shifted into the upper 16 bits).
    const char* fields;
    // What each field means, comma-separated, in the order of `fields`: the names the factory
    // reads them by. The first two are x and y where the kind has a position; the last integer
    // field, where there is one, is attackLevel.
    const char* names;
    const char* className;  // the class the keyword makes (the body, for a kind with parts)
    int layer;
    Placement placement;
    bool boss;            // a boss or semi-boss: shield gauge, time limit, the shared destruction
    uint8_t variant;      // the kind's mode chosen by the keyword (FlySmall's flight, Heli's item)
    KindFactory factory;  // null while the kind is not built: its lines spawn nothing

    constexpr bool built() const { return factory != nullptr; }
};

// The factories of the kinds, defined in the kind's own file. A kind still to be built keeps
// its declaration here, ready for its file.
EnemyBase* spawnTankSmall(KindSpawn& spawn);
EnemyBase* spawnTankSmall2(KindSpawn& spawn);
EnemyBase* spawnFlySmall(KindSpawn& spawn);
EnemyBase* spawnKite(KindSpawn& spawn);
EnemyBase* spawnFlyMediumA(KindSpawn& spawn);
EnemyBase* spawnFlyMediumB(KindSpawn& spawn);
EnemyBase* spawnFlyMediumC(KindSpawn& spawn);
EnemyBase* spawnHeli(KindSpawn& spawn);
EnemyBase* spawnSemiBoss1(KindSpawn& spawn);
EnemyBase* spawnBoss1(KindSpawn& spawn);
EnemyBase* spawnSemiBoss2(KindSpawn& spawn);
EnemyBase* spawnBoss2(KindSpawn& spawn);
EnemyBase* spawnTinyPlane(KindSpawn& spawn);
EnemyBase* spawnCannon(KindSpawn& spawn);
EnemyBase* spawnFlyGun(KindSpawn& spawn);
EnemyBase* spawnTinyPlane2(KindSpawn& spawn);
EnemyBase* spawnFuwafuwa(KindSpawn& spawn);
EnemyBase* spawnFlyLarge(KindSpawn& spawn);
EnemyBase* spawnSemiBoss3Under(KindSpawn& spawn);
EnemyBase* spawnSemiBoss3(KindSpawn& spawn);
EnemyBase* spawnBoss3Large(KindSpawn& spawn);
EnemyBase* spawnBoss3Small(KindSpawn& spawn);
EnemyBase* spawnBoss3Linked(KindSpawn& spawn);
EnemyBase* spawnKiteRed(KindSpawn& spawn);
EnemyBase* spawnFlyMediumC2(KindSpawn& spawn);
EnemyBase* spawnBoat(KindSpawn& spawn);
EnemyBase* spawnBoatLarge(KindSpawn& spawn);
EnemyBase* spawnSemiBoss4(KindSpawn& spawn);
EnemyBase* spawnBoss4(KindSpawn& spawn);
EnemyBase* spawnTankMidium(KindSpawn& spawn);
EnemyBase* spawnTankMidium2(KindSpawn& spawn);
EnemyBase* spawnSemiBoss5A(KindSpawn& spawn);
EnemyBase* spawnSemiBoss5B(KindSpawn& spawn);
EnemyBase* spawnSemiBoss5C(KindSpawn& spawn);
EnemyBase* spawnSemiBoss5D(KindSpawn& spawn);
EnemyBase* spawnBoss5A(KindSpawn& spawn);
EnemyBase* spawnBoss5B(KindSpawn& spawn);
EnemyBase* spawnBoss5C(KindSpawn& spawn);
EnemyBase* spawnBoss5D(KindSpawn& spawn);

namespace kinds {

using enum Placement;
inline constexpr int kGround = layer::kGround;
inline constexpr int kMiddle = layer::kGroundMiddle;
inline constexpr int kAir = layer::kAir;

// Every enemy keyword, codes 100..153 in order. Fields named paramN are the kind's own values,
// to be named when the kind is built.
inline constexpr KindRow kTable[] = {
    // keyword, code, fields, names, class, layer, placement, boss, variant, factory
    {"ENEMY_TANKSMALL", 100, "NNNNII", "x,y,direction,speed,travelFrames,attackLevel", "TankSmall",
     kGround, Front, false, 0, spawnTankSmall},
    {"ENEMY_TANKSMALL_MIDDLE", 101, "NNNNII", "x,y,direction,speed,travelFrames,attackLevel",
     "TankSmall", kMiddle, Front, false, 0, spawnTankSmall},
    {"ENEMY_TANKSMALL2", 102, "NNNNII", "x,y,direction,speed,travelFrames,attackLevel",
     "TankSmall2", kGround, Front, false, 0, spawnTankSmall2},
    {"ENEMY_TANKSMALL2_MIDDLE", 103, "NNNNII", "x,y,direction,speed,travelFrames,attackLevel",
     "TankSmall2", kMiddle, Front, false, 0, spawnTankSmall2},
    {"ENEMY_FLYSMALL", 104, "NNNNI", "x,y,direction,speed,attackLevel", "FlySmall", kAir, Front,
     false, 0, spawnFlySmall},
    {"ENEMY_FLYSMALL_BRAKE", 105, "NNNNNII", "x,y,direction,speed,factor,frames,attackLevel",
     "FlySmall", kAir, Front, false, 1, spawnFlySmall},
    {"ENEMY_FLYSMALL_CURVE", 106, "NNNNNNII",
     "x,y,direction,speed,turn,acceleration,frames,attackLevel", "FlySmall", kAir, Front, false, 2,
     spawnFlySmall},
    {"ENEMY_FLYSMALL_SHIP", 107, "NNNI", "x,y,speed,attackLevel", "FlySmall", kAir, Front, false, 3,
     spawnFlySmall},
    {"ENEMY_FLYSMALL_SHIP_BRAKE", 108, "NNNNII", "x,y,speed,factor,frames,attackLevel", "FlySmall",
     kAir, Front, false, 4, spawnFlySmall},
    {"ENEMY_KITE", 109, "NNNNI", "x,y,direction,speed,attackLevel", "Kite", kAir, Front, false, 0,
     spawnKite},
    {"ENEMY_FLYMEDIUM_A", 110, "NNI", "x,y,attackLevel", "FlyMediumA", kAir, Front, false, 0,
     spawnFlyMediumA},
    {"ENEMY_FLYMEDIUM_B", 111, "NNI", "x,y,attackLevel", "FlyMediumB", kAir, Front, false, 0,
     spawnFlyMediumB},
    {"ENEMY_FLYMEDIUM_C", 112, "NNI", "x,y,attackLevel", "FlyMediumC", kAir, Front, false, 0,
     nullptr},
    {"ENEMY_HELI_POWER", 113, "NN", "x,y", "Heli", kAir, Front, false, 1, spawnHeli},
    {"ENEMY_HELI_BOMB", 114, "NN", "x,y", "Heli", kAir, Front, false, 2, spawnHeli},
    {"ENEMY_SEMIBOSS_1", 115, "NNNNII", "x,y,direction,speed,entryFrames,attackLevel", "SemiBoss1",
     kGround, Front, true, 0, spawnSemiBoss1},
    {"ENEMY_BOSS_1", 116, "NNI", "x,y,attackLevel", "Boss1", kAir, Front, true, 0, spawnBoss1},
    {"ENEMY_SEMIBOSS_2", 117, "NNI", "x,y,attackLevel", "SemiBoss2", kMiddle, Front, true, 0,
     nullptr},
    {"ENEMY_BOSS_2", 118, "NNI", "x,y,attackLevel", "Boss2", kGround, Front, true, 0, nullptr},
    {"ENEMY_TINYPLANE", 119, "NNNNI", "x,y,direction,speed,attackLevel", "TinyPlane", kAir, Front,
     false, 0, spawnTinyPlane},
    {"ENEMY_TINYPLANE_CURVE", 120, "NNNNNII", "x,y,direction,speed,turn,turnFrames,attackLevel",
     "TinyPlane", kAir, Front, false, 1, spawnTinyPlane},
    {"ENEMY_CANNON", 121, "NNI", "x,y,attackLevel", "Cannon", kGround, Front, false, 0,
     spawnCannon},
    {"ENEMY_CANNON_MIDDLE", 122, "NNI", "x,y,attackLevel", "Cannon", kMiddle, Front, false, 0,
     spawnCannon},
    {"ENEMY_FLYGUN", 123, "NNNNI", "x,y,direction,speed,attackLevel", "FlyGun", kAir, Front, false,
     0, spawnFlyGun},
    {"ENEMY_FLYGUN_BRAKE", 124, "NNNNNII", "x,y,direction,speed,factor,frames,attackLevel",
     "FlyGun", kAir, Front, false, 1, spawnFlyGun},
    {"ENEMY_TINYPLANE2", 125, "NNNNI", "x,y,param1,param2,attackLevel", "TinyPlane2", kAir, Front,
     false, 0, nullptr},
    {"ENEMY_TINYPLANE2_CURVE", 126, "NNNNNII", "x,y,param1,param2,param3,param4,attackLevel",
     "TinyPlane2", kAir, Front, false, 1, nullptr},
    {"ENEMY_TINYPLANE2_SHIP_BRAKE", 127, "NNNNII", "x,y,param1,param2,param3,attackLevel",
     "TinyPlane2", kAir, Front, false, 2, nullptr},
    {"ENEMY_FUWAFUWA", 128, "NNNNI", "x,y,direction,speed,attackLevel", "Fuwafuwa", kAir, Front,
     false, 0, spawnFuwafuwa},
    {"ENEMY_FLYLARGE", 129, "NNI", "x,y,attackLevel", "FlyLarge", kAir, Front, false, 0, nullptr},
    {"ENEMY_SEMIBOSS3_UNDER", 130, "NNNN", "x,y,param1,param2", "SemiBoss3Under", kAir, Front,
     false, 0, nullptr},
    {"ENEMY_SEMIBOSS3", 131, "NNI", "x,y,attackLevel", "SemiBoss3", kAir, Front, true, 0, nullptr},
    {"ENEMY_BOSS3_LARGE", 132, "NNNNI", "x,y,param1,param2,attackLevel", "Boss3Large", kAir, Front,
     true, 0, nullptr},
    {"ENEMY_BOSS3_SMALL", 133, "I", "attackLevel", "Boss3Small", kAir, Front, true, 0, nullptr},
    {"ENEMY_BOSS3_LINKED", 134, "NNNI", "x,y,param1,attackLevel", "Boss3Linked", kAir, Front, true,
     0, nullptr},
    {"ENEMY_KITE_RED", 135, "NNNNI", "x,y,param1,param2,attackLevel", "KiteRed", kAir, Front, false,
     0, nullptr},
    {"ENEMY_FLYMEDIUM_C2", 136, "NNI", "x,y,attackLevel", "FlyMediumC2", kAir, Front, false, 0,
     nullptr},
    {"ENEMY_BOAT", 137, "NNNNI", "x,y,param1,param2,attackLevel", "Boat", kGround, Front, false, 0,
     nullptr},
    {"ENEMY_BOAT_MIDDLE", 138, "NNNNI", "x,y,param1,param2,attackLevel", "Boat", kMiddle, Front,
     false, 0, nullptr},
    {"ENEMY_BOAT_LARGE", 139, "NNNNI", "x,y,param1,param2,attackLevel", "BoatLarge", kMiddle, Front,
     false, 0, nullptr},
    {"ENEMY_SEMIBOSS4", 140, "NNI", "x,y,attackLevel", "SemiBoss4Dummy", kGround, Front, true, 0,
     nullptr},
    {"ENEMY_BOSS4", 141, "NNI", "x,y,attackLevel", "Boss4", kGround, Front, true, 0, nullptr},
    {"ENEMY_TANK_MIDIUM", 142, "NNNII", "x,y,param1,param2,attackLevel", "TankMidium", kGround,
     Front, false, 0, nullptr},
    {"ENEMY_TANK_MIDIUM_MIDDLE", 143, "NNNII", "x,y,param1,param2,attackLevel", "TankMidium",
     kMiddle, Front, false, 0, nullptr},
    {"ENEMY_TANK_MIDIUM2", 144, "NNNII", "x,y,param1,param2,attackLevel", "TankMidium2", kGround,
     Front, false, 0, nullptr},
    {"ENEMY_TANK_MIDIUM2_MIDDLE", 145, "NNNII", "x,y,param1,param2,attackLevel", "TankMidium2",
     kMiddle, Front, false, 0, nullptr},
    {"ENEMY_SEMIBOSS5_A", 146, "NNNNII", "x,y,param1,param2,param3,attackLevel", "SemiBoss5A",
     kMiddle, Front, true, 0, nullptr},
    {"ENEMY_SEMIBOSS5_B", 147, "NNI", "x,y,attackLevel", "SemiBoss5B", kGround, Front, true, 0,
     nullptr},
    {"ENEMY_SEMIBOSS5_C", 148, "NNI", "x,y,attackLevel", "SemiBoss5C", kAir, Front, true, 0,
     nullptr},
    {"ENEMY_SEMIBOSS5_D", 149, "NNI", "x,y,attackLevel", "SemiBoss5D", kAir, Front, true, 0,
     nullptr},
    {"ENEMY_BOSS5_A", 150, "NNI", "x,y,attackLevel", "Boss5A", kMiddle, Front, true, 0, nullptr},
    {"ENEMY_BOSS5_B", 151, "NNI", "x,y,attackLevel", "Boss5B", kAir, Front, true, 0, nullptr},
    {"ENEMY_BOSS5_C", 152, "NNI", "x,y,attackLevel", "Boss5CDirection", kAir, Front, true, 0,
     nullptr},
    {"ENEMY_BOSS5_D", 153, "NNI", "x,y,attackLevel", "Boss5D", kAir, Front, true, 0, nullptr},
};

}  // namespace kinds

// Every enemy keyword, in code order.
inline constexpr std::span<const KindRow> enemyKinds() {
    return kinds::kTable;
}

// The row of `code`, or null when it names no enemy keyword.
constexpr const KindRow* findEnemyKind(int32_t code) {
    const auto table = enemyKinds();
    const int64_t index = static_cast<int64_t>(code) - table.front().code;
    if (index < 0 || index >= static_cast<int64_t>(table.size())) return nullptr;
    return &table[static_cast<size_t>(index)];
}

// The code of `keyword`; a keyword that is not in the table does not compile where a constant
// is asked for.
consteval int32_t enemyCode(std::string_view keyword) {
    for (const KindRow& kind : kinds::kTable) {
        if (keyword == kind.keyword) return kind.code;
    }
    throw "not an enemy keyword";
}

// True when a boss row makes the class `className` (the statistics list its time-outs).
bool isBossClass(std::string_view className);

}  // namespace vg
