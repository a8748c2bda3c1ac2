// The headless tool's bot and menu driver: what the bot presses in set scenes (dodging, the
// laser on big targets, auto-fire on small ones, items, bombs only when cornered or to save a
// hit ship), that it survives an aimed stream a still ship does not, that it is deterministic,
// and that the menu driver takes a whole game from the logo to its first stage as asked.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "app/Bot.h"
#include "app/HeadlessHost.h"
#include "app/HeadlessSession.h"
#include "core/FixedMath.h"
#include "core/Layers.h"
#include "core/System.h"
#include "core/TaskQuery.h"
#include "enemy/Bullet.h"
#include "enemy/EnemyBase.h"
#include "input/KeyRecord.h"
#include "player/Pickups.h"
#include "player/PlayerBase.h"
#include "player/TestScene.h"
#include "stage/StageControl.h"

namespace vg {
namespace {

constexpr int32_t px(int32_t pixels) {
    return pixels * kFixedOne;
}
constexpr uint8_t kDirections = kButtonUp | kButtonRight | kButtonDown | kButtonLeft;

// An enemy that stands still with the hit points given and only takes hits.
class StillEnemy : public EnemyBase {
  public:
    StillEnemy(int32_t x, int32_t y, int32_t points) : EnemyBase(x, y) { hitPoints = points; }
    void update() override { hitPass(); }
};

// Fires a bullet aimed at the ship from the top of the field every `period` frames.
class AimedStream : public EnemyBase {
  public:
    AimedStream(int32_t x, int32_t period) : EnemyBase(x, px(10)), period(period) {
        hitPoints = 1'000'000;
    }
    void update() override {
        System* sys = systemOf(*this);
        if (!sys || ++frameCount % period != 0) return;
        if (const PlayerBase* ship = nearestPlayer()) {
            fireAimed(*sys, aimX(*sys, *ship), aimY(*ship), x, y, px(4), 0, serial);
        }
    }
    int32_t period;
};

class BotTest : public ::testing::Test {
  protected:
    // A fresh play field with one ready TYPE-A ship at view (80, 250), field x 84; no pictures.
    PlayerBase& scene() {
        host.reset();  // one System at a time: they share the task arena
        host = std::make_unique<HeadlessHost>(KeyScript{}, false, "");
        startTestScene(system(), 0, -1, {.loadImages = false});
        host->run(1);
        PlayerBase* ship = PlayerBase::find(system(), 0);
        EXPECT_NE(ship, nullptr);
        return *ship;
    }
    System& system() { return host->system(); }
    // Plays `frames` frames with the bot at the controls; the bytes it pressed.
    std::vector<uint8_t> play(Bot& bot, uint32_t frames) {
        std::vector<uint8_t> pressed;
        for (uint32_t f = 0; f < frames; ++f) {
            pressed.push_back(bot.decide(system()));
            host->holdButtons(0, pressed.back());
            host->run(1);
        }
        return pressed;
    }
    std::unique_ptr<HeadlessHost> host;
};

TEST_F(BotTest, WhatThePlayerPressesInSetScenes) {
    struct Case {
        const char* name;
        void (*setUp)(System&, PlayerBase&);
        uint8_t mustHave;
        uint8_t mustNotHave;
    };
    const Case cases[] = {
        {"nothing around: auto-fire, toward the resting place low in the middle",
         [](System&, PlayerBase&) {}, kButtonAuto,
         kButtonUp | kButtonLeft | kButtonShot | kButtonBomb},
        {"a big target straight above: the laser",
         [](System& s, PlayerBase&) {
             s.spawnFront<StillEnemy>(layer::kAir, px(84), px(80), 50000);
         },
         kButtonShot, kButtonAuto | kButtonBomb},
        {"a small target above: auto-fire",
         [](System& s, PlayerBase&) { s.spawnFront<StillEnemy>(layer::kAir, px(84), px(80), 150); },
         kButtonAuto, kButtonShot | kButtonBomb},
        {"a target to the right: toward it",
         [](System& s, PlayerBase&) {
             s.spawnFront<StillEnemy>(layer::kGround, px(200), px(60), 300);
         },
         kButtonRight, kButtonLeft | kButtonBomb},
        {"an item to the left: toward it",
         [](System& s, PlayerBase&) {
             s.spawnFront<Item>(layer::kItem, px(20), px(250), 0, 0, kItemPowerUp);
         },
         kButtonLeft, kButtonRight | kButtonBomb},
        {"hit, with bombs: the rescue bomb", [](System&, PlayerBase& ship) { ship.hit(); },
         kButtonBomb, kDirections},
        {"hit, without bombs: nothing",
         [](System&, PlayerBase& ship) {
             ship.bombs = 0;
             ship.hit();
         },
         0, 0xFF},
    };
    for (const Case& c : cases) {
        PlayerBase& ship = scene();
        c.setUp(system(), ship);
        Bot bot(0);
        const uint8_t pressed = bot.decide(system());
        EXPECT_EQ(pressed & c.mustHave, c.mustHave) << c.name << ": " << int{pressed};
        EXPECT_EQ(pressed & c.mustNotHave, 0) << c.name << ": " << int{pressed};
    }
}

TEST_F(BotTest, ABulletOnCourseIsDodgedAndARingOfThemIsBombed) {
    // One bullet falling onto the ship: a step aside, no bomb.
    PlayerBase& ship = scene();
    fireAngled(system(), px(84), px(220), px(90), px(3), 0, -1);
    Bot bot(0);
    uint8_t pressed = bot.decide(system());
    EXPECT_NE(pressed & (kButtonLeft | kButtonRight), 0) << int{pressed};
    EXPECT_EQ(pressed & kButtonBomb, 0);
    EXPECT_EQ(bot.lastDecision().firstHit, 0) << "the plan taken is not hit";
    EXPECT_EQ(bot.lastDecision().threats, 1);

    // Rings of slow bullets closing in from every side, too close to slip between (a fast
    // bullet and the ship can pass each other between two frames): no way out but the bomb.
    for (int with : {3, 0}) {
        PlayerBase& cornered = scene();
        cornered.bombs = static_cast<int8_t>(with);
        const int32_t fx = cornered.fieldX(system());
        const int32_t fy = cornered.fieldY();
        for (int radius : {5, 9, 13}) {
            for (int angle = 0; angle < 360; angle += 5) {
                const int32_t bx = px(fx) + fixedMul(px(radius), cosFixed(px(angle)));
                const int32_t by = px(fy) + fixedMul(px(radius), sinFixed(px(angle)));
                fireAngled(system(), bx, by, px(angle + 180), kFixedOne / 2, 0, -1);
            }
        }
        Bot trapped(0);
        pressed = trapped.decide(system());
        EXPECT_NE(trapped.lastDecision().firstHit, 0) << "every plan is hit";
        // The bomb waits for the last frames, in case a way opens.
        EXPECT_EQ(pressed & kButtonBomb, 0);
        bool bombed = false;
        bool hit = false;
        for (int f = 0; f < 30 && !hit; ++f) {
            pressed = trapped.decide(system());
            bombed = bombed || (pressed & kButtonBomb);
            host->holdButtons(0, pressed);
            host->run(1);
            hit = cornered.lifeState == PlayerState::Dying;
        }
        EXPECT_EQ(bombed, with > 0) << "bombs: " << with;
        EXPECT_EQ(hit, with == 0) << "bombs: " << with;
    }
    (void)ship;
}

TEST_F(BotTest, SurvivesAnAimedStreamThatHitsAStillShip) {
    // Without the bot the stream hits the ship.
    PlayerBase& still = scene();
    system().spawnFront<AimedStream>(layer::kAir, px(60), 12);
    system().spawnFront<AimedStream>(layer::kAir, px(180), 17);
    host->run(400);
    EXPECT_LT(still.lives, 2) << "the stream is a threat";

    PlayerBase& ship = scene();
    system().spawnFront<AimedStream>(layer::kAir, px(60), 12);
    system().spawnFront<AimedStream>(layer::kAir, px(180), 17);
    Bot bot(0);
    bool everHit = false;
    for (int f = 0; f < 1200; ++f) {
        host->holdButtons(0, bot.decide(system()));
        host->run(1);
        everHit = everHit || ship.lifeState == PlayerState::Dying;
    }
    EXPECT_FALSE(everHit);
    EXPECT_EQ(ship.lives, 2);
    EXPECT_EQ(ship.bombs, 3) << "no bomb without need";
}

TEST_F(BotTest, TheSameGameGivesTheSameBytes) {
    std::vector<std::vector<uint8_t>> runs;
    for (int run = 0; run < 2; ++run) {
        scene();
        system().spawnFront<AimedStream>(layer::kAir, px(100), 9);
        system().spawnFront<StillEnemy>(layer::kAir, px(150), px(60), 5000);
        Bot bot(0);
        runs.push_back(play(bot, 600));
    }
    EXPECT_EQ(runs[0], runs[1]);
    int moves = 0;
    for (uint8_t b : runs[0]) moves += (b & kDirections) != 0;
    EXPECT_GT(moves, 50) << "the bot moves";
}

TEST(MenuDriverTest, AutoplayGoesFromTheLogoToTheFirstStageAsAsked) {
    struct Case {
        uint8_t difficulty;
        std::array<uint8_t, 2> ships;
        std::array<uint8_t, 2> expected;
    };
    // TYPE-A2 and TYPE-B2 are locked without a clear: their base ships are played.
    const Case cases[] = {{2, {1, 255}, {1, 255}}, {1, {0, 1}, {0, 1}}, {0, {2, 3}, {0, 1}}};
    for (const Case& c : cases) {
        HeadlessOptions options;
        options.autoplay = true;
        options.difficulty = c.difficulty;
        options.ships = c.ships;
        options.frames = 900;
        HeadlessSession session(std::move(options));
        System& system = session.host().system();
        session.run();
        ASSERT_EQ(session.stats().stages().size(), 1u) << int{c.difficulty};
        EXPECT_EQ(system.difficulty, c.difficulty);
        EXPECT_EQ(system.replay.recording, 1);
        EXPECT_EQ(system.playMode, 0);
        for (int index = 0; index < 2; ++index) {
            EXPECT_EQ(system.playerRecord[index].shipType, c.expected[index])
                << int{c.difficulty} << " player " << index;
        }
        EXPECT_NE(findFirstInLayer<StageControl>(system, layer::kStageControl), nullptr);
    }
}

}  // namespace
}  // namespace vg
