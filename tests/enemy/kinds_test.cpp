// The behaviour of single kinds at their edges: entry protection, braking, breaking, items,
// negative attack levels and the guarded divisions.
#include <algorithm>

#include "EnemyScene.h"
#include "enemy/bosses/SemiBoss1.h"
#include "enemy/kinds/FlyGun.h"
#include "enemy/kinds/FlyMediumB.h"
#include "enemy/kinds/FlySmall.h"
#include "enemy/kinds/Heli.h"
#include "enemy/kinds/TankSmall.h"
#include "player/Pickups.h"

namespace vg::testing {
namespace {

TEST(KindsTest, TankSmallBrakesAfterItsTravelFrames) {
    struct Row {
        int16_t travel;
        int32_t fullSpeedFrames;  // updates after which the velocity is still the full 2.0
    };
    for (const Row row : {Row{0, 0}, Row{-5, 0}, Row{5, 5}}) {
        SCOPED_TRACE(row.travel);
        EnemyScene scene;
        auto* tank = static_cast<TankSmall*>(
            scene.place(kEnemyTankSmall, {N(100), N(100), N(0), N(2), I(row.travel), I(0)}));
        // Speed 2 along 0 degrees: 2 x cos 0 of the table (65535).
        const int32_t full = fixedMul(2 * kFixedOne, 65535);
        for (int32_t f = 0; f < row.fullSpeedFrames; ++f) {
            scene.step();
            EXPECT_EQ(tank->vx, full) << "frame " << f;
        }
        EXPECT_EQ(tank->hull.treadFrame, row.fullSpeedFrames % 12);
        scene.step();
        EXPECT_EQ(tank->vx, fixedMul(full, 52428));
        scene.step(40);
        // Braked to a stop, treads still.
        EXPECT_LT(tank->vx, 100);
        EXPECT_EQ(tank->hull.treadFrame, row.fullSpeedFrames % 12);
    }
}

TEST(KindsTest, NewbornKindsCannotBeDestroyedWhileTheyEnter) {
    struct Row {
        const char* name;
        int32_t kind;
        std::vector<int32_t> args;
        int32_t protectedFrames;
        int32_t y;  // where the shots go
    };
    const Row rows[] = {
        {"TankSmall", kEnemyTankSmall, {N(120), N(100), N(90), N(0), I(0), I(0)}, 10, 100},
        {"TankSmall2", kEnemyTankSmall2, {N(120), N(100), N(90), N(0), I(0), I(0)}, 10, 100},
        {"FlySmall", kEnemyFlySmall, {N(120), N(100), N(90), N(0), I(0)}, 10, 100},
        {"FlyMediumA", kEnemyFlyMediumA, {N(120), N(100), I(0)}, 30, 100},
        {"Kite", kEnemyKite, {N(120), N(100), N(90), N(0), I(0)}, 40, 100},
        {"Boss1", kEnemyBoss1, {N(120), N(100), I(-2)}, 120, 0},
        {"SemiBoss1", kEnemySemiBoss1, {N(120), N(100), N(90), N(0), I(60), I(-2)}, 60, 100},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EnemyScene scene;
        scene.ship(0, 120, 370);
        StageEvent event = enemyEvent(row.kind, {});
        std::copy(row.args.begin(), row.args.end(), event.args);
        EnemyBase* enemy = placeEnemy(scene.system, event);
        const int32_t serial = enemy->serial;
        for (int32_t f = 0; f < row.protectedFrames; ++f) {
            scene.shot(0, fixedToInt(enemy->x), fixedToInt(enemy->y), 100000);
            scene.step();
            ASSERT_TRUE(scene.alive(serial)) << "frame " << f;
            ASSERT_FALSE(enemy->dead) << "frame " << f;
        }
        scene.shot(0, fixedToInt(enemy->x), fixedToInt(enemy->y), 100000);
        scene.step();
        EXPECT_TRUE(enemy->dead || !scene.alive(serial));
        EXPECT_EQ(scene.recorder.destroyed, 1);
    }
}

TEST(KindsTest, SmallKindsAreDestroyedInTheFrameTheirHitPointsRunOut) {
    for (const int32_t kind : {kEnemyTinyPlane, kEnemyFlyGun}) {
        EnemyScene scene;
        EnemyBase* enemy = scene.place(kind, {N(120), N(100), N(90), N(0), I(0)});
        const int32_t serial = enemy->serial;
        scene.step();
        scene.shot(0, 120, 100, enemy->hitPoints);
        scene.step();
        EXPECT_FALSE(scene.alive(serial)) << kind;
        EXPECT_EQ(scene.recorder.destroyed, 1);
    }
}

TEST(KindsTest, FlyMediumAWithANegativeLevelFiresTheFiercestRow) {
    EnemyScene scene;
    scene.ship(0, 120, 300);
    scene.place(kEnemyFlyMediumA, {N(120), N(100), I(-1)});
    scene.step(41);
    // The pairs of phase 40 at 3.4, and at age 40 the fan of 5 orbs 12 degrees apart at 3.0.
    const auto pair = scene.recorder.at(0);
    ASSERT_EQ(pair.size(), 2u);
    EXPECT_NEAR(pair[0].speed(), 3.4, 0.01);
    const auto fan = scene.recorder.at(40);
    ASSERT_EQ(fan.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(fan[i].angle(), 66 + 12 * i, 0.15);
        EXPECT_NEAR(fan[i].speed(), 3.0, 0.01);
    }
}

TEST(KindsTest, FlyMediumBBreaksOnlyWhenItSurvivesTheBlow) {
    struct Row {
        const char* name;
        int32_t damage;
        bool laser;
        int16_t energy;
        bool broken;
        int16_t combo;  // the kill in the chain the break gives (or the destruction's)
        int16_t energyAfter;
        int crystals;
    };
    const Row rows[] = {
        {"from above 800 to 0 at once", 4000, false, 32, false, 1, 32, 0},
        {"to 700 by a shot", 3300, false, 32, true, 1, 32, 0},
        {"to 700 by a laser", 3300, true, 32, true, 1, 31, 2},
        {"to 700 by a ship without energy", 3300, false, 0, true, 0, 0, 0},
        {"to 800 exactly", 3200, false, 32, true, 1, 32, 0},
        {"to 801", 3199, false, 32, false, 0, 32, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EnemyScene scene;
        PlayerBase& ship = scene.ship(0, 120, 300);
        ship.energy = row.energy;
        auto* craft =
            static_cast<FlyMediumB*>(scene.place(kEnemyFlyMediumB, {N(120), N(100), I(-3)}));
        scene.step();
        fireAngled(scene.system, fixedFromInt(60), fixedFromInt(50), 90 * kFixedOne, kFixedOne, 0,
                   craft->serial);
        fireAngled(scene.system, fixedFromInt(70), fixedFromInt(50), 90 * kFixedOne, kFixedOne, 0,
                   -1);
        scene.shot(0, 120, 100, row.damage, row.laser);
        scene.step();
        EXPECT_EQ(craft->broken != 0, row.broken);
        EXPECT_EQ(ship.combo, row.combo);
        EXPECT_EQ(ship.energy, row.energyAfter);
        EXPECT_EQ(countInLayer<Crystal>(scene.system, layer::kCrystal), row.crystals);
        if (row.broken) {
            // No score for the break; the craft keeps what hit points it has left.
            EXPECT_EQ(ship.score, 0);
            EXPECT_EQ(craft->hitPoints, FlyMediumB::kHitPoints - row.damage);
            EXPECT_FALSE(craft->dead);
        }
    }
}

TEST(KindsTest, BrokenFlyMediumBTurnsRings) {
    EnemyScene scene;
    scene.ship(0, 120, 300);
    auto* craft = static_cast<FlyMediumB*>(scene.place(kEnemyFlyMediumB, {N(120), N(100), I(2)}));
    scene.step();
    scene.shot(0, 120, 100, 3500);
    scene.step();  // breaks in scene frame 1
    ASSERT_TRUE(craft->broken);
    scene.recorder.fired.clear();
    scene.step(60);
    // Rings of 18 orbs at 1.0, 20 degrees apart, when the break counter is 32 and 48: the
    // second turned 16 degrees further than the first.
    EXPECT_EQ(scene.recorder.firingFrames(), (std::vector<int32_t>{33, 49}));
    for (const int32_t frame : {33, 49}) {
        const auto ring = scene.recorder.at(frame);
        ASSERT_EQ(ring.size(), 18u);
        const double centre = frame == 33 ? 32 : 48;
        for (size_t i = 0; i < ring.size(); ++i) {
            const double want = centre - 170 + 20 * static_cast<double>(i);
            EXPECT_NEAR(std::remainder(ring[i].angle() - want, 360.0), 0, 0.15);
            EXPECT_NEAR(ring[i].speed(), 1.0, 0.01);
            EXPECT_EQ(ring[i].type, 0);
        }
    }
}

TEST(KindsTest, SemiBoss1CannotBeDamagedDuringItsEntry) {
    EnemyScene scene;
    EnemyBase* boss = scene.place(kEnemySemiBoss1, {N(120), N(100), N(90), N(0), I(60), I(-5)});
    for (int32_t f = 0; f < 60; ++f) {
        scene.shot(0, 120, 100, 50000);
        scene.step();
        ASSERT_EQ(boss->hitPoints, SemiBoss1::kHitPoints) << f;
        ASSERT_EQ(boss->hitFlash, 0) << f;
    }
    scene.shot(0, 120, 100, 1000);
    scene.step();
    EXPECT_EQ(boss->hitPoints, SemiBoss1::kHitPoints - 1000);
}

TEST(KindsTest, KiteNegativeLevels) {
    struct Row {
        int16_t level;
        std::vector<int32_t> frames;
    };
    for (const Row& row : {Row{-1, {0, 5, 80, 85, 160, 165}}, Row{-2, {}}, Row{-32768, {}}}) {
        SCOPED_TRACE(row.level);
        EnemyScene scene;
        scene.ship(0, 120, 300);
        scene.place(kEnemyKite, {N(120), N(100), N(90), N(0), I(row.level)});
        scene.step(300);
        EXPECT_EQ(scene.recorder.firingFrames(), row.frames);
        for (const int32_t f : row.frames) EXPECT_EQ(scene.recorder.at(f).size(), 2u);
    }
}

TEST(KindsTest, FuwafuwaWithoutBulletsFiresNoRing) {
    // 4L + 4 shells: none for L <= -1 (the ring spacing 360 / n is never divided by 0).
    for (const int16_t level : {-1, -2, -5, -32768}) {
        EnemyScene scene;
        scene.ship(0, 120, 300);
        scene.place(kEnemyFuwafuwa, {N(120), N(100), N(90), N(0), I(level)});
        scene.step(240);
        EXPECT_TRUE(scene.recorder.fired.empty()) << level;
    }
}

TEST(KindsTest, FuwafuwaTurnsItsLaterRingsByHalfASpacing) {
    // Level 0: rings of 4 around the ship's direction (90) at phases 0, 3 .. 12, then the same
    // rings turned by 45 at phases 30, 33 .. 42.
    EnemyScene scene;
    scene.ship(0, 120, 300);
    scene.place(kEnemyFuwafuwa, {N(120), N(100), N(90), N(0), I(0)});
    scene.step(80);
    EXPECT_EQ(scene.recorder.firingFrames(),
              (std::vector<int32_t>{0, 3, 6, 9, 12, 30, 33, 36, 39, 42}));
    for (const int32_t frame : {0, 42}) {
        const auto ring = scene.recorder.at(frame);
        ASSERT_EQ(ring.size(), 4u);
        const double first = frame == 0 ? -45 : 0;
        for (size_t i = 0; i < ring.size(); ++i) {
            EXPECT_NEAR(
                std::remainder(ring[i].angle() - (first + 90 * static_cast<double>(i)), 360.0), 0,
                0.15);
        }
    }
}

TEST(KindsTest, HeliLeavesItsItemMovingDiagonallyAway) {
    for (const int32_t kind : {kEnemyHeliPower, kEnemyHeliBomb}) {
        for (int32_t age = 20; age < 24; ++age) {
            EnemyScene scene;
            scene.ship(0, 120, 300);
            auto* heli = static_cast<Heli*>(scene.place(kind, {N(120), N(100)}));
            scene.step(age);
            scene.shot(0, fixedToInt(heli->x), fixedToInt(heli->y) + 10, 5000);
            scene.step();
            ASSERT_TRUE(heli->dead);
            ASSERT_EQ(heli->frameCount, age);
            const Item* item = findFirstInLayer<Item>(scene.system, layer::kItem);
            ASSERT_NE(item, nullptr);
            const bool power = kind == kEnemyHeliPower;
            EXPECT_EQ(item->type, power ? kItemPowerUp : kItemBomb);
            // Variant 1: x away to the left on odd ages, y up on odd integer y; variant 2 the
            // other way round. The item has moved once since.
            const int32_t sx = (age & 1) ? -1 : 1;
            const int32_t sy = (fixedToInt(heli->y) & 1) ? -1 : 1;
            EXPECT_EQ(item->vx, (power ? sx : -sx) * kFixedOne);
            EXPECT_EQ(item->vy, (power ? sy : -sy) * kFixedOne);
            EXPECT_EQ(item->x, heli->x + item->vx);
        }
    }
}

TEST(KindsTest, BrakingFlightComparesMagnitudes) {
    // Braking by 0.9 for 10 frames, then speeding up by 1 / 0.9 until a component reaches the
    // speed: flying up and left it must not accelerate without bound.
    for (const int32_t direction : {45, 135, 225, 315}) {
        SCOPED_TRACE(direction);
        EnemyScene scene;
        auto* craft = static_cast<FlySmall*>(scene.place(
            kEnemyFlySmallBrake, {N(120), N(200), N(direction), N(2), N(0.9), I(10), I(0)}));
        double fastest = 0;
        const int32_t serial = craft->serial;
        for (int32_t f = 0; f < 200 && scene.alive(serial); ++f) {
            scene.step();
            fastest = std::max(fastest, std::hypot(craft->vx, craft->vy) / kFixedOne);
        }
        EXPECT_LT(fastest, 2.0 / 0.9 * 1.5);
        EXPECT_GT(fastest, 1.9);
    }
}

TEST(KindsTest, ABrakingFactorOfZeroStopsThenFliesOnWithoutDividing) {
    EnemyScene scene;
    auto* fly = static_cast<FlySmall*>(
        scene.place(kEnemyFlySmallBrake, {N(120), N(100), N(0), N(2), N(0), I(5), I(0)}));
    auto* gun = static_cast<FlyGun*>(
        scene.place(kEnemyFlyGunBrake, {N(120), N(150), N(90), N(2), N(0), I(5), I(0)}));
    scene.step(6);
    EXPECT_EQ(fly->x, fixedFromInt(120));
    EXPECT_EQ(gun->y, fixedFromInt(150));
    scene.step(10);
    EXPECT_EQ(fly->vx, 2 * kFixedOne - 2);  // speed x cos 0 of the table
    EXPECT_GT(fly->x, fixedFromInt(135));
    EXPECT_GT(gun->vy, fixedFromInt(1));
}

TEST(KindsTest, WithoutAShipKindsKeepTheirAimAndSkipAimedFire) {
    // No ship at all, then a ship that appears: the kinds that aim keep their last aim (the
    // turrets stay where they point, the latched point stays) and fire nothing aimed at nobody.
    EnemyScene scene;
    auto* tank = static_cast<TankSmall*>(
        scene.place(kEnemyTankSmall, {N(60), N(100), N(90), N(0), I(0), I(3)}));
    scene.place(kEnemyKite, {N(120), N(60), N(90), N(0), I(1)});
    scene.place(kEnemyFuwafuwa, {N(180), N(60), N(90), N(0), I(1)});
    scene.place(kEnemyHeliPower, {N(120), N(200)});
    scene.place(kEnemyCannon, {N(200), N(200), I(2)});
    EnemyBase* fly =
        scene.place(kEnemyFlySmallShipBrake, {N(60), N(150), N(2), N(0.9), I(5), I(1)});
    scene.step(100);
    EXPECT_TRUE(scene.recorder.fired.empty());
    EXPECT_EQ(tank->turretAngle, 0);
    EXPECT_EQ(fly->vx, 0);  // kept its straight-down course
    scene.ship(0, 120, 300);
    scene.step(100);
    EXPECT_FALSE(scene.recorder.fired.empty());
    EXPECT_GT(tank->turretAngle, 0);
}

}  // namespace
}  // namespace vg::testing
