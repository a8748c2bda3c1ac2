// Enemy bullets: aimed and angled flight, fans, the field bounds, the sprite direction, the
// cancel puff, the change into crystals and the cold colours.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "PlayFixture.h"
#include "effects/FloatingText.h"
#include "effects/Particles.h"
#include "player/Pickups.h"

namespace vg {
namespace {

using namespace testing;

class BulletTest : public PlayTest {
  protected:
    void SetUp() override {
        PlayTest::SetUp();
        // A field without ships: bullets only.
        startTestScene(*system, -1, -1, TestSceneOptions{TestStart::Ready, false});
    }
    std::vector<Bullet*> bullets() const { return all<Bullet>(layer::kBullet); }
};

TEST_F(BulletTest, AimedBulletsFlyAtTheTargetAndStraightDownWhenOnIt) {
    Bullet* down = fireAimed(*system, px(50), px(60), px(50), px(60), px(3), 0, -1);
    EXPECT_EQ(down->vx, 0);
    EXPECT_EQ(down->vy, px(3));
    EXPECT_EQ(down->direction, 8);
    // A 3-4-5 triangle: exact components.
    Bullet* aimed = fireAimed(*system, px(130), px(140), px(100), px(100), px(5), 0, -1);
    EXPECT_EQ(aimed->vx, px(3));
    EXPECT_EQ(aimed->vy, px(4));
}

TEST_F(BulletTest, FansSpreadOddAndEvenAroundTheCentre) {
    struct Case {
        int32_t n;
        int32_t spread;
        std::vector<int32_t> angles;  // degrees around a centre of 90
    };
    const Case cases[] = {
        {1, 10, {90}}, {2, 10, {85, 95}}, {3, 15, {75, 90, 105}}, {4, 10, {75, 85, 95, 105}},
        {0, 10, {}},   {-3, 10, {}},
    };
    for (const Case& c : cases) {
        startTestScene(*system, -1, -1, TestSceneOptions{TestStart::Ready, false});
        fireFan(c.n, *system, px(100), px(100), px(90), px(2), px(c.spread), 1, 7);
        const std::vector<Bullet*> fan = bullets();
        ASSERT_EQ(fan.size(), c.angles.size()) << c.n;
        for (size_t i = 0; i < fan.size(); ++i) {
            EXPECT_EQ(fan[i]->vx, fixedMul(px(2), cosFixed(px(c.angles[i])))) << c.n << " " << i;
            EXPECT_EQ(fan[i]->vy, fixedMul(px(2), sinFixed(px(c.angles[i])))) << c.n << " " << i;
            EXPECT_EQ(fan[i]->ownerId, 7);
        }
    }
    // Aimed: centred on the heading to the target in whole degrees; one bullet flies at it.
    startTestScene(*system, -1, -1, TestSceneOptions{TestStart::Ready, false});
    fireAimedFan(1, *system, px(100), px(200), px(100), px(100), px(4), px(20), 0, -1);
    ASSERT_EQ(bullets().size(), 1u);
    EXPECT_EQ(bullets()[0]->vx, fixedMul(px(4), cosFixed(px(90))));
    EXPECT_EQ(bullets()[0]->vy, fixedMul(px(4), sinFixed(px(90))));
    fireAimedFan(2, *system, px(0), px(100), px(100), px(100), px(4), px(10), 0, -1);
    ASSERT_EQ(bullets().size(), 3u);
    EXPECT_EQ(bullets()[1]->vy, fixedMul(px(4), sinFixed(px(175))));
    EXPECT_EQ(bullets()[2]->vy, fixedMul(px(4), sinFixed(px(185))));
}

TEST_F(BulletTest, FieldBoundsAreInclusive) {
    struct Case {
        int32_t x;
        int32_t y;
        bool survives;
    };
    const Case cases[] = {
        {px(288), px(100), true},      {px(288) + 1, px(100), false}, {px(-16), px(100), true},
        {px(-16) - 1, px(100), false}, {px(100), px(400), true},      {px(100), px(400) + 1, false},
        {px(100), px(-16), true},      {px(100), px(-16) - 1, false},
    };
    for (const Case& c : cases) {
        // Fired from one unit short of the place with a speed of one unit.
        Bullet* b = fireAimed(*system, c.x, c.y, c.x, c.y, 0, 0, -1);
        b->x = c.x;
        b->y = c.y;
        b->vy = 0;
        system->updatePass();
        EXPECT_EQ(b->isLive(), c.survives) << c.x << "," << c.y;
        EXPECT_EQ(b->age, c.survives ? 1 : 0);
        b->end();
        system->updatePass();
    }
}

TEST_F(BulletTest, SpriteDirectionOfAimedAndAngledBullets) {
    struct Aimed {
        int32_t dx;
        int32_t dy;
        int direction;
    };
    // Heading in whole degrees, then (d + 5.625) / 11.25.
    // Whole degrees are cut toward zero: a heading just above the x axis is 0.
    const Aimed aimed[] = {{100, 0, 0},   {100, 10, 0},  {100, 11, 1}, {0, 100, 8},
                           {-100, 0, 16}, {0, -100, 24}, {100, -1, 0}, {100, -12, 31}};
    for (const Aimed& a : aimed) {
        Bullet* b =
            fireAimed(*system, px(100 + a.dx), px(100 + a.dy), px(100), px(100), px(1), 1, -1);
        EXPECT_EQ(b->direction, a.direction) << a.dx << "," << a.dy;
    }
    struct Angled {
        int32_t angle;  // 16.16 degrees
        int direction;
    };
    const Angled angled[] = {
        {0, 0},
        {px(6), 0},
        {px(7), 1},
        {px(90), 8},
        {px(354), 31},
        {px(355), 0},
        {px(350), 31},
        {px(-10), 31},
        {px(720), 0},
        {px(-360), 0},
        {px(359) + px(1) / 2, 0},
        {px(185), 16},
        {INT32_MAX, 1},
    };
    for (const Angled& a : angled) {
        Bullet* b = fireAngled(*system, px(100), px(100), a.angle, px(1), 4, -1);
        EXPECT_EQ(b->direction, a.direction) << a.angle;
    }
}

TEST_F(BulletTest, CancelledBulletDriftsAtHalfSpeedFor13DrawnFrames) {
    Bullet* b = fireAngled(*system, px(100), px(100), 0, 0, 3, -1);
    b->vx = -5;  // toward zero: -2
    b->vy = px(3);
    b->animationStep = 7;
    b->cancel();
    EXPECT_EQ(b->type, kBulletCancelled);
    EXPECT_EQ(b->animationStep, 0);
    EXPECT_EQ(b->vx, -2);
    EXPECT_EQ(b->vy, px(3) / 2);
    b->cancel();  // a second cancel changes nothing
    EXPECT_EQ(b->vy, px(3) / 2);
    int drawn = 0;
    int32_t y = b->y;
    while (b->isLive() && drawn < 40) {
        frame();
        if (b->isLive()) {
            EXPECT_EQ(b->y - y, px(3) / 2);
            y = b->y;
            ++drawn;
        }
    }
    EXPECT_EQ(drawn, 13);
    // Frozen, the puff is drawn without moving on.
    Bullet* frozen = fireAngled(*system, px(100), px(100), 0, 0, 3, -1);
    frozen->cancel();
    system->freezeAll();
    for (int i = 0; i < 30; ++i) system->draw(screen);
    EXPECT_TRUE(frozen->isLive());
    EXPECT_EQ(frozen->animationStep, 0);
}

TEST_F(BulletTest, LaserKillChangesItsOwnAndOwnerlessBulletsIntoCrystals) {
    startTestScene(*system, 0, -1, TestSceneOptions{TestStart::Ready, false});
    PlayerBase* killer = ship();
    killer->energy = 48;
    killer->crystals = 600;
    std::vector<Bullet*> mine;
    for (int i = 0; i < 6; ++i) {
        mine.push_back(fireAngled(*system, px(20 * i), px(50), px(90), px(1), 0, 5));
    }
    Bullet* ownerless = fireAngled(*system, px(200), px(50), px(90), px(1), 2, -1);
    Bullet* others = fireAngled(*system, px(210), px(50), px(90), px(1), 2, 6);
    Bullet* cancelled = fireAngled(*system, px(220), px(50), px(90), px(1), 2, 5);
    cancelled->cancel();
    system->config.bulletChangeCount = 1;
    EXPECT_EQ(changeBulletsToCrystals(*system, 5, killer, px(100), px(20)), 7);
    for (Bullet* b : mine) EXPECT_FALSE(b->isLive());
    EXPECT_FALSE(ownerless->isLive());
    EXPECT_TRUE(others->isLive());
    EXPECT_TRUE(cancelled->isLive());
    const std::vector<Crystal*> crystals = all<Crystal>(layer::kCrystal);
    ASSERT_EQ(crystals.size(), 7u);
    // Made at the front of the layer: the last changed comes first.
    for (size_t k = 0; k < crystals.size(); ++k) {
        const int i = static_cast<int>(crystals.size() - 1 - k);
        EXPECT_EQ(crystals[k]->delay, i / 4 + 24);
        EXPECT_EQ(crystals[k]->size, 2);
        EXPECT_EQ(crystals[k]->multiplier, 3);
    }
    EXPECT_EQ(crystals.back()->x, px(0));
    EXPECT_EQ(count<ChangeBulletEffect>(layer::kBulletChange), 7);
    EXPECT_EQ(count<ChangeBulletNumFont>(layer::kEffect), 1);

    // Without a killer the lowest tiers; nothing left to change shows no count.
    fireAngled(*system, px(10), px(10), px(90), px(1), 0, -1);
    EXPECT_EQ(changeBulletsToCrystals(*system, 99, nullptr, 0, 0), 1);
    EXPECT_EQ(all<Crystal>(layer::kCrystal).front()->multiplier, 1);
    EXPECT_EQ(all<Crystal>(layer::kCrystal).front()->size, 1);
    EXPECT_EQ(count<ChangeBulletNumFont>(layer::kEffect), 2);
    EXPECT_EQ(changeBulletsToCrystals(*system, 99, nullptr, 0, 0), 0);
    EXPECT_EQ(count<ChangeBulletNumFont>(layer::kEffect), 2);
    system->config.bulletChangeCount = 0;
}

TEST_F(BulletTest, ColdColoursWhileAPresentPlayerHasNoEnergy) {
    EXPECT_FALSE(bulletsInColdColours(*system));
    startTestScene(*system, 0, 1, TestSceneOptions{TestStart::Ready, false});
    EXPECT_FALSE(bulletsInColdColours(*system));
    ship(1)->energy = 0;
    EXPECT_TRUE(bulletsInColdColours(*system));
    ship(1)->end();
    EXPECT_FALSE(bulletsInColdColours(*system));
}

}  // namespace
}  // namespace vg
