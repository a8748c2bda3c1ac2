#include "core/System.h"

#include <cstring>

namespace vg {

System::System() {
    playField.create(kFieldWidth, kFieldHeight);
    workSurface.create(128, 128);
}

System::~System() = default;

void System::frameStep() {
    updateInput();
    startAttractModeWhenIdle();
    pauseOrReplayStep();
    updatePass();
    if (frameCounter & 1) soundStep();
    ++frameCounter;
}

void System::draw(DIB& screen) {
    if (!fieldView) {
        drawAll(screen);
        return;
    }
    drawRange(playField, 0, kFieldLayerTop);
    const int left = (screen.width - kFieldWidth) / 2;
    const int top = (screen.height - kFieldHeight) / 2;
    for (int y = 0; y < kFieldHeight; ++y) {
        const int screenY = top + y;
        if (screenY < 0 || screenY >= screen.height) continue;
        std::memcpy(screen.pixelAt(left, screenY), playField.row(y), kFieldWidth * 4);
    }
    drawRange(screen, kFieldLayerTop + 1, kScreenLayerTop);
}

void System::updateInput() {}
void System::startAttractModeWhenIdle() {}
void System::pauseOrReplayStep() {}
void System::soundStep() {}

}  // namespace vg
