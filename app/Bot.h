#pragma once

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "core/PlayField.h"

namespace vg {

class PlayerBase;
class System;

// A player for the headless tool: decides one player's button byte for the next frame from the
// game state after the last one (ships, bullets, enemies and pickups found through the task
// layers; never the screen). It plays like a good player: it dodges the threats near the ship by
// trying a set of short move plans against where the bullets and enemies will be over the next
// frames and taking the safest, keeps auto-fire on, burns big targets with the laser while it is
// safe to slow down, collects items, and bombs only when every plan is hit within a few frames
// (or to save the ship in the moment after a hit).
//
// Deterministic: the same game state and history give the same bytes; no clock, no randomness.
class Bot {
  public:
    // Frames each plan looks ahead.
    static constexpr int kHorizon = 24;
    // Enemies with at least this many hit points are burnt with the laser.
    static constexpr int32_t kLaserTargetHitPoints = 2000;

    explicit Bot(int playerIndex);

    // The button byte (Up, Right, Down, Left, Shot, Bomb, Auto) for the next frame; 0 while the
    // player has no ship in play.
    uint8_t decide(const System& system);

    // What the last decision saw, for tests and tuning.
    struct Decision {
        int threats = 0;     // threats near enough to matter
        int64_t danger = 0;  // danger of the plan taken
        int firstHit = 0;    // frame of the first hit of the plan taken (0: none)
        bool laser = false;
        bool bomb = false;
    };
    const Decision& lastDecision() const { return decision_; }

  private:
    // A bullet or air enemy, in whole pixels and 16.16 per frame.
    struct Threat {
        int32_t x;  // 16.16 field position now
        int32_t y;
        int32_t vx;  // 16.16 per frame
        int32_t vy;
        HitBox box;
        // Frames until its position starts to change: bullets move after the ship in a frame,
        // enemies before it.
        int lag;
        int margin;  // pixels of clearance wanted around it
    };
    struct Plan {
        uint8_t first;
        uint8_t second;
        int switchAt;
    };
    struct Outcome {
        int64_t cost = 0;
        int64_t danger = 0;
        int firstHit = 0;
    };

    void gatherThreats(const System& system, int32_t fx, int32_t fy);
    Outcome evaluate(const System& system, const PlayerBase& ship, const Plan& plan, int32_t goalX,
                     int32_t goalY) const;
    // Where to be when nothing threatens: under the chosen target, on an item.
    void chooseGoal(const System& system, const PlayerBase& ship, int32_t& goalX, int32_t& goalY,
                    bool& laserTarget) const;

    int playerIndex_;
    uint8_t lastDirections_ = 0;
    std::vector<Threat> threats_;
    // Last seen position of each enemy by serial, for its velocity.
    std::map<int32_t, std::pair<int32_t, int32_t>> lastEnemyPosition_;
    Decision decision_;
};

}  // namespace vg
