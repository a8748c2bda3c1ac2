#pragma once

#include "core/Task.h"

namespace vg {

// Darkens a strip at the top and the bottom of the play field.
class BlackFrame : public Task {
  public:
    void draw(DIB& surface) override;
};

}  // namespace vg
