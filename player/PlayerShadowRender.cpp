#include "player/PlayerShadowRender.h"

#include "core/Layers.h"
#include "core/System.h"
#include "core/TaskQuery.h"
#include "player/PlayerBase.h"

namespace vg {

void PlayerShadowRender::draw(DIB& surface) {
    const System* sys = systemOf(*this);
    if (!sys) return;
    forEachInLayer<PlayerBase>(*sys, layer::kPlayer,
                               [&](PlayerBase& player) { player.drawShadow(surface); });
}

}  // namespace vg
