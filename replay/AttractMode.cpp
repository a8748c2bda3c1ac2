#include "replay/AttractMode.h"

#include "core/Layers.h"
#include "core/System.h"
#include "replay/ReplayLoad.h"
#include "screens/TitleInit.h"

namespace vg {

bool AttractMode::interruptRequested(const System& system) {
    if (keyPressed(system.keyboard, kKeyEscape)) return true;
    for (const KeyRecord& record : system.keyRecords) {
        if (keyPressed(system.keyboard, record.shotKey)) return true;
        if (keyPressed(system.keyboard, record.bombKey)) return true;
        if (padPressed(system.joysticks, record.padId, record.shotPadButton)) return true;
        if (padPressed(system.joysticks, record.padId, record.bombPadButton)) return true;
    }
    return false;
}

bool AttractMode::start(System& system) {
    ReplayData& replay = system.replay;
    const std::string path = ReplayData::FolderPath(ReplayData::kDemoFileName);
    if (!replay.Load(path.c_str())) return false;
    return startReplayPlayback(system, demoStage);
}

void AttractMode::backToTitle(System& system) {
    system.spawnFront<TitleInit>(layer::kScreens);
    end();
}

void AttractMode::update() {
    System* system = systemOf(*this);
    if (!system) {
        end();
        return;
    }
    if (frame == 0 && !start(*system)) {
        backToTitle(*system);
        return;
    }
    ++frame;
    // The pause key does nothing during the demo.
    system->inStage = 0;
    if (frame > kDuration || interruptRequested(*system)) backToTitle(*system);
}

}  // namespace vg
