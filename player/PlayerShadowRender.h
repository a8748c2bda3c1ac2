#pragma once

#include "core/Task.h"

namespace vg {

// Draws the ships' shadows (and their options'), once per frame, from the shadow layer.
class PlayerShadowRender : public Task {
  public:
    void draw(DIB& surface) override;
};

}  // namespace vg
