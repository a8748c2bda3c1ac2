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

// "TYPE-B": fans of shots; its laser shots turn toward the last enemy they struck.
class Ship2 : public ShipBase {
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
    void moveOptions() override;
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
class Ship4 : public ShipBase {
  public:
    explicit Ship4(uint8_t playerIndex);
    void bomb() override;

  protected:
    void fireLaserShots() override;
    void fireVolley() override;
    void moveOptions() override;
};

}  // namespace vg
