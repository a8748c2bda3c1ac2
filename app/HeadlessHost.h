#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/KeyScript.h"
#include "platform/Joystick.h"
#include "resources/DIBSection.h"

namespace vg {

class System;

// Runs the game without a window, pacing or audio: every frame the same System step and System
// draw as the real frame loop, in the same order, with keyboard snapshots from a key script
// (plus keys held by press/release). It draws every frame, because some drawing takes numbers
// from the shared random generator: skipping draws would change the game.
class HeadlessHost {
  public:
    // `withFirstTask`: start the game as the real program does; otherwise the task list starts
    // empty (for tests and benchmarks that bring their own tasks).
    // `saveFile`: the save the game loads at start-up and writes at the end, relative to the
    // working folder as for the game; empty for none.
    explicit HeadlessHost(KeyScript script = {}, bool withFirstTask = true,
                          std::string saveFile = "save");
    ~HeadlessHost();

    using FrameObserver = std::function<void(uint32_t frame, const DIB& screen)>;
    // Runs up to `frames` frames, calling `afterFrame` after each frame's draw. Stops early
    // when the game asks to quit. Returns the number of frames run.
    uint32_t run(uint32_t frames, const FrameObserver& afterFrame = {});
    // Runs until `done()` holds after a frame, at most `limit` frames (and not past a quit).
    // Tests wait for states this way rather than counting frames. Returns whether `done` held;
    // a predicate that already holds runs no frame.
    bool runUntil(const std::function<bool()>& done, uint32_t limit,
                  const FrameObserver& afterFrame = {});

    // Keys held from the next frame on, on top of the key script, until released. Names as in
    // key scripts ("Z", "Down", "Esc", 0x5A ...); an unknown name is ignored (false).
    bool press(std::string_view key);
    bool release(std::string_view key);
    void releaseAll();
    // Presses `key` for one frame: press, run a frame, release.
    bool tap(std::string_view key, const FrameObserver& afterFrame = {});
    // Holds, from the next frame on and until changed, the keys `player` (0 or 1) has assigned
    // to the bits of `buttons` (a button byte): how the bot plays, through the player's own key
    // assignments, so the game reads and records it as a player's input.
    void holdButtons(int player, uint8_t buttons);

    // Starts a single chosen stage directly, as the stage choice would: the shared pictures and
    // effects are loaded as at start-up, the players get new-game records with the ship types
    // given (255 for no second player) and the stage's power level, recording is on, and
    // StageInit runs on the next frame. For a host made without the first task. With
    // `loadAssets` false the shared pictures are taken as they are (a further stage of a run).
    void startStage(uint8_t stage, uint8_t difficulty, uint8_t ship0, uint8_t ship1 = 255,
                    bool loadAssets = true);

    System& system() { return *system_; }
    DIBSection& screen() { return screen_; }
    uint32_t framesRun() const { return framesRun_; }

  private:
    // The key script's snapshot of each frame with the pressed keys added.
    class Keyboard final : public KeyboardDevice {
      public:
        explicit Keyboard(const KeyScript& script) : script_(script) {}
        void snapshot(KeySnapshot& keys) override;
        std::set<int> held;
        // The keys held for each player's button byte (holdButtons).
        std::array<std::vector<int>, 2> buttonKeys;

      private:
        const KeyScript& script_;
        uint32_t next_ = 0;
    };

    KeyScript script_;
    Keyboard keyboard_{script_};
    NullJoystick joysticks_;
    DIBSection screen_;
    std::unique_ptr<System> system_;
    uint32_t framesRun_ = 0;
};

}  // namespace vg
