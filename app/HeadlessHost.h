#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/KeyScript.h"
#include "platform/Joystick.h"
#include "resources/DIBSection.h"

namespace vg {

class System;

// Runs the game without a window, pacing or audio: every frame the same System step and System
// draw as the real frame loop, in the same order, with keyboard snapshots from a key script.
// It draws every frame, because some drawing takes numbers from the shared random generator:
// skipping draws would change the game.
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

    System& system() { return *system_; }
    DIBSection& screen() { return screen_; }
    uint32_t framesRun() const { return framesRun_; }

  private:
    KeyScript script_;
    KeyScriptKeyboard keyboard_{script_};
    NullJoystick joysticks_;
    DIBSection screen_;
    std::unique_ptr<System> system_;
    uint32_t framesRun_ = 0;
};

}  // namespace vg
