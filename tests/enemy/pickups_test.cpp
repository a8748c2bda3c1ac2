// Items, energy and crystals: their motion, homing, locks and delays.
#include <cmath>

#include "EnemyScene.h"
#include "input/KeyRecord.h"
#include "player/Pickups.h"

namespace vg::testing {
namespace {

double speedOf(int32_t vx, int32_t vy) {
    return std::hypot(vx, vy) / kFixedOne;
}
// Heading in degrees of a velocity.
double headingOf(int32_t vx, int32_t vy) {
    return std::atan2(vy, vx) * 180 / 3.14159265358979;
}

TEST(PickupsTest, ItemsBounceInsideTheViewForTheirFirst1800Frames) {
    for (uint8_t type = 0; type < 5; ++type) {
        SCOPED_TRACE(int(type));
        EnemyScene scene;  // field scroll 12: the view is field x 0 .. 240
        Item* item =
            scene.system.spawnFront<Item>(layer::kItem, fixedFromInt(120), fixedFromInt(200),
                                          3 * kFixedOne, -2 * kFixedOne, type);
        EXPECT_LE(item->type, kItemFullPower);
        bool sawRightEdge = false;
        for (int32_t f = 0; f < 1801; ++f) {
            const int32_t vxBefore = item->vx;
            scene.step();
            ASSERT_GE(item->x, 0);
            ASSERT_LE(item->x, fixedFromInt(240));
            ASSERT_GE(item->y, fixedFromInt(32));
            ASSERT_LE(item->y, fixedFromInt(352));
            // Passing the right edge turns it back from the edge.
            if (vxBefore > 0 && item->vx < 0) {
                sawRightEdge = true;
                EXPECT_EQ(item->x, fixedFromInt(240));
                EXPECT_EQ(item->vx, -3 * kFixedOne);
            }
        }
        EXPECT_TRUE(sawRightEdge);
        EXPECT_EQ(item->age, 1801);
        // Then it drifts out and ends.
        EXPECT_TRUE(scene.runUntil(
            [&] { return findFirstInLayer<Item>(scene.system, layer::kItem) == nullptr; }, 200));
    }
}

TEST(PickupsTest, AnItemBouncesUpToAge1800AndNotAfter) {
    for (const int16_t age : {1799, 1800, 1801}) {
        EnemyScene scene;
        Item* item = scene.system.spawnFront<Item>(layer::kItem, fixedFromInt(239),
                                                   fixedFromInt(200), 3 * kFixedOne, 0, 0);
        item->age = age;
        scene.step();
        if (age <= 1800) {
            EXPECT_EQ(item->x, fixedFromInt(240)) << age;
            EXPECT_EQ(item->vx, -3 * kFixedOne) << age;
        } else {
            EXPECT_FALSE(item->isLive()) << age;  // beyond the edge: gone
        }
    }
}

TEST(PickupsTest, EnergyRisesFallsAndHomesOnceItsLockHasRunOut) {
    EnemyScene scene;
    PlayerBase& ship = scene.ship(0, 120, 250);
    Energy* energy =
        scene.system.spawnFront<Energy>(layer::kEnergy, fixedFromInt(120), fixedFromInt(200));
    EXPECT_EQ(energy->vy, -2 * kFixedOne);
    // Within 180 pixels from the start, but locked: the lock of 28 counts down before the test,
    // so homing can start in the 28th frame.
    for (int32_t f = 0; f < 27; ++f) {
        scene.step();
        ASSERT_FALSE(energy->homing) << f;
        ASSERT_EQ(energy->vy, -2 * kFixedOne + (f + 1) * 6553) << f;
    }
    scene.step();
    EXPECT_TRUE(energy->homing);
    scene.step();
    EXPECT_NEAR(speedOf(energy->vx, energy->vy), 8, 0.01);
    EXPECT_NEAR(headingOf(energy->vx, energy->vy), 90, 1);
    (void)ship;
}

TEST(PickupsTest, EnergyFallsNoFasterThan4) {
    EnemyScene scene;
    Energy* energy =
        scene.system.spawnFront<Energy>(layer::kEnergy, fixedFromInt(120), fixedFromInt(-100));
    scene.step(100);
    EXPECT_GE(energy->vy, 4 * kFixedOne);
    EXPECT_LT(energy->vy, 4 * kFixedOne + 6553);
}

// Homing pickups choose the nearest ship that is not dying; player 0 at equal distance; a
// pickup exactly on a ship keeps its velocity.
TEST(PickupsTest, HomingPicksTheNearestLiveShip) {
    struct Row {
        const char* name;
        int32_t x0, y0, x1, y1;  // the ships
        bool dying0;
        double heading;  // expected, from (120, 200)
    };
    const Row rows[] = {
        {"player 0 nearer", 60, 200, 220, 200, false, 180},
        {"player 1 nearer", 20, 200, 180, 200, false, 0},
        {"equal distance", 60, 200, 180, 200, false, 180},
        {"nearer one dying", 60, 200, 220, 200, true, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        for (const bool crystal : {false, true}) {
            EnemyScene scene;
            PlayerBase& p0 = scene.ship(0, row.x0, row.y0);
            scene.ship(1, row.x1, row.y1);
            if (row.dying0) p0.lifeState = PlayerState::Dying;
            int32_t vx = 0;
            int32_t vy = 0;
            double speed = 0;
            if (crystal) {
                Crystal* c = scene.system.spawnFront<Crystal>(layer::kCrystal, fixedFromInt(120),
                                                              fixedFromInt(200), 1, 1, 0);
                c->homing = 1;
                scene.step();
                vx = c->vx;
                vy = c->vy;
                speed = 7;
            } else {
                Energy* e = scene.system.spawnFront<Energy>(layer::kEnergy, fixedFromInt(120),
                                                            fixedFromInt(200));
                e->homing = 1;
                scene.step();
                vx = e->vx;
                vy = e->vy;
                speed = 8;
            }
            EXPECT_NEAR(speedOf(vx, vy), speed, 0.01) << crystal;
            EXPECT_NEAR(std::remainder(headingOf(vx, vy) - row.heading, 360.0), 0, 3) << crystal;
        }
    }
}

TEST(PickupsTest, APickupOnTopOfTheShipKeepsItsVelocity) {
    EnemyScene scene;
    scene.ship(0, 120, 198);
    Energy* e =
        scene.system.spawnFront<Energy>(layer::kEnergy, fixedFromInt(120), fixedFromInt(200));
    e->homing = 1;
    scene.step();  // moves up 2 onto the ship: distance 0
    EXPECT_EQ(e->vx, 0);
    EXPECT_EQ(e->vy, -2 * kFixedOne);
}

TEST(PickupsTest, CrystalsWaitThenFallAndHomeUnlessTheShotIsHeld) {
    EnemyScene scene;
    scene.ship(0, 120, 300);
    Crystal* c = scene.system.spawnFront<Crystal>(layer::kCrystal, fixedFromInt(120),
                                                  fixedFromInt(100), 2, 3, 30);
    EXPECT_EQ(c->hitBox.right, 30);
    scene.step(30);  // waiting: neither moving nor counting its lock
    EXPECT_EQ(c->y, fixedFromInt(100));
    EXPECT_EQ(c->lock, 12);
    scene.system.keyRecords[0].buttons = kButtonShot;
    scene.step(12);
    EXPECT_EQ(c->lock, 0);
    EXPECT_LT(c->y, fixedFromInt(100));  // rose at first
    scene.step(40);
    EXPECT_FALSE(c->homing);  // the ship holds the shot button
    EXPECT_LE(c->vy, 3 * kFixedOne + 3276);
    scene.system.keyRecords[0].buttons = 0;
    scene.step();
    EXPECT_TRUE(c->homing);
    scene.system.keyRecords[0].buttons = kButtonShot;
    scene.step(2);
    EXPECT_TRUE(c->homing);  // homing goes on once started
    EXPECT_NEAR(speedOf(c->vx, c->vy), 7, 0.01);
}

TEST(PickupsTest, AFallingCrystalEndsPastTheBottom) {
    EnemyScene scene;  // no ship: nothing to home on
    Crystal* c = scene.system.spawnFront<Crystal>(layer::kCrystal, fixedFromInt(120),
                                                  fixedFromInt(370), 1, 1, 0);
    (void)c;
    EXPECT_TRUE(scene.runUntil(
        [&] { return findFirstInLayer<Crystal>(scene.system, layer::kCrystal) == nullptr; }, 100));
}

}  // namespace
}  // namespace vg::testing
