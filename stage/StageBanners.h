#pragma once

#include <cstdint>

#include "core/Task.h"

namespace vg {

class System;

// The stage title at the start of a stage (layer 29): black bars close in to a band with the
// stage's name, which slides in and away again. While it shows, enemy bullets are cancelled.
// After 182 updates it sets stageStarted and ends.
class StageTop : public Task {
  public:
    static constexpr int32_t kLastCount = 180;

    explicit StageTop(uint8_t stageIndex);
    void update() override;
    void draw(DIB& surface) override;

    uint8_t stageIndex;
    int32_t counter = 0;
    int32_t barGap = 0;            // 16.16 pixels
    int32_t titleX = -40 * 65536;  // 16.16 pixels
};

// The boss warning (layer 29, from the WARNING event): fades the stage tune out, sounds the
// alarm three times and shows the jittering banner, then fades it. Lives 129 updates; the boss
// starts its own tune.
class Warning : public Task {
  public:
    static constexpr int32_t kLastCount = 128;
    static constexpr int32_t kJitterEnd = 112;

    void update() override;
    // Takes four numbers from the game's generator per update while jittering (every frame is
    // drawn, so replays stay in step); a banner that was not updated since its last draw (the
    // pause, and the frame the pause closes on, when it is resumed after its turn in the
    // update pass) keeps its last offsets and takes none: paused frames are not in a replay.
    void draw(DIB& surface) override;

    int32_t counter = 0;
    int32_t jitter[4] = {};
    // The counter the jitter was drawn at.
    int32_t jitterCounter = -1;
};

// The stage hand-over (layer 29, from the STAGE_COMPLETE event):
//   update 0: the ships fly on autopilot and write their values into the player records; the
//             side panels start closing;
//   1..30:    the field fades to black;
//   31:       every task in layers 0..28 ends, the tunes stop;
//   32:       the replay closes the stage, every task ends, stageIndex advances and a new
//             StageInit starts the next stage (or whatever follows the last one).
// It lives on layer 29, so its own clearing of layers 0..28 spares it.
class StageComplete : public Task {
  public:
    void update() override;
    void draw(DIB& surface) override;

    int32_t counter = 0;
};

}  // namespace vg
