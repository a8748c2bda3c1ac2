// The keyword table of the event runner: which task each enemy keyword makes, on which layer,
// with which script values, and what happens to keywords without a kind and to hostile values.
#include <climits>
#include <cstdlib>
#include <functional>
#include <string>

#include "EnemyScene.h"
#include "enemy/bosses/Boss1.h"
#include "enemy/bosses/SemiBoss1.h"
#include "enemy/kinds/Cannon.h"
#include "enemy/kinds/FlyGun.h"
#include "enemy/kinds/FlyMediumA.h"
#include "enemy/kinds/FlyMediumB.h"
#include "enemy/kinds/FlySmall.h"
#include "enemy/kinds/Fuwafuwa.h"
#include "enemy/kinds/Heli.h"
#include "enemy/kinds/Kite.h"
#include "enemy/kinds/TankSmall.h"
#include "enemy/kinds/TankSmall2.h"
#include "enemy/kinds/TinyPlane.h"

namespace vg::testing {
namespace {

struct Keyword {
    int32_t kind;
    std::vector<int32_t> args;
    int taskLayer;
    int tasks;  // body and parts
    // Checks the body's class and the values it took.
    std::function<void(EnemyBase&)> check;
};

// The body as its class; a body of another class fails the test at once.
template <class T>
T& as(EnemyBase& e) {
    T* typed = dynamic_cast<T*>(&e);
    if (!typed) {
        ADD_FAILURE() << "the body is not of the expected class";
        std::abort();
    }
    return *typed;
}

std::vector<Keyword> keywords() {
    const auto tank = [](EnemyBase& e) {
        EXPECT_EQ(as<TankSmall>(e).hull.travelFrames, 7);
        EXPECT_EQ(e.attackLevel, 2);
        EXPECT_EQ(as<TankSmall>(e).hull.hullFrame, 4);  // 90 degrees
    };
    const auto tank2 = [](EnemyBase& e) {
        EXPECT_EQ(as<TankSmall2>(e).hull.travelFrames, 7);
        EXPECT_EQ(e.attackLevel, 2);
    };
    const auto flySmall = [](uint8_t mode, int8_t level) {
        return [=](EnemyBase& e) {
            EXPECT_EQ(as<FlySmall>(e).mode, mode);
            EXPECT_EQ(e.attackLevel, level);
        };
    };
    const auto level = [](int8_t want) {
        return [=](EnemyBase& e) { EXPECT_EQ(e.attackLevel, want); };
    };
    const std::vector<int32_t> groundArgs{N(100), N(50), N(90), N(1), I(7), I(2)};
    std::vector<Keyword> rows = {
        {kEnemyTankSmall, groundArgs, layer::kGround, 1, tank},
        {kEnemyTankSmallMiddle, groundArgs, layer::kGroundMiddle, 1, tank},
        {kEnemyTankSmall2, groundArgs, layer::kGround, 1, tank2},
        {kEnemyTankSmall2Middle, groundArgs, layer::kGroundMiddle, 1, tank2},
        {kEnemyFlySmall, {N(100), N(50), N(90), N(1), I(3)}, layer::kAir, 1, flySmall(0, 3)},
        {kEnemyFlySmallBrake,
         {N(100), N(50), N(90), N(1), N(0.9), I(20), I(4)},
         layer::kAir,
         1,
         [](EnemyBase& e) {
             FlySmall& f = as<FlySmall>(e);
             EXPECT_EQ(f.mode, FlySmallCourse::kBrake);
             EXPECT_EQ(f.brake.factor, N(0.9));
             EXPECT_EQ(f.brake.frames, 20);
             EXPECT_EQ(e.attackLevel, 4);
         }},
        {kEnemyFlySmallCurve,
         {N(100), N(50), N(90), N(1), N(1.5), N(0.25), I(30), I(5)},
         layer::kAir,
         1,
         [](EnemyBase& e) {
             FlySmall& f = as<FlySmall>(e);
             EXPECT_EQ(f.mode, FlySmallCourse::kCurve);
             EXPECT_EQ(f.turn, N(1.5));
             EXPECT_EQ(f.acceleration, N(0.25));
             EXPECT_EQ(f.curveFrames, 30);
             EXPECT_EQ(e.attackLevel, 5);
         }},
        {kEnemyFlySmallShip,
         {N(100), N(50), N(2), I(1)},
         layer::kAir,
         1,
         [](EnemyBase& e) {
             EXPECT_EQ(as<FlySmall>(e).mode, FlySmallCourse::kShip);
             EXPECT_EQ(as<FlySmall>(e).speed, N(2));
             EXPECT_EQ(as<FlySmall>(e).course, 90 * kFixedOne);  // straight down
             EXPECT_EQ(e.attackLevel, 1);
         }},
        {kEnemyFlySmallShipBrake,
         {N(100), N(50), N(2), N(0.95), I(12), I(2)},
         layer::kAir,
         1,
         [](EnemyBase& e) {
             EXPECT_EQ(as<FlySmall>(e).mode, FlySmallCourse::kShipBrake);
             EXPECT_EQ(as<FlySmall>(e).brake.factor, N(0.95));
             EXPECT_EQ(as<FlySmall>(e).brake.frames, 12);
             EXPECT_EQ(e.attackLevel, 2);
         }},
        {kEnemyKite,
         {N(100), N(50), N(90), N(1), I(2)},
         layer::kAir,
         1,
         [](EnemyBase& e) {
             as<Kite>(e);
             EXPECT_EQ(e.hitPoints, Kite::kHitPoints);
             EXPECT_EQ(e.attackLevel, 2);
         }},
        {kEnemyFlyMediumA,
         {N(100), N(50), I(3)},
         layer::kAir,
         1,
         [](EnemyBase& e) {
             as<FlyMediumA>(e);
             EXPECT_EQ(e.attackLevel, 3);
         }},
        {kEnemyFlyMediumB,
         {N(100), N(50), I(-1)},
         layer::kAir,
         1,
         [](EnemyBase& e) {
             as<FlyMediumB>(e);
             EXPECT_EQ(e.attackLevel, -1);
         }},
        {kEnemyHeliPower,
         {N(100), N(50)},
         layer::kAir,
         1,
         [](EnemyBase& e) { EXPECT_EQ(as<Heli>(e).variant, 1); }},
        {kEnemyHeliBomb,
         {N(100), N(50)},
         layer::kAir,
         1,
         [](EnemyBase& e) { EXPECT_EQ(as<Heli>(e).variant, 2); }},
        {kEnemySemiBoss1,
         {N(100), N(50), N(90), N(1), I(80), I(2)},
         layer::kGround,
         1,
         [](EnemyBase& e) {
             EXPECT_EQ(as<SemiBoss1>(e).entryFrames, 80);
             EXPECT_EQ(e.attackLevel, 2);
         }},
        {kEnemyBoss1,
         {N(100), N(50), I(2)},
         layer::kAir,
         3,
         [](EnemyBase& e) {
             as<Boss1>(e);
             EXPECT_EQ(e.attackLevel, 2);
         }},
        {kEnemyTinyPlane, {N(100), N(50), N(90), N(1), I(2)}, layer::kAir, 1, level(2)},
        {kEnemyTinyPlaneCurve,
         {N(100), N(50), N(90), N(1), N(-2), I(25), I(3)},
         layer::kAir,
         1,
         [](EnemyBase& e) {
             EXPECT_EQ(as<TinyPlane>(e).turn, N(-2));
             EXPECT_EQ(as<TinyPlane>(e).turnFrames, 25);
             EXPECT_EQ(e.attackLevel, 3);
         }},
        {kEnemyCannon,
         {N(100), N(50), I(1)},
         layer::kGround,
         1,
         [](EnemyBase& e) {
             as<Cannon>(e);
             EXPECT_EQ(e.attackLevel, 1);
         }},
        {kEnemyCannonMiddle,
         {N(100), N(50), I(1)},
         layer::kGroundMiddle,
         1,
         [](EnemyBase& e) { as<Cannon>(e); }},
        {kEnemyFlyGun,
         {N(100), N(50), N(90), N(1), I(2)},
         layer::kAir,
         1,
         [](EnemyBase& e) {
             EXPECT_FALSE(as<FlyGun>(e).braking);
             EXPECT_EQ(e.attackLevel, 2);
         }},
        {kEnemyFlyGunBrake,
         {N(100), N(50), N(90), N(1), N(0.8), I(9), I(3)},
         layer::kAir,
         1,
         [](EnemyBase& e) {
             FlyGun& g = as<FlyGun>(e);
             EXPECT_TRUE(g.braking);
             EXPECT_EQ(g.brake.factor, N(0.8));
             EXPECT_EQ(g.brake.frames, 9);
             EXPECT_EQ(e.attackLevel, 3);
         }},
        {kEnemyFuwafuwa,
         {N(100), N(50), N(90), N(1), I(1)},
         layer::kAir,
         1,
         [](EnemyBase& e) {
             as<Fuwafuwa>(e);
             EXPECT_EQ(e.attackLevel, 1);
         }},
    };
    return rows;
}

StageEvent eventOf(int32_t kind, const std::vector<int32_t>& args) {
    StageEvent event = enemyEvent(kind, {});
    for (size_t i = 0; i < args.size() && i < 10; ++i) event.args[i] = args[i];
    return event;
}

TEST(SpawnerTest, EachKeywordMakesItsKindOnItsLayer) {
    for (const Keyword& row : keywords()) {
        SCOPED_TRACE(row.kind);
        EnemyScene scene;
        EXPECT_TRUE(spawnEnemy(scene.system, eventOf(row.kind, row.args)));
        EXPECT_EQ(scene.recorder.spawned, row.tasks);
        EXPECT_EQ(scene.system.taskCount, row.tasks);
        EnemyBase* body = findFirstInLayer<EnemyBase>(scene.system, row.taskLayer);
        ASSERT_NE(body, nullptr);
        EXPECT_EQ(countInLayer<EnemyBase>(scene.system, row.taskLayer), row.tasks);
        EXPECT_EQ(body->x, N(100));
        EXPECT_EQ(body->y, N(50));
        row.check(*body);
    }
}

TEST(SpawnerTest, NewEnemiesGoInFrontOfTheirLayer) {
    EnemyScene scene;
    EnemyBase* first = scene.place(kEnemyKite, {N(100), N(50), N(90), N(1), I(0)});
    EnemyBase* second = scene.place(kEnemyTinyPlane, {N(100), N(50), N(90), N(1), I(0)});
    EXPECT_EQ(scene.system.firstOfLayer(layer::kAir), second);
    EXPECT_EQ(second->next, first);
    EXPECT_EQ(second->serial, first->serial + 1);
}

TEST(SpawnerTest, KeywordsWithoutAKindSpawnNothing) {
    std::vector<int32_t> kinds = {-1, 0, 3, 99, 154, 161, 168, 1000, INT32_MIN, INT32_MAX};
    for (const KindRow& row : enemyKinds()) {
        if (!row.built()) kinds.push_back(row.code);
    }
    for (const int32_t kind : kinds) {
        EnemyScene scene;
        EXPECT_FALSE(spawnEnemy(scene.system, eventOf(kind, {N(100), N(50), I(1)}))) << kind;
        EXPECT_EQ(scene.system.taskCount, 0) << kind;
        EXPECT_EQ(scene.recorder.spawned, 0) << kind;
    }
}

TEST(SpawnerTest, AttackLevelsBeyondASignedByteAreHeldAtItsEnds) {
    struct Row {
        int32_t stored;
        int8_t level;
    };
    for (const Row row : {Row{I(32767), 127}, Row{I(-32768), -128}, Row{I(128), 127},
                          Row{I(-129), -128}, Row{I(-3), -3}, Row{INT32_MAX, 127}}) {
        EnemyScene scene;
        EnemyBase* e = scene.place(kEnemyFlyMediumA, {N(100), N(50), row.stored});
        EXPECT_EQ(e->attackLevel, row.level) << row.stored;
    }
}

// Hostile script values for every kind: huge and negative speeds, factors, turns, frames and
// attack levels. Nothing may crash or index outside a table (the sanitizer build checks the
// latter); every kind either leaves or keeps to the field, and the bullets stay within what the
// arena holds.
TEST(SpawnerTest, HostileScriptValuesNeverCrash) {
    const int32_t patterns[] = {INT32_MAX, INT32_MIN, 0, -1, I(-32768), I(32767), N(1000)};
    for (const Keyword& row : keywords()) {
        for (const int32_t value : patterns) {
            SCOPED_TRACE(::testing::Message() << row.kind << " with " << value);
            EnemyScene scene;
            scene.ship(0, 120, 300);
            StageEvent event = eventOf(row.kind, {N(120), N(100)});
            for (int i = 2; i < 10; ++i) event.args[i] = value;
            EnemyBase* e = placeEnemy(scene.system, event);
            ASSERT_NE(e, nullptr);
            scene.step(150);
            EXPECT_LT(scene.system.taskCount, 20000);
        }
    }
}

}  // namespace
}  // namespace vg::testing
