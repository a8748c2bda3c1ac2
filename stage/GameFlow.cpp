#include "stage/GameFlow.h"

#include "core/Layers.h"
#include "core/System.h"
#include "replay/ReplayLoad.h"
#include "screens/TitleInit.h"

namespace vg {

void goToNameEntry(System& system) {
    // NameEntryInit comes with the name entry screen; the title stands in for it.
    system.spawnFront<TitleInit>(layer::kScreens);
}

void goToReplayScreen(System& system) {
    system.spawnFront<ReplayLoadInit>(layer::kScreens);
}

void goToTitle(System& system) {
    system.spawnFront<TitleInit>(layer::kScreens);
}

}  // namespace vg
