#include "app/Main.h"

#include <sys/stat.h>

#include <cstdio>

#include "app/FirstTask.h"
#include "core/System.h"
#include "input/KeyboardState.h"
#include "resources/Png.h"
#include "resources/Text.h"

namespace vg {

int chooseFrameRate(bool fastForward, int32_t taskCount) {
    if (fastForward) return 300;
    return taskCount < 1024 ? 60 : 40;
}

std::unique_ptr<FPSControl> createFramePacer(Clock& clock) {
    struct stat info;
    const bool forceMilliseconds = stat("tickCount", &info) == 0;
    if (forceMilliseconds || clock.counter() == 0) return std::make_unique<FPSControl>(clock);
    return std::make_unique<FPSControlEx>(clock);
}

Main::Main(Clock& clock, std::unique_ptr<FPSControl> pacer, std::unique_ptr<DIBSection> screen)
    : clock_(clock), screen_(std::move(screen)), pacer_(std::move(pacer)) {}

Main::~Main() {
    pacer_.reset();
    screen_.reset();
}

void Main::saveScreenshot() {
    const std::string name = screenshotFileName(clock_.localTime());
    if (!savePng(name.c_str(), *screen_)) debugOutput("ScreenShotSaveError\n");
}

bool Main::handleEvent(const WindowEvent& event, GameWindow& window, DisplaySwitch& display) {
    using Kind = WindowEvent::Kind;
    switch (event.kind) {
        case Kind::CloseRequested:
            window.hide();
            return false;
        case Kind::ActivationLost:
            display.leaveFullScreen();
            break;
        case Kind::Maximize:
            display.toggleFullScreen();
            break;
        case Kind::KeyDown:
            if (event.virtualKey == kKeyF1) display.toggleFullScreen();
            if (event.virtualKey == kKeyF2) saveScreenshot();
            if (event.virtualKey == kKeyF5) display.toggleWindowScale();
            break;
        case Kind::SystemKeyDown:
            if (event.virtualKey == kKeyReturn) display.toggleFullScreen();
            if (event.virtualKey == kKeyF4) {
                window.hide();
                return false;
            }
            break;
        case Kind::ActivationGained:
            break;
    }
    return true;
}

bool Main::pumpMessages(GameWindow& window, DisplaySwitch& display) {
    for (;;) {
        WindowEvent event;
        while (window.pollEvent(event)) {
            if (!handleEvent(event, window, display)) return false;
        }
        // While another window is active the game stands still: no update, no draw.
        if (!window.isActive()) {
            clock_.sleepMilliseconds(100);
            continue;
        }
        pacer_->waitFrame();
        window.present(*screen_);
        return true;
    }
}

void Main::run(GameWindow& window, KeyboardDevice& keyboard, JoystickDevice& joysticks,
               const AudioOpener& openAudio) {
    DisplaySwitch display(window, kScreenSize);
    screen_->setFont(0x11, "Tohoma");
    System system(keyboard, joysticks);
    if (!savesGame_) system.saveFileName.clear();
    system.sound.init(openAudio(system.sound.mixer()));
    createFirstTask(system);
    bool rateDisplay = false;
    while (pumpMessages(window, display)) {
        system.frameStep();
        system.draw(*screen_);
        if (system.quitRequested) break;
        const int rate =
            chooseFrameRate(keyHeld(system.keyboard, kKeySpace) != 0, system.taskCount);
        pacer_->setRate(rate);
        if (keyPressed(system.keyboard, kKeyF10)) rateDisplay = !rateDisplay;
        if (rateDisplay) {
            screen_->setTextColor(0xFFFFFF);
            drawText(*screen_, 5, 1, "%d / %d", pacer_->measuredRate, rate);
        }
    }
}

}  // namespace vg
