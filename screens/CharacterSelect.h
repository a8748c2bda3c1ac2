#pragma once

#include <array>
#include <cstdint>

#include "core/Task.h"
#include "screens/ScreenBase.h"

namespace vg {

// Starts the ship choice for the player who confirmed the difficulty (no clearing, no loading).
class CharacterSelectInit : public Task {
  public:
    explicit CharacterSelectInit(int player) : player(player) {}
    void update() override;

    int player;
};

// The ship choice for one or two players. The player who came here has joined; the other joins
// by pressing confirm. Up and Down switch between TYPE-A and TYPE-B, Left and Right to and from
// their "2" variants once a clear has unlocked them; confirm marks a player ready, cancel takes
// the mark back (or, before it, returns to the difficulty choice). When every joined player is
// ready the game starts: the player records are filled and the first stage (or the stage
// choice) follows.
class CharacterSelect : public ScreenBase {
  public:
    static constexpr uint8_t kNotJoined = 255;
    static constexpr int32_t kStartFrames = 15;
    static constexpr int32_t kReadyFrames = 32;

    explicit CharacterSelect(int player);
    void update() override;
    void draw(DIB& surface) override;

    // The carry-over record a new game gives a player who chose `ship` (kNotJoined: no player,
    // lives -1).
    static PlayerRecord newGameRecord(uint8_t ship);

    int player;
    // 0 while choosing; once ready it counts up to kReadyFrames for the panel animation.
    std::array<int32_t, 2> ready{};
    int32_t startCounter = 0;
    int32_t n = 0;
    // Panel positions (16.16) and name cursor rows (16.16), per player.
    std::array<int32_t, 2> panelY{};
    std::array<int32_t, 2> cursorY{};

  private:
    bool joined(int q) const;
    void toggleBase(System& system, int q);
    void toggleVariant(System& system, int q);
    void startGame(System& system);
};

}  // namespace vg
