// Bombs: launch rules, headings, lifetime, the bullet sweep into energy, damage to enemies and
// the invincibility they give.
#include <gtest/gtest.h>

#include <vector>

#include "PlayFixture.h"
#include "player/Bombs.h"
#include "player/Pickups.h"

namespace vg {
namespace {

using namespace testing;

class BombTest : public PlayTest {};

TEST_F(BombTest, HeldButtonLaunchesTheNextBombTheFrameAfterTheLastEnds) {
    listen();
    struct Kind {
        int ship;
        int lifetime;  // updates
    };
    for (const Kind kind : {Kind{0, 81}, Kind{3, 221}}) {
        startScene(kind.ship);
        PlayerBase* s = ship();
        std::vector<int> launches;
        std::vector<int> booms;
        for (int n = 0; n < 3 * (kind.lifetime + 1) + 50; ++n) {
            const int bombs = s->bombs;
            frame(kBomb);
            if (s->bombs < bombs) launches.push_back(n);
            if (heard(SoundManager::kSoundBomb)) booms.push_back(n);
        }
        const int gap = kind.lifetime + 1;
        EXPECT_EQ(launches, (std::vector<int>{0, gap, 2 * gap})) << kind.ship;
        // The blast sounds on its first update, the frame after its launch.
        EXPECT_EQ(booms, (std::vector<int>{1, gap + 1, 2 * gap + 1})) << kind.ship;
        EXPECT_EQ(s->bombs, 0);
        EXPECT_EQ(count(layer::kBomb), 0);
    }
}

TEST_F(BombTest, HeadingFollowsTheDirectionButtons) {
    struct Case {
        uint8_t buttons;
        int bombDegrees;
        int bomb2Degrees;
    };
    const Case cases[] = {
        {0, 270, 270},
        {kLeft, 230, 200},
        {kRight, 300, 340},
        {kDown, 270, 90},
        {kUp, 270, 270},
        {kUp | kDown, 270, 270},
        {kLeft | kRight, 270, 270},
        {kLeft | kRight | kDown, 270, 90},
        {kLeft | kDown, 230, 200},
        {kRight | kUp, 300, 340},
    };
    for (const Case& c : cases) {
        for (const int type : {1, 2}) {
            startScene(type);
            update(static_cast<uint8_t>(kBomb | c.buttons));
            const std::vector<BombBase*> bombs = all<BombBase>(layer::kBomb);
            ASSERT_EQ(bombs.size(), 1u);
            const bool second = type == 2;
            const int32_t speed = second ? px(1) / 4 : px(1);
            const int32_t angle = px(second ? c.bomb2Degrees : c.bombDegrees);
            EXPECT_EQ(bombs[0]->vx, fixedMul(speed, cosFixed(angle))) << int(c.buttons);
            EXPECT_EQ(bombs[0]->vy, fixedMul(speed, sinFixed(angle))) << int(c.buttons);
            EXPECT_EQ(dynamic_cast<Bomb2*>(bombs[0]) != nullptr, second);
            // Launched from the ship's field position (the ship moved first).
            EXPECT_EQ(bombs[0]->x, px(ship()->fieldX(*system)));
            EXPECT_EQ(bombs[0]->y, ship()->y);
        }
    }
}

TEST_F(BombTest, BulletsUnderTheBlastTurnIntoEnergy) {
    startScene(0);
    PlayerBase* s = ship();
    const int32_t fx = px(s->fieldX(*system));
    Bullet* inside = fireAngled(*system, fx + px(100), s->y - px(100), 0, 0, 1, -1);
    Bullet* outside = fireAngled(*system, fx + px(140), s->y, 0, 0, 1, -1);
    Bullet* cancelled = fireAngled(*system, fx - px(50), s->y, 0, 0, 1, -1);
    cancelled->cancel();
    frame(kBomb);
    EXPECT_EQ(count<Energy>(layer::kEnergy), 0);
    update();  // the bomb's first update sweeps
    EXPECT_EQ(inside->type, kBulletCancelled);
    EXPECT_EQ(outside->type, 1);
    const std::vector<Energy*> energy = all<Energy>(layer::kEnergy);
    ASSERT_EQ(energy.size(), 1u);
    EXPECT_EQ(energy[0]->x, inside->x);
    EXPECT_EQ(energy[0]->y, inside->y);
    EXPECT_EQ(count(layer::kEffect), 4);  // four sparks a frame
}

TEST_F(BombTest, EnemiesUnderTheBlastLoseItsDamageEveryFrame) {
    for (const int type : {0, 2}) {
        startScene(type);
        PlayerBase* s = ship();
        auto* enemy =
            system->spawnBack<TargetEnemy>(layer::kAir, px(s->fieldX(*system)), s->y - px(60));
        frame(kBomb);
        run(10);
        EXPECT_EQ(enemy->taken, 10 * (type == 2 ? 100 : 80));
        EXPECT_EQ(enemy->lastHitKind, kHitBomb);
        EXPECT_EQ(enemy->lastHitter, 0);
    }
}

TEST_F(BombTest, BothPlayersInPlayTurnInvincibleButADyingPartnerIsNotSaved) {
    struct Case {
        PlayerState partner;
        PlayerState partnerAfter;
    };
    const Case cases[] = {
        {PlayerState::Normal, PlayerState::Invincible},
        {PlayerState::Invincible, PlayerState::Invincible},
        {PlayerState::Dying, PlayerState::Dying},
        {PlayerState::Entering, PlayerState::Entering},
    };
    for (const Case& c : cases) {
        startScene(0, 1);
        ship(1)->lifeState = c.partner;
        ship(1)->stateTimer = 50;
        update(kBomb);
        EXPECT_EQ(ship(0)->lifeState, PlayerState::Invincible);
        EXPECT_EQ(ship(0)->stateTimer, 180);
        EXPECT_EQ(ship(1)->lifeState, c.partnerAfter) << int(c.partner);
        if (c.partnerAfter == PlayerState::Invincible) {
            EXPECT_EQ(ship(1)->stateTimer, 180);
        }
        system->draw(screen);
    }
}

TEST_F(BombTest, OneBombAtATimeForBothPlayers) {
    startScene(0, 2);
    frame(kBomb, kBomb);
    EXPECT_EQ(count(layer::kBomb), 1);
    EXPECT_EQ(ship(0)->bombs + ship(1)->bombs, 5);
    run(30, kBomb, kBomb);
    EXPECT_EQ(count(layer::kBomb), 1);
    EXPECT_EQ(ship(0)->bombs + ship(1)->bombs, 5);
}

}  // namespace
}  // namespace vg
