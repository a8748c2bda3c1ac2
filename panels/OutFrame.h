#pragma once

#include <cstdint>

#include "core/Task.h"

namespace vg {

class PlayerBase;
class System;
class TaskManager;

// The side panels beside the play field, drawn onto the screen: each player's status, the
// difficulty, the replay and demo marks, the stage's fade-in and closing fade; lets an absent
// second player join a running game.
class OutFrame : public Task {
  public:
    static constexpr uint8_t kNoJoin = 255;
    static constexpr int32_t kFadeInFrames = 64;
    static constexpr int32_t kClosingFrames = 32;
    static constexpr int32_t kPulseSteps = 32;
    // Where the right panel starts on the screen.
    static constexpr int32_t kRightPanelX = 376;

    void update() override;
    void draw(DIB& surface) override;
    // The stage is complete: fade the screen out.
    void startClosing();

    // The live frame on its layer, or null.
    static OutFrame* find(const TaskManager& manager);
    // The higher of the player's score and the best score of the table it plays for.
    static int32_t highScoreFor(const System& system, const PlayerBase& player);

    uint32_t frame = 0;   // counts every update
    int32_t closing = 0;  // 0 until the closing fade starts, then steps once per draw
    uint8_t joiningPlayer = kNoJoin;
    uint8_t joinChoice = 0;  // ship type 0..3 the joining player has chosen
    uint8_t shotLatch = 0;
    // Frames Left, Right, Up and Down of the absent player have been held.
    uint8_t holdLeft = 0;
    uint8_t holdRight = 0;
    uint8_t holdUp = 0;
    uint8_t holdDown = 0;
    uint8_t pulse = 0;  // 0..31, the echo of the chosen ship icon

  private:
    void joinIn(System& system);
    void drawStatus(System& system, DIB& surface, const PlayerBase& player, int32_t left) const;
    void drawJoin(System& system, DIB& surface);
    void drawFades(DIB& surface);
};

}  // namespace vg
