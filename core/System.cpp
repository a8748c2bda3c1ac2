#include "core/System.h"

#include "core/Layers.h"
#include "core/TaskQuery.h"
#include "render/Blit.h"
#include "replay/AttractMode.h"
#include "screens/Pause.h"
#include "screens/Title.h"

namespace vg {

System::System(KeyboardDevice& keyboardDevice, JoystickDevice& joystickDevice)
    : keyboardDevice_(&keyboardDevice), joystickDevice_(&joystickDevice) {
    playField.create(kFieldWidth, kFieldHeight);
    workSurface.create(128, 128);
    resetKeys(keyRecords);
    // Recording keeps the play settings that change the random sequence and a trail of the
    // state of play; playback lends the replay's settings and choice of game to the game and
    // gives the player's own back on Reset.
    replay.bindGame(
        ReplayBinding{&config, &difficulty, &stageIndex, &playMode, &playerRecord, this});
    startJoysticks(joysticks, *joystickDevice_);
}

namespace {

// The devices of a System without input. They hold no state, so one of each serves every System
// (and exists before any System's members are built).
NullKeyboard& noKeyboard() {
    static NullKeyboard keyboard;
    return keyboard;
}
NullJoystick& noJoysticks() {
    static NullJoystick joysticks;
    return joysticks;
}

}  // namespace

System::System() : System(noKeyboard(), noJoysticks()) {}

System::~System() {
    // Before anything is released, so the save sees the final state.
    writeSaveData();
}

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
    blit(&playField, &screen, left, top, kFieldWidth, kFieldHeight, 0, 0, 0, 128);
    drawRange(screen, kFieldLayerTop + 1, kScreenLayerTop);
}

bool System::loadSaveData(const char* path) {
    savePath_ = path ? path : "";
    const bool loaded =
        !savePath_.empty() && readSaveFile(path, SaveBlocks{scoreTable, keyRecords, config});
    setMusicVolume(*this, config.musicVolume);
    setSEVolume(*this, config.seVolume);
    return loaded;
}

bool System::writeSaveData() const {
    if (savePath_.empty()) return false;
    // During a playback the config holds the replay's play settings; the file keeps the
    // player's own.
    return writeSaveFile(savePath_.c_str(), scoreTable, keyRecords, replay.playerConfig(config));
}

void System::probeJoystick(int32_t padId) {
    vg::probeJoystick(joysticks, *joystickDevice_, padId);
}

bool System::pauseRequested() const {
    if (keyPressed(keyboard, kKeyEscape)) return true;
    for (const KeyRecord& record : keyRecords) {
        if (keyPressed(keyboard, record.pauseKey)) return true;
        if (padPressed(joysticks, record.padId, record.pausePadButton)) return true;
    }
    return false;
}

void System::updateInput() {
    updateKeyboard(keyboard, *keyboardDevice_);
    updateJoysticks(joysticks, *joystickDevice_);
    for (KeyRecord& record : keyRecords) computeButtons(keyboard, record, joysticks);
}

void System::startAttractModeWhenIdle() {
    // The title counts the countdown down; a demo already running keeps its layer.
    if (idleCountdown != 0 || firstOfLayer(layer::kAttract)) return;
    spawnFront<AttractMode>(layer::kAttract, demoIndex);
    idleCountdown = Title::kIdleFrames;
    demoIndex = static_cast<uint8_t>(demoIndex + 1 < AttractMode::kDemoStages ? demoIndex + 1 : 0);
}

void System::pauseOrReplayStep() {
    if (resumePending_) {
        resumePending_ = false;
        resumeAll();
    }
    // While the pause screen is open nothing is recorded or replayed: the paused frames are not
    // part of the game, and neither is the frame that opens it.
    const Task* pause = firstOfLayer(layer::kPause);
    if (pause && pause->state != kTaskEnded) return;
    // No pause outside a stage, nor during the attract mode's demo.
    if (inStage && !layerOccupied(*this, layer::kAttract) && pauseRequested()) {
        freezeAll();
        if (spawnFront<Pause>(layer::kPause)) return;
        // Without a pause screen to close it again the game must not stay frozen.
        resumeAll();
    }
    replay.Step(keyRecords[0].buttons, keyRecords[1].buttons);
}
void System::soundStep() {
    sound.soundStep();
}

void resetKeys(System& system) {
    resetKeys(system.keyRecords);
}

void setMusicVolume(System& system, float volume) {
    system.config.musicVolume = sanitizeVolume(volume, Config::kDefaultMusicVolume);
    system.sound.setAllMusicVolume(system.config.musicVolume);
}

void setSEVolume(System& system, float volume) {
    system.config.seVolume = sanitizeVolume(volume, Config::kDefaultSEVolume);
    system.sound.setAllEffectVolume(system.config.seVolume);
}

void resetOptions(System& system) {
    setMusicVolume(system, Config::kDefaultMusicVolume);
    setSEVolume(system, Config::kDefaultSEVolume);
    resetKeys(system);
    system.config.bulletChangeCount = 0;
    system.config.playerCollision = 1;
    system.config.buzz = 0;
    system.config.opticalEffect = 0;
}

bool repeatPressed(const System& system, RepeatButton which) {
    return repeatPressed(system.keyboard, system.keyRecords, system.joysticks, which);
}

}  // namespace vg
