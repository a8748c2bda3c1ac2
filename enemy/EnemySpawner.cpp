#include "enemy/EnemySpawner.h"

#include <algorithm>
#include <utility>

#include "core/Layers.h"
#include "core/System.h"
#include "enemy/Boss1.h"
#include "enemy/Cannon.h"
#include "enemy/EnemyKeywords.h"
#include "enemy/FlyGun.h"
#include "enemy/FlyMediumA.h"
#include "enemy/FlyMediumB.h"
#include "enemy/FlySmall.h"
#include "enemy/Fuwafuwa.h"
#include "enemy/Heli.h"
#include "enemy/Kite.h"
#include "enemy/SemiBoss1.h"
#include "enemy/TankSmall.h"
#include "enemy/TankSmall2.h"
#include "enemy/TinyPlane.h"

namespace vg {

namespace {

enum class At { Front, Back };

// Creates one enemy or part and tells the observer.
template <class T, class... Args>
T* create(System& system, int taskLayer, At at, Args&&... args) {
    T* enemy = at == At::Front ? system.spawnFront<T>(taskLayer, std::forward<Args>(args)...)
                               : system.spawnBack<T>(taskLayer, std::forward<Args>(args)...);
    if (enemy && system.observer) system.observer->enemySpawned(*enemy);
    return enemy;
}

// The attack level is a signed byte; a script value beyond it is held at its end.
int8_t attackLevelOf(const StageEvent& event, int field) {
    return static_cast<int8_t>(std::clamp<int32_t>(event.integer(field), -128, 127));
}

// The ground layer of a kind and of its _MIDDLE variant.
int groundLayer(bool middle) {
    return middle ? layer::kGroundMiddle : layer::kGround;
}

FlySmall* flySmall(System& system, const StageEvent& e) {
    FlySmallCourse course;
    int levelField = 4;
    switch (e.kind) {
        case kEnemyFlySmall:
            course.direction = e.number(2);
            course.speed = e.number(3);
            break;
        case kEnemyFlySmallBrake:
            course.mode = FlySmallCourse::kBrake;
            course.direction = e.number(2);
            course.speed = e.number(3);
            course.factor = e.number(4);
            course.frames = e.integer(5);
            levelField = 6;
            break;
        case kEnemyFlySmallCurve:
            course.mode = FlySmallCourse::kCurve;
            course.direction = e.number(2);
            course.speed = e.number(3);
            course.turn = e.number(4);
            course.acceleration = e.number(5);
            course.frames = e.integer(6);
            levelField = 7;
            break;
        case kEnemyFlySmallShip:
            course.mode = FlySmallCourse::kShip;
            course.speed = e.number(2);
            levelField = 3;
            break;
        default:  // kEnemyFlySmallShipBrake
            course.mode = FlySmallCourse::kShipBrake;
            course.speed = e.number(2);
            course.factor = e.number(3);
            course.frames = e.integer(4);
            levelField = 5;
            break;
    }
    return create<FlySmall>(system, layer::kAir, At::Front, e.number(0), e.number(1), course,
                            attackLevelOf(e, levelField));
}

// The body `e` names, or null when the arena is full; `known` is left false for a kind code
// that names no enemy this build knows.
EnemyBase* place(System& system, const StageEvent& e, bool& known) {
    known = true;
    const int32_t x = e.number(0);
    const int32_t y = e.number(1);
    switch (e.kind) {
        case kEnemyTankSmall:
        case kEnemyTankSmallMiddle:
            return create<TankSmall>(system, groundLayer(e.kind == kEnemyTankSmallMiddle),
                                     At::Front, x, y, e.number(2), e.number(3), e.integer(4),
                                     attackLevelOf(e, 5));
        case kEnemyTankSmall2:
        case kEnemyTankSmall2Middle:
            return create<TankSmall2>(system, groundLayer(e.kind == kEnemyTankSmall2Middle),
                                      At::Front, x, y, e.number(2), e.number(3), e.integer(4),
                                      attackLevelOf(e, 5));
        case kEnemyFlySmall:
        case kEnemyFlySmallBrake:
        case kEnemyFlySmallCurve:
        case kEnemyFlySmallShip:
        case kEnemyFlySmallShipBrake:
            return flySmall(system, e);
        case kEnemyKite:
            return create<Kite>(system, layer::kAir, At::Front, x, y, e.number(2), e.number(3),
                                attackLevelOf(e, 4));
        case kEnemyFlyMediumA:
            return create<FlyMediumA>(system, layer::kAir, At::Front, x, y, attackLevelOf(e, 2));
        case kEnemyFlyMediumB:
            return create<FlyMediumB>(system, layer::kAir, At::Front, x, y, attackLevelOf(e, 2));
        case kEnemyHeliPower:
        case kEnemyHeliBomb:
            return create<Heli>(system, layer::kAir, At::Front, x, y,
                                static_cast<uint8_t>(e.kind == kEnemyHeliPower ? 1 : 2));
        case kEnemySemiBoss1:
            return create<SemiBoss1>(system, layer::kGround, At::Front, x, y, e.number(2),
                                     e.number(3), e.integer(4), attackLevelOf(e, 5));
        case kEnemyBoss1: {
            // The body first, so that its serial is known to the wings that follow it.
            Boss1* body = create<Boss1>(system, layer::kAir, At::Front, x, y, attackLevelOf(e, 2));
            if (!body) return nullptr;
            for (uint8_t side = 0; side < 2; ++side) {
                create<Boss1Wing>(system, layer::kAir, At::Back, x, y, body->serial, side);
            }
            return body;
        }
        case kEnemyTinyPlane:
            return create<TinyPlane>(system, layer::kAir, At::Front, x, y, e.number(2), e.number(3),
                                     attackLevelOf(e, 4));
        case kEnemyTinyPlaneCurve:
            return create<TinyPlane>(system, layer::kAir, At::Front, x, y, e.number(2), e.number(3),
                                     attackLevelOf(e, 6), e.number(4),
                                     static_cast<int32_t>(e.integer(5)));
        case kEnemyCannon:
        case kEnemyCannonMiddle:
            return create<Cannon>(system, groundLayer(e.kind == kEnemyCannonMiddle), At::Front, x,
                                  y, attackLevelOf(e, 2));
        case kEnemyFlyGun:
            return create<FlyGun>(system, layer::kAir, At::Front, x, y, e.number(2), e.number(3),
                                  attackLevelOf(e, 4));
        case kEnemyFlyGunBrake:
            return create<FlyGun>(system, layer::kAir, At::Front, x, y, e.number(2), e.number(3),
                                  e.number(4), static_cast<int32_t>(e.integer(5)),
                                  attackLevelOf(e, 6));
        case kEnemyFuwafuwa:
            return create<Fuwafuwa>(system, layer::kAir, At::Front, x, y, e.number(2), e.number(3),
                                    attackLevelOf(e, 4));
        default:
            known = false;
            return nullptr;
    }
}

}  // namespace

EnemyBase* placeEnemy(System& system, const StageEvent& event) {
    bool known = false;
    return place(system, event, known);
}

bool spawnEnemy(System& system, const StageEvent& event) {
    bool known = false;
    place(system, event, known);
    return known;
}

StageEvent enemyEvent(int32_t kind, std::initializer_list<int32_t> args) {
    StageEvent event;
    event.kind = kind;
    int i = 0;
    for (const int32_t value : args) {
        if (i >= 10) break;
        event.args[i++] = value;
    }
    return event;
}

}  // namespace vg
