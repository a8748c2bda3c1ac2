// Process entry of the game: picks the frame pacer, makes the screen surface, refuses to run
// twice, opens the window and the audio device, and runs the frame loop.
#include <memory>

#include "app/Main.h"
#include "core/System.h"
#include "platform/InstanceLock.h"
#include "platform/sdl/SdlAudio.h"
#include "platform/sdl/SdlJoystick.h"
#include "platform/sdl/SdlKeyboard.h"
#include "platform/sdl/SdlWindow.h"

int main() {
    vg::SystemClock clock;
    vg::Main game(clock, vg::createFramePacer(clock), std::make_unique<vg::DIBSection>());
    if (!game.ready() || game.screen().empty()) {
        vg::showMessageBox(vg::kWindowTitle, "重要なオブジェクトの生成に失敗");
        return 0;
    }
    vg::InstanceLock lock;
    if (!lock.acquired()) {
        vg::showMessageBox(vg::kWindowTitle, "すでに起動しています");
        return 0;
    }
    auto window = vg::sdl::SdlWindow::create(vg::kWindowTitle, vg::kScreenSize);
    if (!window) return 0;
    vg::sdl::SdlKeyboard keyboard;
    vg::sdl::SdlJoystick joysticks;
    game.run(*window, keyboard, joysticks, vg::openSdlAudioDevice);
    return 0;
}
