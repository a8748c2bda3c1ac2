#pragma once

#include "core/Task.h"

namespace vg {

// The chain display: for each player a timer bar and the chain count, moving down while a boss
// gauge is shown and fading while a ship flies over it.
class ComboFrame : public Task {
  public:
    void update() override;
    void draw(DIB& surface) override;
};

}  // namespace vg
