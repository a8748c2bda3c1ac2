#pragma once

// Stand-in cells of the stage picture "boss1.png" until its atlas entries arrive with the
// picture; delete this file then (the generated header defines the same names).
#include "AtlasCells.h"

namespace vg::atlas::boss1 {
inline constexpr Cell kSemiBoss1{0, 0, 256, 170, 3, 3, 256, 170};
inline constexpr Cell kSemiBoss1Shadow{0, 170, 256, 170, 1, 1, 256, 170};
inline constexpr Cell kBoss1{256, 170, 182, 173, 1, 1, 182, 173};
inline constexpr Cell kBoss1WingWreck{256, 343, 64, 48, 2, 2, 64, 48};
}  // namespace vg::atlas::boss1
