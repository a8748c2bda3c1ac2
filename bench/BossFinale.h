#pragma once

// The heaviest effect load the game makes: the last step (127) of a boss destruction. Thirty-two
// kind-8 explosions at a fixed list of offsets within 80 pixels, the screen shake (160, 64), the
// flash (92), six large explosions (each a fan of ten puffs or a chain of twelve) and the trails.
// Shared by the effects benchmark and the effects golden pictures.

#include <array>
#include <cmath>
#include <cstdint>

#include "core/Layers.h"
#include "core/PlayField.h"
#include "core/System.h"
#include "effects/Explosions.h"
#include "effects/ScreenEffects.h"

namespace vg::bench {

// Offsets of the 32 large puffs: a sunflower spiral filling the 80-pixel disc evenly.
struct Offset {
    int32_t dx, dy;
};
inline const Offset* finaleOffsets() {
    static const std::array<Offset, 32> offsets = [] {
        std::array<Offset, 32> spiral{};
        for (int i = 0; i < 32; ++i) {
            const double radius = 80.0 * std::sqrt((i + 0.5) / 32.0);
            const double angle = i * 2.39996;
            spiral[i] = {static_cast<int32_t>(radius * std::cos(angle)),
                         static_cast<int32_t>(radius * std::sin(angle))};
        }
        return spiral;
    }();
    return offsets.data();
}

// Creates the burst around the boss at (x, y) (16.16 field pixels).
inline void spawnBossFinale(System& system, int32_t x, int32_t y) {
    const Offset* offsets = finaleOffsets();
    for (int i = 0; i < 32; ++i) {
        system.spawnFront<Explosion>(layer::kEffect, x + fixedFromInt(offsets[i].dx),
                                     y + fixedFromInt(offsets[i].dy), 0, 0, 8);
    }
    system.spawnFront<Vibration>(layer::kEffect, 160, 64);
    system.spawnFront<Flash>(layer::kEffect, 92);
    for (int i = 0; i < 6; ++i) {
        const int32_t dx = (i % 3 - 1) * 30;
        const int32_t dy = (i / 3) * 30 - 15;
        system.spawnFront<VozerorExplosion>(layer::kEffect, x + fixedFromInt(dx),
                                            y + fixedFromInt(dy));
    }
    system.spawnFront<Blur>(layer::kEffect, Blur::kBossDuration);
}

}  // namespace vg::bench
