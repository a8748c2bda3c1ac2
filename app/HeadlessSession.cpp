#include "app/HeadlessSession.h"

#include "app/ReplayCheck.h"
#include "core/Layers.h"
#include "core/System.h"
#include "core/TaskQuery.h"
#include "player/TestScene.h"
#include "stage/Ending.h"

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
    if (options_.autoplay) {
        for (int index = 0; index < 2; ++index) {
            if (options_.ships[index] <= 3) bots_[index] = std::make_unique<Bot>(index);
        }
        if (!direct && !options_.testScene) {
            menus_ = std::make_unique<MenuDriver>(options_.difficulty, options_.ships);
        }
    }
}

void HeadlessSession::feedAutoplay() {
    const System& system = host_->system();
    if (menus_ && !gameStarted_) {
        const std::array<uint8_t, 2> buttons = menus_->decide(system);
        for (int index = 0; index < 2; ++index) host_->holdButtons(index, buttons[index]);
        return;
    }
    for (int index = 0; index < 2; ++index) {
        host_->holdButtons(index, bots_[index] ? bots_[index]->decide(system) : 0);
    }
}

void HeadlessSession::closeOpenStage() {
    System& system = host_->system();
    if (!system.replay.recording || system.replay.openStage() < 0) return;
    const std::array<int32_t, 2> scores = runScores(system);
    system.replay.EndOpenStage(scores[0], scores[1]);
}

bool HeadlessSession::nextStage() {
    // A stage cut short keeps what was played of it.
    closeOpenStage();
    if (nextStageIndex_ >= options_.moreStages.size()) return false;
    const int stage = options_.moreStages[nextStageIndex_++];
    host_->startStage(static_cast<uint8_t>(stage), options_.difficulty, options_.ships[0],
                      options_.ships[1], false);
    return true;
}

bool HeadlessSession::gameOver() const {
    const System& system = host_->system();
    return !system.fieldView && !findFirstInLayer<EndingRunner>(system, layer::kFrame);
}

uint32_t HeadlessSession::run(const HeadlessHost::FrameObserver& afterFrame) {
    const bool direct = options_.stage >= 0;
    const uint32_t limit = options_.frames ? options_.frames : UINT32_MAX;
    uint32_t ran = 0;
    uint32_t stageFrames = 0;
    bool over = false;
    while (!over) {
        if (!direct && ran >= limit) break;
        if (options_.autoplay) feedAutoplay();
        const bool wasInStage = stats_->inStage();
        if (host_->run(1, [&](uint32_t frame, const DIB& screen) {
                stats_->afterFrame();
                if (afterFrame) afterFrame(frame, screen);
            }) == 0) {
            break;
        }
        ++ran;
        ++stageFrames;
        if (host_->system().quitRequested) break;
        if (direct) {
            // A single stage ends with its hand-over, or after its frames.
            const bool handedOver = wasInStage && !stats_->inStage();
            if (handedOver || stageFrames >= limit) {
                over = !nextStage();
                stageFrames = 0;
            }
        } else if (menus_) {
            if (stats_->inStage()) gameStarted_ = true;
            over = gameStarted_ && gameOver();
        }
    }
    if (trace_.is_open()) trace_.flush();
    return ran;
}

bool HeadlessSession::saveReplay(const std::string& path) {
    closeOpenStage();
    ReplayData& replay = host_->system().replay;
    bool any = false;
    for (int stage = 0; stage < ReplayData::kGameStages; ++stage)
        any = any || replay.HasStage(stage);
    if (!any) return false;
    return options_.replayDate ? replay.Save(path.c_str(), *options_.replayDate)
                               : replay.Save(path.c_str());
}

}  // namespace vg
