// Stand-in until the enemy kinds exist: no keyword spawns anything yet. The enemies work
// replaces this file with the keyword table.
#include "enemy/EnemySpawner.h"

namespace vg {

bool spawnEnemy(System& system, const StageEvent& event) {
    (void)system;
    (void)event;
    return false;
}

}  // namespace vg
