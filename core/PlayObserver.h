#pragma once

namespace vg {

class Bullet;
class EnemyBase;
class System;

// Watches play for tools and tests (statistics, traces): told when an enemy is spawned by the
// stage, when one is destroyed, and when a bullet is fired. The game itself runs without one;
// an observer only reads what it is given and never changes play.
class PlayObserver {
  public:
    virtual ~PlayObserver() = default;
    virtual void enemySpawned(const EnemyBase& enemy) { (void)enemy; }
    // `timedOut`: ended by its time limit rather than by damage.
    virtual void enemyDestroyed(const EnemyBase& enemy, bool timedOut) {
        (void)enemy;
        (void)timedOut;
    }
    virtual void bulletFired(const Bullet& bullet) { (void)bullet; }
    // A stage has begun: StageInit has made its tasks and ships (stageIndex, difficulty and the
    // ships are those of the new stage). Its first frame is the current one.
    virtual void stageStarted(const System& system) { (void)system; }
    // The stage hands over to the next (StageComplete's last step), before stageIndex advances.
    virtual void stageCompleted(const System& system) { (void)system; }
};

}  // namespace vg
