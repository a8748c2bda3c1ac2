#pragma once

#include <cstdint>

#include "player/ShipBase.h"

namespace vg {

class PlayerBase;
class System;

// Creates the ship of `shipType` (0 "TYPE-A" .. 3 "TYPE-B2") for `playerIndex` at the front of
// the player layer and notes the type in the player's record. Null for a type above 3 (no such
// player) or when the arena is full.
PlayerBase* createShip(System& system, uint8_t shipType, uint8_t playerIndex);

// "TYPE-A": a fast ship; its options fire beams that stop at the first enemy above them, and at
// full power the options gather over the ship and one wide beam comes from the ship itself.
class Ship1 : public ShipBase {
  public:
    explicit Ship1(uint8_t playerIndex);

  protected:
    void startLaser() override;
    void fireLaserShots() override;
    void fireVolley() override;
    void moveOptions() override;
};

// What "TYPE-B" and "TYPE-B2" share: options that follow the ship in view coordinates (above and
// beside it, or wider and lower with the laser), and shots that fan out from the ship and both
// options.
class FanShip : public ShipBase {
  public:
    using ShipBase::ShipBase;

    // A field position shots leave from, 16.16.
    struct Muzzle {
        int32_t x;
        int32_t y;
    };
    // The ship's muzzle, then the left and the right option's.
    struct Muzzles {
        Muzzle ship;
        Muzzle sides[2];
    };

  protected:
    void moveOptions() override;

    Muzzles muzzles() const;
    // One volley of the fan table (by the table power) of `Shot`, with the muzzle flashes of
    // `Flash` at the ship and of `OptionFlash` at the options.
    template <class Shot, class Flash, class OptionFlash>
    void fireFan();
    // Laser shots of `LaserShot` (by the table power): from the ship at 16 pixels a frame and
    // from both options at `optionSpeed`, along `angles` (16.16 degrees: ship, left, right);
    // then the flashes of `Flash` and the laser sound.
    template <class LaserShot, class Flash>
    void fireLaser(const Muzzles& from, int32_t optionSpeed, const int32_t (&angles)[3]);
};

// "TYPE-B": fans of shots; its laser shots turn toward the last enemy they struck.
class Ship2 : public FanShip {
  public:
    explicit Ship2(uint8_t playerIndex);
    void fireWeapons() override;
    void laserStruck(int32_t enemyX, int32_t enemyY) override;

    // Where the laser shots aim while the chain hold lasts (16.16 field position).
    int32_t lockX = 0;
    int32_t lockY = 0;

  protected:
    void fireLaserShots() override;
    void fireVolley() override;
};

// "TYPE-A2": beams like TYPE-A, but the options circle the ship and, with the laser, slide under
// the enemies to burn them from below; it launches the lingering Bomb2.
class Ship3 : public ShipBase {
  public:
    explicit Ship3(uint8_t playerIndex);
    void bomb() override;

  protected:
    void startLaser() override;
    void fireLaserShots() override;
    void fireVolley() override;
    void moveOptions() override;
};

// "TYPE-B2": fans like TYPE-B; its laser shots home on the nearest enemy; it launches Bomb2.
class Ship4 : public FanShip {
  public:
    explicit Ship4(uint8_t playerIndex);
    void bomb() override;

  protected:
    void fireLaserShots() override;
    void fireVolley() override;
};

}  // namespace vg
