#include "app/HeadlessHost.h"

#include "app/FirstTask.h"
#include "core/Layers.h"
#include "core/System.h"
#include "screens/CharacterSelect.h"
#include "screens/GameInit.h"
#include "screens/StageSelect.h"
#include "stage/StageInit.h"

namespace vg {

void HeadlessHost::Keyboard::snapshot(KeySnapshot& keys) {
    keys = script_.frame(next_++);
    for (int code : held) keys[static_cast<size_t>(code) & 0xFF] |= kKeyDownBit;
    for (const std::vector<int>& codes : buttonKeys) {
        for (int code : codes) keys[static_cast<size_t>(code) & 0xFF] |= kKeyDownBit;
    }
}

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

bool HeadlessHost::runUntil(const std::function<bool()>& done, uint32_t limit,
                            const FrameObserver& afterFrame) {
    for (uint32_t ran = 0; !done(); ++ran) {
        if (ran >= limit || system_->quitRequested) return false;
        run(1, afterFrame);
    }
    return true;
}

bool HeadlessHost::press(std::string_view key) {
    const int code = KeyScript::keyCode(key);
    if (code <= 0) return false;
    keyboard_.held.insert(code);
    return true;
}

bool HeadlessHost::release(std::string_view key) {
    const int code = KeyScript::keyCode(key);
    if (code <= 0) return false;
    keyboard_.held.erase(code);
    return true;
}

void HeadlessHost::releaseAll() {
    keyboard_.held.clear();
}

bool HeadlessHost::tap(std::string_view key, const FrameObserver& afterFrame) {
    if (!press(key)) return false;
    run(1, afterFrame);
    return release(key);
}

void HeadlessHost::holdButtons(int player, uint8_t buttons) {
    std::vector<int>& codes = keyboard_.buttonKeys[player & 1];
    codes.clear();
    const KeyRecord& record = system_->keyRecords[player & 1];
    for (int bit = 0; bit < 8; ++bit) {
        const uint8_t mask = static_cast<uint8_t>(1u << bit);
        if (!(buttons & mask)) continue;
        const int32_t code = record.keyForBit(mask);
        // A button without a key cannot be pressed.
        if (code > 0 && code < 256) codes.push_back(code);
    }
}

void HeadlessHost::startStage(uint8_t stage, uint8_t difficulty, uint8_t ship0, uint8_t ship1,
                              bool loadAssets) {
    System& system = *system_;
    if (loadAssets) GameInit::loadSharedAssets(system);
    system.stageIndex = stage;
    system.difficulty = difficulty;
    system.playMode = 1;
    system.replay.recording = 1;
    system.replay.playingBack = 0;
    const uint8_t ships[2] = {ship0, ship1};
    for (int index = 0; index < 2; ++index) {
        system.playerRecord[index] = CharacterSelect::newGameRecord(ships[index]);
        system.playerRecord[index].power = StageSelect::powerForStage(stage);
    }
    system.spawnFront<StageInit>(layer::kScreens);
}

}  // namespace vg
