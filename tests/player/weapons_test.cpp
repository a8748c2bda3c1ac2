// The shot button: taps, holding into the laser, auto-fire, the cooldown and the shot cap; the
// volley tables; beams, the lock of TYPE-B and the homing needles of TYPE-B2; power limits.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "PlayFixture.h"
#include "player/ShotBase.h"
#include "player/Shots.h"

namespace vg {
namespace {

using namespace testing;

class WeaponsTest : public PlayTest {
  protected:
    // Frames (counted from 1) of the next `frames` frames in which a volley was fired.
    std::vector<int> volleyFrames(int frames, uint8_t buttons, int type) {
        const int32_t sound = type % 2 ? SoundManager::kSoundShot2 : SoundManager::kSoundShot;
        std::vector<int> fired;
        for (int n = 1; n <= frames; ++n) {
            frame(buttons);
            if (heard(sound)) fired.push_back(n);
        }
        return fired;
    }
    // The shots the next frame fires, in the order they were made.
    std::vector<ShotBase*> nextVolley(uint8_t buttons = kAuto) {
        const int shotLayer = layer::shotLayer(0);
        std::vector<ShotBase*> before = all<ShotBase>(shotLayer);
        frame(buttons);
        std::vector<ShotBase*> fresh;
        for (ShotBase* shot : all<ShotBase>(shotLayer)) {
            if (std::find(before.begin(), before.end(), shot) == before.end()) {
                fresh.push_back(shot);
            }
        }
        return fresh;
    }
};

// Whole degrees of a shot's heading, 0..359.
int headingOf(const ShotBase& shot) {
    const int32_t degrees = (atan2Fixed(shot.vy, shot.vx) + px(360) + px(1) / 2) / px(1);
    return degrees % 360;
}

TEST_F(WeaponsTest, TapFiresThreeVolleysAndHoldingTurnsIntoTheLaser) {
    listen();
    const int laserStart[4] = {5, 6, 5, 6};
    const int32_t laserSpeed[4] = {131072, 104857, 222822, 104857};
    for (int type = 0; type < 4; ++type) {
        SCOPED_TRACE(::testing::Message() << "ship " << type);
        startScene(type);
        ShipBase* s = shipBase();
        s->maxShots = 100;  // the timing alone, without the shot cap
        forgetSounds();
        EXPECT_TRUE(volleyFrames(3, kShot, type).empty());
        // Released after 3 frames: 12 frames of fire, a volley every 4 (TYPE-B every 5).
        const std::vector<int> fired = volleyFrames(20, 0, type);
        const std::vector<int> expected =
            type == 1 ? std::vector<int>{1, 6, 11} : std::vector<int>{1, 5, 9};
        EXPECT_EQ(fired, expected);

        const int32_t normal = s->speed;
        run(laserStart[type] - 1, kShot);
        EXPECT_EQ(s->speed, normal);
        EXPECT_FALSE(s->laserOn());
        frame(kShot);
        EXPECT_EQ(s->speed, laserSpeed[type]);
        EXPECT_TRUE(s->laserOn());
        if (type == 0 || type == 2) {
            EXPECT_NE(s->options[0].beam.state, Beam::Off);
            EXPECT_NE(s->options[1].beam.state, Beam::Off);
        }
        run(10, kShot);
        // A long hold queues no fire on release; the laser goes off at once.
        EXPECT_TRUE(volleyFrames(15, 0, type).empty());
        EXPECT_EQ(s->speed, normal);
        EXPECT_FALSE(s->laserOn());
        EXPECT_EQ(s->options[0].beam.state, Beam::Off);
    }
}

TEST_F(WeaponsTest, TapLengthThatStillCounts) {
    listen();
    const int longestTap[4] = {12, 13, 12, 13};
    for (int type = 0; type < 4; ++type) {
        for (const int held : {longestTap[type], longestTap[type] + 1}) {
            startScene(type);
            run(held, kShot);
            forgetSounds();
            EXPECT_EQ(volleyFrames(1, 0, type).size(), held == longestTap[type] ? 1u : 0u)
                << "ship " << type << " held " << held;
        }
    }
}

TEST_F(WeaponsTest, AutoFireKeepsFiringWhileHeldAndTheCooldownNeverWraps) {
    listen();
    startScene(0);
    ShipBase* s = shipBase();
    s->maxShots = 100;
    forgetSounds();
    EXPECT_EQ(volleyFrames(13, kAuto, 0), (std::vector<int>{1, 5, 9, 13}));
    run(30);
    EXPECT_EQ(s->fireCooldown, 0);
    EXPECT_EQ(s->fireQueue, 0);
    // Idle frames leave the cooldown at 0: the next tap fires on its release.
    frame(kShot);
    EXPECT_EQ(volleyFrames(1, 0, 0), (std::vector<int>{1}));
}

TEST_F(WeaponsTest, VolleyFiresUpToTheShotCapAndNotBeyond) {
    startScene(0);
    ShipBase* s = shipBase();
    ASSERT_EQ(s->maxShots, 8);
    const int shotLayer = layer::shotLayer(0);
    for (int i = 0; i < 8; ++i) system->spawnBack<Task>(shotLayer);
    std::vector<ShotBase*> volley = nextVolley();
    EXPECT_EQ(volley.size(), 4u);
    for (ShotBase* shot : volley) shot->end();
    system->spawnBack<Task>(shotLayer);
    run(4);  // the cooldown runs out
    ASSERT_EQ(count(shotLayer), 9);
    EXPECT_TRUE(nextVolley().empty());
}

struct VolleyShot {
    int type;
    int heading;
};

TEST_F(WeaponsTest, VolleyTablesByPower) {
    // TYPE-A and TYPE-A2: two ship shots, then one or two per option.
    const std::vector<VolleyShot> beamRows[6] = {
        {{0, 270}, {0, 270}, {0, 270}, {0, 270}},
        {{1, 270}, {1, 270}, {0, 270}, {0, 270}},
        {{1, 270}, {1, 270}, {1, 270}, {1, 270}},
        {{2, 270}, {2, 270}, {1, 270}, {1, 270}},
        {{2, 270}, {2, 270}, {0, 270}, {0, 270}, {0, 270}, {0, 270}},
        {{2, 270}, {2, 270}, {1, 270}, {1, 270}, {1, 270}, {1, 270}},
    };
    // TYPE-B and TYPE-B2: the fan.
    const std::vector<VolleyShot> fanRows[6] = {
        {{0, 270}, {0, 270}, {3, 260}, {5, 280}},
        {{1, 270}, {1, 270}, {3, 260}, {5, 280}, {0, 270}, {0, 270}},
        {{1, 270}, {1, 270}, {3, 260}, {5, 280}, {0, 270}, {0, 270}, {4, 255}, {6, 285}},
        {{2, 270},
         {2, 270},
         {2, 260},
         {2, 280},
         {1, 270},
         {1, 270},
         {3, 255},
         {5, 285},
         {4, 250},
         {6, 290}},
        {{2, 270},
         {2, 270},
         {2, 260},
         {2, 280},
         {2, 270},
         {2, 270},
         {3, 255},
         {5, 285},
         {4, 250},
         {6, 290}},
        {{2, 270},
         {2, 270},
         {2, 260},
         {2, 280},
         {2, 270},
         {2, 270},
         {3, 255},
         {5, 285},
         {4, 250},
         {6, 290},
         {4, 245},
         {6, 295}},
    };
    for (int type = 0; type < 4; ++type) {
        for (int power = 0; power <= 5; ++power) {
            SCOPED_TRACE(::testing::Message() << "ship " << type << " power " << power);
            startScene(type);
            ShipBase* s = shipBase();
            for (int i = 0; i < power; ++i) s->powerUp();
            const bool beamShip = type % 2 == 0;
            // TYPE-A2 stops at 4 and fires the full-power row there.
            const int row = type == 2 && power >= 4 ? 5 : power;
            const std::vector<VolleyShot>& want = beamShip ? beamRows[row] : fanRows[row];
            const std::vector<ShotBase*> shots = nextVolley();
            ASSERT_EQ(shots.size(), want.size());
            for (size_t i = 0; i < shots.size(); ++i) {
                EXPECT_EQ(shots[i]->shotType, want[i].type) << i;
                EXPECT_EQ(headingOf(*shots[i]), want[i].heading) << i;
                EXPECT_EQ(shots[i]->laser, 0);
            }
            // The ship's own pair leaves 10 pixels either side of it.
            const int32_t fx = s->fieldX(*system);
            EXPECT_EQ(fixedToInt(shots[0]->x - shots[0]->vx), fx - 10);
            EXPECT_EQ(fixedToInt(shots[1]->x - shots[1]->vx), fx + 10);
            if (beamShip) {
                const int32_t rise = row >= 4 ? 15 : 10;
                EXPECT_EQ(shots[0]->y - shots[0]->vy, s->y - px(rise));
            }
        }
    }
}

TEST_F(WeaponsTest, DamageByClassAndType) {
    struct Case {
        ShotBase* shot;
        int32_t damage;
    };
    const Case cases[] = {
        {new (std::nothrow) Shot1(0, 0, 0, 0, 0, 2), 140},
        {new (std::nothrow) Shot3(0, 0, 0, 0, 0, 1), 110},
        {new (std::nothrow) Shot2(0, 0, 0, 0, 0, 5), 100},
        {new (std::nothrow) Shot2(0, 0, 0, 0, 0, 2), 110},
        {new (std::nothrow) Shot4(0, 0, 0, 0, 0, 1), 85},
        {new (std::nothrow) Shot4(0, 0, 0, 0, 0, 9), 70},
        {new (std::nothrow) LaserShot1(0, 0, 0, 0, 0), 90},
        {new (std::nothrow) LaserShot2(0, 0, 0, 0, 0, 5), 160},
        {new (std::nothrow) LaserShot4(0, 0, 0, 0, 0, 3), 130},
        {new (std::nothrow) LaserShot4(0, 0, 0, 0, 0, 200), 80},
    };
    for (const Case& c : cases) {
        ASSERT_NE(c.shot, nullptr);
        EXPECT_EQ(c.shot->damage, c.damage);
        c.shot->destroySelf();
    }
}

TEST_F(WeaponsTest, BeamStopsAtTheLowerOfTwoStackedEnemies) {
    startScene(0);
    ShipBase* s = shipBase();
    s->moveTo(px(120), px(300));
    const int32_t fx = px(s->fieldX(*system));
    // Both appear at once across beams that already reach the top; the upper one comes first in
    // the list.
    run(30, kShot);
    ASSERT_EQ(fixedToInt(s->options[0].beam.y) + s->options[0].beam.length, -23);
    auto* upper =
        system->spawnBack<TargetEnemy>(layer::kAir, fx, px(100), HitBox{-60, -20, 60, 20});
    auto* lower =
        system->spawnBack<TargetEnemy>(layer::kAir, fx, px(200), HitBox{-60, -20, 60, 20});
    const int32_t full = lower->hitPoints;
    frame(kShot);
    EXPECT_EQ(upper->hitPoints, full);
    EXPECT_LT(lower->hitPoints, full);
    for (const ShipOption& option : s->options) {
        EXPECT_EQ(option.beam.state, Beam::Blocked);
        EXPECT_EQ(fixedToInt(option.beam.y) + option.beam.length, 220);
    }
    // Both beams burn it every frame; the chain is held meanwhile.
    const int32_t before = lower->hitPoints;
    frame(kShot);
    EXPECT_EQ(before - lower->hitPoints, 2 * 40);
    // Set to 3 by the beam, then counted down by the same frame's chain step.
    EXPECT_EQ(s->chainHold, 2);

    // With the lower one gone the beams grow on to the upper one.
    lower->end();
    run(10, kShot);
    EXPECT_LT(upper->hitPoints, full);
    for (const ShipOption& option : s->options) {
        EXPECT_EQ(fixedToInt(option.beam.y) + option.beam.length, 120);
    }
}

TEST_F(WeaponsTest, BeamGrowsEighteenAFrameToTheTopOfTheField) {
    startScene(2);
    ShipBase* s = shipBase();
    run(5, kShot);
    const Beam& beam = s->options[0].beam;
    ASSERT_EQ(beam.state, Beam::Firing);
    EXPECT_EQ(beam.length, -18);
    frame(kShot);
    EXPECT_EQ(beam.length, -36);
    run(40, kShot);
    EXPECT_EQ(fixedToInt(beam.y) + beam.length, -23);
}

TEST_F(WeaponsTest, FullPowerTypeAFiresOneWideBeamFromTheShip) {
    startScene(0);
    ShipBase* s = shipBase();
    for (int i = 0; i < 5; ++i) s->powerUp();
    run(8, kShot);
    EXPECT_EQ(s->options[0].beam.state, Beam::Firing);
    EXPECT_EQ(s->options[1].beam.state, Beam::Off);
    EXPECT_EQ(s->options[0].beam.x, px(s->fieldX(*system)));
    EXPECT_EQ(s->options[0].beam.y, s->y);
    EXPECT_EQ(s->options[0].beam.halfWidth, 20);
}

TEST_F(WeaponsTest, LockedTypeBLaserAimsAtTheStruckEnemyForSevenFrames) {
    startScene(1);
    auto* s = static_cast<Ship2*>(shipBase());
    const int32_t fx = px(s->fieldX(*system));
    auto* target = system->spawnBack<TargetEnemy>(layer::kAir, fx, px(150));
    const int struck = runUntil([&] { return s->chainHold > 0; }, 40, kShot);
    ASSERT_GT(struck, 0);
    EXPECT_EQ(s->lockX, target->x);
    EXPECT_EQ(s->lockY, target->y);
    target->end();
    // The next laser volley aims every shot at the lock, the options' shots inward.
    std::vector<ShotBase*> volley;
    while (volley.empty()) volley = nextVolley(kShot);
    ASSERT_EQ(volley.size(), 3u);
    const int32_t speeds[3] = {px(16), px(12), px(12)};
    for (int i = 0; i < 3; ++i) {
        const ShotBase& shot = *volley[i];
        const int32_t angle =
            atan2Fixed(s->lockY - (shot.y - shot.vy), s->lockX - (shot.x - shot.vx));
        EXPECT_EQ(shot.vx, fixedMul(speeds[i], cosFixed(angle))) << i;
        EXPECT_EQ(shot.vy, fixedMul(speeds[i], sinFixed(angle))) << i;
    }
    EXPECT_NE(headingOf(*volley[1]), 260);
    // Seven frames after the strike the lock is gone: 270, 260, 280 again.
    run(8, kShot);
    EXPECT_EQ(s->chainHold, 0);
    volley.clear();
    while (volley.empty()) volley = nextVolley(kShot);
    ASSERT_EQ(volley.size(), 3u);
    EXPECT_EQ(headingOf(*volley[0]), 270);
    EXPECT_EQ(headingOf(*volley[1]), 260);
    EXPECT_EQ(headingOf(*volley[2]), 280);
}

TEST_F(WeaponsTest, HomingNeedleTurnsTwoDegreesAFrameAndSpeedsUp) {
    startScene(3);
    system->fieldScroll = px(16);
    auto* needle =
        system->spawnBack<LaserShot4>(layer::kShotPlayer0, px(100), px(300), px(8), px(270), 0, 0);
    frame();
    EXPECT_DOUBLE_EQ(needle->heading, 270.0);  // no enemy: straight on
    EXPECT_EQ(needle->speed, px(8));
    system->spawnBack<TargetEnemy>(layer::kGround, px(250), px(300));
    frame();
    EXPECT_DOUBLE_EQ(needle->heading, 272.0);  // the short way round toward 0
    EXPECT_EQ(needle->speed, px(8) + px(1) / 4);
    EXPECT_EQ(needle->vx, fixedMul(px(8), cosFixed(px(272))));
    // A wreck nearer on the other side is no target: the needle turns on toward the live one.
    auto* wreck = system->spawnBack<TargetEnemy>(layer::kGround, px(60), px(300));
    wreck->dead = 1;
    frame();
    EXPECT_DOUBLE_EQ(needle->heading, 274.0);
    run(9);
    EXPECT_EQ(needle->speed, px(8) + 11 * px(1) / 4);
}

TEST_F(WeaponsTest, PowerStaysWithinEachShipsTables) {
    const int highest[4] = {5, 255, 4, 255};
    const int capAtHighest[4] = {24, 28, 20, 24};
    for (int type = 0; type < 4; ++type) {
        startScene(type);
        ShipBase* s = shipBase();
        for (int i = 0; i < 300; ++i) s->powerUp();
        EXPECT_EQ(s->power, highest[type]) << type;
        EXPECT_EQ(s->maxShots, capAtHighest[type]) << type;
        EXPECT_LE(s->tablePower(), 5);
        // A volley at the highest level fires the last row.
        EXPECT_FALSE(nextVolley().empty());
    }
}

TEST_F(WeaponsTest, DamagedRecordsRestoreWithinRange) {
    struct Case {
        int type;
        PlayerRecord record;
        int power;
        int maxShots;
        int lives;
        int bombs;
        int energy;
    };
    const Case cases[] = {
        {0, {0, 2, 0, 3, 32, 0, 0}, 0, 8, 2, 3, 32},
        {3, {3, 2, 0, 3, 32, 0, 0}, 0, 6, 2, 3, 32},
        {0, {0, 1, 3, 2, 10, 0, 0}, 3, 16, 1, 2, 10},
        {0, {0, 127, 255, 255, 99999, 0, 0}, 5, 24, 99, 99, 64},
        {2, {2, -5, 200, 0, -7, 0, 0}, 4, 20, 0, 0, 0},
        {1, {1, 2, 9, 3, 32, 0, 0}, 5, 28, 2, 3, 32},
    };
    for (const Case& c : cases) {
        startScene(c.type);
        ShipBase* s = shipBase();
        s->restoreFromRecord(c.record);
        EXPECT_EQ(s->power, c.power) << c.type;
        EXPECT_EQ(s->maxShots, c.maxShots) << c.type;
        EXPECT_EQ(s->lives, c.lives);
        EXPECT_EQ(s->bombs, c.bombs);
        EXPECT_EQ(s->energy, c.energy);
        EXPECT_EQ(s->lifeState, PlayerState::Waiting);
    }
    EXPECT_EQ(createShip(*system, 4, 0), nullptr);
    EXPECT_EQ(createShip(*system, 255, 0), nullptr);
    EXPECT_EQ(createShip(*system, 0, 2), nullptr);
}

TEST_F(WeaponsTest, OrbitAnglesStayWithinATurn) {
    for (const int type : {0, 2}) {
        startScene(type);
        ShipBase* s = shipBase();
        for (int i = 0; i < 400; ++i) {
            frame(i < 200 ? kShot : 0);
            for (const ShipOption& option : s->options) {
                ASSERT_GE(option.angle, 0) << type << " frame " << i;
                ASSERT_LE(option.angle, px(360)) << type << " frame " << i;
            }
        }
    }
}

TEST_F(WeaponsTest, LaserShotOfAnEndedShipStrikesSafely) {
    startScene(1);
    ShipBase* s = shipBase();
    const int32_t fx = px(s->fieldX(*system));
    auto* target = system->spawnBack<TargetEnemy>(layer::kAir, fx, px(120));
    run(8, kShot);
    ASSERT_GT(count(layer::kShotPlayer0), 0);
    s->end();
    run(20);
    EXPECT_GT(target->taken, 0);
    EXPECT_EQ(ship(), nullptr);
}

}  // namespace
}  // namespace vg
