#pragma once

#include "core/Task.h"

namespace vg {

// The stage result: tallies lives, crystals and the longest chain of each present player, adds
// the stage bonus and shows it for 300 frames.
class Result : public Task {
  public:
    void update() override;
    void draw(DIB& surface) override;
};

}  // namespace vg
