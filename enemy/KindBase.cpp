#include "enemy/KindBase.h"

#include "core/GameSound.h"
#include "core/Layers.h"
#include "core/System.h"
#include "effects/Explosions.h"
#include "render/Cell.h"
#include "resources/ImageSlots.h"
#include "sound/SoundBank.h"

namespace vg {

KindBase::KindBase(int32_t x0, int32_t y0, const KindFigures& figures)
    : EnemyBase(x0, y0), figures_(figures) {
    hitPoints = figures.hitPoints;
    hitBox = figures.hitBox;
}

bool KindBase::outsideItsBounds() const {
    const KindBounds& b = figures_.bounds;
    return outsideBounds(*this, b.left, b.top, b.right, b.bottom);
}

void KindBase::update() {
    System* sys = system();
    if (!sys) return;
    if (dead && !figures_.movesWhileDead) {
        destructionFrame(*sys);
        return;
    }
    move(*sys);
    if (outsideItsBounds()) {
        leaveField(*sys);
        end();
        return;
    }
    if (dead) {
        destructionFrame(*sys);
        return;
    }
    beforeHits(*sys);
    hitPass();
    if (frameCount < figures_.entryHold) hitPoints = figures_.hitPoints;
    afterHits(*sys);
    if (hitPoints <= 0) {
        destructionFrame(*sys);
        return;
    }
    act(*sys);
    ++frameCount;
}

void KindBase::destructionFrame(System& sys) {
    const KindReward& reward = figures_.reward;
    switch (figures_.destruction) {
        case Destruction::SmallCraft:
        case Destruction::Quick: {
            // One frame: a kind found already destroyed only ends.
            if (dead) {
                end();
                return;
            }
            dead = 1;
            const int level = killReward(reward.chainTime, reward.baseScore, reward.energyCost);
            dropEnergyUnlessLaser(*this, level + reward.energyBonus);
            if (figures_.destruction == Destruction::SmallCraft) {
                sys.spawnFront<Explosion>(layer::debrisLayer(layer), x, y, vx, vy, 8);
                if (figures_.wreck) sys.spawnFront<Burn>(layer::wreckLayer(layer), x, y);
                closingExplosion(*this, false);
            } else {
                destroyEffects(x, y, vx, vy, 8);
                closingExplosion(*this, false);
            }
            destroyed(sys);
            playSound(sys, SoundManager::kSoundKill);
            end();
            return;
        }
        case Destruction::Bursts: {
            const KindBursts& bursts = figures_.bursts;
            const int32_t step = deathCounter++;
            if (step == 0) {
                dead = 1;
                nearKill = killReward(reward.chainTime, reward.baseScore, reward.energyCost);
                burstsAt(*this, bursts.first, bursts.debris);
                playSound(sys, bursts.sound);
                destroyed(sys);
            } else if (step == bursts.middleStep) {
                burstsAt(*this, bursts.middle, bursts.debris);
            } else if (step == 2 * bursts.middleStep) {
                burstsAt(*this, bursts.last, bursts.debris);
                dropEnergyUnlessLaser(*this, nearKill + reward.energyBonus);
                closingExplosion(*this, bursts.ring);
                end();
            }
            return;
        }
        case Destruction::Own:
            destructionStep(sys);
            return;
    }
}

const DIB& KindBase::sheet(const System& sys) const {
    return figures_.sheet == Sheet::Stage ? sys.imageSlots[kSlotStage] : enemySheet(sys);
}

void KindBase::draw(DIB& surface) {
    const System* sys = system();
    if (!sys) {
        end();
        return;
    }
    const bool red = !dead && lowHitPointBlink(figures_.hitPoints);
    drawSprite(surface, *sys, red);
}

void KindBase::drawSprite(DIB& surface, const System& sys, bool red) {
    if (!figures_.sprite) return;
    const atlas::Cell& cell = *figures_.sprite;
    drawLit(*this, surface, sheet(sys), cell, spriteFrame(), screenX(sys, x) + cell.anchorX,
            screenY(sys, y) + cell.anchorY, red);
}

void KindBase::drawShadow(DIB& surface) {
    if (!figures_.shadow) return;
    if (const System* sys = system()) {
        drawAirShadow(*this, surface, sheet(*sys), *figures_.shadow, shadowFrame(),
                      figures_.shadowPicture);
    }
}

}  // namespace vg
