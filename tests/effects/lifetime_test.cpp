// Every effect ends in the update its lifetime says, whatever the creating code passes.
#include <functional>
#include <string>
#include <vector>

#include "EffectWorld.h"
#include "core/TaskQuery.h"
#include "effects/Explosions.h"
#include "effects/FloatingText.h"
#include "effects/Particles.h"
#include "effects/Rings.h"
#include "effects/ScreenEffects.h"

namespace vg {
namespace {

using testing::EffectWorld;
using Lifetimes = EffectWorld;

constexpr int32_t kX = 100 << 16, kY = 200 << 16;

struct Case {
    std::string name;
    std::function<Effect*(System&)> make;
    // Update passes until the effect has ended, given the effect as created (some start with a
    // random age).
    std::function<int(const Effect&)> passes;
};

// Creates a T on `layer` when the case runs.
template <class T, class... Args>
std::function<Effect*(System&)> make(int layer, Args... args) {
    return [=](System& s) { return s.spawnFront<T>(layer, args...); };
}

auto exactly(int n) {
    return [n](const Effect&) { return n; };
}
// Lifetime L from a starting age: ended in the update in which the age passes L.
auto fromStartingAge(int lifetime) {
    return [lifetime](const Effect& e) { return lifetime + 1 - e.age; };
}

TEST_F(Lifetimes, EachEffectEndsInTheFrameItsLifetimeSays) {
    const std::vector<Case> cases = {
        {"fire puff", make<Explosion>(layer::kEffect, kX, kY, 0, 0, 1), exactly(31)},
        {"smoke", make<Explosion>(layer::kEffect, kX, kY, 0, 0, 2), exactly(61)},
        {"large puff", make<Explosion>(layer::kEffect, kX, kY, 0, 0, 6), exactly(31)},
        {"kind past the table", make<Explosion>(layer::kEffect, kX, kY, 0, 0, 99), exactly(31)},
        {"broken piece", make<BrokenPiece>(layer::kEffect, kX, kY), fromStartingAge(79)},
        {"fire spark", make<FireSpark>(layer::kEffect, kX, kY), fromStartingAge(48)},
        {"ring", make<RingEffect>(layer::kEffect, kX, kY, 16, 192, 0), exactly(17)},
        {"ring of no lifetime", make<RingEffect>(layer::kEffect, kX, kY, 0, 192, 0), exactly(1)},
        {"ring of negative lifetime", make<RingEffect>(layer::kEffect, kX, kY, -20, 192, 1),
         exactly(1)},
        {"ripple", make<RippleEffect>(layer::kRipple, kX, kY, 256), exactly(65)},
        {"booster", make<BoosterEffect>(layer::kEffect, kX, kY, 2 << 16, 270 << 16), exactly(11)},
        {"near-kill label (48)", make<NearKillFont>(layer::kEffect, kX, kY, 0, 0, 2), exactly(49)},
        {"bullet change, delay 10",
         make<ChangeBulletEffect>(layer::kBulletChange, 10, kX, kY, 0, 0), exactly(2 + 33)},
        {"bullet change, negative delay",
         make<ChangeBulletEffect>(layer::kBulletChange, -40, kX, kY, 0, 0), exactly(33)},
        {"changed count (180)", make<ChangeBulletNumFont>(layer::kEffect, kX, kY, 12),
         exactly(181)},
        {"changed count of 0", make<ChangeBulletNumFont>(layer::kEffect, kX, kY, 0), exactly(1)},
        {"changed count below 0", make<ChangeBulletNumFont>(layer::kEffect, kX, kY, -7),
         exactly(1)},
        {"energy spark", make<GetEnergyEffect>(layer::kEffect, kX, kY), fromStartingAge(32)},
        {"crystal particle", make<GetCrystalParticle>(layer::kEffect, kX, kY, 1),
         fromStartingAge(32)},
        {"crystal count (64)", make<GetCrystalFont>(layer::kEffect, kX, kY, 120, 1), exactly(65)},
        {"item burst", make<ItemEffect>(layer::kEffect, kX, kY), exactly(15)},
        {"item label (60)", make<ItemFont>(layer::kEffect, kX, kY, 0, 0, 1), exactly(61)},
        {"ship explosion", make<ShipExplosion>(layer::kEffect, kX, kY), exactly(46)},
        {"ship explosion light", make<ShipExplosionLight>(layer::kEffect, kX, kY, 3), exactly(8)},
        {"flash", make<Flash>(layer::kEffect, 92), exactly(93)},
        {"flash of no duration", make<Flash>(layer::kEffect, 0), exactly(1)},
        {"blur", make<Blur>(layer::kEffect, Blur::kBossDuration), exactly(Blur::kBossDuration + 1)},
        {"blur of negative duration", make<Blur>(layer::kEffect, -5), exactly(1)},
        {"vibration", make<Vibration>(layer::kEffect, 160, 64), exactly(65)},
        {"vibration of negative duration", make<Vibration>(layer::kEffect, 160, -3), exactly(1)},
        {"lens", make<OpticalEffect>(layer::kEffect, kX, kY), exactly(33)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Effect* effect = c.make(system);
        ASSERT_NE(effect, nullptr);
        const int expected = c.passes(*effect);
        EXPECT_EQ(passesUntilEnded(effect), expected);
        system.endAll();
        system.updatePass();
    }
}

TEST_F(Lifetimes, VozerorBurstIsTenPuffsAtOnceAndTrailTwelveOverTwelveFrames) {
    bool sawBurst = false, sawTrail = false;
    for (int tries = 0; tries < 64 && !(sawBurst && sawTrail); ++tries) {
        auto* vozeror = system.spawnFront<VozerorExplosion>(layer::kEffect, kX, kY);
        ASSERT_NE(vozeror, nullptr);
        const bool burst = vozeror->burst;
        std::vector<int> puffsAfterPass;
        int passes = 0;
        while (vozeror->state != kTaskEnded && passes < 100) {
            system.updatePass();
            ++passes;
            int puffs = 0;
            forEachInLayer<Explosion>(system, layer::kEffect, [&](Explosion& e) {
                EXPECT_EQ(e.kind, 1);
                ++puffs;
            });
            puffsAfterPass.push_back(puffs);
        }
        if (burst) {
            sawBurst = true;
            EXPECT_EQ(passes, 1);
            EXPECT_EQ(puffsAfterPass.back(), 10);
        } else {
            sawTrail = true;
            EXPECT_EQ(passes, 12);
            for (int i = 0; i < passes; ++i) EXPECT_EQ(puffsAfterPass[i], i + 1);
        }
        system.endAll();
        system.updatePass();
    }
    EXPECT_TRUE(sawBurst);
    EXPECT_TRUE(sawTrail);
}

}  // namespace
}  // namespace vg
