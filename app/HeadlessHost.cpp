#include "app/HeadlessHost.h"

#include "app/FirstTask.h"
#include "core/System.h"

namespace vg {

HeadlessHost::HeadlessHost(KeyScript script, bool withFirstTask, std::string saveFile)
    : script_(std::move(script)) {
    screen_.setFont(0x11, "Tohoma");
    system_ = std::make_unique<System>(keyboard_, joysticks_);
    system_->saveFileName = std::move(saveFile);
    if (withFirstTask) createFirstTask(*system_);
}

HeadlessHost::~HeadlessHost() = default;

uint32_t HeadlessHost::run(uint32_t frames, const FrameObserver& afterFrame) {
    uint32_t ran = 0;
    while (ran < frames) {
        system_->frameStep();
        system_->draw(screen_);
        ++ran;
        ++framesRun_;
        if (afterFrame) afterFrame(framesRun_ - 1, screen_);
        if (system_->quitRequested) break;
    }
    return ran;
}

}  // namespace vg
