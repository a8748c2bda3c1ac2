#pragma once

#include "effects/Effect.h"

namespace vg {

// A ring growing to `finalSize` pixels over `lifetime` frames; variants 0 and 1 are two
// pictures, 2 the second mirrored; others draw nothing. A lifetime of 0 or less ends it in its
// first update without drawing.
class RingEffect : public Effect {
  public:
    RingEffect(int32_t x, int32_t y, int32_t lifetime, int32_t finalSize, int32_t variant);
    void update() override;
    void draw(DIB& surface) override;

    // trunc(cos(age * 1.570796 / lifetime) * 255): 255 at the start, 0 at the end.
    static uint32_t fadeAlpha(int32_t age, int32_t lifetime);

    int32_t lifetime;
    int32_t finalSize;
    int32_t variant;
};

// A ripple on the ground (the ending), widening to `size` pixels; rides the scrolling ground.
class RippleEffect : public Effect {
  public:
    static constexpr int32_t kLifetime = 64;

    RippleEffect(int32_t x, int32_t y, int32_t size);
    void update() override;
    void draw(DIB& surface) override;

    int32_t size;
};

}  // namespace vg
