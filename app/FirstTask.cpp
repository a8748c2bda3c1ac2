#include "app/FirstTask.h"

#include "core/Layers.h"
#include "core/System.h"
#include "screens/GameInit.h"

namespace vg {

void createFirstTask(System& system) {
    system.spawnFront<GameInit>(layer::kScreens);
}

}  // namespace vg
