#include "enemy/BurstingCraft.h"

#include "core/GameSound.h"
#include "core/System.h"

namespace vg {

bool CraftDestruction::step(EnemyBase& craft, System& system, const CraftBursts& bursts) {
    const int32_t step = counter++;
    if (step == 0) {
        craft.dead = 1;
        nearKill = craft.killReward(kChainTime, bursts.baseScore, bursts.energyCost);
        burstsAt(craft, bursts.first, bursts.debris);
        playSound(system, bursts.sound);
    } else if (step == bursts.middleStep) {
        burstsAt(craft, bursts.middle, bursts.debris);
    } else if (step == 2 * bursts.middleStep) {
        burstsAt(craft, bursts.last, bursts.debris);
        dropEnergyUnlessLaser(craft, nearKill + bursts.energyBonus);
        closingExplosion(craft, bursts.ring);
        craft.end();
    }
    return step == 0;
}

void BurstingCraft::update() {
    System* sys = system();
    if (!sys) return;
    // A destroyed craft bursts where it stands.
    if (dead) {
        burst(*sys);
        return;
    }
    fly(*sys);
}

bool BurstingCraft::survivesHits(System& sys) {
    hitPass();
    if (hitPoints <= 0) {
        burst(sys);
        return false;
    }
    return true;
}

}  // namespace vg
