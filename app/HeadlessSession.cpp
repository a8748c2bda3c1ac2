#include "app/HeadlessSession.h"

#include "core/System.h"
#include "player/TestScene.h"

namespace vg {

HeadlessSession::HeadlessSession(HeadlessOptions options) : options_(std::move(options)) {
    const bool direct = options_.stage >= 0;
    host_ = std::make_unique<HeadlessHost>(options_.keys, !direct && !options_.testScene,
                                           options_.saveFile);
    System& system = host_->system();
    stats_ = std::make_unique<PlayStats>(system);
    if (!options_.traceFile.empty()) {
        trace_.open(options_.traceFile, std::ios::binary | std::ios::trunc);
        if (trace_.is_open()) stats_->traceTo(&trace_);
    }
    system.testInvincible = options_.invincible ? 1 : 0;
    system.testStageScript = options_.scriptFile;
    if (options_.testScene && !direct) {
        startTestScene(system, options_.testShips[0], options_.testShips[1]);
    }
    if (direct) {
        host_->startStage(static_cast<uint8_t>(options_.stage), options_.difficulty,
                          options_.ships[0], options_.ships[1]);
    }
}

uint32_t HeadlessSession::run(const HeadlessHost::FrameObserver& afterFrame) {
    const bool direct = options_.stage >= 0;
    const uint32_t limit = options_.frames ? options_.frames : UINT32_MAX;
    uint32_t ran = 0;
    bool over = false;
    while (ran < limit && !over) {
        const bool wasInStage = stats_->inStage();
        if (host_->run(1, [&](uint32_t frame, const DIB& screen) {
                stats_->afterFrame();
                if (afterFrame) afterFrame(frame, screen);
            }) == 0) {
            break;
        }
        ++ran;
        if (host_->system().quitRequested) break;
        // A single stage ends with its hand-over.
        over = direct && wasInStage && !stats_->inStage();
    }
    if (trace_.is_open()) trace_.flush();
    return ran;
}

}  // namespace vg
