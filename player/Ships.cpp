#include "player/Ships.h"

#include "core/Layers.h"
#include "core/System.h"

namespace vg {

namespace {

PlayerBase* spawnShip(System& system, uint8_t shipType, uint8_t playerIndex) {
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

}  // namespace

PlayerBase* createShip(System& system, uint8_t shipType, uint8_t playerIndex) {
    if (playerIndex > 1) return nullptr;
    PlayerBase* ship = spawnShip(system, shipType, playerIndex);
    // The record names the ship the player flies now, also after a continue or a join with
    // another ship, so that a game over files the score under the right ship.
    if (ship) system.playerRecord[playerIndex].shipType = shipType;
    return ship;
}

}  // namespace vg
