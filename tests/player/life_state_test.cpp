// The life of a ship: stage start, entering, invincibility, death and respawn, the last ship,
// the bomb that saves a dying ship, and the stage-clear autopilot.
#include <gtest/gtest.h>

#include "PlayFixture.h"
#include "player/Pickups.h"
#include "screens/Continue.h"

namespace vg {
namespace {

using namespace testing;

class LifeStateTest : public PlayTest {};

// A bullet sitting on the ship's hit box strikes it in the next update.
void bulletOnShip(System& system, const PlayerBase& ship) {
    fireAngled(system, px(ship.fieldX(system)), ship.y, px(90), 0, 0, -1);
}

TEST_F(LifeStateTest, StageStartWaitsEntersAndTurnsVulnerable) {
    startScene(0, -1, TestStart::Waiting);
    PlayerBase* s = ship();
    // Each timer value is looked at before it counts down: n frames of timer give n + 1 updates.
    run(148);
    EXPECT_EQ(s->lifeState, PlayerState::Waiting);
    EXPECT_EQ(s->x, 0);
    frame();
    EXPECT_EQ(s->lifeState, PlayerState::Entering);
    EXPECT_EQ(s->stateTimer, 60);

    // Entering flies toward (80, 250) by a sixteenth of the way each frame, cancelling bullets.
    Bullet* bullet = fireAngled(*system, px(200), px(100), px(90), px(1), 2, -1);
    frame();
    EXPECT_EQ(bullet->type, kBulletCancelled);
    EXPECT_EQ(s->x, px(80) / 16);
    run(59);
    EXPECT_EQ(s->lifeState, PlayerState::Entering);
    EXPECT_EQ(s->stateTimer, 0);
    EXPECT_GT(s->x, px(77));
    EXPECT_LT(s->x, px(80));
    EXPECT_LT(s->y, px(256));
    frame();
    EXPECT_EQ(s->lifeState, PlayerState::Invincible);
    EXPECT_EQ(s->stateTimer, 180);
    run(180);
    EXPECT_EQ(s->lifeState, PlayerState::Invincible);
    frame();
    EXPECT_EQ(s->lifeState, PlayerState::Normal);
}

TEST_F(LifeStateTest, StruckShipExplodesAndComesBack) {
    listen();
    startScene(0);
    PlayerBase* s = ship();
    s->crystals = 101;
    s->bombs = 0;
    s->energy = 5;
    bulletOnShip(*system, *s);
    frame();
    ASSERT_EQ(s->lifeState, PlayerState::Dying);
    EXPECT_EQ(s->stateTimer, 60);
    forgetSounds();
    frame();
    EXPECT_FALSE(heard(SoundManager::kSoundDead));
    // The explosion on the second frame of dying: light, blast, ring and 32 pieces.
    update();
    EXPECT_TRUE(heard(SoundManager::kSoundDead));
    EXPECT_EQ(count(layer::kEffect), 35);
    system->draw(screen);
    run(58);
    EXPECT_EQ(s->lifeState, PlayerState::Dying);
    EXPECT_EQ(s->stateTimer, 0);
    frame();
    EXPECT_EQ(s->lifeState, PlayerState::Entering);
    EXPECT_EQ(s->stateTimer, 60);
    EXPECT_EQ(s->lives, 1);
    EXPECT_EQ(s->bombs, 3);
    EXPECT_EQ(s->energy, 32);
    EXPECT_EQ(s->crystals, 50);
    EXPECT_EQ(s->x, 0);
    EXPECT_EQ(s->y, px(400));
    EXPECT_EQ(s->speed, 209715);
}

TEST_F(LifeStateTest, LastShipOfTheOnlyPlayerAsksToContinue) {
    startScene(1);
    PlayerBase* s = ship();
    s->lives = 0;
    s->score = 123456;
    shipBase()->moveTo(px(100), px(200));
    const int32_t fieldX = s->fieldX(*system);
    s->hit();
    run(60);
    ASSERT_EQ(ship(), s);
    update();
    EXPECT_EQ(ship(), nullptr);
    EXPECT_EQ(system->playerRecord[0].finalScore, 123456);
    EXPECT_NE(findFirstInLayer<Continue>(*system, layer::kBanner), nullptr);
    const std::vector<Item*> items = all<Item>(layer::kItem);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0]->type, kItemFullPower);
    EXPECT_EQ(items[0]->x, px(fieldX));
    EXPECT_EQ(items[0]->y, px(200));
    EXPECT_EQ(items[0]->vx, px(1));
    EXPECT_EQ(items[0]->vy, px(1));
}

TEST_F(LifeStateTest, LastShipWithTheOtherPlayerAliveDoesNotAskToContinue) {
    startScene(0, 2);
    ship(1)->lives = 0;
    ship(1)->hit();
    run(61);
    EXPECT_EQ(ship(1), nullptr);
    EXPECT_NE(ship(0), nullptr);
    EXPECT_EQ(findFirstInLayer<Continue>(*system, layer::kBanner), nullptr);
}

// A bomb in the first 6, 9, 7 or 7 frames of dying saves the ship; one frame later it does not.
TEST_F(LifeStateTest, BombRescueWindowOfEachShip) {
    const int windows[4] = {6, 9, 7, 7};
    for (int type = 0; type < 4; ++type) {
        for (const int k : {windows[type], windows[type] + 1}) {
            SCOPED_TRACE(::testing::Message() << "ship " << type << ", bomb on dying frame " << k);
            startScene(type);
            PlayerBase* s = ship();
            s->hit();
            run(k - 1);
            frame(kBomb);
            const bool saved = k <= windows[type];
            EXPECT_EQ(s->lifeState, saved ? PlayerState::Invincible : PlayerState::Dying);
            EXPECT_EQ(s->bombs, saved ? 2 : 3);
            EXPECT_EQ(count(layer::kBomb), saved ? 1 : 0);
        }
    }
}

TEST_F(LifeStateTest, NoBombsNoRescue) {
    startScene(0);
    PlayerBase* s = ship();
    s->bombs = 0;
    s->hit();
    run(3, kBomb);
    EXPECT_EQ(s->lifeState, PlayerState::Dying);
    EXPECT_EQ(count(layer::kBomb), 0);
    EXPECT_EQ(s->bombs, 0);
}

TEST_F(LifeStateTest, InvincibleShipCancelsNearBulletsOnly) {
    startScene(0);
    PlayerBase* s = ship();
    s->lifeState = PlayerState::Invincible;
    s->stateTimer = 100;
    const int32_t fx = px(s->fieldX(*system));
    Bullet* near = fireAngled(*system, fx + px(20), s->y, 0, 0, 1, -1);
    Bullet* far = fireAngled(*system, fx - px(30), s->y, 0, 0, 1, -1);
    Bullet* onShip = fireAngled(*system, fx, s->y, 0, 0, 1, -1);
    frame();
    EXPECT_EQ(near->type, kBulletCancelled);
    EXPECT_EQ(onShip->type, kBulletCancelled);
    EXPECT_EQ(far->type, 1);
    EXPECT_EQ(s->lifeState, PlayerState::Invincible);
}

TEST_F(LifeStateTest, AutopilotParksTheShipAndWritesTheRecord) {
    startScene(3);
    PlayerBase* s = ship();
    shipBase()->moveTo(px(200), px(100));
    s->score = 777;
    s->power = 2;
    run(10, kShot);  // the laser burns as the stage ends
    ASSERT_TRUE(shipBase()->laserOn());
    PlayerRecord record;
    s->enterAutopilot(record);
    EXPECT_FALSE(shipBase()->laserOn());
    EXPECT_EQ(s->speed, 170393);
    EXPECT_EQ(record.shipType, 3);
    EXPECT_EQ(record.score, 777);
    EXPECT_EQ(record.finalScore, 777);
    EXPECT_EQ(record.power, 2);
    const int shots = count(layer::kShotPlayer0);
    frame(kShot | kLeft);  // no control in autopilot
    EXPECT_EQ(s->x, px(198));
    EXPECT_EQ(s->y, px(102));
    EXPECT_LE(count(layer::kShotPlayer0), shots);
    run(200);
    EXPECT_EQ(s->lifeState, PlayerState::Autopilot);
    EXPECT_LE(std::abs(s->x - px(80)), px(1));
    EXPECT_LE(std::abs(s->y - px(320)), px(1));
}

}  // namespace
}  // namespace vg
