#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/PlayObserver.h"
#include "core/SaveData.h"
#include "core/TaskArena.h"
#include "core/TaskManager.h"
#include "input/JoystickState.h"
#include "input/KeyRecord.h"
#include "input/KeyboardState.h"
#include "platform/Joystick.h"
#include "platform/Keyboard.h"
#include "replay/ReplayData.h"
#include "resources/DIB.h"
#include "sound/SoundBank.h"

namespace vg {

// The one game-wide object: the task manager, and the holder of everything that outlives a
// task. Tasks reach it through systemOf(task), a checked down-cast of their owner.
class System : public TaskManager {
  public:
    static constexpr int kFieldWidth = 240;
    static constexpr int kFieldHeight = 384;
    // Layers drawn into the play field while fieldView is set; 30..31 go onto the screen.
    static constexpr int kFieldLayerTop = 29;
    static constexpr int kScreenLayerTop = 31;
    static constexpr int kImageSlotCount = 8;
    static constexpr uint32_t kScratchArenaCapacity = 0x400010;
    static constexpr const char* kSaveFileName = "save";

    // The devices are sampled once per frame and must outlive the System. Without them there is
    // no keyboard and no joystick.
    System(KeyboardDevice& keyboardDevice, JoystickDevice& joystickDevice);
    System();
    // Writes the save file when one was loaded (see loadSaveData), then frees everything.
    ~System() override;

    // Once per frame: input, attract-mode start, pause or replay step, the update pass, the
    // sound step on odd frames.
    void frameStep();
    // Draws the frame into `screen` (512 x 384): with fieldView the play field's layers and the
    // screen's own layers, otherwise every task onto the screen.
    void draw(DIB& screen);

    // Start-up load (GameInit): reads scores, key assignments and settings from `path` over the
    // current values, applies the volumes, and makes `path` the file written when the System is
    // destroyed. A System that never loaded its save never writes one, so a tool or test cannot
    // overwrite a player's save with defaults. False when no readable save was found.
    bool loadSaveData(const char* path = kSaveFileName);
    // Writes the save file now to the path given to loadSaveData; false when none was given or
    // the write failed (the previous file is then kept).
    bool writeSaveData() const;
    // The save file GameInit loads and the System then writes; empty for none (a headless run
    // that must not touch a player's save).
    std::string saveFileName = kSaveFileName;

    // Probes joystick `padId` again, as the key configuration screen does for the pad it shows.
    void probeJoystick(int32_t padId);
    // The pause key test of the frame step: Escape, either player's Pause key or either player's
    // joystick Pause input newly pressed this frame.
    bool pauseRequested() const;
    // How the pause screen gives the game back: every task resumes at the start of the next
    // frame step, so the frame in which the pause closes is still drawn frozen. (A task drawn
    // active without its update would step an animation or take random numbers that a replay,
    // which skips the paused frames, never sees.)
    void resumeNextFrame() { resumePending_ = true; }

    DIB playField;
    // Image slots 1..8 hold the shared sprite sheets (index 0 is slot 1).
    std::array<DIB, kImageSlotCount> imageSlots;
    SoundManager::SoundBank sound;
    KeyboardState keyboard;
    JoystickState joysticks;
    KeyRecords keyRecords;
    ScoreTable scoreTable;
    ReplayData replay;
    std::array<PlayerRecord, 2> playerRecord;
    Config config;
    uint32_t frameCounter = 0;
    // Temporary file buffers (image loading).
    TaskArena scratchArena{kScratchArenaCapacity};
    uint8_t quitRequested = 0;
    uint8_t fieldView = 0;
    int32_t shakeOffsetX = 0;
    int32_t shakeOffsetY = 0;
    int32_t fieldScroll = 16 << 16;
    uint8_t stageIndex = 0;
    uint8_t difficulty = 0;
    uint8_t playMode = 0;
    uint8_t inStage = 0;
    uint8_t stageStarted = 0;
    int32_t idleCountdown = 600;
    uint8_t demoIndex = 0;
    DIB workSurface;
    // A test aid of the headless tool: ships cannot be hit. Never set by the game itself and
    // never stored in a replay.
    uint8_t testInvincible = 0;
    // A test aid of the headless tool: a loose script file every stage plays instead of its
    // entry in data.pck (empty: the package's script).
    std::string testStageScript;
    // Statistics and traces of the headless tool; null in the game.
    PlayObserver* observer = nullptr;

  private:
    // The frame step's stages that belong to other subsystems.
    void updateInput();
    void startAttractModeWhenIdle();
    void pauseOrReplayStep();
    void soundStep();

    KeyboardDevice* keyboardDevice_;
    JoystickDevice* joystickDevice_;
    std::string savePath_;
    bool resumePending_ = false;
};

inline System* systemOf(const Task& task) {
    return dynamic_cast<System*>(task.owner);
}

// Both players' key assignments back to their defaults.
void resetKeys(System& system);
// Clamp `volume` to 0..1 (NaN or infinity: the default), store it in the config and pass it on
// to every tune, respectively every sound effect.
void setMusicVolume(System& system, float volume);
void setSEVolume(System& system, float volume);
// "Reset to default" on the options screen: volumes, keys and the four play options; the last
// name, the scores and the progress flags stay.
void resetOptions(System& system);
// Auto-repeating press for the key configuration screen (see input/KeyRecord.h).
bool repeatPressed(const System& system, RepeatButton which);

}  // namespace vg
