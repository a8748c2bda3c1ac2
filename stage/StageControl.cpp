#include "stage/StageControl.h"

#include <limits>

#include "core/Layers.h"
#include "core/System.h"
#include "core/TaskQuery.h"
#include "enemy/EnemySpawner.h"
#include "panels/Result.h"
#include "stage/Back.h"
#include "stage/Ending.h"
#include "stage/Scenery.h"
#include "stage/StageBanners.h"

namespace vg {

namespace {

// Any live task on an enemy layer counts, enemy or not, part or body; an ended one is gone.
bool enemyPresent(const System& system) {
    for (int layer : layer::kEnemyLayers) {
        if (layerOccupied(system, layer)) return true;
    }
    return false;
}

void setMap(System& system, const StageEvent& event) {
    Back* back = Back::find(system);
    if (!back) return;
    const int32_t value = event.number(0);
    switch (event.kind) {
        case kEventMapScrollSpeed:
            back->scrollSpeed = value;
            break;
        case kEventMapPosY:
            back->mapPosition = value;
            break;
        case kEventMapLoopBackPointY:
            back->loopBackPoint = value;
            break;
        case kEventMapLoopPointY:
            back->loopPoint = value;
            break;
        default:
            break;
    }
}

}  // namespace

bool StageControl::isStanding(int32_t kind) {
    switch (kind) {
        case kEventMapScrollSpeed:
        case kEventMapPosY:
        case kEventMapLoopBackPointY:
        case kEventMapLoopPointY:
        case kEventBackObjectMiddle:
        case kEventBackObjectHigh:
        case kEventHole:
        case kEventHoleMove:
        case kEventWarning:
        case kEventResult:
        case kEventStageComplete:
        case kEventEndingImage:
        case kEventEndingFont:
        case kEventEndingFinish:
            return false;
        case kEventCloud:
        case kEventCloudEx:
        case kEventSetTime:
        case kEventSetTimeIfOnEnemy:
        case kEventSetTimeIfNoneEnemy:
            return true;
        default:
            // The enemies are one-shot; a code the runner does not know stays.
            return !(kind >= kEventFirstEnemy && kind <= kEventLastEnemy);
    }
}

void StageControl::perform(System& system, const StageEvent& e, int32_t& clock) {
    switch (e.kind) {
        case kEventMapScrollSpeed:
        case kEventMapPosY:
        case kEventMapLoopBackPointY:
        case kEventMapLoopPointY:
            setMap(system, e);
            break;
        case kEventBackObjectMiddle:
        case kEventBackObjectHigh:
            system.spawnBack<BackObject>(e.kind == kEventBackObjectMiddle ? layer::kBackObjectMiddle
                                                                          : layer::kBackObjectHigh,
                                         e.number(0), e.number(1), e.integer(2), e.integer(3),
                                         e.integer(4), e.integer(5));
            break;
        case kEventCloud:
            system.spawnBack<Cloud>(layer::kCloud, e.number(0), e.number(1), e.number(2),
                                    e.number(3), e.integer(4));
            break;
        case kEventCloudEx:
            system.spawnBack<CloudEx>(layer::kCloud, e.number(0), e.number(1), e.number(2),
                                      e.number(3), e.integer(4));
            break;
        case kEventHole:
            system.spawnBack<Hole>(layer::kHole, e.number(0), e.number(1), 0, e.integer(2), true);
            break;
        case kEventHoleMove:
            system.spawnBack<Hole>(layer::kHole, e.number(0), e.number(1), e.number(2),
                                   e.integer(3), false);
            break;
        case kEventWarning:
            system.spawnFront<Warning>(layer::kBanner);
            break;
        case kEventResult:
            system.spawnFront<Result>(layer::kFrame);
            break;
        case kEventSetTime:
            clock = e.integer(0);
            break;
        case kEventSetTimeIfOnEnemy:
            if (enemyPresent(system)) clock = e.integer(0);
            break;
        case kEventSetTimeIfNoneEnemy:
            if (!enemyPresent(system)) clock = e.integer(0);
            break;
        case kEventStageComplete:
            system.spawnFront<StageComplete>(layer::kBanner);
            break;
        case kEventEndingImage:
            system.spawnFront<EndingImage>(layer::kEndingImage, e.integer(0), e.integer(1),
                                           e.integer(2), e.integer(3), e.integer(4), e.integer(5),
                                           e.integer(6));
            break;
        case kEventEndingFont:
            system.spawnFront<EndingFont>(layer::kEndingFont, e.integer(0), e.integer(1),
                                          e.integer(2));
            break;
        case kEventEndingFinish:
            if (EndingRunner* runner = EndingRunner::find(system)) runner->finish();
            break;
        default:
            if (e.kind >= kEventFirstEnemy && e.kind <= kEventLastEnemy) spawnEnemy(system, e);
            break;
    }
}

void StageControl::update() {
    System* system = systemOf(*this);
    if (system) {
        // One pass that keeps the standing events and the ones whose time has not come, in
        // order: removing a fired event costs nothing extra however long the list is.
        size_t kept = 0;
        for (size_t i = 0; i < events.size(); ++i) {
            const StageEvent event = events[i];
            bool keep = true;
            if (event.time == eventClock) {
                perform(*system, event, eventClock);
                keep = isStanding(event.kind);
            }
            if (keep) events[kept++] = event;
        }
        events.resize(kept);
    }
    if (eventClock < std::numeric_limits<int32_t>::max()) ++eventClock;
}

}  // namespace vg
