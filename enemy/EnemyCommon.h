#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>

#include "AtlasCells.h"
#include "core/PlayField.h"

namespace vg {

class DIB;
class EnemyBase;
class PlayerBase;
class System;

// What the enemy kinds share beyond EnemyBase: motion in 16.16, aiming, the closing blasts of
// their destructions and the drawing with hit feedback. Every function that takes a random
// number takes exactly one per call.

// One degree, and a few speeds, in 16.16.
inline constexpr int32_t kDegree = kFixedOne;

// A 16.16 velocity.
struct Velocity {
    int32_t x = 0;
    int32_t y = 0;
};

// `speed` along `direction` (16.16 degrees, 0 right, 90 down): speed x (cos, sin) of the game's
// tables.
Velocity velocityAlong(int32_t direction, int32_t speed);
// Sets the enemy's velocity to `speed` along `direction`, as velocityAlong gives it.
void setVelocityAlong(EnemyBase& enemy, int32_t direction, int32_t speed);

// `angle` (16.16 degrees, any value) brought into [0, 360).
int32_t wrapAngle(int64_t angle);

// Frame 0..15 of a craft drawn in 16 directions (frame i points at 22.5 i degrees):
// ((direction + 11.25) mod 360) / 22.5.
int32_t sixteenDirectionFrame(int32_t direction);

// a + b held at the 32-bit limits: a craft sent off at an absurd scripted speed leaves its
// bounds instead of wrapping round to the other side.
int32_t addClamped(int32_t a, int32_t b);

// Moves the enemy by its velocity (plus `extraY`, the ground scroll of ground kinds).
void moveByVelocity(EnemyBase& enemy, int32_t extraY = 0);

// True when the position lies beyond one of the bounds (in whole pixels; a position on a bound
// is inside): x > right, x < left, y > bottom or y < top.
bool outsideBounds(const EnemyBase& enemy, int32_t left, int32_t top, int32_t right,
                   int32_t bottom);

// Truncated whole-pixel distance from the enemy's integer position to the ship's field position.
int32_t distanceToPlayer(const System& system, const EnemyBase& enemy, const PlayerBase& player);

// Heading in degrees from (x, y) to (tx, ty) (16.16 positions), by the game's arc tangent.
double headingTo(int32_t x, int32_t y, int32_t tx, int32_t ty);
// An angle in degrees as 16.16 (truncated toward zero).
int32_t fixedDegrees(double degrees);

// Latches the target point (the two class values) on the nearest ship's field position. Without
// a ship the previous point stays and the answer is false.
bool latchTarget(EnemyBase& enemy);
// `aim` (degrees) turned toward the nearest ship by at most `maxStep` degrees; unchanged when
// there is no ship.
double turnTowardTarget(const EnemyBase& enemy, double aim, double maxStep);

// One component of a puff thrown at random: ((random AND 127) - 63) / 32 pixels per frame.
int32_t randomThrow();

// The energy drop of `code`, unless the last hit was a laser (a laser kill pays in crystals).
void dropEnergyUnlessLaser(EnemyBase& enemy, int32_t code);

// The closing blast of a destruction, at the enemy on its debris layer: a VozerorExplosion when
// the age is a multiple of 8, else a small puff thrown at random when age mod 4 is 1; with
// `ring`, also the blue shock ring (lifetime 16, size 192).
void closingExplosion(EnemyBase& enemy, bool ring);

// An offset in whole pixels from an enemy's position.
struct PixelOffset {
    int16_t dx;
    int16_t dy;
};

// The bursts of the longer destructions: destroy effects with `debris` pieces at each offset
// from the enemy, each moving (velocity x, -1.0) so the smoke drifts up.
void burstsAt(EnemyBase& enemy, std::initializer_list<PixelOffset> offsets, int32_t debris);
void burstsAt(EnemyBase& enemy, std::span<const PixelOffset> offsets, int32_t debris);

// The velocity rule of a braking flight (FlySmall mode 1, the braking FlyGun): while age <= n
// the velocity is multiplied by the factor; afterwards a component that has come to 0 restarts
// from the course, and while both components are below the speed (in magnitude) the velocity
// is divided by the factor again. A factor of 0 skips the divisions.
struct BrakeMotion {
    int32_t factor = kFixedOne;
    int32_t frames = 0;
    int32_t speed = 0;
    int32_t course = 0;  // 16.16 degrees

    void step(int32_t age, int32_t& vx, int32_t& vy) const;
};

// The enemy sheet of the System.
const DIB& enemySheet(const System& system);

// Draws frame `frame` of `cell` at (left, top) on the surface: red-tinted when `red` (the
// low-hit-point blink), else plain with the colour key; then the hit-flash overlay while the
// enemy's hitFlash runs (not once it is dead: the flash then no longer counts down).
void drawLit(const EnemyBase& enemy, DIB& surface, const DIB& sheet, const atlas::Cell& cell,
             int32_t frame, int32_t left, int32_t top, bool red, bool mirrorX = false,
             bool mirrorY = false);

// How an air enemy's shadow is drawn: from a shadow picture of its own (Subtract, as the
// heli's), or from its sprite, subtracted at part strength so that it darkens the ground
// without blacking it out.
enum class ShadowPicture { Own, Sprite };

// Where the shadow of something in the air at (x, y) (16.16 field) falls, in whole field pixels:
// a quarter of the way toward the field point (130, 256), 40 pixels lower.
struct ShadowSpot {
    int32_t x;
    int32_t y;
};
ShadowSpot airShadowSpot(int32_t x, int32_t y);

// An air enemy's shadow, centred on its airShadowSpot.
void drawAirShadow(const EnemyBase& enemy, DIB& surface, const DIB& sheet, const atlas::Cell& cell,
                   int32_t frame, ShadowPicture picture = ShadowPicture::Sprite);

}  // namespace vg
