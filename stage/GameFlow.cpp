#include "stage/GameFlow.h"

#include "core/Layers.h"
#include "core/System.h"
#include "replay/ReplayLoad.h"
#include "screens/NameEntry.h"
#include "screens/TitleInit.h"

namespace vg {

void goToNameEntry(System& system) {
    system.spawnFront<NameEntryInit>(layer::kScreens);
}

void goToReplayScreen(System& system) {
    system.spawnFront<ReplayLoadInit>(layer::kScreens);
}

void goToTitle(System& system) {
    system.spawnFront<TitleInit>(layer::kScreens);
}

}  // namespace vg
