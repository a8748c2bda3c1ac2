#include "stage/Back.h"

#include <algorithm>

#include "core/Layers.h"
#include "core/PlayField.h"
#include "core/System.h"
#include "core/TaskQuery.h"
#include "render/Blit.h"
#include "resources/ImageSlots.h"

namespace vg {

namespace {

// A script without a loop point would let the map position fall for ever; it stops here, far
// beyond any picture, instead of wrapping the 16.16 word.
constexpr int64_t kMapPositionLimit = 1 << 30;

}  // namespace

Back::Back(uint8_t drawVariant) : variant(drawVariant) {}

void Back::update() {
    const int64_t next = static_cast<int64_t>(mapPosition) - scrollSpeed;
    mapPosition = static_cast<int32_t>(std::clamp(next, -kMapPositionLimit, kMapPositionLimit));
    if (mapPosition < loopPoint) mapPosition = loopBackPoint;
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

int32_t mapSpeed(const TaskManager& manager) {
    const Back* back = Back::find(manager);
    return back ? back->scrollSpeed : 0;
}

}  // namespace vg
