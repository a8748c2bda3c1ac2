#pragma once

#include <cstdint>

#include "enemy/EnemyKinds.h"

namespace vg {

// Names for the codes of the enemy keywords (StageEvent::kind), taken from the kind table so
// that the code of a keyword is written once, in its row.
inline constexpr int32_t kEnemyTankSmall = enemyCode("ENEMY_TANKSMALL");
inline constexpr int32_t kEnemyTankSmallMiddle = enemyCode("ENEMY_TANKSMALL_MIDDLE");
inline constexpr int32_t kEnemyTankSmall2 = enemyCode("ENEMY_TANKSMALL2");
inline constexpr int32_t kEnemyTankSmall2Middle = enemyCode("ENEMY_TANKSMALL2_MIDDLE");
inline constexpr int32_t kEnemyFlySmall = enemyCode("ENEMY_FLYSMALL");
inline constexpr int32_t kEnemyFlySmallBrake = enemyCode("ENEMY_FLYSMALL_BRAKE");
inline constexpr int32_t kEnemyFlySmallCurve = enemyCode("ENEMY_FLYSMALL_CURVE");
inline constexpr int32_t kEnemyFlySmallShip = enemyCode("ENEMY_FLYSMALL_SHIP");
inline constexpr int32_t kEnemyFlySmallShipBrake = enemyCode("ENEMY_FLYSMALL_SHIP_BRAKE");
inline constexpr int32_t kEnemyKite = enemyCode("ENEMY_KITE");
inline constexpr int32_t kEnemyFlyMediumA = enemyCode("ENEMY_FLYMEDIUM_A");
inline constexpr int32_t kEnemyFlyMediumB = enemyCode("ENEMY_FLYMEDIUM_B");
inline constexpr int32_t kEnemyFlyMediumC = enemyCode("ENEMY_FLYMEDIUM_C");
inline constexpr int32_t kEnemyHeliPower = enemyCode("ENEMY_HELI_POWER");
inline constexpr int32_t kEnemyHeliBomb = enemyCode("ENEMY_HELI_BOMB");
inline constexpr int32_t kEnemySemiBoss1 = enemyCode("ENEMY_SEMIBOSS_1");
inline constexpr int32_t kEnemyBoss1 = enemyCode("ENEMY_BOSS_1");
inline constexpr int32_t kEnemySemiBoss2 = enemyCode("ENEMY_SEMIBOSS_2");
inline constexpr int32_t kEnemyBoss2 = enemyCode("ENEMY_BOSS_2");
inline constexpr int32_t kEnemyTinyPlane = enemyCode("ENEMY_TINYPLANE");
inline constexpr int32_t kEnemyTinyPlaneCurve = enemyCode("ENEMY_TINYPLANE_CURVE");
inline constexpr int32_t kEnemyCannon = enemyCode("ENEMY_CANNON");
inline constexpr int32_t kEnemyCannonMiddle = enemyCode("ENEMY_CANNON_MIDDLE");
inline constexpr int32_t kEnemyFlyGun = enemyCode("ENEMY_FLYGUN");
inline constexpr int32_t kEnemyFlyGunBrake = enemyCode("ENEMY_FLYGUN_BRAKE");
inline constexpr int32_t kEnemyTinyPlane2 = enemyCode("ENEMY_TINYPLANE2");
inline constexpr int32_t kEnemyTinyPlane2Curve = enemyCode("ENEMY_TINYPLANE2_CURVE");
inline constexpr int32_t kEnemyTinyPlane2ShipBrake = enemyCode("ENEMY_TINYPLANE2_SHIP_BRAKE");
inline constexpr int32_t kEnemyFuwafuwa = enemyCode("ENEMY_FUWAFUWA");
inline constexpr int32_t kEnemyFlyLarge = enemyCode("ENEMY_FLYLARGE");
inline constexpr int32_t kEnemySemiBoss3Under = enemyCode("ENEMY_SEMIBOSS3_UNDER");
inline constexpr int32_t kEnemySemiBoss3 = enemyCode("ENEMY_SEMIBOSS3");
inline constexpr int32_t kEnemyBoss3Large = enemyCode("ENEMY_BOSS3_LARGE");
inline constexpr int32_t kEnemyBoss3Small = enemyCode("ENEMY_BOSS3_SMALL");
inline constexpr int32_t kEnemyBoss3Linked = enemyCode("ENEMY_BOSS3_LINKED");
inline constexpr int32_t kEnemyKiteRed = enemyCode("ENEMY_KITE_RED");
inline constexpr int32_t kEnemyFlyMediumC2 = enemyCode("ENEMY_FLYMEDIUM_C2");
inline constexpr int32_t kEnemyBoat = enemyCode("ENEMY_BOAT");
inline constexpr int32_t kEnemyBoatMiddle = enemyCode("ENEMY_BOAT_MIDDLE");
inline constexpr int32_t kEnemyBoatLarge = enemyCode("ENEMY_BOAT_LARGE");
inline constexpr int32_t kEnemySemiBoss4 = enemyCode("ENEMY_SEMIBOSS4");
inline constexpr int32_t kEnemyBoss4 = enemyCode("ENEMY_BOSS4");
inline constexpr int32_t kEnemyTankMidium = enemyCode("ENEMY_TANK_MIDIUM");
inline constexpr int32_t kEnemyTankMidiumMiddle = enemyCode("ENEMY_TANK_MIDIUM_MIDDLE");
inline constexpr int32_t kEnemyTankMidium2 = enemyCode("ENEMY_TANK_MIDIUM2");
inline constexpr int32_t kEnemyTankMidium2Middle = enemyCode("ENEMY_TANK_MIDIUM2_MIDDLE");
inline constexpr int32_t kEnemySemiBoss5A = enemyCode("ENEMY_SEMIBOSS5_A");
inline constexpr int32_t kEnemySemiBoss5B = enemyCode("ENEMY_SEMIBOSS5_B");
inline constexpr int32_t kEnemySemiBoss5C = enemyCode("ENEMY_SEMIBOSS5_C");
inline constexpr int32_t kEnemySemiBoss5D = enemyCode("ENEMY_SEMIBOSS5_D");
inline constexpr int32_t kEnemyBoss5A = enemyCode("ENEMY_BOSS5_A");
inline constexpr int32_t kEnemyBoss5B = enemyCode("ENEMY_BOSS5_B");
inline constexpr int32_t kEnemyBoss5C = enemyCode("ENEMY_BOSS5_C");
inline constexpr int32_t kEnemyBoss5D = enemyCode("ENEMY_BOSS5_D");

}  // namespace vg
