#pragma once

#include <cstdint>

#include "core/PlayField.h"
#include "core/SaveData.h"
#include "core/Task.h"

namespace vg {

class System;
class TaskManager;

// Life states of a ship. Stored in PlayerBase::lifeState (the task's own `state` is the task
// system's).
enum class PlayerState : uint8_t {
    Normal = 0,      // moves, fires, can be hit by bullets and enemies
    Dying = 1,       // hit: no control; explodes, then respawns or leaves
    Invincible = 2,  // moves and fires; bullets that come near are cancelled
    Entering = 3,    // flies itself into place; cannot be hit
    Waiting = 6,     // stage start pause before entering
    Autopilot = 7,   // stage clear: flies itself to its parking spot
};

// The common base of the ships: position, movement, life cycle, lives, bombs, energy,
// crystals, chain and score, and the per-frame collision pass against pickups, enemy bullets and
// enemies. Up to two exist, on the player layer, found by their playerIndex (0 or 1), never held.
class PlayerBase : public Task {
  public:
    static constexpr int32_t kMaxEnergy = 64;
    static constexpr int16_t kMaxComboTimer = 128;
    static constexpr int16_t kMaxCombo = 32767;

    explicit PlayerBase(uint8_t playerIndex);

    void update() override;
    void draw(DIB& surface) override;

    // Virtual operations of the ships, in their order.
    virtual void fireWeapons() {}
    // Launches a bomb when the bomb button is held, none exists and the stock allows.
    virtual void bomb();
    // power + 1 and the shot cap that goes with it.
    virtual void powerUp();
    virtual void addBomb();
    virtual void drawShadow(DIB& surface) { (void)surface; }
    // Drawn by the collision display task for each player.
    virtual void drawHitMark(DIB& surface);
    // 0..3 for the four ships, 255 for a bare PlayerBase.
    virtual uint8_t shipType() const { return 255; }
    // A laser of this player struck an enemy at (x, y) (16.16 field position).
    virtual void laserStruck(int32_t enemyX, int32_t enemyY) {
        (void)enemyX;
        (void)enemyY;
    }

    // The live player with `playerIndex` on the player layer, or null.
    static PlayerBase* find(const TaskManager& manager, int playerIndex);

    // How far the field scrolls sideways under the ships (16.16).
    static constexpr int32_t kMaxFieldScroll = 32 * kFixedOne;
    // One frame of movement of a ship at view position (x, y) (16.16) holding `directions`
    // (no opposite pair): a diagonal moves speed / sqrt(2) on each axis, the ship stays in the
    // view, and a sideways move asks the field to scroll by `scrollChange`.
    struct ViewStep {
        int32_t x;
        int32_t y;
        int32_t scrollChange;
    };
    static ViewStep stepInView(int32_t x, int32_t y, int32_t speed, uint8_t directions);

    // Every score gain goes through here: adds (computed in 64 bits, saturating at the 32-bit
    // limits, so an expert chain cannot wrap the score) and grants at most one score extend.
    void addScore(int64_t amount);
    // A kill credited to this player: chainLink, then base score x chain + crystals x 10.
    void addKill(int32_t chainTime, int32_t baseScore);
    // One more kill in the chain without score: chain time onto the chain timer, the chain and
    // its best length.
    void chainLink(int32_t chainTime);
    // Field x of the ship in whole pixels (the ship itself lives in view coordinates).
    int32_t fieldX(const System& system) const { return fieldXOfView(system, x); }
    // The ship's integer position in the field, as enemies aim at it.
    int32_t fieldY() const { return fixedToInt(y); }

    // Stage start: waiting for 148 frames, carried values taken from the record (ranges are
    // clamped: a damaged save or replay never indexes outside a table).
    void restoreFromRecord(const PlayerRecord& record);
    // Stage clear: autopilot, and the carried values written back to the record.
    void enterAutopilot(PlayerRecord& record);

    // A bullet or an enemy struck the ship: Dying for 60 frames.
    void hit();
    // The playable states: moves, fires, takes pickups and can be struck (Normal only).
    bool inPlay() const {
        return lifeState == PlayerState::Normal || lifeState == PlayerState::Invincible;
    }

    // Fields in their order.
    int32_t x;      // view coordinates, 16.16
    int32_t y;      // 16.16
    int32_t speed;  // 16.16 pixels per frame
    HitBox hitBox{-1, -1, 1, 1};
    uint8_t power = 0;
    uint8_t fireCooldown = 0;
    uint8_t maxShots = 6;
    int8_t lives = 2;
    int8_t bombs = 3;
    int16_t energy = 32;
    int16_t combo = 0;
    int16_t comboTimer = 0;
    int16_t maxCombo = 0;
    int32_t crystals = 0;
    int32_t score = 0;
    PlayerState lifeState = PlayerState::Entering;
    int16_t stateTimer = 60;
    uint8_t extendsGiven = 0;
    uint8_t hitMarkFrame = 0;
    uint8_t playerIndex;

    // This player's button byte of the current frame.
    uint8_t buttons() const;

  protected:
    System* system() const;
    // Play-field surface x, in whole pixels with the screen shake, of a view x (16.16); the
    // surface y of a ship is screenY of its y, as view and field share their y.
    static int32_t screenXOfView(const System& system, int32_t viewX);

    // What the ship classes add to the update order of PlayerBase::update.
    // Straight-line speed outside the laser.
    virtual int32_t normalSpeed() const { return fixedFromInt(3); }
    // While stateTimer is at least this, a Dying ship still tries its bomb each frame.
    virtual int16_t rescueThreshold() const { return 55; }
    // The sprite bank after the move, from the direction bits that moved the ship.
    virtual void bankStep(uint8_t directions) { (void)directions; }
    // The options' formation step (and the beams that hang from them).
    virtual void moveOptions() {}
    // The options jump onto the ship (the explosion).
    virtual void placeOptionsAtShip() {}
    // Respawn, exit or stage clear: the laser off, the shot counters and the bank cleared.
    virtual void clearWeaponState() {}
    // The chain-hold counter of the chain decay: counts it down and reports true while it held
    // the chain this frame.
    virtual bool holdChain() { return false; }

  private:
    void lifeStateStep();
    void dyingStep();
    void move();
    void scrollField(int32_t change);
    void collisionPass();
    void takePickups(int32_t fx, int32_t fy);
    void bulletPass(int32_t fx, int32_t fy);
    void chainDecay();
};

}  // namespace vg
