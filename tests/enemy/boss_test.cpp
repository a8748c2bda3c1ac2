// The first boss with its wings, the semi-boss, their gauges, time limits and the destruction
// sequence they share.
#include <cmath>

#include "EnemyScene.h"
#include "effects/BossShieldFrame.h"
#include "enemy/bosses/Boss1.h"
#include "enemy/bosses/SemiBoss1.h"

namespace vg::testing {
namespace {

struct BossScene : EnemyScene {
    BossScene(int16_t level) {
        ship(0, 120, 370);
        boss = static_cast<Boss1*>(place(kEnemyBoss1, {N(120), N(60), I(level)}));
        forEachInLayer<Boss1Wing>(system, layer::kAir, [&](Boss1Wing& w) { wings[w.side] = &w; });
    }
    // Runs frames and remembers where the boss was in each.
    void run(int32_t frames) {
        for (int32_t i = 0; i < frames; ++i) {
            step();
            bossX.push_back(boss->x);
            bossY.push_back(boss->y);
        }
    }
    // Destroys the wing of `side` with one big shot (after the entry).
    void destroyWing(int side) {
        Boss1Wing& w = *wings[side];
        shot(0, fixedToInt(w.x) + (side ? 10 : -10), fixedToInt(w.y) - 15, Boss1Wing::kHitPoints);
        run(1);
        ASSERT_TRUE(w.lost);
        ASSERT_TRUE(boss->isPartLost(side));
    }
    // Bullets that left from the boss's left (side 0) or right (side 1) half, more than 30
    // pixels from its centre.
    int bulletsFromSide(int side, int32_t since) const {
        int count = 0;
        for (const auto& b : recorder.fired) {
            if (b.frame < since) continue;
            const int32_t dx = fixedToInt(b.x - bossX[static_cast<size_t>(b.frame)]);
            if (side == 0 ? dx < -30 : dx > 30) ++count;
        }
        return count;
    }

    // Bullets that left within 3 pixels of the point (dx, dy) of the boss.
    int bulletsFrom(int32_t dx, int32_t dy, int32_t since) const {
        int count = 0;
        for (const auto& b : recorder.fired) {
            if (b.frame < since) continue;
            const size_t f = static_cast<size_t>(b.frame);
            if (std::abs(fixedToInt(b.x - bossX[f]) - dx) <= 3 &&
                std::abs(fixedToInt(b.y - bossY[f]) - dy) <= 3) {
                ++count;
            }
        }
        return count;
    }

    Boss1* boss = nullptr;
    Boss1Wing* wings[2] = {nullptr, nullptr};
    std::vector<int32_t> bossX;
    std::vector<int32_t> bossY;
};

TEST(BossTest, Boss1ComesWithTwoWingsBoundBySerial) {
    BossScene scene(1);
    ASSERT_NE(scene.wings[0], nullptr);
    ASSERT_NE(scene.wings[1], nullptr);
    EXPECT_EQ(scene.recorder.spawned, 3);
    // Body at the front of the air layer, the wings behind it in the order 0, 1.
    Task* first = scene.system.firstOfLayer(layer::kAir);
    EXPECT_EQ(first, scene.boss);
    EXPECT_EQ(first->next, scene.wings[0]);
    EXPECT_EQ(first->next->next, scene.wings[1]);
    for (Boss1Wing* w : scene.wings) EXPECT_EQ(w->bodySerial, scene.boss->serial);
    scene.run(50);
    for (int side = 0; side < 2; ++side) {
        EXPECT_EQ(scene.wings[side]->x, scene.boss->x + fixedFromInt(side ? 51 : -51));
        EXPECT_EQ(scene.wings[side]->y, scene.boss->y + fixedFromInt(32));
    }
}

TEST(BossTest, Boss1KeepsItsGaugeAndClosesItOnDeath) {
    BossScene scene(-5);
    scene.run(1);
    BossShieldFrame* gauge = BossShieldFrame::find(scene.system);
    ASSERT_NE(gauge, nullptr);
    EXPECT_EQ(gauge->maximum, Boss1::kHitPoints);
    scene.run(130);
    scene.shot(0, fixedToInt(scene.boss->x), fixedToInt(scene.boss->y), 1234);
    scene.run(1);
    EXPECT_EQ(BossShieldFrame::find(scene.system)->shownValue, Boss1::kHitPoints - 1234);
    scene.shot(0, fixedToInt(scene.boss->x), fixedToInt(scene.boss->y), Boss1::kHitPoints);
    scene.run(1);
    EXPECT_TRUE(scene.boss->dead);
    EXPECT_EQ(gauge->phase, BossShieldFrame::kClosing);
    // A dead boss makes no new gauge.
    scene.run(5);
    EXPECT_EQ(countInLayer<BossShieldFrame>(scene.system, layer::kFrame), 1);
    EXPECT_EQ(BossShieldFrame::find(scene.system), gauge);
}

TEST(BossTest, ANewBossGetsAGaugeOfItsOwnWhileTheLastOneCloses) {
    EnemyScene scene;
    scene.ship(0, 120, 370);
    EnemyBase* first = scene.place(kEnemySemiBoss1, {N(120), N(100), N(90), N(0), I(0), I(-9)});
    scene.step(2);
    first->hitPoints = 0;
    scene.step(1);
    BossShieldFrame* closing = BossShieldFrame::find(scene.system);
    ASSERT_NE(closing, nullptr);
    EXPECT_EQ(closing->phase, BossShieldFrame::kClosing);
    scene.place(kEnemyBoss1, {N(120), N(0), I(-9)});
    scene.step(1);
    BossShieldFrame* fresh = BossShieldFrame::find(scene.system);
    ASSERT_NE(fresh, closing);
    EXPECT_EQ(fresh->maximum, Boss1::kHitPoints);
    EXPECT_EQ(countInLayer<BossShieldFrame>(scene.system, layer::kFrame), 2);
}

TEST(BossTest, ADestroyedWingSilencesItsPortButNotTheRingLaunchers) {
    // Attack level 2: rings of 2L + 3 = 7 bullets; ten rings on the left at t = 900, ten pairs
    // on the right at t = 950. The launchers are points of the hull (70 pixels out, 10 down),
    // not gun ports (40 out, 50 down), so a lost wing leaves them firing.
    constexpr int kRingBullets[2] = {70, 140};
    for (int side = 0; side < 2; ++side) {
        SCOPED_TRACE(side);
        BossScene scene(2);
        scene.run(125);
        // Both sides fire while both wings stand.
        ASSERT_GT(scene.bulletsFromSide(0, 0), 0);
        ASSERT_GT(scene.bulletsFromSide(1, 0), 0);
        scene.destroyWing(side);
        const int32_t since = scene.frame;
        scene.run(1200);
        const int out = side ? 1 : -1;
        EXPECT_EQ(scene.bulletsFrom(40 * out, 50, since), 0) << "the lost wing's port fired";
        EXPECT_GT(scene.bulletsFrom(-40 * out, 50, since), 50) << "the other port fell silent";
        EXPECT_EQ(scene.bulletsFrom(70 * out, 10, since), kRingBullets[side]);
        EXPECT_EQ(scene.bulletsFrom(-70 * out, 10, since), kRingBullets[1 - side]);
        EXPECT_FALSE(scene.boss->isPartLost(1 - side));
    }
}

TEST(BossTest, WithBothWingsGoneTheBossSwaysFasterAndThrowsRings) {
    BossScene scene(1);
    scene.run(125);
    // The entry sway: vertical speed at most a quarter.
    double swayBefore = 0;
    for (size_t i = 121; i < scene.bossY.size(); ++i) {
        swayBefore =
            std::max(swayBefore, std::fabs(scene.bossY[i] - scene.bossY[i - 1]) / kFixedOne);
    }
    EXPECT_LE(swayBefore, 0.26);
    scene.destroyWing(0);
    scene.destroyWing(1);
    const int32_t since = scene.frame;
    scene.run(64);
    double swayAfter = 0;
    for (size_t i = static_cast<size_t>(since) + 1; i < scene.bossY.size(); ++i) {
        swayAfter = std::max(swayAfter, std::fabs(scene.bossY[i] - scene.bossY[i - 1]) / kFixedOne);
    }
    EXPECT_GT(swayAfter, 0.9);
    // Rings of 3L + 10 = 13 orbs: at age mod 16 = 0 from the left wing root at 1.2, at 7 from
    // the right one at 2.0.
    int leftRings = 0;
    int rightRings = 0;
    for (const int32_t f : scene.recorder.firingFrames()) {
        if (f < since) continue;
        int orbs = 0;
        double speed = 0;
        int32_t dx = 0;
        for (const auto& b : scene.recorder.at(f)) {
            if (b.type != 0) continue;
            ++orbs;
            speed = b.speed();
            dx = fixedToInt(b.x - scene.bossX[static_cast<size_t>(f)]);
        }
        if (orbs == 0) continue;
        EXPECT_EQ(orbs, 13) << f;
        if (dx == -70) {
            EXPECT_NEAR(speed, 1.2, 0.01);
            ++leftRings;
        } else {
            EXPECT_EQ(dx, 70) << f;
            EXPECT_NEAR(speed, 2.0, 0.01);
            ++rightRings;
        }
    }
    EXPECT_EQ(leftRings, 4);
    EXPECT_EQ(rightRings, 4);
}

TEST(BossTest, AWreckedWingPassesItsHitsToTheBody) {
    BossScene scene(-5);
    scene.run(125);
    scene.destroyWing(0);
    const int32_t before = scene.boss->hitPoints;
    Boss1Wing& wing = *scene.wings[0];
    scene.shot(1, fixedToInt(wing.x) - 10, fixedToInt(wing.y) - 15, 700);
    scene.run(1);
    EXPECT_EQ(scene.boss->hitPoints, before - 700);
    EXPECT_EQ(scene.boss->lastHitter, 1);
    EXPECT_EQ(wing.hitPoints, Boss1Wing::kHitPoints);
}

TEST(BossTest, WingsDieWithTheBodyAndGiveNoReward) {
    BossScene scene(-5);
    scene.run(125);
    const int32_t body = scene.boss->serial;
    const int32_t wing0 = scene.wings[0]->serial;
    const int32_t wing1 = scene.wings[1]->serial;
    scene.shot(0, fixedToInt(scene.boss->x), fixedToInt(scene.boss->y), Boss1::kHitPoints);
    scene.run(1);
    // The wings go down with the body.
    EXPECT_TRUE(scene.wings[0]->lost);
    EXPECT_TRUE(scene.wings[1]->lost);
    scene.run(140);
    EXPECT_FALSE(scene.alive(body));
    EXPECT_FALSE(scene.alive(wing0));
    EXPECT_FALSE(scene.alive(wing1));
    EXPECT_EQ(scene.recorder.destroyed, 1);
}

TEST(BossTest, Boss1LeftAliveIsDestroyedByItsTimeLimit) {
    BossScene scene(-5);
    PlayerBase& ship = *PlayerBase::find(scene.system, 0);
    const int32_t serial = scene.boss->serial;
    scene.step(7201);  // ages 0 .. 7200
    EXPECT_EQ(scene.boss->hitPoints, Boss1::kHitPoints);
    scene.step(10);
    EXPECT_EQ(scene.boss->hitPoints, Boss1::kHitPoints - 10 * 200);
    EXPECT_EQ(scene.boss->lastHitKind, kHitShot);
    // 400 frames of burning out, then the sequence of 128 steps.
    int32_t deathFrame = -1;
    ASSERT_TRUE(scene.runUntil([&] { return scene.boss->dead != 0; }, 400));
    deathFrame = scene.frame - 1;
    EXPECT_EQ(deathFrame, 7200 + 400);
    EXPECT_EQ(scene.recorder.timeouts, 1);
    EXPECT_EQ(scene.recorder.destroyed, 1);
    EXPECT_EQ(ship.score, 0);  // nobody struck it
    // Every enemy bullet is cancelled on every step of the sequence.
    scene.step(10);
    fireAngled(scene.system, fixedFromInt(30), fixedFromInt(30), 90 * kFixedOne, kFixedOne, 0, -1);
    scene.step();
    forEachInLayer<Bullet>(scene.system, layer::kBullet,
                           [](Bullet& b) { EXPECT_EQ(b.type, kBulletCancelled); });
    ASSERT_TRUE(scene.runUntil([&] { return !scene.alive(serial); }, 200));
    EXPECT_EQ(scene.frame - 1, deathFrame + 127);
    EXPECT_EQ(scene.recorder.destroyed, 1);
}

TEST(BossTest, Boss1SinksAsItBursts) {
    BossScene scene(-5);
    scene.run(130);
    scene.shot(0, fixedToInt(scene.boss->x), fixedToInt(scene.boss->y), Boss1::kHitPoints);
    scene.run(1);
    const int32_t y0 = scene.boss->y;
    scene.run(100);
    // Falling 0.02 faster each frame: about 100 pixels in 100 frames.
    EXPECT_GT(scene.boss->y - y0, fixedFromInt(80));
}

TEST(BossTest, SemiBoss1SpraysTenFansAndBurnsOutAfterItsTime) {
    EnemyScene scene;
    scene.ship(0, 120, 300);
    EnemyBase* boss = scene.place(kEnemySemiBoss1, {N(120), N(120), N(90), N(0), I(0), I(1)});
    const int32_t serial = boss->serial;
    scene.step(241);
    // t = 240: ten fans of 2L + 5 = 7 stars, (36 - L) = 35 apart, fan e centred on 85 - e at
    // 1.2 + e / 20.
    const auto spray = scene.recorder.at(240);
    ASSERT_EQ(spray.size(), 70u);
    for (int e = 0; e < 10; ++e) {
        for (int i = 0; i < 7; ++i) {
            const auto& b = spray[static_cast<size_t>(7 * e + i)];
            EXPECT_NEAR(std::remainder(b.angle() - (85 - e - 105 + 35 * i), 360.0), 0, 0.15);
            EXPECT_NEAR(b.speed(), 1.2 + e / 20.0, 0.01);
            EXPECT_EQ(b.type, 2);
        }
    }
    // Past age 3600 it loses 200 a frame: destroyed at 3800, gone 127 frames later.
    ASSERT_TRUE(scene.runUntil([&] { return boss->dead != 0; }, 4000));
    EXPECT_EQ(scene.frame - 1, 3600 + 200);
    EXPECT_EQ(scene.recorder.timeouts, 1);
    ASSERT_TRUE(scene.runUntil([&] { return !scene.alive(serial); }, 200));
    EXPECT_EQ(scene.recorder.destroyed, 1);
}

}  // namespace
}  // namespace vg::testing
