// The map and what lies on it: Back's scroll and loop, scenery riding the map, clouds, holes.
#include <gtest/gtest.h>

#include <cstring>

#include "AtlasCells.h"
#include "core/Layers.h"
#include "core/System.h"
#include "core/TaskQuery.h"
#include "enemy/Bullet.h"
#include "player/Pickups.h"
#include "player/PlayerBase.h"
#include "resources/ImageSlots.h"
#include "stage/Back.h"
#include "stage/Scenery.h"
#include "stage/StageOverlays.h"

namespace vg {
namespace {

constexpr int32_t px(int32_t pixels) {
    return pixels << 16;
}

TEST(BackTest, ScrollAndLoopTable) {
    struct Case {
        const char* name;
        int32_t position, speed, loopBack, loop;
        int frames;
        int32_t expected;
    };
    const Case cases[] = {
        {"falls by the speed", px(3000), px(1), 0, 0, 10, px(2990)},
        {"negative speed climbs; the loop test only looks down", px(100), -px(2), px(7), px(99), 5,
         px(110)},
        {"a loop point above the position resets at once", px(500), px(1), px(800), px(600), 1,
         px(800)},
        {"falling below the loop point jumps back", px(603), px(2), px(900), px(600), 2, px(900)},
        {"a fraction keeps falling", px(10), 32768, 0, 0, 4, px(8)},
    };
    for (const Case& c : cases) {
        Back back(0);
        back.mapPosition = c.position;
        back.scrollSpeed = c.speed;
        back.loopBackPoint = c.loopBack;
        back.loopPoint = c.loop;
        for (int i = 0; i < c.frames; ++i) back.update();
        EXPECT_EQ(back.mapPosition, c.expected) << c.name;
    }
}

TEST(BackTest, WithoutALoopThePositionStaysBounded) {
    Back back(0);
    back.scrollSpeed = INT32_MAX;
    back.loopPoint = INT32_MIN;
    for (int i = 0; i < 100; ++i) back.update();
    EXPECT_LT(back.mapPosition, 0);
    EXPECT_GE(back.mapPosition, -(1 << 30));
    back.scrollSpeed = INT32_MIN;
    for (int i = 0; i < 100; ++i) back.update();
    EXPECT_LE(back.mapPosition, 1 << 30);
}

TEST(BackTest, ScenerySitsOnTheMap) {
    System system;
    EXPECT_EQ(mapSpeed(system), 0);
    BackObject* object = system.spawnBack<BackObject>(
        layer::kBackObjectMiddle, px(10), px(380), int16_t{8}, int16_t{8}, int16_t{0}, int16_t{0});
    object->update();
    EXPECT_EQ(object->y, px(380)) << "no Back: the map stands";
    Back* back = system.spawnFront<Back>(layer::kBack, uint8_t{0});
    back->scrollSpeed = px(2);
    EXPECT_EQ(mapSpeed(system), px(2));
    object->update();
    object->update();
    EXPECT_EQ(object->y, px(384));
    EXPECT_TRUE(object->isLive()) << "ends only once below the field";
    object->update();
    EXPECT_FALSE(object->isLive());
    // An ended Back is no Back.
    back->end();
    EXPECT_EQ(mapSpeed(system), 0);
}

TEST(CloudTest, LeavesItsBounds) {
    struct Case {
        bool extended;
        int32_t direction;
        int frames;  // frames to leave at 4 px a frame from (120, 192)
    };
    const Case cases[] = {
        {false, 0, 94},    // x past 492: 120 + 4 * 94 = 496
        {false, 180, 94},  // x below -252
        {false, 90, 99},   // y past 584
        {true, 0, 56},     // x past 340
        {true, 270, 74},   // y below -100
    };
    for (const Case& c : cases) {
        System system;
        Cloud* cloud = c.extended ? system.spawnBack<CloudEx>(layer::kCloud, px(120), px(192),
                                                              px(c.direction), px(4), int16_t{0})
                                  : system.spawnBack<Cloud>(layer::kCloud, px(120), px(192),
                                                            px(c.direction), px(4), int16_t{0});
        int frames = 0;
        while (cloud->isLive() && frames < 1000) {
            cloud->update();
            ++frames;
        }
        EXPECT_EQ(frames, c.frames) << c.extended << " " << c.direction;
    }
}

TEST(CloudTest, KindsChooseTheirPictureAndLook) {
    System system;
    system.fieldScroll = px(12);
    // A flat grey sheet with a black key pixel: a drawn cloud shows as grey.
    DIB& sheet = system.imageSlots[kSlotEnemy];
    ASSERT_TRUE(sheet.create(1024, 1888));
    for (int32_t i = 0; i < 1024 * 1888; ++i) sheet.pixels[i] = 0x808080;
    *sheet.pixelAt(0, 0) = 0;
    auto drawn = [&](int16_t kind) {
        DIB surface;
        EXPECT_TRUE(surface.create(240, 384));
        for (int32_t i = 0; i < 240 * 384; ++i) surface.pixels[i] = 0x404040;
        Cloud cloud(px(120), px(192), 0, 0, kind);
        cloud.owner = &system;
        cloud.draw(surface);
        return *surface.pixelAt(120, 192) & 0xFFFFFF;
    };
    EXPECT_EQ(drawn(0), 0x808080u);
    EXPECT_EQ(drawn(2), 0x808080u);
    // Kinds 3..5: the same pictures at half alpha.
    EXPECT_EQ(drawn(4), 0x606060u);
    // Past the table: nothing.
    EXPECT_EQ(drawn(6), 0x404040u);
    EXPECT_EQ(drawn(-1), 0x404040u);
    EXPECT_EQ(drawn(32767), 0x404040u);
}

class HoleTest : public ::testing::Test {
  protected:
    void SetUp() override { system.fieldScroll = px(12); }  // field x = view x
    PlayerBase* ship(uint8_t index, int32_t x, int32_t y) {
        PlayerBase* player = system.spawnFront<PlayerBase>(layer::kPlayer, index);
        player->x = px(x);
        player->y = px(y);
        player->lifeState = PlayerState::Normal;
        return player;
    }
    Hole* hole(int16_t size) {
        return system.spawnBack<Hole>(layer::kHole, px(100), px(100), 0, size, true);
    }
    System system;
};

TEST_F(HoleTest, FillsOneStepPerShipPerFrameAndPaysTheBonusOnce) {
    PlayerBase* player = ship(0, 110, 90);
    Hole* target = hole(5);
    for (int frame = 1; frame <= 4; ++frame) {
        target->update();
        EXPECT_EQ(target->fillCount, frame);
        EXPECT_EQ(player->score, frame * 1800);
    }
    EXPECT_EQ(player->combo, 0);
    target->update();
    EXPECT_TRUE(target->filled());
    EXPECT_EQ(player->score, 5 * 1800 + 500000);
    EXPECT_EQ(player->combo, 1);
    EXPECT_EQ(player->maxCombo, 1);
    EXPECT_EQ(player->comboTimer, 128);
    for (int frame = 0; frame < 20; ++frame) target->update();
    EXPECT_EQ(target->fillCount, 5);
    EXPECT_EQ(player->score, 5 * 1800 + 500000) << "paid once";
}

TEST_F(HoleTest, TwoShipsFillTwiceAsFastAndNeverPastTheTarget) {
    PlayerBase* one = ship(0, 100, 100);
    PlayerBase* two = ship(1, 95, 105);
    Hole* target = hole(3);
    target->update();
    EXPECT_EQ(target->fillCount, 2);
    EXPECT_EQ(one->score, 1800);
    EXPECT_EQ(two->score, 1800);
    // Player 0 brings it to 3 (the target); player 1 adds nothing more this frame.
    target->update();
    EXPECT_EQ(target->fillCount, 3);
    EXPECT_EQ(one->score, 2 * 1800 + 500000);
    EXPECT_EQ(two->score, 1800 + 500000) << "every present player gets the bonus, once";
}

TEST_F(HoleTest, NothingFillsWithoutAShipOverItOrWhileDying) {
    PlayerBase* far = ship(0, 10, 10);
    PlayerBase* dying = ship(1, 100, 100);
    dying->lifeState = PlayerState::Dying;
    Hole* target = hole(2);
    for (int frame = 0; frame < 100; ++frame) target->update();
    EXPECT_EQ(target->fillCount, 0);
    EXPECT_EQ(far->score + dying->score, 0);
    // The box edge: the ship's +-1 against the hole's +-20, strictly.
    far->y = px(100);
    far->x = px(121);
    target->update();
    EXPECT_EQ(target->fillCount, 0);
    far->x = px(120);
    target->update();
    EXPECT_EQ(target->fillCount, 1);
}

TEST_F(HoleTest, ASizeZeroHoleTurnsBulletsIntoCrystalsEveryFourthFrame) {
    Hole* target = hole(0);
    EXPECT_TRUE(target->filled());
    Bullet* over = fireAngled(system, px(105), px(95), 0, 0, 0, -1);
    fireAngled(system, px(160), px(95), 0, 0, 0, -1);
    ASSERT_NE(over, nullptr);
    std::vector<int> crystals;
    for (int frame = 0; frame < 9; ++frame) {
        target->update();
        crystals.push_back(countInLayer<Crystal>(system, layer::kCrystal));
        if (frame % 4 == 0) {
            EXPECT_EQ(target->absorbed, 1) << frame;
        } else {
            EXPECT_EQ(target->absorbed, 0) << frame;
        }
    }
    EXPECT_EQ(crystals, (std::vector<int>{1, 1, 1, 1, 2, 2, 2, 2, 3}));
    EXPECT_TRUE(over->isLive()) << "the bullet itself is left alone";
    EXPECT_EQ(system.playerRecord[0].score, 0);
}

TEST_F(HoleTest, RidesTheMapOrItsOwnSpeedAndEndsBelowTheField) {
    Back* back = system.spawnFront<Back>(layer::kBack, uint8_t{0});
    back->scrollSpeed = px(3);
    Hole* onMap = hole(4);
    Hole* moving = system.spawnBack<Hole>(layer::kHole, px(50), px(100), px(-1), int16_t{4}, false);
    onMap->update();
    moving->update();
    EXPECT_EQ(onMap->y, px(103));
    EXPECT_EQ(moving->y, px(99));
    onMap->y = px(416);
    onMap->update();
    EXPECT_TRUE(onMap->isLive());
    onMap->update();
    EXPECT_FALSE(onMap->isLive());
}

TEST(OverlayTest, SunsetCapsAndBackOverWraps) {
    System system;
    ScreenEffectStage2 sunset;
    for (int i = 0; i < 20000; ++i) sunset.update();
    EXPECT_EQ(sunset.counter, ScreenEffectStage2::kFullCount);
    BackOver* over = system.spawnFront<BackOver>(layer::kBack);
    Back* back = system.spawnBack<Back>(layer::kBack, uint8_t{1});
    back->scrollSpeed = px(2);
    over->update();
    EXPECT_EQ(over->x, px(312) + 16384 - px(312));
    EXPECT_EQ(over->y, px(399));
    back->scrollSpeed = INT32_MIN;
    for (int i = 0; i < 50; ++i) over->update();
    EXPECT_GE(over->y, 0);
    EXPECT_LE(over->y, px(400));
}

}  // namespace
}  // namespace vg
