#include "screens/OptionInit.h"

#include "core/Layers.h"
#include "screens/Option.h"
#include "screens/ScreenBase.h"

namespace vg {

void OptionInit::update() {
    System* system = systemOf(*this);
    end();
    if (!system) return;
    system->endAll();
    loadScreenImage(*system, kSlotMenuBack, "selectBack.png");
    system->spawnFront<Option>(layer::kScreens);
}

}  // namespace vg
