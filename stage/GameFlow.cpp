#include "stage/GameFlow.h"

#include "core/Layers.h"
#include "core/System.h"
#include "screens/NameEntry.h"
#include "screens/TitleInit.h"

namespace vg {

void goToNameEntry(System& system) {
    system.spawnFront<NameEntryInit>(layer::kScreens);
}

void goToReplayScreen(System& system) {
    // ReplayLoadInit comes with the replay screens; the title stands in for it.
    system.spawnFront<TitleInit>(layer::kScreens);
}

void goToTitle(System& system) {
    system.spawnFront<TitleInit>(layer::kScreens);
}

}  // namespace vg
