#pragma once

#include "core/Task.h"

namespace vg {

// The energy gauge of each player, with the red trail of recent loss; fades while a ship flies
// over it.
class LaserFrame : public Task {
  public:
    void update() override;
    void draw(DIB& surface) override;
};

}  // namespace vg
