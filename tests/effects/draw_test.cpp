// Where and how each effect draws, on stand-in sheets whose every pixel is ink: a drawn cell
// shows as a solid rectangle, so its box is the blit's box.
#include <string>
#include <vector>

#include "EffectWorld.h"
#include "core/PlayField.h"
#include "core/TaskQuery.h"
#include "effects/Explosions.h"
#include "effects/FloatingText.h"
#include "effects/Particles.h"
#include "effects/Rings.h"
#include "effects/ScreenEffects.h"
#include "render/Blend.h"
#include "stage/Back.h"

namespace vg {
namespace {

using testing::Box;
using testing::kInk;
using EffectDraw = testing::EffectWorld;

// Screen (100, 200): the field does not scroll in these tests.
constexpr int32_t kX = 100 << 16, kY = 200 << 16;

template <class T, class... Args>
T* at(System& system, int32_t age, Args... args) {
    T* effect = system.spawnFront<T>(layer::kEffect, args...);
    if (effect) effect->age = age;
    return effect;
}

TEST_F(EffectDraw, EachEffectDrawsItsPictureWhereItsRulesPutIt) {
    struct Case {
        std::string name;
        Effect* effect;
        Box box;
    };
    auto* large = at<BrokenPiece>(system, 0, kX, kY);
    large->large = 1;
    auto* small = at<BrokenPiece>(system, 0, kX, kY);
    small->large = 0;
    auto* wait = at<ChangeBulletEffect>(system, 16, 0, kX, kY, 0, 0);
    const std::vector<Case> cases = {
        {"fire puff", at<Explosion>(system, 0, kX, kY, 0, 0, 1), {68, 168, 64, 64}},
        {"large puff", at<Explosion>(system, 10, kX, kY, 0, 0, 8), {68, 168, 64, 64}},
        {"ship explosion at 128", at<ShipExplosion>(system, 9, kX, kY), {36, 136, 128, 128}},
        {"ship light at 384, cut by the field",
         at<ShipExplosionLight>(system, 0, kX, kY, 0),
         {0, 8, 240, 376}},
        {"burning wreck", at<Burn>(system, 0, kX, kY), {84, 185, 32, 31}},
        {"large debris", large, {92, 192, 16, 16}},
        {"small debris", small, {96, 196, 8, 8}},
        {"ring half grown", at<RingEffect>(system, 8, kX, kY, 16, 192, 0), {52, 152, 96, 96}},
        {"mirrored ring", at<RingEffect>(system, 8, kX, kY, 16, 192, 2), {52, 152, 96, 96}},
        {"ripple above its point", at<RippleEffect>(system, 32, kX, kY, 128), {68, 168, 64, 21}},
        {"booster", at<BoosterEffect>(system, 0, kX, kY, 0, 0), {84, 184, 32, 32}},
        {"near-kill label", at<NearKillFont>(system, 0, kX, kY, 0, 0, 1), {76, 190, 48, 20}},
        {"bullet change at 64",
         at<ChangeBulletEffect>(system, 0, 0, kX, kY, 0, 0),
         {68, 168, 64, 64}},
        {"bullet change shrunk", wait, {84, 184, 32, 32}},
        {"energy spark", at<GetEnergyEffect>(system, 0, kX, kY), {96, 196, 8, 8}},
        {"energy spark nearly gone", at<GetEnergyEffect>(system, 28, kX, kY), {100, 200, 1, 1}},
        {"crystal particle", at<GetCrystalParticle>(system, 0, kX, kY, 1), {96, 196, 8, 8}},
        // Three 14-pixel digits: the units' left edge at x - 21 + 42.
        {"crystal count, small", at<GetCrystalFont>(system, 0, kX, kY, 123, 1), {93, 193, 42, 14}},
        {"crystal count, large", at<GetCrystalFont>(system, 0, kX, kY, 123, 3), {90, 190, 60, 20}},
        {"item burst", at<ItemEffect>(system, 0, kX, kY), {48, 148, 104, 104}},
        {"item label", at<ItemFont>(system, 0, kX, kY, 0, 0, 1), {60, 194, 80, 12}},
        {"item label stretching", at<ItemFont>(system, 40, kX, kY, 0, 0, 1), {20, 196, 160, 8}},
        // "x12" at 12 x 12 with an advance of 9: 30 wide, centred.
        {"changed count", at<ChangeBulletNumFont>(system, 50, kX, kY, 12), {85, 194, 30, 12}},
        {"flash", at<Flash>(system, 0, 92), {0, 0, 240, 384}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(c.effect, nullptr);
        drawAlone(*c.effect);
        EXPECT_EQ(changedBox(), c.box);
    }
}

TEST_F(EffectDraw, ScrollAndShakeMoveTheEffectsWithTheField) {
    system.fieldScroll = 30 << 16;
    system.shakeOffsetX = 3 << 16;
    system.shakeOffsetY = -5 << 16;
    auto* puff = at<Explosion>(system, 0, kX, kY, 0, 0, 1);
    drawAlone(*puff);
    // x - scroll + 12 + shake, y + shake.
    EXPECT_EQ(changedBox(), (Box{100 - 30 + 12 + 3 - 32, 200 - 5 - 32, 64, 64}));
}

TEST_F(EffectDraw, SmokeStartsInvisibleAndIsHalfThroughAtAgeThirty) {
    auto* smoke = at<Explosion>(system, 0, kX, kY, 0, 0, Explosion::kSmoke);
    drawAlone(*smoke, 0x808080);
    EXPECT_EQ(changedBox(0x808080), Box{});
    smoke->age = 30;
    EXPECT_EQ(Explosion::smokeAlpha(30), 128u);
    drawAlone(*smoke, 0x808080);
    // Subtracted ink (0x40, 0x20, 0x00 left) mixed half with the grey.
    EXPECT_EQ(fieldPixel(100, 200), 0x605040u);
    EXPECT_EQ(Explosion::smokeAlpha(60), 0u);
}

TEST_F(EffectDraw, AlphasStayInsideTheByteOnTheFirstAndLastFrames) {
    // The light's last frame would be 255 - 7 * 255 / 6 = -42, a nearly opaque byte.
    auto* light = at<ShipExplosionLight>(system, 7, kX, kY, 1);
    drawAlone(*light);
    EXPECT_EQ(changedBox(), Box{});
    light->age = 3;
    drawAlone(*light);
    EXPECT_EQ(fieldPixel(100, 200), addPixel(0, mixPixel(0, kInk, 128)));

    // The near-kill label is opaque (256) at 32 and gone at 48.
    EXPECT_EQ(NearKillFont::alphaAt(31), 255u);
    EXPECT_EQ(NearKillFont::alphaAt(32), 255u);
    EXPECT_EQ(NearKillFont::alphaAt(40), 128u);
    EXPECT_EQ(NearKillFont::alphaAt(48), 0u);
    EXPECT_EQ(NearKillFont::alphaAt(49), 0u);
    auto* label = at<NearKillFont>(system, 32, kX, kY, 0, 0, 4);
    drawAlone(*label);
    EXPECT_EQ(fieldPixel(100, 200), kInk);

    // The changed count fades from 148 to 180 and never wraps after.
    EXPECT_EQ(ChangeBulletNumFont::alphaAt(147), 255u);
    EXPECT_EQ(ChangeBulletNumFont::alphaAt(148), 255u);
    EXPECT_EQ(ChangeBulletNumFont::alphaAt(164), 128u);
    EXPECT_EQ(ChangeBulletNumFont::alphaAt(180), 0u);
    EXPECT_EQ(ChangeBulletNumFont::alphaAt(181), 0u);

    // Sparks and bursts begin at 256, which is opaque, not a byte of 0.
    auto* burst = at<ItemEffect>(system, 0, kX, kY);
    drawAlone(*burst);
    EXPECT_EQ(fieldPixel(100, 200), kInk);
    auto* spark = at<FireSpark>(system, 0, kX, kY);
    spark->trailSize[0] = 8;
    drawAlone(*spark);
    EXPECT_EQ(fieldPixel(100, 200), kInk);

    EXPECT_EQ(RingEffect::fadeAlpha(0, 16), 255u);
    EXPECT_EQ(RingEffect::fadeAlpha(16, 16), 0u);
    EXPECT_EQ(RingEffect::fadeAlpha(5, 0), 0u);
}

TEST_F(EffectDraw, ArgumentsPastTheTablesDrawNothingAtAnyAge) {
    std::vector<Effect*> effects;
    for (int32_t kind : {-1, 4, 5, 7, 9, 64, 1000}) {
        effects.push_back(at<Explosion>(system, 0, kX, kY, 0, 0, kind));
    }
    for (int32_t level : {-3, 0, 5, 300}) {
        effects.push_back(at<NearKillFont>(system, 0, kX, kY, 0, 0, level));
    }
    for (int32_t label : {-1, 4, 99})
        effects.push_back(at<ItemFont>(system, 0, kX, kY, 0, 0, label));
    for (int32_t variant : {-1, 4}) {
        effects.push_back(at<ShipExplosionLight>(system, 0, kX, kY, variant));
    }
    for (int32_t variant : {-1, 3, 100}) {
        effects.push_back(at<RingEffect>(system, 0, kX, kY, 16, 192, variant));
    }
    effects.push_back(at<RingEffect>(system, 0, kX, kY, -16, 192, 0));
    effects.push_back(at<RingEffect>(system, 0, kX, kY, 0, 192, 0));
    for (int32_t value : {0, -5, INT32_MIN}) {
        effects.push_back(at<GetCrystalFont>(system, 0, kX, kY, value, 1));
    }
    for (int32_t size : {0, -10, INT32_MIN}) {
        effects.push_back(at<RippleEffect>(system, 0, kX, kY, size));
    }
    for (int32_t count : {0, -2})
        effects.push_back(at<ChangeBulletNumFont>(system, 0, kX, kY, count));
    effects.push_back(at<Flash>(system, 0, 0));
    effects.push_back(at<Flash>(system, 0, -30));
    for (int32_t age : {0, 1, 8, 16, 31, 32, 47, 48, 59, 60, 61, 200}) {
        for (size_t i = 0; i < effects.size(); ++i) {
            SCOPED_TRACE(::testing::Message() << "effect " << i << " at age " << age);
            ASSERT_NE(effects[i], nullptr);
            effects[i]->age = age;
            drawAlone(*effects[i]);
            EXPECT_EQ(changedBox(), Box{});
        }
    }
}

TEST_F(EffectDraw, AFrozenGameIsDrawnWithoutMovingOn) {
    auto* piece = at<BrokenPiece>(system, 0, kX, kY);
    auto* burn = at<Burn>(system, 0, kX, kY);
    const uint8_t pieceFrame = piece->frame;
    piece->state = kTaskFrozen;
    burn->state = kTaskFrozen;
    for (int i = 0; i < 5; ++i) system.drawAll(system.playField);
    EXPECT_EQ(piece->frame, pieceFrame);
    EXPECT_EQ(burn->frame, 0);
    system.resumeAll();
    system.drawAll(system.playField);
    EXPECT_EQ(piece->frame, (pieceFrame + 1) % BrokenPiece::kFrames);
    EXPECT_EQ(burn->frame, 1);
}

TEST_F(EffectDraw, WithoutSystemTheNamedEffectsEndOnDrawAndTheOthersSkip) {
    // Created but never inserted: no owner, so no System.
    auto check = [&](Task* task, bool ends) {
        ASSERT_NE(task, nullptr);
        task->draw(system.playField);
        EXPECT_EQ(task->state == kTaskEnded, ends);
        task->destroySelf();
    };
    check(new (std::nothrow) Explosion(kX, kY, 0, 0, 1), true);
    check(new (std::nothrow) BrokenPiece(kX, kY), true);
    check(new (std::nothrow) FireSpark(kX, kY), true);
    check(new (std::nothrow) Burn(kX, kY), true);
    check(new (std::nothrow) RingEffect(kX, kY, 16, 100, 0), false);
    check(new (std::nothrow) ItemFont(kX, kY, 0, 0, 0), false);
    check(new (std::nothrow) OpticalEffect(kX, kY), false);
}

TEST_F(EffectDraw, GroundEffectsRideTheBackgroundScroll) {
    auto* burn = system.spawnFront<Burn>(layer::kGroundWreck, kX, 400 << 16);
    auto* ripple = system.spawnFront<RippleEffect>(layer::kRipple, kX, kY, 256);
    auto* puff = system.spawnFront<Explosion>(layer::kEffect, kX, kY, 0, 0, 1);
    system.updatePass();
    EXPECT_EQ(burn->y, 400 << 16);  // no Back: nothing to follow
    EXPECT_EQ(ripple->y, kY);

    auto* back = system.spawnFront<Back>(layer::kBack, uint8_t{0});
    ASSERT_NE(back, nullptr);
    back->scrollSpeed = 2 << 16;
    for (int i = 0; i < 8; ++i) system.updatePass();
    EXPECT_EQ(burn->y, 416 << 16);
    EXPECT_EQ(burn->state, kTaskActive);
    EXPECT_EQ(ripple->y, kY + (16 << 16));
    EXPECT_EQ(puff->y, kY);  // air effects do not follow the ground
    system.updatePass();
    EXPECT_EQ(burn->state, kTaskEnded);  // below the field
}

TEST_F(EffectDraw, BlurFadesTheBackgroundBackToOpaque) {
    auto* back = system.spawnFront<Back>(layer::kBack, uint8_t{0});
    auto* blur = system.spawnFront<Blur>(layer::kEffect, 100);
    system.updatePass();
    EXPECT_EQ(back->alpha, 8);
    for (int i = 0; i < 50; ++i) system.updatePass();
    EXPECT_EQ(back->alpha, 50 * 247 / 100 + 8);
    EXPECT_EQ(passesUntilEnded(blur), 50);
    EXPECT_EQ(back->alpha, 255);
    // Without a Back it runs out quietly.
    auto* lone = system.spawnFront<Blur>(layer::kEffect, 3);
    back->end();
    EXPECT_EQ(passesUntilEnded(lone), 4);
}

TEST_F(EffectDraw, VibrationDiesDownAndLeavesTheShakeAtExactlyZero) {
    for (int32_t amplitude : {160, 7, 1, 0, -40}) {
        SCOPED_TRACE(amplitude);
        auto* shake = system.spawnFront<Vibration>(layer::kEffect, amplitude, 64);
        bool moved = false;
        int32_t largest = 0;
        for (int frame = 0; frame < 64; ++frame) {
            system.updatePass();
            ASSERT_EQ(shake->state, kTaskActive);
            moved = moved || system.shakeOffsetX != 0 || system.shakeOffsetY != 0;
            EXPECT_EQ(system.shakeOffsetX & 0xFFFF, 0);  // whole pixels
            const int32_t limit = (std::max(amplitude, 0) + 1) / (frame / 3 + 1);
            EXPECT_LE(std::abs(fixedToInt(system.shakeOffsetX)), limit);
            EXPECT_LE(std::abs(fixedToInt(system.shakeOffsetY)), limit);
            if (frame >= 60) largest = std::max(largest, std::abs(system.shakeOffsetX));
        }
        EXPECT_EQ(moved, amplitude > 0);
        system.updatePass();
        EXPECT_EQ(shake->state, kTaskEnded);
        EXPECT_EQ(system.shakeOffsetX, 0);
        EXPECT_EQ(system.shakeOffsetY, 0);
        // Died down: at most 80 / 21 pixels in the last frames.
        EXPECT_LE(largest, 4 << 16);
    }
}

TEST_F(EffectDraw, FlashFadesFromHalfWhiteToNothing) {
    auto* flash = system.spawnFront<Flash>(layer::kEffect, 4);
    std::vector<uint32_t> centre;
    while (flash->state != kTaskEnded) {
        system.updatePass();
        if (flash->state == kTaskEnded) break;
        drawAlone(*flash);
        centre.push_back(fieldPixel(120, 190));
    }
    // remaining 3, 2, 1, 0 of 4: alpha 96, 64, 32, then nothing.
    EXPECT_EQ(centre, (std::vector<uint32_t>{mixPixel(0, 0xFFFFFF, 96), mixPixel(0, 0xFFFFFF, 64),
                                             mixPixel(0, 0xFFFFFF, 32), 0u}));
}

// A field whose every pixel differs from every other and from black.
void paintUnique(DIB& field) {
    for (int32_t y = 0; y < field.height; ++y) {
        for (int32_t x = 0; x < field.width; ++x) {
            *field.pixelAt(x, y) =
                (static_cast<uint32_t>(x) << 16) | ((y & 0xFF) << 8) | ((y >> 8) + 1);
        }
    }
}

// Where a pixel painted by paintUnique came from.
struct Source {
    int32_t x, y;
    bool operator==(const Source&) const = default;
};
Source sourceOf(uint32_t pixel) {
    return {static_cast<int32_t>((pixel >> 16) & 0xFF),
            static_cast<int32_t>(((pixel & 0xFF) - 1) << 8 | ((pixel >> 8) & 0xFF))};
}

TEST_F(EffectDraw, LensCopiesThePictureUnderItOnAllFourEdges) {
    // An empty lens rim, so only the swollen copy shows.
    fillRect(&system.imageSlots[kSlotEnemy], 0, 0, 1024, 1888, 0, 0, 128);
    DIB& field = system.playField;
    DIB untouched;
    untouched.create(field.width, field.height);
    paintUnique(untouched);
    // The swollen copy's centre shows the pixel at the same offset from the lens's centre
    // wherever the lens is, even where the field's edges cut the square under it.
    auto* middle = at<OpticalEffect>(system, 8, 120 << 16, 190 << 16);
    paintUnique(field);
    middle->draw(field);
    const Source fromMiddle = sourceOf(*field.pixelAt(120, 190) & 0xFFFFFF);
    const Source reference{fromMiddle.x - 120, fromMiddle.y - 190};
    middle->end();

    struct Spot {
        int32_t x, y;
    };
    for (const Spot spot :
         {Spot{5, 200}, Spot{120, 3}, Spot{235, 200}, Spot{120, 381}, Spot{2, 382}, Spot{238, 3}}) {
        SCOPED_TRACE(::testing::Message() << spot.x << ", " << spot.y);
        auto* lens = at<OpticalEffect>(system, 8, spot.x << 16, spot.y << 16);
        paintUnique(field);
        lens->draw(field);
        const Source centre = sourceOf(*field.pixelAt(spot.x, spot.y) & 0xFFFFFF);
        EXPECT_EQ((Source{centre.x - spot.x, centre.y - spot.y}), reference);
        // Nothing beyond the 46-pixel square (4 x 8 + 14) is touched.
        for (int32_t y = 0; y < field.height; ++y) {
            for (int32_t x = 0; x < field.width; ++x) {
                if (std::abs(x - spot.x) <= 23 && std::abs(y - spot.y) <= 23) continue;
                ASSERT_EQ(*field.pixelAt(x, y), *untouched.pixelAt(x, y)) << x << ", " << y;
            }
        }
        lens->end();
    }
}

}  // namespace
}  // namespace vg
