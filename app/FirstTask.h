#pragma once

namespace vg {

class System;

// Creates the game's first task at layer 0, as the real program and the headless host both
// start the game.
void createFirstTask(System& system);

}  // namespace vg
