#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "app/DisplaySwitch.h"
#include "app/FramePacer.h"
#include "platform/AudioDevice.h"
#include "platform/Clock.h"
#include "platform/Window.h"
#include "resources/DIBSection.h"

namespace vg {

class System;
class KeyboardDevice;
class JoystickDevice;

inline constexpr const char* kWindowTitle = "Vesperglint ver1.0b";
inline constexpr Size kScreenSize{512, 384};

// The application object: owns the screen surface and the frame pacer, and runs the frame loop
// on a window. System lives exactly as long as the loop runs.
class Main {
  public:
    // `pacer` and `screen` may be null: run() then reports that the game cannot start.
    Main(Clock& clock, std::unique_ptr<FPSControl> pacer, std::unique_ptr<DIBSection> screen);
    ~Main();

    // The frame loop: messages, wait for the tick, present the previous frame, System step,
    // System draw, quit test, next frame rate. Returns when the window closes or the game
    // asks to quit.
    // `openAudio` makes the audio device that pulls from the sound bank's mixer.
    using AudioOpener = std::function<std::unique_ptr<AudioDevice>(AudioSource&)>;
    void run(GameWindow& window, KeyboardDevice& keyboard, JoystickDevice& joysticks,
             const AudioOpener& openAudio);

    bool ready() const { return pacer_ && screen_; }
    // The game then neither loads nor writes a save file (no folder to keep it in).
    void disableSave() { savesGame_ = false; }
    DIBSection& screen() { return *screen_; }
    FPSControl& pacer() { return *pacer_; }

  private:
    // Handles waiting window events, idles while the window is inactive, waits for the next
    // frame tick and shows the previous frame. False once the window is closing.
    bool pumpMessages(GameWindow& window, DisplaySwitch& display);
    // False when the event closes the game.
    bool handleEvent(const WindowEvent& event, GameWindow& window, DisplaySwitch& display);
    void saveScreenshot();

    Clock& clock_;
    // Destroyed in this order on the way out: pacer first, then the surface.
    std::unique_ptr<DIBSection> screen_;
    std::unique_ptr<FPSControl> pacer_;
    bool savesGame_ = true;
};

// The frame rate the loop asks for: 300 while Space is held (fast forward), else 60 below 1024
// live tasks and 40 from 1024 on (the game slows down under load).
int chooseFrameRate(bool fastForward, int32_t taskCount);

// The millisecond pacer when the high-resolution counter reads 0 or when a file or folder named
// "tickCount" exists in the working folder; the high-resolution pacer otherwise.
std::unique_ptr<FPSControl> createFramePacer(Clock& clock);

}  // namespace vg
