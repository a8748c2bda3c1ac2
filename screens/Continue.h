#pragma once

#include <array>
#include <cstdint>

#include "core/Task.h"
#include "screens/PressLatch.h"

namespace vg {

class System;

// The continue prompt after the last ship of the only player is lost (layer 29, over the frozen
// game, drawn into the play field). It counts down from 9 seconds; "Yes" leads to the ship
// choice, "No" or the end of the count to the game over. Its logic runs in draw, which the
// frozen game still calls.
class Continue : public Task {
  public:
    enum Choice : uint8_t { kYes = 0, kNo = 1 };
    // The prompt acts from this frame on, and gives up after kLastFrame.
    static constexpr int32_t kFirstActiveFrame = 17;
    static constexpr int32_t kLastFrame = 600;
    static constexpr uint8_t kBandTarget = 150;
    static constexpr int32_t kPulseSteps = 32;

    void draw(DIB& surface) override;

    // The seconds shown at `frame`: (600 - frame) / 60, 9 at the first active frame.
    static int32_t secondsLeft(int32_t frame) { return (kLastFrame - frame) / 60; }

    uint16_t frame = 0;
    uint8_t choice = kYes;
    uint8_t bandHeight = 0;
    int32_t pulse = 0;
    std::array<PressLatch, 2> latches{};

  private:
    // Shot on "No" or the end of the count: the recording's stage closes with both players'
    // final scores, and the game over takes over.
    void gameOver(System& system);
    void drawPrompt(const System& system, DIB& surface) const;
};

// The ship choice after "Yes" (layer 29, logic in draw): Left and Right choose the family, Up
// and Down the "2" variant once unlocked, Shot brings the new ship in, Bomb goes back to the
// prompt.
class ContinueSelectShip : public Task {
  public:
    static constexpr int32_t kFirstActiveFrame = 17;
    static constexpr uint8_t kBandTarget = 120;
    static constexpr int32_t kPulseSteps = 32;

    void draw(DIB& surface) override;

    // The continues a new ship's score counts: the last digit of the player's final score plus
    // one, at most 9 (the score's last digit counts continues; the stage flow reads it).
    static int32_t continueCount(int32_t finalScore);

    uint8_t shipType = 0;
    uint16_t frame = 0;
    uint8_t bandHeight = 0;
    int32_t pulse = 0;
    std::array<PressLatch, 2> latches{};

  private:
    void drawChoice(const System& system, DIB& surface) const;
};

// TYPE-A2 (ship 2) is open once TYPE-A has cleared Normal, Hard or Extra; TYPE-B2 (ship 3) once
// TYPE-B has.
bool shipUnlocked(const System& system, uint8_t shipType);

// The tint of a "2" variant wherever a ship choice shows one.
inline constexpr uint32_t kVariantTint = 0xFFCC99;

// The two moves of every ship choice (the ship selection, the continue, a second player joining).
// The other family's base ship: TYPE-B after TYPE-A or TYPE-A2, TYPE-A after the others.
inline uint8_t otherFamily(uint8_t shipType) {
    return (shipType == 1 || shipType == 3) ? 0 : 1;
}
// A base ship becomes its "2" variant once that is unlocked (else stays); a variant goes back to
// its base ship.
uint8_t toggledVariant(const System& system, uint8_t shipType);

}  // namespace vg
