#pragma once

#include <cstdint>

#include "core/System.h"
#include "core/Task.h"

namespace vg {

// Common shape of the short-lived effects: a position and velocity in 16.16 field pixels and
// an age counted up once per update. Effects hold no hit boxes and give no score; other tasks
// create them and forget them.
class Effect : public Task {
  public:
    Effect(int32_t x, int32_t y, int32_t vx = 0, int32_t vy = 0) : x(x), y(y), vx(vx), vy(vy) {}

    int32_t x;
    int32_t y;
    int32_t vx;
    int32_t vy;
    int32_t age = 0;

  protected:
    System* system() const { return systemOf(*this); }
};

}  // namespace vg
