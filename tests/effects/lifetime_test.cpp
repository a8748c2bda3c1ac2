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

auto exactly(int n) {
    return [n](const Effect&) { return n; };
}
// Lifetime L from a starting age: ended in the update in which the age passes L.
auto fromStartingAge(int lifetime) {
    return [lifetime](const Effect& e) { return lifetime + 1 - e.age; };
}

TEST_F(Lifetimes, EachEffectEndsInTheFrameItsLifetimeSays) {
    const std::vector<Case> cases = {
        {"fire puff",
         [](System& s) { return s.spawnFront<Explosion>(layer::kEffect, kX, kY, 0, 0, 1); },
         exactly(31)},
        {"smoke",
         [](System& s) { return s.spawnFront<Explosion>(layer::kEffect, kX, kY, 0, 0, 2); },
         exactly(61)},
        {"large puff",
         [](System& s) { return s.spawnFront<Explosion>(layer::kEffect, kX, kY, 0, 0, 6); },
         exactly(31)},
        {"kind past the table",
         [](System& s) { return s.spawnFront<Explosion>(layer::kEffect, kX, kY, 0, 0, 99); },
         exactly(31)},
        {"broken piece",
         [](System& s) { return s.spawnFront<BrokenPiece>(layer::kEffect, kX, kY); },
         fromStartingAge(79)},
        {"fire spark", [](System& s) { return s.spawnFront<FireSpark>(layer::kEffect, kX, kY); },
         fromStartingAge(48)},
        {"ring",
         [](System& s) { return s.spawnFront<RingEffect>(layer::kEffect, kX, kY, 16, 192, 0); },
         exactly(17)},
        {"ring of no lifetime",
         [](System& s) { return s.spawnFront<RingEffect>(layer::kEffect, kX, kY, 0, 192, 0); },
         exactly(1)},
        {"ring of negative lifetime",
         [](System& s) { return s.spawnFront<RingEffect>(layer::kEffect, kX, kY, -20, 192, 1); },
         exactly(1)},
        {"ripple",
         [](System& s) { return s.spawnFront<RippleEffect>(layer::kRipple, kX, kY, 256); },
         exactly(65)},
        {"booster",
         [](System& s) {
             return s.spawnFront<BoosterEffect>(layer::kEffect, kX, kY, 2 << 16, 270 << 16);
         },
         exactly(11)},
        {"near-kill label (48)",
         [](System& s) { return s.spawnFront<NearKillFont>(layer::kEffect, kX, kY, 0, 0, 2); },
         exactly(49)},
        {"bullet change, delay 10",
         [](System& s) {
             return s.spawnFront<ChangeBulletEffect>(layer::kBulletChange, 10, kX, kY, 0, 0);
         },
         exactly(2 + 33)},
        {"bullet change, negative delay",
         [](System& s) {
             return s.spawnFront<ChangeBulletEffect>(layer::kBulletChange, -40, kX, kY, 0, 0);
         },
         exactly(33)},
        {"changed count (180)",
         [](System& s) { return s.spawnFront<ChangeBulletNumFont>(layer::kEffect, kX, kY, 12); },
         exactly(181)},
        {"changed count of 0",
         [](System& s) { return s.spawnFront<ChangeBulletNumFont>(layer::kEffect, kX, kY, 0); },
         exactly(1)},
        {"changed count below 0",
         [](System& s) { return s.spawnFront<ChangeBulletNumFont>(layer::kEffect, kX, kY, -7); },
         exactly(1)},
        {"energy spark",
         [](System& s) { return s.spawnFront<GetEnergyEffect>(layer::kEffect, kX, kY); },
         fromStartingAge(32)},
        {"crystal particle",
         [](System& s) { return s.spawnFront<GetCrystalParticle>(layer::kEffect, kX, kY, 1); },
         fromStartingAge(32)},
        {"crystal count (64)",
         [](System& s) { return s.spawnFront<GetCrystalFont>(layer::kEffect, kX, kY, 120, 1); },
         exactly(65)},
        {"item burst", [](System& s) { return s.spawnFront<ItemEffect>(layer::kEffect, kX, kY); },
         exactly(15)},
        {"item label (60)",
         [](System& s) { return s.spawnFront<ItemFont>(layer::kEffect, kX, kY, 0, 0, 1); },
         exactly(61)},
        {"ship explosion",
         [](System& s) { return s.spawnFront<ShipExplosion>(layer::kEffect, kX, kY); },
         exactly(46)},
        {"ship explosion light",
         [](System& s) { return s.spawnFront<ShipExplosionLight>(layer::kEffect, kX, kY, 3); },
         exactly(8)},
        {"flash", [](System& s) { return s.spawnFront<Flash>(layer::kEffect, 92); }, exactly(93)},
        {"flash of no duration", [](System& s) { return s.spawnFront<Flash>(layer::kEffect, 0); },
         exactly(1)},
        {"blur", [](System& s) { return s.spawnFront<Blur>(layer::kEffect, Blur::kBossDuration); },
         exactly(181)},
        {"blur of negative duration",
         [](System& s) { return s.spawnFront<Blur>(layer::kEffect, -5); }, exactly(1)},
        {"vibration", [](System& s) { return s.spawnFront<Vibration>(layer::kEffect, 160, 64); },
         exactly(65)},
        {"vibration of negative duration",
         [](System& s) { return s.spawnFront<Vibration>(layer::kEffect, 160, -3); }, exactly(1)},
        {"lens", [](System& s) { return s.spawnFront<OpticalEffect>(layer::kEffect, kX, kY); },
         exactly(33)},
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
