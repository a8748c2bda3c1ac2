#include "player/PlayerCollision.h"

#include "core/System.h"
#include "player/PlayerBase.h"

namespace vg {

void PlayerCollision::draw(DIB& surface) {
    const System* sys = systemOf(*this);
    if (!sys) return;
    for (int index = 0; index < 2; ++index) {
        if (PlayerBase* player = PlayerBase::find(*sys, index)) player->drawHitMark(surface);
    }
}

}  // namespace vg
