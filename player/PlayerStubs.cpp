// Stand-ins until the ships exist: a bare PlayerBase for every ship type, no hit marks and no
// shadows. The ships work replaces this file.
#include "core/Layers.h"
#include "core/System.h"
#include "player/PlayerBase.h"
#include "player/PlayerCollision.h"
#include "player/PlayerShadowRender.h"
#include "player/Ships.h"

namespace vg {

PlayerBase* createShip(System& system, uint8_t shipType, uint8_t playerIndex) {
    if (shipType > 3 || playerIndex > 1) return nullptr;
    return system.spawnFront<PlayerBase>(layer::kPlayer, playerIndex);
}

// Declared by PlayerBase and not yet defined anywhere; the stage flow is the first to link it.
System* PlayerBase::system() const {
    return systemOf(*this);
}

void PlayerCollision::draw(DIB&) {}
void PlayerShadowRender::draw(DIB&) {}

}  // namespace vg
