#include "enemy/ShadowRender.h"

#include "core/Layers.h"
#include "core/TaskQuery.h"
#include "enemy/EnemyBase.h"

namespace vg {

void ShadowRender::draw(DIB& surface) {
    if (!owner) return;
    forEachInLayer<EnemyBase>(*owner, layer::kAir,
                              [&](EnemyBase& enemy) { enemy.drawShadow(surface); });
}

}  // namespace vg
