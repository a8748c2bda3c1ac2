#include "stage/Back.h"

#include <algorithm>

#include "core/Layers.h"
#include "core/PlayField.h"
#include "core/System.h"
#include "core/TaskQuery.h"
#include "render/Blit.h"
#include "resources/ImageSlots.h"

namespace vg {

Back::Back(uint8_t drawVariant) : variant(drawVariant) {}

void Back::update() {
    scroll();
}

void Back::draw(DIB& surface) {
    const System* system = systemOf(*this);
    if (!system) return;
    const int32_t sx = fixedToInt(system->fieldScroll) + 20 - fixedToInt(system->shakeOffsetX);
    const int32_t sy = fixedToInt(mapPosition) + fixedToInt(system->shakeOffsetY);
    const DIB& picture = system->imageSlots[kSlotBackground];
    if (picture.empty()) {
        // No map picture (a missing file): a dark field rather than last frame's leftovers.
        fillRect(&surface, 0, 0, System::kFieldWidth, System::kFieldHeight, 0, 0, 255);
        return;
    }
    const uint32_t mode = variant == 1 ? (ColorKey | Alpha) : Alpha;
    blit(&picture, &surface, 0, 0, System::kFieldWidth, System::kFieldHeight, sx, sy, mode,
         static_cast<uint32_t>(std::clamp(alpha, 0, 255)));
}

Back* Back::find(const TaskManager& manager) {
    return findFirstInLayers<Back>(manager, layer::kStageControl, layer::kBack);
}

}  // namespace vg
