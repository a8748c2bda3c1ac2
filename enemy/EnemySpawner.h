#pragma once

#include <cstdint>
#include <initializer_list>

#include "stage/StageEvent.h"

namespace vg {

class EnemyBase;
class KindSpawn;
class System;

// Creates the enemy (and the parts bound to it) that a script event names, through its kind's
// factory (enemy/EnemyKinds.h). Returns false for a code that names no enemy keyword and for a
// kind not built yet; such an event simply spawns nothing. A kind that cannot be allocated is
// skipped.
bool spawnEnemy(System& system, const StageEvent& event);

// The same, returning the body it created: null for an unknown or unbuilt kind or a full arena.
// Tests and tools use it to place a kind and watch it.
EnemyBase* placeEnemy(System& system, const StageEvent& event);

// The same through a KindSpawn of the caller's, which then tells how the factory read the
// event's values (the kind table test).
EnemyBase* placeEnemy(KindSpawn& spawn);

// Script values as the parser stores them, for code that builds events itself: a number field
// as 16.16 (truncated toward zero), an integer field shifted into the upper 16 bits.
constexpr int32_t numberField(double value) {
    return static_cast<int32_t>(value * 65536.0);
}
constexpr int32_t integerField(int32_t value) {
    return static_cast<int32_t>(static_cast<uint32_t>(value) << 16);
}
// An event of `kind` at time 0 with the stored values `args` in script order (at most ten).
StageEvent enemyEvent(int32_t kind, std::initializer_list<int32_t> args);

}  // namespace vg
