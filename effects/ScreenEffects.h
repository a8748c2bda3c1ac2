#pragma once

#include "effects/Effect.h"

namespace vg {

// A white flash over the whole field, fading over `duration` frames.
class Flash : public Effect {
  public:
    explicit Flash(int32_t duration);
    void update() override;
    void draw(DIB& surface) override;

    int32_t duration;
    int32_t remaining;
};

// Trails: the background is drawn translucently for `duration` frames, returning to opaque.
class Blur : public Effect {
  public:
    explicit Blur(int32_t duration);
    void update() override;

    int32_t duration;
    int32_t remaining;
};

// Screen shake of `amplitude` pixels dying down over `duration` frames; leaves the shake at 0.
class Vibration : public Effect {
  public:
    Vibration(int32_t amplitude, int32_t duration);
    void update() override;

    int32_t amplitude;
    int32_t duration;
};

// A lens that swells over an explosion (the "OpticalEffect" option).
class OpticalEffect : public Effect {
  public:
    OpticalEffect(int32_t x, int32_t y);
    void update() override;
    void draw(DIB& surface) override;
};

}  // namespace vg
