// The frames and panels: the status rows and their digits, the second player's join, the fades,
// the boss gauge, the chain and energy gauges and the stage result with its bonus.
#include <vector>

#include "EffectWorld.h"
#include "StillShip.h"
#include "core/PlayField.h"
#include "core/TaskQuery.h"
#include "effects/BlackFrame.h"
#include "effects/BossShieldFrame.h"
#include "input/KeyRecord.h"
#include "panels/ComboFrame.h"
#include "panels/LaserFrame.h"
#include "panels/OutFrame.h"
#include "panels/Result.h"

namespace vg {
namespace {

using testing::StillShip;

class Panels : public testing::EffectWorld {
  protected:
    void SetUp() override {
        EffectWorld::SetUp();
        screen.create(512, 384);
        // Each status digit a colour of its own, so the screen can be read back.
        const atlas::Cell& digits = atlas::frame::kDigits;
        for (int32_t d = 0; d < 10; ++d) {
            fillRect(&system.imageSlots[kSlotFrame], digits.frameX(d), digits.frameY(d), digits.w,
                     digits.h, digitColour(d), 0, 128);
        }
        // A black side panel, so the added digits show as their own colours.
        blank(atlas::frame::kSidePanel);
        system.stageStarted = 1;
    }
    void blank(const atlas::Cell& cell) {
        fillRect(&system.imageSlots[kSlotFrame], cell.x, cell.y, cell.extentW(), cell.extentH(), 0,
                 0, 128);
    }
    static uint32_t digitColour(int32_t d) { return 0x100000u * (d + 1) + 0x20; }

    // The digits shown in a status row, read right to left from the units' column.
    std::vector<int> digitsAt(int32_t right, int32_t y) const {
        std::vector<int> shown;
        for (int32_t x = right; x >= 0; x -= 10) {
            const uint32_t p = *screen.pixelAt(x + 5, y + 5) & 0xFFFFFF;
            int found = -1;
            for (int d = 0; d < 10; ++d) {
                if (p == digitColour(d)) found = d;
            }
            if (found < 0) break;
            shown.insert(shown.begin(), found);
        }
        return shown;
    }

    StillShip* ship(uint8_t index, uint8_t type = 0) {
        return system.spawnFront<StillShip>(layer::kPlayer, index, type);
    }
    OutFrame* frame() { return system.spawnFront<OutFrame>(layer::kOutFrame); }
    void press(int player, uint8_t buttons) { system.keyRecords[player].buttons = buttons; }
    void step(int frames = 1) {
        for (int i = 0; i < frames; ++i) system.updatePass();
    }

    DIB screen;
};

TEST_F(Panels, StatusRowsShowEveryDigitAndASingleZero) {
    auto* out = frame();
    out->frame = OutFrame::kFadeInFrames;  // past the fade-in
    auto* first = ship(0, 1);
    first->score = 1234567890;
    first->crystals = 600;
    first->maxCombo = 35;
    auto* second = ship(1, 2);
    second->score = 0;
    second->crystals = 99999999;
    second->maxCombo = 32767;
    system.difficulty = 1;
    system.scoreTable.at(1, 1, 0).score = 2000000000;
    system.scoreTable.at(1, 2, 0).score = 50;
    out->draw(screen);

    EXPECT_EQ(digitsAt(116, 42), (std::vector<int>{2, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(digitsAt(116, 72), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 0}));
    EXPECT_EQ(digitsAt(116, 102), (std::vector<int>{6, 0, 0}));
    EXPECT_EQ(digitsAt(116, 132), (std::vector<int>{3, 5}));
    // Player 1: the high score is its own 50 from the table; its score a single 0.
    EXPECT_EQ(digitsAt(376 + 116, 42), (std::vector<int>{5, 0}));
    EXPECT_EQ(digitsAt(376 + 116, 72), (std::vector<int>{0}));
    EXPECT_EQ(digitsAt(376 + 116, 102), (std::vector<int>(8, 9)));
    EXPECT_EQ(digitsAt(376 + 116, 132), (std::vector<int>{3, 2, 7, 6, 7}));
}

TEST_F(Panels, HighScoreIsTheBetterOfTableAndScoreAndIgnoresBadIndices) {
    auto* player = ship(0, 3);
    player->score = 700;
    system.difficulty = 4;
    system.scoreTable.at(4, 3, 0).score = 900;
    EXPECT_EQ(OutFrame::highScoreFor(system, *player), 900);
    player->score = 901;
    EXPECT_EQ(OutFrame::highScoreFor(system, *player), 901);
    system.difficulty = 200;  // a damaged replay
    EXPECT_EQ(OutFrame::highScoreFor(system, *player), 901);
    auto* bare = system.spawnFront<PlayerBase>(layer::kPlayer, uint8_t{1});
    bare->score = 5;
    system.difficulty = 0;
    EXPECT_EQ(OutFrame::highScoreFor(system, *bare), 5);  // no ship type: no table
}

TEST_F(Panels, IconsStopAtThePanelEdgeAndNoPlayerMeansNoStatus) {
    auto* out = frame();
    out->frame = OutFrame::kFadeInFrames;
    out->draw(screen);
    DIB empty;
    empty.create(512, 384);
    out->draw(empty);
    // Neither ship present: both panels bare, nothing else.
    EXPECT_EQ(digitsAt(116, 72), std::vector<int>{});
    EXPECT_EQ(digitsAt(376 + 116, 72), std::vector<int>{});

    auto* second = ship(1);
    second->lives = 100;
    second->bombs = -3;
    out->draw(screen);
    // Five icons fit (x 487 down to 383); none spills into the field left of 376.
    for (int32_t y = 290; y < 290 + 24; ++y) {
        for (int32_t x = 300; x < 376; ++x) {
            ASSERT_EQ(*screen.pixelAt(x, y), *empty.pixelAt(x, y)) << x << ", " << y;
        }
    }
    EXPECT_EQ(*screen.pixelAt(383 + 12, 290 + 12) & 0xFFFFFF, testing::kInk);
    EXPECT_EQ(*screen.pixelAt(376 + 111 + 12, 320 + 12), *empty.pixelAt(376 + 111 + 12, 320 + 12));
}

TEST_F(Panels, ASecondPlayerJoinsWithTheStickAndShot) {
    auto* out = frame();
    ship(0);
    // Shot starts the join for the absent player.
    press(1, kButtonShot);
    step();
    EXPECT_EQ(out->joiningPlayer, 1);
    EXPECT_EQ(out->joinChoice, 0);
    // Right held: toggles on its first frame, then every second frame after 32.
    press(1, kButtonRight);
    std::vector<int> toggledAt;
    uint8_t before = out->joinChoice;
    for (int held = 1; held <= 40; ++held) {
        step();
        if (out->joinChoice != before) toggledAt.push_back(held);
        before = out->joinChoice;
    }
    EXPECT_EQ(toggledAt, (std::vector<int>{1, 34, 36, 38, 40}));
    EXPECT_EQ(out->joinChoice, 1);
    // Up: no variant until TYPE-B2 is unlocked.
    press(1, 0);
    step();
    press(1, kButtonUp);
    step();
    EXPECT_EQ(out->joinChoice, 1);
    system.config.clearMarks[3] = 0x02;
    press(1, 0);
    step();
    press(1, kButtonDown);
    step();
    EXPECT_EQ(out->joinChoice, 3);
    // Left from a variant goes to the other family's base ship.
    press(1, kButtonLeft);
    step();
    EXPECT_EQ(out->joinChoice, 0);
    // Shot creates the ship; the join ends.
    press(1, kButtonShot);
    step();
    PlayerBase* joined = PlayerBase::find(system, 1);
    ASSERT_NE(joined, nullptr);
    EXPECT_EQ(joined->score, 0);  // never played this game
    EXPECT_EQ(out->joiningPlayer, OutFrame::kNoJoin);
    // With both ships present nothing more happens.
    press(1, 0);
    step();
    press(1, kButtonShot);
    step();
    EXPECT_EQ(out->joiningPlayer, OutFrame::kNoJoin);
}

TEST_F(Panels, AJoinerWhoPlayedBeforeStartsWithTheContinueCount) {
    struct Case {
        int32_t recorded;
        int32_t score;
    };
    for (const Case c : {Case{0, 0}, Case{1203, 4}, Case{99, 9}, Case{10, 1}, Case{-7, 8}}) {
        SCOPED_TRACE(c.recorded);
        auto* out = frame();
        auto* first = ship(0);
        // The score the player's last ship ended with counts, not the stage start's.
        system.playerRecord[1].score = 5;
        system.playerRecord[1].finalScore = c.recorded;
        press(1, kButtonShot);
        step();
        press(1, 0);
        step();
        press(1, kButtonShot);
        step();
        PlayerBase* joined = PlayerBase::find(system, 1);
        ASSERT_NE(joined, nullptr);
        EXPECT_EQ(joined->score, c.score);
        joined->end();
        first->end();
        out->end();
        step();
    }
}

TEST_F(Panels, BombCancelsAJoinAndNoJoinWithoutAStartedStage) {
    auto* out = frame();
    ship(1);
    press(0, kButtonShot);
    step();
    EXPECT_EQ(out->joiningPlayer, 0);
    press(0, kButtonBomb);
    step();
    EXPECT_EQ(out->joiningPlayer, OutFrame::kNoJoin);
    EXPECT_EQ(PlayerBase::find(system, 0), nullptr);

    system.stageStarted = 0;
    press(0, 0);
    step();
    press(0, kButtonShot);
    step();
    EXPECT_EQ(out->joiningPlayer, OutFrame::kNoJoin);
}

TEST_F(Panels, TheStageFadesInAndTheClosingFadeEndsBlack) {
    auto* out = frame();
    auto shade = [&] {
        fillRect(&screen, 0, 0, 512, 384, 0xFFFFFF, 0, 128);
        out->draw(screen);
        return *screen.pixelAt(250, 200) & 0xFF;
    };
    std::vector<uint32_t> fadeIn;
    for (int i = 0; i < 70; ++i) {
        step();
        fadeIn.push_back(shade());
    }
    // Frame f shows black at 255 - 255 f / 64, so white shows through as about 255 f / 64.
    EXPECT_EQ(fadeIn[0], mixPixel(0xFFFFFF, 0, 255 - 255 / 64) & 0xFF);
    EXPECT_EQ(fadeIn[31], 0x7Fu);  // frame 32: half
    EXPECT_EQ(fadeIn[62], mixPixel(0xFFFFFF, 0, 255 - 63 * 255 / 64) & 0xFF);
    EXPECT_EQ(fadeIn[63], 0xFFu);  // frame 64: done
    out->startClosing();
    std::vector<uint32_t> closing;
    for (int i = 0; i < 40; ++i) closing.push_back(shade());
    EXPECT_EQ(closing[0], mixPixel(0xFFFFFF, 0, 255 / 32) & 0xFF);
    EXPECT_EQ(closing[15], 0x80u);  // 16 * 255 / 32 = 127
    for (int i = 31; i < 40; ++i) EXPECT_EQ(closing[i], 0u);
    // A frozen game does not move the fade on.
    auto* fresh = frame();
    fresh->frame = 100;
    fresh->startClosing();
    fresh->state = kTaskFrozen;
    for (int i = 0; i < 5; ++i) fresh->draw(screen);
    EXPECT_EQ(fresh->closing, 1);
}

TEST_F(Panels, BlackFrameDarkensTheTopAndBottomStrips) {
    auto* black = system.spawnFront<BlackFrame>(layer::kFrame);
    drawAlone(*black, 0x808080);
    EXPECT_EQ(fieldPixel(10, 0), 0x404040u);
    EXPECT_EQ(fieldPixel(230, 31), 0x404040u);
    EXPECT_EQ(fieldPixel(100, 32), 0x808080u);
    EXPECT_EQ(fieldPixel(100, 351), 0x808080u);
    EXPECT_EQ(fieldPixel(239, 383), 0x404040u);
}

TEST_F(Panels, BossGaugeOpensFillsShowsAndCloses) {
    auto* gauge = system.spawnFront<BossShieldFrame>(layer::kFrame, 3000);
    EXPECT_EQ(BossShieldFrame::find(system), gauge);
    auto draw = [&](int n) {
        for (int i = 0; i < n; ++i) gauge->draw(system.playField);
    };
    draw(23);
    EXPECT_EQ(gauge->phase, BossShieldFrame::kOpening);
    draw(1);
    EXPECT_EQ(gauge->phase, BossShieldFrame::kFilling);
    EXPECT_EQ(fixedToInt(gauge->y), 35);  // an eighth of the way each frame
    draw(32);
    EXPECT_EQ(gauge->phase, BossShieldFrame::kShowing);
    gauge->setValue(1500);
    EXPECT_EQ(gauge->barWidth(), 118);
    gauge->setValue(4000);
    EXPECT_EQ(gauge->barWidth(), 237);
    gauge->setValue(-5);
    EXPECT_EQ(gauge->barWidth(), 0);
    // A frozen game: drawn, nothing moves on.
    gauge->state = kTaskFrozen;
    const int32_t texture = gauge->textureOffset;
    draw(10);
    EXPECT_EQ(gauge->textureOffset, texture);
    gauge->state = kTaskActive;
    draw(117);
    EXPECT_EQ(gauge->textureOffset, texture);  // wrapped
    gauge->close();
    draw(63);
    EXPECT_EQ(gauge->state, kTaskActive);
    draw(1);
    EXPECT_EQ(gauge->state, kTaskEnded);
    EXPECT_LT(fixedToInt(gauge->y), -10);

    BossShieldFrame empty(0);
    empty.setValue(100);
    EXPECT_EQ(empty.barWidth(), 0);
}

TEST_F(Panels, BossGaugeBarShowsTheValueMirrored) {
    blank(atlas::frame::kBossGaugeFrame);  // so that the bar shows through the frame
    auto* gauge = system.spawnFront<BossShieldFrame>(layer::kFrame, 1000);
    for (int i = 0; i < 56; ++i) gauge->draw(system.playField);
    gauge->setValue(500);
    clearField(0);
    gauge->draw(system.playField);
    // The bar from x 2, 118 pixels wide, under the frame at y 37.
    EXPECT_EQ(fieldPixel(2, 39 + 4), testing::kInk);
    EXPECT_EQ(fieldPixel(119, 39 + 4), testing::kInk);
    EXPECT_NE(fieldPixel(121, 39 + 4), testing::kInk);
}

TEST_F(Panels, ChainDisplayMovesUnderTheBossGaugeAndFadesUnderShips) {
    auto* combo = system.spawnFront<ComboFrame>(layer::kFrame);
    auto* player = ship(0);
    player->x = 200 << 16;
    player->y = 300 << 16;
    step(60);
    EXPECT_EQ(fixedToInt(combo->panelY[0]), 37);
    EXPECT_EQ(combo->opacity[0], 255);
    system.spawnBack<BossShieldFrame>(layer::kFrame, 100);
    step(100);
    EXPECT_EQ(fixedToInt(combo->panelY[0]), 52);  // an eighth a frame: just short of 53
    // A ship over the left panel fades it to 64; the right one (x 90..270) too.
    player->x = 120 << 16;
    player->y = 80 << 16;
    step(1);
    EXPECT_EQ(combo->opacity[0], 240);
    EXPECT_EQ(combo->opacity[1], 240);
    step(20);
    EXPECT_EQ(combo->opacity[0], 64);
    player->y = 200 << 16;  // below the panels
    step(20);
    EXPECT_EQ(combo->opacity[0], 255);
}

TEST_F(Panels, EnergyGaugeTrailsLossAndFollowsGainAtOnce) {
    EXPECT_EQ(LaserFrame::fillWidth(64), 115);
    EXPECT_EQ(LaserFrame::fillWidth(32), 57);
    EXPECT_EQ(LaserFrame::fillWidth(-5), 0);
    EXPECT_EQ(LaserFrame::fillWidth(5000), 115);
    auto* gauge = system.spawnFront<LaserFrame>(layer::kFrame);
    auto* player = ship(0);
    player->x = 200 << 16;  // away from the gauge, which stays opaque
    player->energy = 64;
    step(1);
    EXPECT_EQ(gauge->trailWidth[0], 115);
    player->energy = 32;
    step(8);
    EXPECT_EQ(gauge->trailWidth[0], 113);  // a pixel every 4 frames
    step(4 * 56);
    EXPECT_EQ(gauge->trailWidth[0], 57);
    player->energy = 48;
    step(1);
    EXPECT_EQ(gauge->trailWidth[0], 86);
    // The red part is drawn between the fill and the trail.
    player->energy = 40;
    step(1);
    clearField(0);
    gauge->draw(system.playField);
    // Fill 71 pixels (energy 40), trail to 85: red added over the gauge's background there.
    const uint32_t background = fieldPixel(5 + 90, 345);
    EXPECT_EQ(fieldPixel(5 + 80, 345), addPixel(background, testing::kInk & 0xFF0000) & 0xFFFFFF);
    // The fill at 40 energy flashes cyan every other frame.
    for (int i = 0; i < 2; ++i) {
        const uint32_t mask = (gauge->frame & 1) ? LaserFrame::kWarmTint : 0xFFFFFF;
        clearField(0);
        gauge->draw(system.playField);
        EXPECT_EQ(fieldPixel(5 + 60, 345), addPixel(background, testing::kInk & mask) & 0xFFFFFF);
        step(1);
    }
}

TEST_F(Panels, StageResultAddsTheBonusAtFrameHundredAndEndsAfterThreeHundred) {
    auto* result = system.spawnFront<Result>(layer::kFrame);
    auto* first = ship(0);
    first->lives = 2;
    first->crystals = 600;
    first->maxCombo = 35;
    first->score = 1000;
    auto* second = ship(1);
    second->lives = -1;  // not a real count: counts as none
    second->crystals = 0;
    second->maxCombo = 0;
    step(100);
    EXPECT_EQ(result->frame, 99);
    EXPECT_EQ(first->score, 1000);
    step(1);
    EXPECT_EQ(first->score, 1000 + 535000);
    EXPECT_EQ(result->bonus[0], 535000);
    EXPECT_EQ(second->score, 0);
    EXPECT_TRUE(result->present[0] && result->present[1]);
    EXPECT_EQ(passesUntilEnded(result), 200);
    EXPECT_EQ(result->width, 240);
    EXPECT_EQ(result->height, 240);
    EXPECT_EQ(first->score, 536000);  // once only
}

}  // namespace
}  // namespace vg
