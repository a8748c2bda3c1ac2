#pragma once

#include "core/Task.h"

namespace vg {

// Draws the shadows of the air enemies, once per frame, from the shadow layer: beneath the
// clouds and everything that flies.
class ShadowRender : public Task {
  public:
    void draw(DIB& surface) override;
};

}  // namespace vg
