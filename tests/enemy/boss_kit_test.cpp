// The boss kit's phase table: which phase runs at which frame of the cycle, with periods,
// hit-point thresholds and the order of the rows; and the bound part's link to its body.
#include <vector>

#include "EnemyScene.h"
#include "enemy/BossKit.h"
#include "enemy/bosses/Boss1.h"

namespace vg::testing {
namespace {

// A boss that only writes down which phase ran when.
struct PlanBoss {
    int32_t hitPoints = 1000;
    std::vector<std::pair<char, int32_t>> ran;
    void a(System&, int32_t t) { ran.push_back({'a', t}); }
    void b(System&, int32_t t) { ran.push_back({'b', t}); }
    void fierce(System&, int32_t t) { ran.push_back({'f', t}); }
};

constexpr BossPhase<PlanBoss> kPhases[] = {
    {0, 9, 3, &PlanBoss::a},
    // Below 250 hit points the second stretch is fiercer and runs every frame.
    {20, 29, 1, &PlanBoss::fierce, 250},
    {20, 29, 5, &PlanBoss::b},
};
constexpr BossPlan<PlanBoss> kPlan{40, kPhases};

TEST(BossKit, ThePhaseTableRunsTheFirstRowThatHolds) {
    System system;
    PlanBoss boss;
    for (int64_t age = 0; age < 80; ++age) kPlan.run(boss, system, age);
    const std::vector<std::pair<char, int32_t>> cycle = {{'a', 0}, {'a', 3},  {'a', 6},
                                                         {'a', 9}, {'b', 20}, {'b', 25}};
    std::vector<std::pair<char, int32_t>> twice = cycle;
    twice.insert(twice.end(), cycle.begin(), cycle.end());
    EXPECT_EQ(boss.ran, twice);

    boss.ran.clear();
    boss.hitPoints = 249;
    for (int64_t age = 20; age < 30; ++age) kPlan.run(boss, system, age);
    ASSERT_EQ(boss.ran.size(), 10u);
    for (const auto& [phase, t] : boss.ran) EXPECT_EQ(phase, 'f') << t;

    // Frames between the phases, ages before the attack and an empty cycle run nothing.
    boss.ran.clear();
    EXPECT_FALSE(kPlan.run(boss, system, 15));
    EXPECT_TRUE(kPlan.run(boss, system, -40));  // wraps to the cycle's frame 0
    EXPECT_FALSE((BossPlan<PlanBoss>{0, kPhases}.run(boss, system, 3)));
    EXPECT_EQ(kPlan.at(30, 1000), nullptr);
    EXPECT_EQ(kPlan.at(9, 1000), &kPhases[0]);
    EXPECT_EQ(kPlan.at(10, 1000), nullptr);
}

// A wing's wreck passes what strikes it to the body as a hit of the same kind and hitter (the
// body flashes), and the body's loss of hit points takes the wing's with it.
TEST(BossKit, ALostPartPassesItsHitsToTheBody) {
    EnemyScene scene;
    scene.ship(0, 120, 370);
    auto* boss = static_cast<Boss1*>(scene.place(kEnemyBoss1, {N(120), N(60), I(0)}));
    ASSERT_NE(boss, nullptr);
    Boss1Wing* wing = nullptr;
    forEachInLayer<Boss1Wing>(scene.system, layer::kAir, [&](Boss1Wing& w) {
        if (w.side == 0) wing = &w;
    });
    ASSERT_NE(wing, nullptr);
    EXPECT_EQ(BossBody::find(scene.system, wing->bodySerial), boss);
    scene.step(Boss1::kEntryFrames + 1);
    scene.shot(1, fixedToInt(wing->x) - 10, fixedToInt(wing->y) - 15, Boss1Wing::kHitPoints);
    scene.step();
    ASSERT_TRUE(wing->lost);
    EXPECT_TRUE(boss->isPartLost(0));
    EXPECT_FALSE(boss->isPartLost(1));
    const int32_t before = boss->hitPoints;
    scene.step(4);
    scene.shot(1, fixedToInt(wing->x) - 10, fixedToInt(wing->y) - 15, 700);
    scene.step();
    EXPECT_EQ(boss->hitPoints, before - 700);
    EXPECT_EQ(boss->lastHitter, 1);
    EXPECT_GT(boss->hitFlash, 0);
    EXPECT_EQ(wing->hitPoints, Boss1Wing::kHitPoints);
    boss->hitPoints = 1;
    boss->damage(5, kHitShot, 0);
    scene.step();
    EXPECT_TRUE(boss->dead);
    EXPECT_EQ(wing->hitPoints, 0);
}

}  // namespace
}  // namespace vg::testing
