// The ship's collision pass: crystals, energy and items; bullets that strike, graze or are
// ignored; enemies that ram; score extends; the chain; the hit mark display.
#include <gtest/gtest.h>

#include "PlayFixture.h"
#include "effects/FloatingText.h"
#include "effects/Particles.h"
#include "player/Pickups.h"
#include "player/ShipEffects.h"

namespace vg {
namespace {

using namespace testing;

class CollisionTest : public PlayTest {
  protected:
    // The ship's field position, 16.16.
    int32_t shipX() { return px(ship()->fieldX(*system)); }
    int32_t shipY() { return ship()->y; }
};

TEST_F(CollisionTest, CrystalsScoreBySizeAndMultiplier) {
    listen();
    for (uint8_t size = 1; size <= 3; ++size) {
        for (uint8_t multiplier = 1; multiplier <= 3; ++multiplier) {
            startScene(0);
            PlayerBase* s = ship();
            s->crystals = 41;
            system->spawnBack<Crystal>(layer::kCrystal, shipX(), shipY(), multiplier, size, 0);
            forgetSounds();
            update();
            const int32_t worth = size == 3 ? 1500 : size == 2 ? 1000 : 500;
            EXPECT_EQ(s->score, worth * multiplier);
            EXPECT_EQ(s->crystals, 42);
            EXPECT_EQ(count<Crystal>(layer::kCrystal), 0);
            EXPECT_EQ(count<GetCrystalFont>(layer::kEffect), 1);
            EXPECT_EQ(count<GetCrystalParticle>(layer::kEffect), 1);
            EXPECT_TRUE(heard(SoundManager::kSoundCrystal));
        }
    }
}

TEST_F(CollisionTest, EnergyFillsTheGaugeUpTo64) {
    listen();
    startScene(0);
    PlayerBase* s = ship();
    s->energy = 63;
    for (int i = 0; i < 2; ++i) {
        system->spawnBack<Energy>(layer::kEnergy, shipX(), shipY());
        forEachInLayer<Task>(*system, layer::kEffect, [](Task& effect) { effect.end(); });
        forgetSounds();
        update();
        EXPECT_TRUE(heard(SoundManager::kSoundEnergy));
        EXPECT_EQ(count<GetEnergyEffect>(layer::kEffect), 2);
        EXPECT_EQ(count<Energy>(layer::kEnergy), 0);
        system->draw(screen);
    }
    EXPECT_EQ(s->energy, 64);
    EXPECT_EQ(s->score, 200);
}

TEST_F(CollisionTest, ItemsByType) {
    listen();
    struct Case {
        uint8_t type;
        int power;
        int bombs;
        int lives;
        int32_t score;
        int32_t sound;
        int bursts;
    };
    const Case cases[] = {
        {kItemPowerUp, 1, 3, 2, 10'000, SoundManager::kSoundItem, 1},
        {kItemBomb, 0, 4, 2, 30'000, SoundManager::kSoundItem, 0},
        {kItemExtend, 0, 3, 3, 100'000, SoundManager::kSoundExtend, 0},
        {kItemFullPower, 5, 3, 2, 100'000, SoundManager::kSoundItem, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "item " << int(c.type));
        startScene(0);
        PlayerBase* s = ship();
        system->spawnBack<Item>(layer::kItem, shipX(), shipY(), 0, 0, c.type);
        forgetSounds();
        update();
        EXPECT_EQ(s->power, c.power);
        EXPECT_EQ(s->bombs, c.bombs);
        EXPECT_EQ(s->lives, c.lives);
        EXPECT_EQ(s->score, c.score);
        EXPECT_TRUE(heard(c.sound));
        EXPECT_EQ(count<Item>(layer::kItem), 0);
        EXPECT_EQ(count<ItemFont>(layer::kEffect), 1);
        EXPECT_EQ(count<ItemEffect>(layer::kEffect), c.bursts);
    }
    // A dying ship takes nothing.
    startScene(0);
    ship()->hit();
    system->spawnBack<Item>(layer::kItem, shipX(), shipY(), 0, 0, kItemBomb);
    system->spawnBack<Energy>(layer::kEnergy, shipX(), shipY());
    update();
    EXPECT_EQ(count<Item>(layer::kItem), 1);
    EXPECT_EQ(count<Energy>(layer::kEnergy), 1);
    EXPECT_EQ(ship()->score, 0);
}

TEST_F(CollisionTest, BulletsStrikeGrazeOrPassAsTheStateAndOptionsSay) {
    listen();
    struct Case {
        const char* name;
        PlayerState state;
        uint8_t buzz;
        uint8_t testInvincible;
        int32_t dx;  // bullet offset from the ship in pixels
        uint8_t type;
        PlayerState after;
        bool cancelled;
        bool grazed;
    };
    const Case cases[] = {
        {"struck", PlayerState::Normal, 1, 0, 1, 0, PlayerState::Dying, true, false},
        {"touching edges miss", PlayerState::Normal, 0, 0, 2, 0, PlayerState::Normal, false, false},
        {"grazed", PlayerState::Normal, 1, 0, 10, 3, PlayerState::Normal, false, true},
        {"graze box edge", PlayerState::Normal, 1, 0, 17, 3, PlayerState::Normal, false, true},
        {"beyond the graze box", PlayerState::Normal, 1, 0, 18, 3, PlayerState::Normal, false,
         false},
        {"no buzz", PlayerState::Normal, 0, 0, 10, 3, PlayerState::Normal, false, false},
        {"cancelled bullets pass", PlayerState::Normal, 1, 0, 0, kBulletCancelled,
         PlayerState::Normal, true, false},
        {"test aid", PlayerState::Normal, 1, 1, 0, 2, PlayerState::Normal, false, false},
        {"entering", PlayerState::Entering, 1, 0, 0, 2, PlayerState::Entering, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        startScene(0);
        PlayerBase* s = ship();
        s->lifeState = c.state;
        s->stateTimer = 30;
        system->config.buzz = c.buzz;
        system->testInvincible = c.testInvincible;
        Bullet* bullet = fireAngled(*system, shipX() + px(c.dx), shipY(), 0, 0, c.type, -1);
        forgetSounds();
        update();
        EXPECT_EQ(s->lifeState, c.after);
        EXPECT_EQ(bullet->type == kBulletCancelled, c.cancelled);
        EXPECT_EQ(bullet->grazed, c.grazed ? 1 : 0);
        EXPECT_EQ(heard(SoundManager::kSoundGraze), c.grazed);
        EXPECT_EQ(count<GrazeEffect>(layer::kEffect), c.grazed ? 1 : 0);
        system->draw(screen);
        // A bullet is grazed once.
        update();
        EXPECT_FALSE(heard(SoundManager::kSoundGraze));
    }
    system->testInvincible = 0;
}

// A large projectile that is not a Bullet: no graze, no cancel animation, but it strikes.
class Boulder : public BulletBase {
  public:
    using BulletBase::BulletBase;
};

TEST_F(CollisionTest, OtherProjectilesStrikeUnlessInvincible) {
    for (const PlayerState state : {PlayerState::Normal, PlayerState::Invincible}) {
        startScene(0);
        PlayerBase* s = ship();
        s->lifeState = state;
        s->stateTimer = 30;
        auto* boulder = system->spawnBack<Boulder>(layer::kBullet, shipX(), shipY(), 0, 0);
        update();
        const bool normal = state == PlayerState::Normal;
        EXPECT_EQ(s->lifeState, normal ? PlayerState::Dying : PlayerState::Invincible);
        EXPECT_EQ(boulder->isLive(), !normal);
    }
}

TEST_F(CollisionTest, OnlyLiveAirEnemiesRamANormalShip) {
    struct Case {
        int enemyLayer;
        PlayerState state;
        uint8_t dead;
        int32_t hitPoints;
        bool struck;
    };
    const Case cases[] = {
        {layer::kAir, PlayerState::Normal, 0, 10, true},
        {layer::kAir, PlayerState::Invincible, 0, 10, false},
        {layer::kAir, PlayerState::Normal, 1, 10, false},
        {layer::kAir, PlayerState::Normal, 0, 0, false},
        {layer::kGround, PlayerState::Normal, 0, 10, false},
    };
    for (const Case& c : cases) {
        startScene(0);
        PlayerBase* s = ship();
        s->lifeState = c.state;
        s->stateTimer = 30;
        auto* enemy = system->spawnBack<TargetEnemy>(c.enemyLayer, shipX(), shipY());
        enemy->dead = c.dead;
        enemy->hitPoints = c.hitPoints;
        enemy->hitBox = {-5, -5, 5, 5};
        update();
        EXPECT_EQ(s->lifeState == PlayerState::Dying, c.struck) << c.enemyLayer << int(c.state);
    }
}

TEST_F(CollisionTest, ExtendsComeOneAGain) {
    listen();
    startScene(0);
    PlayerBase* s = ship();
    s->addScore(19'999'999);
    EXPECT_EQ(s->lives, 2);
    forgetSounds();
    s->addScore(26'000'000);  // past 20,000,000 and 45,000,000 at once
    EXPECT_EQ(s->lives, 3);
    EXPECT_EQ(s->extendsGiven, 1);
    EXPECT_TRUE(heard(SoundManager::kSoundExtend));
    s->addScore(1);
    EXPECT_EQ(s->lives, 4);
    EXPECT_EQ(s->extendsGiven, 2);
    s->addScore(200'000'000);
    EXPECT_EQ(s->extendsGiven, 3);
    s->addScore(2'000'000'000);
    EXPECT_EQ(s->extendsGiven, 3);
    EXPECT_EQ(s->lives, 5);
    EXPECT_EQ(s->score, INT32_MAX);
}

TEST_F(CollisionTest, ChainTimerPausesWhileHeldAndTheChainBreaksAtZero) {
    startScene(0);
    ShipBase* s = shipBase();
    s->combo = 4;
    s->comboTimer = 3;
    s->chainHold = 2;
    run(2);
    EXPECT_EQ(s->comboTimer, 3);
    run(3);
    EXPECT_EQ(s->comboTimer, 0);
    EXPECT_EQ(s->combo, 4);
    frame();
    EXPECT_EQ(s->combo, 0);
    s->laserStruck(0, 0);
    EXPECT_EQ(s->chainHold, 3);
}

TEST_F(CollisionTest, HitMarkFollowsTheOption) {
    struct Case {
        uint8_t option;
        uint8_t buttons;
        bool shown;
    };
    const Case cases[] = {{0, kShot, false}, {1, 0, false}, {1, kShot, true}, {2, 0, true}};
    for (const Case& c : cases) {
        startScene(0);
        system->config.playerCollision = c.option;
        PlayerBase* s = ship();
        for (int i = 1; i <= 12; ++i) {
            frame(c.buttons);
            EXPECT_EQ(s->hitMarkFrame, c.shown ? i % 9 : 0) << int(c.option) << " frame " << i;
        }
    }
    // Out of play the mark starts over.
    startScene(0);
    system->config.playerCollision = 2;
    run(4);
    ship()->hit();
    frame();
    EXPECT_EQ(ship()->hitMarkFrame, 0);
    system->config.playerCollision = 1;
}

}  // namespace
}  // namespace vg
