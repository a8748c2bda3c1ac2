#pragma once

#include "core/Task.h"

namespace vg {

// The collision display of every stage: draws each ship's hit mark as the "PlayerCollision"
// option says (off, while the shot button is held, always).
class PlayerCollision : public Task {
  public:
    void draw(DIB& surface) override;
};

}  // namespace vg
