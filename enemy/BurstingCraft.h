#pragma once

#include <cstdint>
#include <span>

#include "enemy/EnemyBase.h"
#include "enemy/EnemyCommon.h"

namespace vg {

// What sets one craft's destruction apart: the kill reward's base score and energy cost; what is
// added to the near-kill level for the energy drop; the pieces of every burst; the step of the
// middle bursts (the last ones come at twice it); the kill sound; whether the closing blast has
// its shock ring; and the burst offsets of the three rounds.
struct CraftBursts {
    int32_t baseScore;
    int32_t energyCost;
    int32_t energyBonus;
    int32_t debris;
    int32_t middleStep;
    int32_t sound;
    bool ring;
    std::span<const PixelOffset> first;
    std::span<const PixelOffset> middle;
    std::span<const PixelOffset> last;
};

// A larger air craft bursting where it stands, one step a frame from the frame its hit points
// run out: at step 0 the kill reward (chain time 128), the first bursts and the kill sound; at the
// middle step the middle bursts; at twice the middle step the last bursts, the energy drop, the
// closing blast, and the craft ends.
class CraftDestruction {
  public:
    static constexpr int32_t kChainTime = 128;

    // Runs the next step for `craft`. True at step 0, the frame the craft is destroyed.
    bool step(EnemyBase& craft, System& system, const CraftBursts& bursts);

    int32_t counter = 0;
    int32_t nearKill = 0;  // the level the kill reward returned
};

// An air craft that bursts over a few frames when destroyed: while it lives it flies its kind's
// frame; once dead, only its destruction runs.
class BurstingCraft : public EnemyBase {
  public:
    using EnemyBase::EnemyBase;

    void update() final;

  protected:
    // The frame of the living craft; at no hit points it bursts.
    virtual void fly(System& system) = 0;
    // The next step of the destruction.
    virtual void burst(System& system) = 0;
    // The frame's hit pass; at no hit points the craft bursts. False once it has.
    bool survivesHits(System& system);
};

}  // namespace vg
