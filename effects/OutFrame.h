#pragma once

#include "core/Task.h"

namespace vg {

// The side panels beside the play field, drawn onto the screen: each player's status, the
// difficulty, the replay and demo marks, the stage's fade-in and closing fade; lets an absent
// second player join a running game.
class OutFrame : public Task {
  public:
    void update() override;
    void draw(DIB& surface) override;
    // The stage is complete: fade the screen out.
    void startClosing();
};

}  // namespace vg
