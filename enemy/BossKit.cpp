#include "enemy/BossKit.h"

#include "core/System.h"
#include "effects/BossShieldFrame.h"

namespace vg {

BossBody::BossBody(int32_t x0, int32_t y0, const KindFigures& figures, const BossFigures& boss)
    : KindBase(x0, y0, figures), boss_(boss) {}

BossBody* BossBody::find(const TaskManager& manager, int32_t serial) {
    // A serial names one enemy for the whole stage, and a factory gives its parts only the
    // serial of the body it has just made.
    return static_cast<BossBody*>(findBySerial(manager, serial));
}

void BossBody::afterHits(System&) {
    burnOutAfter(*this, boss_.timeLimit);
}

void BossBody::act(System& sys) {
    keepBossShield(*this, figures().hitPoints);
    attack(sys);
}

void BossBody::leaveField(System& sys) {
    if (dead) return;
    if (BossShieldFrame* shield = BossShieldFrame::find(sys)) shield->close();
}

void BossBody::destructionStep(System&) {
    destruction.step(*this, figures().reward, boss_.fadesTune);
}

BoundPart::BoundPart(int32_t x0, int32_t y0, int32_t body, const KindFigures& figures,
                     const atlas::Point& anchor, uint8_t partIndex)
    : KindBase(addClamped(x0, fixedFromInt(anchor.x)), addClamped(y0, fixedFromInt(anchor.y)),
               figures),
      bodySerial(body),
      index(partIndex),
      anchor_(anchor) {}

void BoundPart::follow(const EnemyBase& body) {
    x = addClamped(body.x, fixedFromInt(anchor_.x));
    y = addClamped(body.y, fixedFromInt(anchor_.y));
}

void BoundPart::update() {
    System* sys = system();
    if (!sys) return;
    BossBody* body = BossBody::find(*sys, bodySerial);
    if (!body) {
        end();
        return;
    }
    follow(*body);
    const int32_t full = figures().hitPoints;
    if (body->hitPoints <= 0) {
        hitPoints = 0;
    } else if (!body->dead) {
        hitPass();
        if (frameCount < body->figures().entryHold) hitPoints = full;
        if (lost) {
            // The wreck is armour of the body: what strikes it strikes the body.
            const int32_t taken = full - hitPoints;
            if (taken > 0) body->damage(taken, lastHitKind, lastHitter);
            hitPoints = full;
        }
    }
    if (!lost && hitPoints <= 0) {
        lost = 1;
        hitPoints = full;
        body->partLost(index);
        onLost(*sys);
    }
    if (lost) whileLost(*sys);
    ++frameCount;
}

int32_t BoundPart::bodyScreenX(const System& sys) const {
    return screenX(sys, x) - anchor_.x;
}

int32_t BoundPart::bodyScreenY(const System& sys) const {
    return screenY(sys, y) - anchor_.y;
}

}  // namespace vg
