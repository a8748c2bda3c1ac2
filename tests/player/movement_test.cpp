// Steering: speeds straight and diagonal, opposite buttons, the edges of the view, the field
// scroll and the other ship's place in the field, and the bank and roll animation.
#include <gtest/gtest.h>

#include "PlayFixture.h"

namespace vg {
namespace {

using namespace testing;

class MovementTest : public PlayTest {};

constexpr int32_t kNormalSpeed[4] = {209715, 170393, 183500, 170393};

TEST_F(MovementTest, StraightAndDiagonalSpeedsOfEveryShip) {
    for (int type = 0; type < 4; ++type) {
        SCOPED_TRACE(::testing::Message() << "ship " << type);
        startScene(type);
        PlayerBase* s = ship();
        const int32_t speed = kNormalSpeed[type];
        ASSERT_EQ(s->speed, speed);
        const int32_t diagonal = static_cast<int32_t>(int64_t{speed} * 65536 / 92681);
        struct Case {
            uint8_t buttons;
            int32_t dx;
            int32_t dy;
        };
        const Case cases[] = {
            {kUp, 0, -speed},
            {kDown, 0, speed},
            {kLeft, -speed, 0},
            {kRight, speed, 0},
            {kUp | kRight, diagonal, -diagonal},
            {kDown | kLeft, -diagonal, diagonal},
            {kLeft | kRight, 0, 0},
            {kUp | kDown, 0, 0},
            {kUp | kDown | kLeft | kRight, 0, 0},
            {kUp | kDown | kLeft, -speed, 0},
        };
        for (const Case& c : cases) {
            const int32_t x = s->x;
            const int32_t y = s->y;
            const int32_t scroll = system->fieldScroll;
            frame(c.buttons);
            EXPECT_EQ(s->x - x, c.dx) << int(c.buttons);
            EXPECT_EQ(s->y - y, c.dy) << int(c.buttons);
            // Only sideways movement scrolls, by v * 32 / 240 truncated toward zero.
            EXPECT_EQ(system->fieldScroll - scroll, c.dx * 32 / 240) << int(c.buttons);
        }
    }
}

TEST_F(MovementTest, HeldAgainstEachEdgeTheShipStaysInsideAndTheScrollStopsAt0And32) {
    struct Edge {
        uint8_t buttons;
        int32_t x;  // expected at the end, -1 for any
        int32_t y;
        int32_t scroll;
    };
    const Edge edges[] = {
        {kLeft, px(4), -1, 0},           {kRight, px(236), -1, px(32)},
        {kUp, -1, px(36), px(16)},       {kDown, -1, px(348), px(16)},
        {kUp | kLeft, px(4), px(36), 0}, {kDown | kRight, px(236), px(348), px(32)},
    };
    for (const Edge& edge : edges) {
        SCOPED_TRACE(::testing::Message() << "buttons " << int(edge.buttons));
        startScene(0);
        PlayerBase* s = ship();
        for (int i = 0; i < 300; ++i) {
            frame(edge.buttons);
            ASSERT_GE(s->x, px(4));
            ASSERT_LE(s->x, px(236));
            ASSERT_GE(s->y, px(36));
            ASSERT_LE(s->y, px(348));
            ASSERT_GE(system->fieldScroll, 0);
            ASSERT_LE(system->fieldScroll, px(32));
        }
        if (edge.x >= 0) {
            EXPECT_EQ(s->x, edge.x);
        }
        if (edge.y >= 0) {
            EXPECT_EQ(s->y, edge.y);
        }
        EXPECT_EQ(system->fieldScroll, edge.scroll);
    }
}

TEST_F(MovementTest, TheOtherShipKeepsItsPlaceInTheField) {
    startScene(0, 1);
    PlayerBase* mover = ship(0);
    PlayerBase* other = ship(1);
    const int32_t change = kNormalSpeed[0] * 32 / 240;
    const int32_t x = other->x;
    frame(kRight);
    EXPECT_EQ(system->fieldScroll, px(16) + change);
    EXPECT_EQ(other->x, x - change);

    // Pushing on once the scroll stands at its end moves nothing but the pusher.
    run(200, kRight);
    ASSERT_EQ(system->fieldScroll, px(32));
    const int32_t otherX = other->x;
    const int32_t otherFieldX = other->fieldX(*system);
    mover->x = px(100);
    run(20, kRight);
    EXPECT_EQ(other->x, otherX);
    EXPECT_EQ(other->fieldX(*system), otherFieldX);

    // While the scroll's whole part is 12 the other ship is not moved along.
    system->fieldScroll = px(13) + px(1) / 4;
    const int32_t before = other->x;
    frame(kLeft);
    ASSERT_EQ(fixedToInt(system->fieldScroll), 12);
    EXPECT_EQ(other->x, before);
    frame(kLeft);
    EXPECT_EQ(other->x, before);
    system->fieldScroll = px(12);
    frame(kLeft);
    ASSERT_EQ(fixedToInt(system->fieldScroll), 11);
    EXPECT_EQ(other->x, before + change);
}

TEST_F(MovementTest, BankFollowsTheStickAndAFlickRollsTheShip) {
    startScene(0);
    ShipBase* s = shipBase();
    for (int i = 1; i <= 12; ++i) {
        frame(kRight);
        EXPECT_EQ(s->bank, std::min(i, 9));
    }
    EXPECT_EQ(s->bankHold, 12);
    run(12);
    EXPECT_EQ(s->bank, 0);
    EXPECT_EQ(s->bankHold, 0);

    // A short left, then right: the ship rolls over once, through 17 and -17, and comes out
    // banking right.
    run(3, kLeft);
    EXPECT_EQ(s->bank, -3);
    EXPECT_EQ(s->bankHold, -3);
    frame(kRight);
    EXPECT_EQ(s->rollState, 1);
    EXPECT_EQ(s->bank, -2);
    int highest = s->bank;
    bool flipped = false;
    int frames = 1;
    while (s->rollState != 0 && frames < 100) {
        frame(kRight);
        ++frames;
        highest = std::max<int>(highest, s->bank);
        if (s->rollState == 2 && s->bank == -17) flipped = true;
        ASSERT_LE(std::abs(s->bank), 17);
    }
    EXPECT_EQ(highest, 17);
    EXPECT_TRUE(flipped);
    EXPECT_EQ(s->bank, 9);
    EXPECT_EQ(frames, 47);
    // The mirror: a short right, then left.
    run(20);
    run(2, kRight);
    frame(kLeft);
    EXPECT_EQ(s->rollState, -1);
}

}  // namespace
}  // namespace vg
