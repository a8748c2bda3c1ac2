#pragma once

#include "core/Task.h"

namespace vg {

// Starts the title: clears the task list and the stage state, stops the stage tunes, starts the
// title tune unless it is already there, loads "title.png" and creates Title. Lives one update.
class TitleInit : public Task {
  public:
    void update() override;
};

}  // namespace vg
