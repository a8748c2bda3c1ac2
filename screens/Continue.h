#pragma once

#include "core/Task.h"

namespace vg {

// The continue prompt after the last ship of the only player is lost, over the frozen game.
class Continue : public Task {
  public:
    void draw(DIB& surface) override;
};

}  // namespace vg
