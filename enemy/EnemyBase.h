#pragma once

#include <cstdint>

#include "core/PlayField.h"
#include "core/Task.h"

namespace vg {

class PlayerBase;
class System;
class TaskManager;

// How an enemy was last struck.
enum HitKind : uint8_t {
    kHitShot = 0,
    kHitLaser = 1,
    kHitBomb = 2,
};

inline constexpr uint8_t kNoHitter = 255;

// The base of every enemy and boss: position, velocity, hit box and hit points; the per-frame
// hit pass against the players' shots and bombs; the kill reward, energy drop and destruction
// effects; the nearest-player search. Air enemies live on the air layer and can ram a ship;
// ground enemies live on the two ground layers. Positions are 16.16 field pixels.
class EnemyBase : public Task {
  public:
    EnemyBase(int32_t x, int32_t y);

    // Moves, reflects off a wide box, runs the hit pass and, at no hit points, the base
    // destruction. The kinds replace this with their own step.
    void update() override;
    // Shows the hit box; ends an enemy that has no System to draw for.
    void draw(DIB& surface) override;
    // Called once per frame for every air enemy by the shadow renderer: the shadow offset toward
    // the lower middle of the field. Ground enemies draw none.
    virtual void drawShadow(DIB& surface) { (void)surface; }

    // Shots of both players, then bombs. Nothing while dead. Every overlapping shot strikes,
    // also those after the hit points have reached 0.
    void hitPass();
    // Every hit (shot, bomb, beam or a class's own rule): loses `amount` hit points, notes how
    // and by whom, starts the hit flash and plays the damage sound.
    void damage(int32_t amount, uint8_t kind, uint8_t hitter);
    // Credits the kill to the last hitter: chain, score and, for a laser kill that the killer's
    // energy pays for, the bullet change. Returns the near-kill level 0..4 (0 for a laser kill
    // or without a killer). Every kind's destruction calls it once (an observer of play counts
    // the destruction here), parts bound to a body excepted.
    int killReward(int32_t chainTime, int32_t baseScore, int32_t energyCost);
    // code + 1 energy pickups around the enemy (none for a negative code).
    void energyDrop(int32_t code);
    // Explosions, smoke, debris and sparks at (x, y) moving (vx, vy), the revenge bullets of the
    // hardest difficulties and the lens flash of the "OpticalEffect" option.
    void destroyEffects(int32_t x, int32_t y, int32_t vx, int32_t vy, int32_t debrisCount);
    // The destruction of the base update: effects without score.
    void baseDestruction();

    // The nearest ship (by its field position; a later one only when strictly nearer), dying
    // ships included, or null when there is none. Kinds aim at it and keep their last aim when
    // there is none.
    PlayerBase* nearestPlayer() const;
    // 4 closer than 96 pixels, 3 than 144, 2 than 192, 1 than 240, else 0.
    int nearKillLevel(const PlayerBase& player) const;
    // Whether to draw the red low-hit-point copy this frame (full hit points `fullHitPoints`).
    // Advances the blink, so call it once per draw.
    bool lowHitPointBlink(int32_t fullHitPoints);

    // A ship's field position as enemies aim at it: its integer field x and y, in 16.16.
    static int32_t aimX(const System& system, const PlayerBase& player);
    static int32_t aimY(const PlayerBase& player);
    // The live enemy with `serial` on an enemy layer, or null. Parts find their body this way
    // every frame and never keep a pointer to it.
    static EnemyBase* findBySerial(const TaskManager& manager, int32_t serial);
    // The nearest enemy on the enemy layers to (x, y) (16.16), by whole-pixel distance, that has
    // neither ended nor begun its destruction; or null.
    static EnemyBase* nearestEnemy(const TaskManager& manager, int32_t x, int32_t y);

    // Fields in their order.
    int32_t x;
    int32_t y;
    int32_t vx = 0;
    int32_t vy = 0;
    HitBox hitBox{-10, -10, 10, 10};
    int32_t frameCount = 0;
    // Two values of the kind's own; most keep a latched target point here.
    int32_t targetX = 120 * kFixedOne;
    int32_t targetY = 192 * kFixedOne;
    int8_t attackLevel = 0;
    int32_t hitPoints = 300;
    uint8_t lastHitKind = kHitShot;
    uint8_t lastHitter = kNoHitter;
    uint8_t dead = 0;
    int8_t hitFlash = 0;
    int8_t lowHpBlink = 0;
    int32_t serial;
    // Set by a kind's time limit, so that the end it brings is told apart from a kill.
    uint8_t timedOut = 0;

  protected:
    System* system() const;
};

// The stage-wide counter that numbers enemies; every stage starts it again from 0.
void resetEnemySerials();

}  // namespace vg
