#pragma once

#include <array>
#include <cstdint>

#include "player/PlayerBase.h"

namespace vg {

class EnemyBase;

// A beam hanging from an option of the beam ships (TYPE-A, TYPE-A2): from its emitter straight
// up, stopped by the first enemy in its way, which it burns every frame.
struct Beam {
    enum State : uint8_t { Off = 0, Firing = 1, Blocked = 2 };

    int32_t x = 0;  // emitter, 16.16 field pixels
    int32_t y = 0;
    int16_t halfWidth = 0;
    int16_t length = 0;  // <= 0: measured upward from the emitter
    int16_t growth = -18;
    int32_t damage = 0;
    uint8_t owner = 0;
    uint8_t state = Off;
    uint16_t frame = 0;
};

// One of the two companions of a ship. Side 0 flies on the left, side 1 on the right.
struct ShipOption {
    int32_t x = 0;  // 16.16; field or view coordinates as the ship class says (optionsInView)
    int32_t y = 0;
    int32_t targetX = 0;
    int32_t targetY = 0;
    uint8_t side = 0;
    int32_t angle = 0;  // orbit angle, 16.16 degrees, kept in 0..360
    Beam beam;
};

// What sets the four ships apart besides their weapons.
struct ShipTraits {
    uint8_t type;
    int32_t normalSpeed;  // 16.16 pixels per frame
    int32_t laserSpeed;
    int16_t laserStartFrame;          // held frame on which the laser starts
    int16_t holdWrap;                 // holdCount above 64 drops back to this
    std::array<uint8_t, 6> maxShots;  // by power 0..5
    uint8_t highestPower;
    uint8_t cooldown;  // fireCooldown after a volley
    int32_t fireSound;
    int32_t laserSound;
    uint8_t strikeHold;  // chain hold set when a laser shot strikes
    uint8_t beamHold;    // chain hold set by a blocked beam (0: no beams)
    int16_t tapFrames;   // a release after 1..tapFrames held frames queues 12 frames of fire
    int16_t rescueThreshold;
    bool optionsInView;  // options follow the ship in view coordinates, not in the field
};

// The common part of the four ships: bank and roll animation, the shot button (tap, hold into the
// laser, auto-fire, the shot cap), the options and beams, and the ship's drawing and shadow.
class ShipBase : public PlayerBase {
  public:
    ShipBase(uint8_t playerIndex, const ShipTraits& traits);

    void update() override;
    void draw(DIB& surface) override;
    void fireWeapons() override;
    void powerUp() override;
    void drawShadow(DIB& surface) override;
    uint8_t shipType() const override { return traits_.type; }
    void laserStruck(int32_t enemyX, int32_t enemyY) override;

    // Puts the ship at (x, y) (16.16 view coordinates) with its options on it.
    void moveTo(int32_t newX, int32_t newY);

    const ShipTraits& traits() const { return traits_; }
    // The power the volley and beam tables are read with: power, at most 5.
    int tablePower() const { return power < 5 ? power : 5; }
    bool laserOn() const { return laserOn_ != 0; }

    // Fields in order.
    int16_t bank = 0;
    int8_t bankHold = 0;
    int8_t rollState = 0;
    // Frames the shot button has been held (0 when released).
    int16_t holdCount = 0;
    // Frames of normal fire still queued.
    uint8_t fireQueue = 0;
    // Frames the chain is held by a laser strike or a blocked beam.
    uint8_t chainHold = 0;
    std::array<ShipOption, 2> options;

  protected:
    int32_t normalSpeed() const override { return traits_.normalSpeed; }
    int16_t rescueThreshold() const override { return traits_.rescueThreshold; }
    void bankStep(uint8_t directions) override;
    void placeOptionsAtShip() override;
    void clearWeaponState() override;
    bool holdChain() override;

    // The laser starts (speed already changed): the options' formation and beams.
    virtual void startLaser() {}
    // Laser shots of the held button, on every 4th held frame from the 6th on.
    virtual void fireLaserShots() = 0;
    // One volley of normal fire with its muzzle flashes (the sound is played by the caller).
    virtual void fireVolley() = 0;

    // Where shots and beams start from: the ship's and an option's field position, 16.16.
    int32_t shipFieldX() const;
    int32_t optionFieldX(const ShipOption& option) const;
    // Screen position of an option.
    int32_t optionScreenX(const ShipOption& option) const;
    int32_t optionScreenY(const ShipOption& option) const;
    // Every option moves `factor` (16.16) of the way to its target; x and y may differ.
    void approachTargets(int32_t factorX, int32_t factorY);

    // Beams (TYPE-A, TYPE-A2). Both options' beams switch on, each with a flash above its option
    // below full power. A beam from (emitterX, emitterY) (16.16 field) grows, stops at the
    // nearest enemy above it and burns it.
    void switchBeamsOn();
    void beamStep(Beam& beam, int32_t emitterX, int32_t emitterY);
    void drawBeam(DIB& surface, const Beam& beam) const;

    // Animation counter of the options, counted by the update.
    uint32_t ticks_ = 0;
    uint8_t laserOn_ = 0;

  private:
    void drawOptions(DIB& surface) const;
    void stopLaser();

    const ShipTraits& traits_;
};

}  // namespace vg
