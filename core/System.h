#pragma once

#include <cstdint>

#include "core/TaskManager.h"
#include "resources/DIB.h"

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
    static constexpr int kPauseLayer = 31;
    static constexpr int kAttractLayer = 32;

    System();
    ~System() override;

    // Once per frame: input, attract-mode start, pause or replay step, the update pass, the
    // sound step on odd frames.
    void frameStep();
    // Draws the frame into `screen` (512 x 384): with fieldView the play field's layers and the
    // screen's own layers, otherwise every task onto the screen.
    void draw(DIB& screen);

    DIB playField;
    DIB workSurface;

    uint32_t frameCounter = 0;
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

private:
    // The frame step's stages that belong to other subsystems.
    void updateInput();
    void startAttractModeWhenIdle();
    void pauseOrReplayStep();
    void soundStep();
};

inline System* systemOf(const Task& task) { return dynamic_cast<System*>(task.owner); }

}  // namespace vg
