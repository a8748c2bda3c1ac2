#pragma once

#include <climits>
#include <cstdint>
#include <span>

#include "AtlasCells.h"
#include "enemy/BossDestruction.h"
#include "enemy/KindBase.h"

namespace vg {

class KindSpawn;

// One attack phase of a boss's cycle: on the cycle frames start..end (inclusive), every
// `period` frames from `start`, the action runs with the cycle frame t; only while the hit
// points are below `belowHitPoints` (a fiercer last phase is a row with a threshold put before
// the row it replaces).
template <class Boss>
struct BossPhase {
    int32_t start;
    int32_t end;
    int32_t period;
    void (Boss::*action)(System& system, int32_t t);
    int32_t belowHitPoints = INT32_MAX;

    constexpr bool holds(int32_t t, int32_t hitPoints) const {
        return t >= start && t <= end && period > 0 && (t - start) % period == 0 &&
               hitPoints < belowHitPoints;
    }
};

// A boss's attack plan: the phases of a cycle of `cycle` frames. At each frame the first phase
// that holds runs (the rows are an if/else chain read from the top).
template <class Boss>
struct BossPlan {
    int32_t cycle;
    std::span<const BossPhase<Boss>> phases;

    // The phase for cycle frame t at `hitPoints`, or null.
    constexpr const BossPhase<Boss>* at(int32_t t, int32_t hitPoints) const {
        for (const BossPhase<Boss>& phase : phases) {
            if (phase.holds(t, hitPoints)) return &phase;
        }
        return nullptr;
    }
    // Runs the phase of `age` frames into the attack (wrapped to the cycle); false when none.
    bool run(Boss& boss, System& system, int64_t age) const {
        if (cycle <= 0) return false;
        int64_t t = age % cycle;
        if (t < 0) t += cycle;
        const BossPhase<Boss>* phase = at(static_cast<int32_t>(t), boss.hitPoints);
        if (!phase) return false;
        (boss.*phase->action)(system, static_cast<int32_t>(t));
        return true;
    }
};

// What a boss adds to its kind figures.
struct BossFigures {
    int32_t timeLimit;  // age after which it burns out, 200 hit points a frame
    bool fadesTune;     // its destruction fades the boss tune out
};

// The base of the bosses and semi-bosses, on the kind base: the gauge of its hit points kept
// while it lives, the time limit after the hit pass, the destruction every boss shares, the
// gauge closed when it leaves the field alive, and the parts that tell it when they are lost.
// A boss writes how it moves, its phases and its parts.
class BossBody : public KindBase {
  public:
    BossBody(int32_t x, int32_t y, const KindFigures& figures, const BossFigures& boss);

    // Set by part `index` (0..7) when it is lost; whether it is.
    void partLost(int index) { partsLost |= static_cast<uint8_t>(1u << index); }
    bool isPartLost(int index) const { return (partsLost >> index) & 1u; }

    // The body of a part, found by the serial its factory gave the part: null once the body has
    // ended. Never keep it past the frame.
    static BossBody* find(const TaskManager& manager, int32_t serial);

    uint8_t partsLost = 0;
    BossDestruction destruction;

  protected:
    void afterHits(System& system) override;
    void act(System& system) final;
    void leaveField(System& system) override;
    void destructionStep(System& system) override;
    // The attack of a frame that has passed the time limit's check with hit points left.
    virtual void attack(System& system) = 0;

  private:
    const BossFigures& boss_;
};

// A part bound to a boss: it finds its body by serial every frame (and ends with it), sits at
// its anchor on the body, holds its hit points over the body's entry, takes hits while the body
// lives and, at no hit points, tells the body that it is lost. A lost part stays on as armour:
// what strikes it strikes the body, through EnemyBase::damage, and its own hit points are
// refilled. When the body runs out of hit points, so does the part.
class BoundPart : public KindBase {
  public:
    // (x, y): the body's position; `anchor` the part's place on it; `index` its number among
    // the body's parts.
    BoundPart(int32_t x, int32_t y, int32_t bodySerial, const KindFigures& figures,
              const atlas::Point& anchor, uint8_t index);

    void update() override;

    int32_t bodySerial;
    uint8_t index;
    uint8_t lost = 0;

  protected:
    // The frame it is lost, after the body has been told.
    virtual void onLost(System& system) { (void)system; }
    // Every frame from the one it is lost.
    virtual void whileLost(System& system) { (void)system; }
    // Its body's position on the screen (for pictures drawn over the body).
    int32_t bodyScreenX(const System& system) const;
    int32_t bodyScreenY(const System& system) const;

  private:
    void move(System&) final {}
    void act(System&) final {}
    void follow(const EnemyBase& body);

    const atlas::Point& anchor_;
};

}  // namespace vg
