#pragma once

#include "stage/StageEvent.h"

namespace vg {

class System;

// Creates the enemy (and the parts bound to it) that a script event names, on the layer and at
// the front or back as the keyword says. Returns false for a kind code that names no enemy this
// build knows; such an event simply spawns nothing. A kind that cannot be allocated is skipped.
bool spawnEnemy(System& system, const StageEvent& event);

}  // namespace vg
