#pragma once

#include <cstdint>

#include "core/System.h"
#include "core/Task.h"

namespace vg {

// Common shape of the short-lived effects: a position and velocity in 16.16 field pixels and
// an age counted up once per update. Effects hold no hit boxes and give no score; other tasks
// create them and forget them.
//
// Lifetimes: an effect with lifetime L is drawn at ages 0..L and ends in the update in which its
// age passes L, that is its (L + 1)-th update counted from age 0.
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

    // One more frame of age; ends the effect once the age passes `lifetime`. True while it
    // lives on.
    bool ageAndLive(int32_t lifetime) {
        ++age;
        if (age > lifetime) {
            end();
            return false;
        }
        return true;
    }
    // Position and velocity one frame on, then each velocity component times drag / 65536.
    void moveWithDrag(int32_t drag);
    // Whether drawing may move an animation on: a frozen game (pause, continue) is drawn
    // without moving on.
    bool running() const { return state == kTaskActive; }
};

// Alphas worked out from ages can leave 0..255 on the first or last frame of an effect; the
// parameter's low byte would then wrap (a negative alpha flashes nearly opaque). Every effect
// passes its alpha through here.
constexpr uint32_t clampAlpha(int64_t alpha) {
    return alpha < 0 ? 0u : alpha > 255 ? 255u : static_cast<uint32_t>(alpha);
}

// Alpha and colour packed as the parameter of a Tint or Mask mode.
constexpr uint32_t colourParameter(uint32_t alpha, uint32_t colour) {
    return (alpha << 24) | (colour & 0x00FFFFFFu);
}

}  // namespace vg
