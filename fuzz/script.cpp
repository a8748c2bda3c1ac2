// Stage scripts: any bytes parse without overrunning a field, and the events they give run
// through the event runner (spawning scenery, clouds, holes, banners, moving the clock)
// without a crash or a hang.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/Layers.h"
#include "core/System.h"
#include "stage/Back.h"
#include "stage/StageControl.h"
#include "stage/StageScript.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static vg::System system;
    std::vector<vg::StageEvent> events;
    std::vector<vg::ScriptProblem> problems;
    vg::parseStageScript(reinterpret_cast<const char*>(data), size, events, &problems);

    system.endAll();
    system.updatePass();
    system.spawnFront<vg::Back>(vg::layer::kBack, uint8_t{0});
    vg::StageControl* control = system.spawnBack<vg::StageControl>(vg::layer::kStageControl);
    if (!control) return 0;
    control->events = std::move(events);
    // The first frames of the stage, whatever the script makes of its clock.
    for (int frame = 0; frame < 48; ++frame) system.updatePass();
    return 0;
}
