#pragma once

#include <cstdint>

#include "enemy/KindBase.h"

namespace vg {

class EnemyBase;

// The end every boss and semi-boss shares, one step per frame from the frame its hit points
// run out: at step 0 the kill reward and energy, the gauge closes, four large blasts and sound
// 7 (and the boss tune fades); every 4 steps from 4 to 68 five big explosions drift up at a
// fixed list of offsets, with sound 7 again at 28 and 68; at step 127 thirty-two white-hot
// bursts within 80 pixels, the screen shakes (160, 64), a flash (92), six large blasts, trails
// (a Blur of 240) and sound 18, and the boss ends. Every enemy bullet is cancelled on every step
// (after the kill reward, so a laser kill still turns them into crystals).
class BossDestruction {
  public:
    static constexpr int32_t kLastStep = 127;

    // Runs the next step for `boss`.
    void step(EnemyBase& boss, const KindReward& reward, bool fadeBossTune);

    int32_t counter = 0;
    int32_t nearKill = 0;  // the level the kill reward returned
};

// The time limit of a boss: after a long fight (an age above `timeLimit`) it burns out, losing
// 200 hit points a frame as by a shot; the frame they run out marks it timed out.
void burnOutAfter(EnemyBase& boss, int32_t timeLimit);

// Keeps the boss gauge of a living boss: creates it (for `maximum`) when none exists or the
// one there is closing, otherwise shows the boss's hit points on it. Nothing once the boss is
// dead.
void keepBossShield(EnemyBase& boss, int32_t maximum);

}  // namespace vg
