#pragma once

#include <array>
#include <cstdint>

#include "core/System.h"
#include "core/Task.h"
#include "render/GlyphText.h"
#include "resources/ImageSlots.h"

namespace vg {

// Menu choices kept between visits of the screens (not saved). GameInit resets them, so every
// game starts from the same state.
struct MenuMemory {
    int8_t titleCursor = 0;
    int8_t stageCursor = 0;
    // Each player's chosen ship type 0..3, or 255 when that player has not joined.
    std::array<uint8_t, 2> chosenShip{255, 255};
};
MenuMemory& menuMemory();

// The menu font of "frame.png": 20 x 20 cells from (0, 192), advance 12.
GlyphFont menuFont(const System& system);

// Loads `name` from "data.pck" (or the loose file) into image slot `slot`; a missing picture
// leaves the slot as it was.
bool loadScreenImage(System& system, int slot, const char* name);

// Base of every menu screen and dialog: the menu input tests over both players' button bytes.
class ScreenBase : public Task {
  public:
    // Returned by the tests when no player's button fired.
    static constexpr int kNoPlayer = -1;

    // All counters start at 1, so a button already held when the screen opens does not act.
    ScreenBase();

    // Auto-repeating direction tests: fire on a fresh press, then every 4th frame from the 28th
    // frame of holding. Each returns the player that fired (1 wins a tie) or kNoPlayer. Every
    // test advances its button's counters, so call each at most once per frame.
    int menuUp();
    int menuRight();
    int menuDown();
    int menuLeft();
    // Fresh presses only: Shot, Bomb and Auto.
    int menuConfirm();
    int menuCancel();
    int menuAuto();
    // Escape pressed this frame (acts as a cancel on most screens).
    bool escapePressed() const;
    void resetHoldCounters();

    // One counter per button bit (Up, Right, Down, Left, Shot, Bomb, Auto, Pause) and player:
    // index 2 * bit number + player.
    std::array<uint8_t, 16> holdCounters;

  protected:
    System* system() const { return systemOf(*this); }

  private:
    int test(int bitIndex, bool repeat);
};

// Frame counters of screens that can stay open indefinitely stop here instead of overflowing;
// they only drive fades, which are over long before.
inline void countFrame(int32_t& frames) {
    if (frames < (1 << 30)) ++frames;
}

inline bool fired(int player) {
    return player != ScreenBase::kNoPlayer;
}

}  // namespace vg
