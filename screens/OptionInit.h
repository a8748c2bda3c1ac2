#pragma once

#include "core/Task.h"

namespace vg {

// Starts the options screen: clears the task list, loads "selectBack.png" and creates Option.
// The title tune plays on. Lives one update.
class OptionInit : public Task {
  public:
    void update() override;
};

}  // namespace vg
