#pragma once

#include <cstdint>

#include "core/Task.h"

namespace vg {

class System;

// The demo shown when the title is left alone (started by the System's frame step, on the
// attract layer, which a stage start does not clear): plays stage `demoStage` of
// "replay/demo.rpl", keeps the pause shut, and returns to the title after kDuration updates,
// when Escape or a player's Shot or Bomb key or pad button is newly pressed, or at once when the
// demo cannot start. Draws nothing (the side panels show the demo mark while it lives).
class AttractMode : public Task {
  public:
    static constexpr int32_t kDuration = 3600;
    // Demo stages played in turn: 0, 1, 2, 0 ...
    static constexpr uint8_t kDemoStages = 3;

    explicit AttractMode(uint8_t demoStage) : demoStage(demoStage) {}
    void update() override;

    // Escape, or either player's key or pad button for Shot or Bomb, newly pressed. The players'
    // button bytes cannot tell: during the demo they hold the recorded input.
    static bool interruptRequested(const System& system);

    int32_t frame = 0;
    uint8_t demoStage;

  private:
    bool start(System& system);
    void backToTitle(System& system);
};

}  // namespace vg
