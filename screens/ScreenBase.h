#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "core/GameSound.h"
#include "core/Layers.h"
#include "core/System.h"
#include "core/Task.h"
#include "effects/Fonts.h"
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

// The names of the difficulties as the screens and panels show them.
inline constexpr const char* kDifficultyNames[kDifficultyCount] = {"Easy", "Normal", "Hard",
                                                                   "Extra", "Extra2"};

// Loads `name` from "data.pck" (or the loose file) into image slot `slot`; a missing picture
// leaves the slot as it was.
bool loadScreenImage(System& system, int slot, const char* name);

// Ends every task and leaves play for a screen after it (name entry, the replay save): nothing
// is recorded or played back, the field view is off and no stage counts as started.
void leavePlay(System& system);

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

    // Sound to play with a hand-over: kSilent for none.
    static constexpr int32_t kSilent = -1;

    // Moves the game on to the next screen: a T (usually the next start task) at the front of
    // layer 0, the sound, and this screen ends.
    template <class T, class... Args>
    T* goTo(int32_t sound, Args&&... args) {
        System* sys = system();
        if (!sys) return nullptr;
        T* next = sys->spawnFront<T>(layer::kScreens, std::forward<Args>(args)...);
        if (sound != kSilent) playSound(*sys, sound);
        end();
        return next;
    }
    // Opens a dialog over this screen: every task freezes, the dialog goes behind this screen in
    // layer 0 (so it is drawn over it), and the held buttons must be let go before this screen
    // acts again when the dialog resumes it.
    template <class T, class... Args>
    T* openModal(int32_t sound, Args&&... args) {
        System* sys = system();
        if (!sys) return nullptr;
        sys->freezeAll();
        T* dialog = sys->spawnBack<T>(layer::kScreens, std::forward<Args>(args)...);
        if (sound != kSilent) playSound(*sys, sound);
        resetHoldCounters();
        return dialog;
    }

    // Closes this dialog: the sound, every task resumes (this one too, so it ends after), and
    // this dialog ends.
    void closeModal(int32_t sound) {
        System* sys = system();
        if (!sys) return;
        if (sound != kSilent) playSound(*sys, sound);
        sys->resumeAll();
        end();
    }

  private:
    int test(int bitIndex, bool repeat);
};

inline bool fired(int player) {
    return player != ScreenBase::kNoPlayer;
}

// The cursor rule of every vertical menu: Up moves to the item before, Down to the item after,
// each wrapping between 0 and `last`, with the select sound. Computed in signed int and stored
// back, so a byte cursor never wraps to 255 and indexes past a table.
struct MenuList {
    int last;

    // `cursor` + `delta`: below 0 gives `last`, above `last` gives 0.
    int wrapped(int cursor, int delta) const {
        const int next = cursor + delta;
        if (next < 0) return std::max(last, 0);
        if (next > last) return 0;
        return next;
    }

    // Runs the Up test and then the Down test of `screen` and moves `cursor`. With
    // `downAfterUp` false, Down is only tested when Up did not fire (menus whose tests form an
    // "otherwise" chain). Returns whether either fired.
    template <class Int>
    bool handle(ScreenBase& screen, System& system, Int& cursor, bool downAfterUp) const {
        bool moved = false;
        if (fired(screen.menuUp())) {
            cursor = static_cast<Int>(wrapped(cursor, -1));
            playSound(system, SoundManager::kSoundSelect);
            moved = true;
        }
        if ((downAfterUp || !moved) && fired(screen.menuDown())) {
            cursor = static_cast<Int>(wrapped(cursor, +1));
            playSound(system, SoundManager::kSoundSelect);
            moved = true;
        }
        return moved;
    }
};

// Alpha of a fade-in over `frames` frames at `frame`: frame * 255 / frames, then 255.
constexpr uint32_t fadeAlpha(int32_t frame, int32_t frames) {
    if (frames <= 0 || frame >= frames) return 255;
    return frame <= 0 ? 0 : static_cast<uint32_t>(frame * 255 / frames);
}

// Frame counters of screens that can stay open indefinitely stop here instead of overflowing;
// they only drive fades, which are over long before.
inline void countFrame(int32_t& frames) {
    if (frames < (1 << 30)) ++frames;
}

}  // namespace vg
