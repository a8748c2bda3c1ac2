// The first volleys of every kind at attack levels 0, 1 and 3: the frame each volley leaves in
// and the heading, speed and type of each of its bullets, in firing order. The numbers are
// worked out by hand from the kinds' descriptions: each enemy stands at (120, 100) (the
// semi-boss at (120, 150)) and the one ship at (120, 300), so the aim is straight down except
// from the side ports, whose headings are noted (in whole degrees, as the fans take them).
#include <string>

#include "EnemyScene.h"

namespace vg::testing {
namespace {

struct Expected {
    double angle;  // degrees
    double speed;  // pixels per frame
    uint8_t type;
};
struct Volley {
    int32_t frame;
    std::vector<Expected> bullets;
};
struct FirstShots {
    std::string name;
    int32_t kind;
    std::vector<int32_t> args;
    std::vector<Volley> volleys;  // none: it must not fire within `watch` frames
    int32_t watch = 0;
};

// A fan of n bullets `spread` apart around `centre`, in firing order.
std::vector<Expected> fan(double centre, double spread, int n, double speed, uint8_t type) {
    std::vector<Expected> out;
    const double first = centre - spread * (n - 1) / 2;
    for (int i = 0; i < n; ++i) out.push_back({first + spread * i, speed, type});
    return out;
}
std::vector<Expected> operator+(std::vector<Expected> a, const std::vector<Expected>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
// A stream: the same fan at the five speeds 2.0 .. 3.2.
std::vector<Expected> stream(double centre, double spread, int n) {
    std::vector<Expected> out;
    for (const double speed : {2.0, 2.3, 2.6, 2.9, 3.2})
        out = out + fan(centre, spread, n, speed, 0);
    return out;
}

std::vector<FirstShots> table() {
    const auto at120x100 = [](int32_t kind, std::initializer_list<int32_t> more) {
        std::vector<int32_t> args{N(120), N(100)};
        args.insert(args.end(), more.begin(), more.end());
        (void)kind;
        return args;
    };
    std::vector<FirstShots> rows;
    // TankSmall: the turret starts at 0 and turns 5 degrees a frame toward the ship below; each
    // shell leaves along the turret rounded to 30 degrees (5 -> 0, 45 -> 60, 90 -> 90).
    const auto tank = [&](int level) { return at120x100(0, {N(90), N(0), I(0), I(level)}); };
    rows.push_back({"TankSmall L0", kEnemyTankSmall, tank(0), {}, 240});
    rows.push_back(
        {"TankSmall L1", kEnemyTankSmall, tank(1), {{0, {{0, 2.4, 5}}}, {40, {{90, 2.4, 5}}}}});
    rows.push_back({"TankSmall L3",
                    kEnemyTankSmall,
                    tank(3),
                    {{0, {{0, 2.4, 5}}}, {8, {{60, 2.4, 5}}}, {16, {{90, 2.4, 5}}}}});
    // TankSmall2: the turret starts along its direction (down); a pair per shot.
    const std::vector<Expected> pair{{90, 2.0, 6}, {90, 2.0, 6}};
    rows.push_back({"TankSmall2 L0", kEnemyTankSmall2, tank(0), {}, 300});
    rows.push_back({"TankSmall2 L1", kEnemyTankSmall2, tank(1), {{0, pair}, {90, pair}}});
    rows.push_back({"TankSmall2 L3", kEnemyTankSmall2, tank(3), {{0, pair}, {8, pair}}});
    // FlySmall: aimed shells at 3, 10 frames apart, every 64 frames.
    const auto plane = [&](int level) { return at120x100(0, {N(90), N(0), I(level)}); };
    rows.push_back({"FlySmall L0", kEnemyFlySmall, plane(0), {}, 120});
    rows.push_back(
        {"FlySmall L1", kEnemyFlySmall, plane(1), {{0, {{90, 3, 5}}}, {64, {{90, 3, 5}}}}});
    rows.push_back({"FlySmall L3",
                    kEnemyFlySmall,
                    plane(3),
                    {{0, {{90, 3, 5}}}, {10, {{90, 3, 5}}}, {20, {{90, 3, 5}}}}});
    // FlyMediumA: its cycle runs from phase 40, so it latches first at age 40 (fans of 5, then
    // of 6 at phase 10). From level 3 the pairs of phases 40 and 50 leave at ages 0 and 10, at
    // the point the class values start with, (120, 192), from (100, y) and (140, y) as the
    // craft sinks at 0.4 a frame (y = 100.4, 104.4 and 108.4 at ages 0, 10 and 20):
    // atan(91.6 / 20) = 77.68, atan(87.6 / 20) = 77.14 and atan(83.6 / 20) = 76.54 degrees
    // from the left gun, mirrored from the right.
    rows.push_back({"FlyMediumA L0", kEnemyFlyMediumA, at120x100(0, {I(0)}), {}, 600});
    rows.push_back({"FlyMediumA L1",
                    kEnemyFlyMediumA,
                    at120x100(0, {I(1)}),
                    {{40, fan(90, 20, 5, 2.6, 0)}, {50, fan(90, 20, 6, 2.6, 0)}}});
    rows.push_back({"FlyMediumA L3",
                    kEnemyFlyMediumA,
                    at120x100(0, {I(3)}),
                    {{0, {{77.68, 3.2, 1}, {102.32, 3.2, 1}}},
                     {10, {{77.14, 3.2, 1}, {102.86, 3.2, 1}}},
                     {20, {{76.54, 3.2, 1}, {103.46, 3.2, 1}}},
                     {40, fan(90, 13, 5, 3.0, 0)},
                     {50, fan(90, 13, 6, 3.0, 0)},
                     {60, fan(90, 5, 5, 3.0, 0)}}});
    // Boss1: after its 120 entry frames at about (120.5, 194.6): fans of 2L + 1 needles from the
    // centre port (heading 90, speed 3.5), the left port (54, 1.5) and the right (126, 2.5).
    const auto boss = [&](int level) {
        const int n = 2 * level + 1;
        return fan(90, 30, n, 3.5, 1) + fan(54, 30, n, 1.5, 1) + fan(126, 30, n, 2.5, 1);
    };
    rows.push_back({"Boss1 L0", kEnemyBoss1, at120x100(0, {I(0)}), {{120, boss(0)}}});
    rows.push_back({"Boss1 L1", kEnemyBoss1, at120x100(0, {I(1)}), {{120, boss(1)}}});
    rows.push_back({"Boss1 L3", kEnemyBoss1, at120x100(0, {I(3)}), {{120, boss(3)}}});
    // TinyPlane: latches every 40 frames; shells at 2.8, 8 frames apart.
    rows.push_back({"TinyPlane L0", kEnemyTinyPlane, plane(0), {}, 120});
    rows.push_back(
        {"TinyPlane L1", kEnemyTinyPlane, plane(1), {{0, {{90, 2.8, 5}}}, {40, {{90, 2.8, 5}}}}});
    rows.push_back({"TinyPlane L3",
                    kEnemyTinyPlane,
                    plane(3),
                    {{0, {{90, 2.8, 5}}}, {8, {{90, 2.8, 5}}}, {16, {{90, 2.8, 5}}}}});
    // FlyGun: at ages 40 and 120, pairs straight down at speeds 1 .. L + 1.
    const auto columns = [](int level) {
        std::vector<Expected> out;
        for (int s = 1; s <= level + 1; ++s)
            out = out + std::vector<Expected>{{90, 1.0 * s, 0}, {90, 1.0 * s, 0}};
        return out;
    };
    rows.push_back({"FlyGun L0", kEnemyFlyGun, plane(0), {{40, columns(0)}, {120, columns(0)}}});
    rows.push_back({"FlyGun L1", kEnemyFlyGun, plane(1), {{40, columns(1)}, {120, columns(1)}}});
    rows.push_back({"FlyGun L3", kEnemyFlyGun, plane(3), {{40, columns(3)}, {120, columns(3)}}});
    // FlyMediumB: latches at age 0; fans of 2L + 1 glinting orbs 8 apart at 2.4 + L / 4.
    rows.push_back({"FlyMediumB L0",
                    kEnemyFlyMediumB,
                    at120x100(0, {I(0)}),
                    {{0, fan(90, 8, 1, 2.4, 3)}, {5, fan(90, 8, 1, 2.4, 3)}}});
    rows.push_back({"FlyMediumB L1",
                    kEnemyFlyMediumB,
                    at120x100(0, {I(1)}),
                    {{0, fan(90, 8, 3, 2.65, 3)}, {5, fan(90, 8, 3, 2.65, 3)}}});
    rows.push_back({"FlyMediumB L3",
                    kEnemyFlyMediumB,
                    at120x100(0, {I(3)}),
                    {{0, fan(90, 8, 7, 3.15, 3)}, {5, fan(90, 8, 7, 3.15, 3)}}});
    // Kite: 2L + 3 shells (20 - 2L) apart at 3.0 from the outer ports (90, 110) and (150, 110),
    // heading 81 and 98, and from level 1 the inner ports (100, 120) and (140, 120), 83 and 96.
    const auto kite = [](int level) {
        const int n = 2 * level + 3;
        const double spread = 20 - 2 * level;
        auto out = fan(81, spread, n, 3, 5) + fan(98, spread, n, 3, 5);
        if (level >= 1) out = out + fan(83, spread, n, 3, 5) + fan(96, spread, n, 3, 5);
        return out;
    };
    rows.push_back({"Kite L0", kEnemyKite, plane(0), {{0, kite(0)}, {5, kite(0)}}});
    rows.push_back({"Kite L1", kEnemyKite, plane(1), {{0, kite(1)}, {5, kite(1)}}});
    rows.push_back({"Kite L3", kEnemyKite, plane(3), {{0, kite(3)}, {5, kite(3)}}});
    // Fuwafuwa: full rings of 4L + 4 shells centred on the ship (90), 3 frames apart.
    const auto ring = [](int level) {
        const int n = 4 * level + 4;
        return fan(90, 360.0 / n, n, 2.2 + 0.5 * level, 5);
    };
    rows.push_back({"Fuwafuwa L0", kEnemyFuwafuwa, plane(0), {{0, ring(0)}, {3, ring(0)}}});
    rows.push_back({"Fuwafuwa L1", kEnemyFuwafuwa, plane(1), {{0, ring(1)}, {3, ring(1)}}});
    rows.push_back({"Fuwafuwa L3", kEnemyFuwafuwa, plane(3), {{0, ring(3)}, {3, ring(3)}}});
    // Heli: no attack level; at age 48 two pairs 35 apart, at 68 a three and a two 20 apart.
    const std::vector<Volley> heli{
        {48, fan(90, 35, 2, 2.0, 3) + fan(90, 35, 2, 2.5, 3)},
        {68, fan(90, 20, 3, 2.0, 3) + fan(90, 20, 2, 2.5, 3)},
    };
    for (const char* name : {"Heli power", "Heli bomb"}) {
        rows.push_back(
            {name, name[5] == 'p' ? kEnemyHeliPower : kEnemyHeliBomb, at120x100(0, {}), heli});
    }
    // Cannon: the turret points down (90); each barrel one orb straight at 2.4 and one 25
    // outward at 2.0, every 8 frames for L + 1 volleys of 64.
    const std::vector<Expected> cannon{{90, 2.4, 0}, {65, 2.0, 0}, {90, 2.4, 0}, {115, 2.0, 0}};
    rows.push_back({"Cannon L0", kEnemyCannon, at120x100(0, {I(0)}), {{0, cannon}, {64, cannon}}});
    rows.push_back({"Cannon L1", kEnemyCannon, at120x100(0, {I(1)}), {{0, cannon}, {8, cannon}}});
    rows.push_back({"Cannon L3",
                    kEnemyCannon,
                    at120x100(0, {I(3)}),
                    {{0, cannon}, {8, cannon}, {16, cannon}, {24, cannon}, {64, cannon}}});
    // SemiBoss1 at (120, 150) without entry frames: a stream of 4L + 3 from (20, 170), heading
    // 52, then at 30 one from (120, 180), heading 90, (30 - 5L) apart.
    const auto semi = [](int level) {
        return std::vector<int32_t>{N(120), N(150), N(90), N(0), I(0), I(level)};
    };
    rows.push_back({"SemiBoss1 L0",
                    kEnemySemiBoss1,
                    semi(0),
                    {{0, stream(52, 30, 3)}, {30, stream(90, 30, 3)}}});
    rows.push_back({"SemiBoss1 L1",
                    kEnemySemiBoss1,
                    semi(1),
                    {{0, stream(52, 26, 7)}, {30, stream(90, 25, 7)}}});
    rows.push_back({"SemiBoss1 L3",
                    kEnemySemiBoss1,
                    semi(3),
                    {{0, stream(52, 18, 15)}, {30, stream(90, 15, 15)}}});
    return rows;
}

double angleDifference(double a, double b) {
    double d = std::fmod(a - b, 360.0);
    if (d > 180) d -= 360;
    if (d <= -180) d += 360;
    return std::fabs(d);
}

TEST(FirstShotsTest, EveryKindAtLevelsZeroOneAndThree) {
    for (const FirstShots& row : table()) {
        SCOPED_TRACE(row.name);
        EnemyScene scene;
        scene.ship(0, 120, 300);
        StageEvent event;
        event.kind = row.kind;
        for (size_t i = 0; i < row.args.size(); ++i) event.args[i] = row.args[i];
        ASSERT_NE(placeEnemy(scene.system, event), nullptr);
        const int32_t last = row.volleys.empty() ? row.watch : row.volleys.back().frame + 1;
        scene.step(last);
        const std::vector<int32_t> frames = scene.recorder.firingFrames();
        if (row.volleys.empty()) {
            EXPECT_TRUE(frames.empty()) << "first bullet in frame " << frames.front();
            continue;
        }
        ASSERT_GE(frames.size(), row.volleys.size());
        for (size_t v = 0; v < row.volleys.size(); ++v) {
            const Volley& volley = row.volleys[v];
            ASSERT_EQ(frames[v], volley.frame) << "volley " << v;
            const auto fired = scene.recorder.at(volley.frame);
            ASSERT_EQ(fired.size(), volley.bullets.size()) << "volley " << v;
            for (size_t b = 0; b < fired.size(); ++b) {
                const Expected& want = volley.bullets[b];
                EXPECT_LT(angleDifference(fired[b].angle(), want.angle), 0.15)
                    << "volley " << v << " bullet " << b << ": " << fired[b].angle() << " not "
                    << want.angle;
                EXPECT_NEAR(fired[b].speed(), want.speed, 0.01)
                    << "volley " << v << " bullet " << b;
                EXPECT_EQ(fired[b].type, want.type) << "volley " << v << " bullet " << b;
            }
        }
    }
}

}  // namespace
}  // namespace vg::testing
