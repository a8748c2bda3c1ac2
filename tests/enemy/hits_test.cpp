// Hits and kills end to end, through real kinds: shots and lasers striking, the kill reward,
// the near-kill levels by distance, the energy drop, the laser-kill change and the revenge
// bullets of the hardest difficulties.
#include <climits>

#include "EnemyScene.h"
#include "effects/Explosions.h"
#include "enemy/kinds/TinyPlane.h"
#include "player/Pickups.h"

namespace vg::testing {
namespace {

// A TinyPlane that stands at (120, 100) and fires nothing.
EnemyBase* standingPlane(EnemyScene& scene) {
    return scene.place(kEnemyTinyPlane, {N(120), N(100), N(90), N(0), I(0)});
}

int energyPickups(const System& system) {
    return countInLayer<Energy>(system, layer::kEnergy);
}

TEST(HitsTest, NearKillLevelByDistanceDecidesTheEnergyDrop) {
    // A shot kill by a ship d pixels straight below: the level is 4 below 96 pixels, 3 below
    // 144, 2 below 192, 1 below 240, else 0; the plane drops level + 1 energy.
    struct Row {
        int32_t distance;
        int level;
    };
    for (const Row row : {Row{0, 4}, Row{95, 4}, Row{96, 3}, Row{143, 3}, Row{144, 2}, Row{191, 2},
                          Row{192, 1}, Row{239, 1}, Row{240, 0}, Row{280, 0}}) {
        SCOPED_TRACE(row.distance);
        EnemyScene scene;
        PlayerBase& ship = scene.ship(0, 120, 100 + row.distance);
        standingPlane(scene);
        scene.step();
        scene.shot(0, 120, 100, 500);
        scene.step();
        EXPECT_EQ(scene.recorder.destroyed, 1);
        EXPECT_EQ(energyPickups(scene.system), row.level + 1);
        // The chain: one kill, chain time 64, base score 120 x chain 1.
        EXPECT_EQ(ship.combo, 1);
        EXPECT_EQ(ship.comboTimer, 64);
        EXPECT_EQ(ship.score, 120);
    }
}

TEST(HitsTest, TwoShotsInOneFrameBothStrikeEvenPastZero) {
    EnemyScene scene;
    scene.ship(0, 120, 300);
    scene.ship(1, 200, 300);
    EnemyBase* plane = standingPlane(scene);
    scene.step();
    ShotBase& first = scene.shot(0, 118, 100, 150);
    ShotBase& second = scene.shot(1, 122, 100, 150);
    const int32_t serial = plane->serial;
    // Check the hit pass alone: it runs before the plane's destruction would.
    plane->hitPass();
    EXPECT_EQ(plane->hitPoints, TinyPlane::kHitPoints - 300);
    EXPECT_EQ(plane->lastHitter, 1);
    EXPECT_EQ(plane->hitFlash, 2);  // set to 3 by the shots, then counted down once
    EXPECT_FALSE(first.isLive());
    EXPECT_FALSE(second.isLive());
    // The plane's own update then finds no live shot and destroys it.
    scene.step();
    EXPECT_FALSE(scene.alive(serial));
    EXPECT_EQ(scene.recorder.destroyed, 1);
}

TEST(HitsTest, AnEndedShotStrikesNoOtherEnemy) {
    // Two planes overlap one shot: only the first one the hit pass reaches is struck.
    EnemyScene scene;
    scene.ship(0, 120, 300);
    EnemyBase* a = standingPlane(scene);
    EnemyBase* b = standingPlane(scene);
    scene.step();
    scene.shot(0, 120, 100, 50);
    scene.step();
    EXPECT_EQ(a->hitPoints + b->hitPoints, 2 * TinyPlane::kHitPoints - 50);
}

TEST(HitsTest, LaserKillTurnsTheEnemysBulletsIntoCrystals) {
    struct Row {
        int16_t energy;
        int32_t crystals;
        int changed;  // bullets of the plane, and ownerless ones, that become crystals
        int16_t energyAfter;
        uint8_t size;
        uint8_t multiplier;
    };
    for (const Row row : {Row{0, 0, 0, 0, 0, 0}, Row{40, 600, 4, 37, 2, 2},
                          Row{60, 2000, 4, 57, 3, 3}, Row{2, 0, 4, 0, 1, 1}}) {
        SCOPED_TRACE(row.energy);
        EnemyScene scene;
        PlayerBase& ship = scene.ship(0, 120, 300);
        ship.energy = row.energy;
        ship.crystals = row.crystals;
        EnemyBase* plane = standingPlane(scene);
        scene.step();
        // Three bullets of the plane, one of no enemy, one of another enemy.
        for (int i = 0; i < 3; ++i)
            fireAngled(scene.system, fixedFromInt(60 + 10 * i), fixedFromInt(50), 90 * kFixedOne,
                       kFixedOne, 0, plane->serial);
        fireAngled(scene.system, fixedFromInt(60), fixedFromInt(60), 90 * kFixedOne, kFixedOne, 0,
                   -1);
        fireAngled(scene.system, fixedFromInt(60), fixedFromInt(70), 90 * kFixedOne, kFixedOne, 0,
                   plane->serial + 7);
        scene.shot(0, 120, 100, 500, true);
        scene.step();
        EXPECT_EQ(scene.recorder.destroyed, 1);
        EXPECT_EQ(countInLayer<Crystal>(scene.system, layer::kCrystal), row.changed);
        EXPECT_EQ(scene.bullets(), 5 - row.changed);
        EXPECT_EQ(ship.energy, row.energyAfter);
        // A laser kill drops no energy.
        EXPECT_EQ(energyPickups(scene.system), 0);
        int i = 0;
        forEachInLayer<Crystal>(scene.system, layer::kCrystal, [&](Crystal& c) {
            EXPECT_EQ(c.size, row.size);
            EXPECT_EQ(c.multiplier, row.multiplier);
            EXPECT_GE(c.delay, 23);  // i / 4 + 24, counted down once already
            ++i;
        });
    }
}

TEST(HitsTest, RevengeBulletsOnTheHardestDifficultiesOnly) {
    struct Row {
        uint8_t difficulty;
        int16_t level;
        int32_t shipDistance;
        int aimed;  // level + 3 on "Extra2"
        int fan;    // 11 on "Extra" and "Extra2"
    };
    const Row rows[] = {
        {0, 2, 200, 0, 0},  {1, 2, 200, 0, 0},   {2, 2, 200, 0, 0}, {3, 2, 200, 0, 11},
        {4, 2, 200, 5, 11}, {4, -3, 200, 0, 11}, {4, 2, 128, 0, 0}, {3, 2, 129, 0, 11},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "difficulty " << int(row.difficulty) << " level "
                                          << row.level << " distance " << row.shipDistance);
        EnemyScene scene;
        scene.system.difficulty = row.difficulty;
        scene.ship(0, 120, 100 + row.shipDistance);
        scene.place(kEnemyTinyPlane, {N(120), N(100), N(90), N(0), I(row.level)});
        scene.step(121);  // past its firing age
        scene.recorder.fired.clear();
        scene.shot(0, 120, 100, 500);
        scene.step();
        int aimed = 0;
        int fan = 0;
        for (const auto& b : scene.recorder.fired) {
            EXPECT_EQ(b.owner, -1);
            EXPECT_EQ(b.type, 4);
            if (std::fabs(b.speed() - 1.6) < 0.01) {
                ++fan;
            } else {
                ++aimed;
                EXPECT_NEAR(b.angle(), 90, 0.2);
            }
        }
        EXPECT_EQ(aimed, row.aimed);
        EXPECT_EQ(fan, row.fan);
    }
}

TEST(HitsTest, AKillWithoutAHitterCreditsNobodyButIsCounted) {
    EnemyScene scene;
    PlayerBase& ship = scene.ship(0, 120, 300);
    EnemyBase* plane = standingPlane(scene);
    scene.step();
    plane->hitPoints = 0;  // as a scripted end would
    scene.step();
    EXPECT_EQ(scene.recorder.destroyed, 1);
    EXPECT_EQ(ship.score, 0);
    EXPECT_EQ(ship.combo, 0);
    EXPECT_EQ(energyPickups(scene.system), 1);  // level 0
}

TEST(HitsTest, DebrisIsHalvedOnAQuietFieldAndWholeOnACrowdedOne) {
    // A TinyPlane's destruction throws debris count 8: with fewer than 666 tasks it is halved
    // to 4, and each of the 2n rounds adds a piece and a spark; from 666 tasks on all 8 count.
    struct Filler : Task {};
    for (const bool crowded : {false, true}) {
        SCOPED_TRACE(crowded);
        EnemyScene scene;
        if (crowded) {
            while (scene.system.taskCount < 700) scene.system.spawnBack<Filler>(layer::kGround);
        }
        EnemyBase* plane = standingPlane(scene);
        scene.step();
        plane->hitPoints = 0;
        scene.step();
        const int pieces = countInLayer<BrokenPiece>(scene.system, layer::kEffect);
        const int sparks = countInLayer<FireSpark>(scene.system, layer::kEffect);
        EXPECT_EQ(pieces, crowded ? 16 : 8);
        EXPECT_EQ(sparks, pieces);
    }
}

TEST(HitsTest, ExpertChainsSaturateInsteadOfWrapping) {
    // Base score x chain + crystals x 10 is formed in 64 bits and held at the 32-bit maximum;
    // the chain itself stops at 32767.
    EnemyScene scene;
    PlayerBase& ship = scene.ship(0, 120, 350);
    ship.combo = 32766;
    ship.crystals = 2'000'000'000;
    ship.score = 2'000'000'000;
    for (int kill = 0; kill < 2; ++kill) {
        standingPlane(scene);
        scene.step();
        scene.shot(0, 120, 100, 500);
        scene.step();
    }
    EXPECT_EQ(scene.recorder.destroyed, 2);
    EXPECT_EQ(ship.combo, 32767);
    EXPECT_EQ(ship.maxCombo, 32767);
    EXPECT_EQ(ship.score, INT32_MAX);
}

}  // namespace
}  // namespace vg::testing
