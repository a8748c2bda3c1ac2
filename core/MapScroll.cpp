#include "core/MapScroll.h"

#include <algorithm>

#include "core/Layers.h"
#include "core/TaskQuery.h"

namespace vg {

namespace {

// A script without a loop point would let the map position fall for ever; it stops here, far
// beyond any picture, instead of wrapping the 16.16 word.
constexpr int64_t kMapPositionLimit = 1 << 30;

}  // namespace

void MapScroll::scroll() {
    const int64_t next = static_cast<int64_t>(mapPosition) - scrollSpeed;
    mapPosition = static_cast<int32_t>(std::clamp(next, -kMapPositionLimit, kMapPositionLimit));
    if (mapPosition < loopPoint) mapPosition = loopBackPoint;
}

MapScroll* MapScroll::find(const TaskManager& manager) {
    return findFirstInLayers<MapScroll>(manager, layer::kStageControl, layer::kBack);
}

int32_t mapSpeed(const TaskManager& manager) {
    const MapScroll* map = MapScroll::find(manager);
    return map ? map->scrollSpeed : 0;
}

}  // namespace vg
