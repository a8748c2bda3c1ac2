// Replays depend on every effect drawing from the shared generator in one fixed order. This
// script of effects is followed by a second generator that takes the same draws in the order
// the effects document, computing what each effect must hold; the generator's position after
// the script and its next value are pinned.
#include "EffectWorld.h"
#include "core/FixedMath.h"
#include "core/PlayField.h"
#include "core/TaskQuery.h"
#include "effects/Explosions.h"
#include "effects/FloatingText.h"
#include "effects/Particles.h"
#include "effects/Rings.h"
#include "effects/ScreenEffects.h"

namespace vg {
namespace {

using RandomOrder = testing::EffectWorld;

constexpr int32_t kX = 100 << 16, kY = 200 << 16;
constexpr int32_t kPinnedIndex = 39;
constexpr uint32_t kPinnedNext = 1025637693;

// Velocity of `speed` (16.16) along whole `degrees`.
void expectVelocity(const Effect& e, int32_t speed, int32_t degrees) {
    EXPECT_EQ(e.vx, fixedMul(speed, cosFixed(degrees << 16)));
    EXPECT_EQ(e.vy, fixedMul(speed, sinFixed(degrees << 16)));
}

TEST_F(RandomOrder, ScriptedBurstTakesItsDrawsInTheDocumentedOrder) {
    GameRandom replica;  // seeded like the shared one after SetUp
    auto next = [&] { return replica.randomNext(); };

    // Debris: vx, vy, size, picture frame, starting age.
    auto* piece = system.spawnFront<BrokenPiece>(layer::kEffect, kX, kY);
    ASSERT_NE(piece, nullptr);
    EXPECT_EQ(piece->vx, (static_cast<int32_t>(next() & 31) - 15) * 16384);
    EXPECT_EQ(piece->vy, (static_cast<int32_t>(next() & 15) - 10) * 32768);
    EXPECT_EQ(piece->large, next() & 1);
    EXPECT_EQ(piece->frame, next() % 40);
    EXPECT_EQ(piece->age, static_cast<int32_t>(next() & 31));

    // Spark: speed, direction, starting age.
    auto* spark = system.spawnFront<FireSpark>(layer::kEffect, kX, kY);
    ASSERT_NE(spark, nullptr);
    {
        const int32_t speed = 65536 + static_cast<int32_t>(next() & 255) * 2048;
        const int32_t degrees = static_cast<int32_t>(next() % 360);
        EXPECT_EQ(spark->age, static_cast<int32_t>(next() & 7));
        expectVelocity(*spark, speed, degrees);
    }

    // Pickup sparks: direction, speed, starting age.
    for (int i = 0; i < 2; ++i) {
        Effect* e =
            i == 0
                ? static_cast<Effect*>(system.spawnFront<GetEnergyEffect>(layer::kEffect, kX, kY))
                : system.spawnFront<GetCrystalParticle>(layer::kEffect, kX, kY, 2);
        ASSERT_NE(e, nullptr);
        const int32_t degrees = static_cast<int32_t>(next() % 360);
        const int32_t speed = static_cast<int32_t>(next() & 63) * 2048;
        EXPECT_EQ(e->age, static_cast<int32_t>(next() & 7));
        expectVelocity(*e, speed, degrees);
    }

    // Enemy explosions: direction, turn, form, and a speed step for a burst; until both forms
    // have been met.
    bool sawBurst = false, sawTrail = false;
    for (int i = 0; i < 16 && !(sawBurst && sawTrail); ++i) {
        auto* v = system.spawnFront<VozerorExplosion>(layer::kEffect, kX, kY);
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(v->direction, static_cast<int32_t>(next() % 360) << 16);
        EXPECT_EQ(v->turn, (static_cast<int32_t>(next() & 0x1FF) - 255) * 65536 / 16);
        const bool burst = (next() & 1) != 0;
        ASSERT_EQ(v->burst, burst);
        if (burst) {
            EXPECT_EQ(v->speedStep, static_cast<int32_t>(next() & 0x1F) * 4096);
        }
        (burst ? sawBurst : sawTrail) = true;
    }
    ASSERT_TRUE(sawBurst && sawTrail);

    // Effects that draw in their updates: a booster's jitter once per frame, a shake's x then y.
    auto* booster = system.spawnBack<BoosterEffect>(layer::kEffect, kX, kY, 2 << 16, 270 << 16);
    auto* shake = system.spawnBack<Vibration>(layer::kEffect, 160, 64);
    ASSERT_NE(booster, nullptr);
    ASSERT_NE(shake, nullptr);
    // Take the other tasks out of the way so that only these two draw in the passes below.
    forEachInLayer<Effect>(system, layer::kEffect, [&](Effect& e) {
        if (&e != booster && &e != shake) e.end();
    });
    int32_t direction = 270 << 16;
    for (int frame = 0; frame < 3; ++frame) {
        system.updatePass();
        direction += (static_cast<int32_t>(next() & 127) - 64) * 65536 / 16;
        EXPECT_EQ(booster->vx, fixedMul(2 << 16, cosFixed(direction)));
        EXPECT_EQ(booster->vy, fixedMul(2 << 16, sinFixed(direction)));
        const int32_t divisor = frame / 3 + 1;
        EXPECT_EQ(system.shakeOffsetX, ((static_cast<int32_t>(next() & 160) - 80) / divisor) << 16);
        EXPECT_EQ(system.shakeOffsetY, ((static_cast<int32_t>(next() & 160) - 80) / divisor) << 16);
    }

    // Drawing takes nothing from the generator.
    const int32_t before = gameRandom().index();
    system.drawAll(system.playField);
    EXPECT_EQ(gameRandom().index(), before);

    EXPECT_EQ(gameRandom().index(), replica.index());
    // The count of draws and the next value are pinned, so that a change in the count or
    // the order shows even if this test's replica were changed with it.
    EXPECT_EQ(gameRandom().index(), kPinnedIndex);
    EXPECT_EQ(gameRandom().randomNext(), kPinnedNext);
}

}  // namespace
}  // namespace vg
