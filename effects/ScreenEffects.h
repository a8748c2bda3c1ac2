#pragma once

#include "effects/Effect.h"

namespace vg {

// A white flash over the whole field, fading from half white over `duration` frames. A
// duration of 0 or less ends it in its first update without drawing.
class Flash : public Effect {
  public:
    explicit Flash(int32_t duration);
    void update() override;
    void draw(DIB& surface) override;

    int32_t duration;
    int32_t remaining;
};

// Trails: the background is drawn translucently (its alpha set from 8 back up to 255 over
// `duration` frames), so everything leaves trails that fade. Leaves the background opaque.
class Blur : public Effect {
  public:
    // The trails of a boss death.
    static constexpr int32_t kBossDuration = 240;

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

// A lens that swells over an explosion (the "OpticalEffect" option): the picture under it is
// shrunk into a scratch surface, the lens rim drawn over it, and the result drawn back larger.
class OpticalEffect : public Effect {
  public:
    static constexpr int32_t kLifetime = 32;

    OpticalEffect(int32_t x, int32_t y);
    void update() override;
    void draw(DIB& surface) override;
};

}  // namespace vg
