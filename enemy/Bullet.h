#pragma once

#include <cstdint>

#include "core/PlayField.h"
#include "core/Task.h"

namespace vg {

class PlayerBase;
class System;
class TaskManager;

// An enemy projectile on the bullet layer: flies straight, is hit-tested against the ships by
// their collision pass. A few large projectiles derive from it directly; the ordinary ones are
// `Bullet`s.
class BulletBase : public Task {
  public:
    BulletBase(int32_t x, int32_t y, int32_t vx, int32_t vy);

    // Moves; ends once x leaves -16..288 or y leaves -16..400 (bounds inclusive), else ages.
    void update() override;
    // Shows the hit box.
    void draw(DIB& surface) override;
    // Called by a ship's collision pass, a bomb, an entering ship and enemies that clear the
    // screen. The base simply ends.
    virtual void cancel() { end(); }

    int32_t x;
    int32_t y;
    int32_t vx;
    int32_t vy;
    HitBox hitBox{-1, -1, 1, 1};
    int32_t age = 0;
};

// Appearance of a Bullet: 0..6 the sprites of the bullet sheet; 7 a cancelled bullet, drawn as
// its vanishing puff, never hit-tested, grazed or changed.
inline constexpr uint8_t kBulletTypeCount = 7;
inline constexpr uint8_t kBulletCancelled = 7;

// A target point for the aimed constructor (16.16 field position).
struct AimAt {
    int32_t x;
    int32_t y;
};

class Bullet : public BulletBase {
  public:
    // Aimed: flies from (x, y) toward the target at `speed`; straight down when they coincide.
    Bullet(AimAt target, int32_t x, int32_t y, int32_t speed, uint8_t type, int32_t ownerId);
    // Angled: flies along `angle` (16.16 degrees, 90 straight down) at `speed`.
    Bullet(int32_t x, int32_t y, int32_t angle, int32_t speed, uint8_t type, int32_t ownerId);

    void draw(DIB& surface) override;
    // Turns the bullet into its vanishing puff at half speed; a cancelled bullet stays as it is.
    void cancel() override;

    uint8_t type;
    uint8_t direction = 0;  // sprite direction 0..32 of the directional types 1, 4 and 5
    uint8_t animationStep = 0;
    uint8_t grazed = 0;
    // Serial of the enemy that fired it, or -1 for bullets that belong to no enemy.
    int32_t ownerId;
};

// Where a new bullet goes within the bullet layer.
enum class BulletOrder { Back, Front };

// Firing; every enemy bullet is made through these (an observer of play counts them here). A
// bullet the arena has no room for is simply not made (null). Angles and spreads are
// 16.16 degrees, speeds 16.16 pixels per frame, positions 16.16 field pixels.
Bullet* fireAimed(TaskManager& manager, int32_t targetX, int32_t targetY, int32_t x, int32_t y,
                  int32_t speed, uint8_t type, int32_t ownerId,
                  BulletOrder order = BulletOrder::Back);
Bullet* fireAngled(TaskManager& manager, int32_t x, int32_t y, int32_t angle, int32_t speed,
                   uint8_t type, int32_t ownerId, BulletOrder order = BulletOrder::Back);
// n bullets `spread` apart centred on the heading from (x, y) to the target (in whole degrees):
// an odd fan has a bullet on the centre line, an even one straddles it. Nothing for n <= 0.
void fireAimedFan(int32_t n, TaskManager& manager, int32_t targetX, int32_t targetY, int32_t x,
                  int32_t y, int32_t speed, int32_t spread, uint8_t type, int32_t ownerId,
                  BulletOrder order = BulletOrder::Back);
// The same fan centred on a given angle.
void fireFan(int32_t n, TaskManager& manager, int32_t x, int32_t y, int32_t centreAngle,
             int32_t speed, int32_t spread, uint8_t type, int32_t ownerId,
             BulletOrder order = BulletOrder::Back);

// The laser-kill change: every live, uncancelled Bullet fired by the enemy with `serial` (or by
// no enemy, owner -1) becomes a Crystal whose size and worth come from the killer's crystals and
// energy (the lowest tier without a killer). (x, y) is where the count is shown when the
// "BulletChangeCount" option is on. Returns how many bullets changed.
int changeBulletsToCrystals(System& system, int32_t serial, const PlayerBase* killer, int32_t x,
                            int32_t y);

// Cancels every live bullet on the bullet layer.
void cancelAllBullets(TaskManager& manager);

// True while some present player has no energy left: bullets then use their cold colours.
bool bulletsInColdColours(const TaskManager& manager);

}  // namespace vg
