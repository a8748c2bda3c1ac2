#include "player/Ships.h"

#include "core/Layers.h"
#include "core/System.h"

namespace vg {

PlayerBase* createShip(System& system, uint8_t shipType, uint8_t playerIndex) {
    if (playerIndex > 1) return nullptr;
    switch (shipType) {
        case 0:
            return system.spawnFront<Ship1>(layer::kPlayer, playerIndex);
        case 1:
            return system.spawnFront<Ship2>(layer::kPlayer, playerIndex);
        case 2:
            return system.spawnFront<Ship3>(layer::kPlayer, playerIndex);
        case 3:
            return system.spawnFront<Ship4>(layer::kPlayer, playerIndex);
        default:
            return nullptr;
    }
}

}  // namespace vg
