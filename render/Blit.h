#pragma once

#include <cstdint>

#include "render/Blend.h"
#include "resources/DIB.h"

namespace vg {

// Copies the w x h rectangle at (sx, sy) of `source` to (dx, dy) of `destination` under `mode`
// (BlendMode bits) and `parameter` (alpha in the low byte, or alpha in the high byte and a
// colour in the low 24 bits with Tint or Mask). A negative w or h mirrors that axis. The
// rectangle is clipped against both images; nothing outside either pixel array is touched.
// The colour key is the top-left pixel of the whole source image.
void blit(const DIB* source, DIB* destination, int32_t dx, int32_t dy, int32_t w, int32_t h,
          int32_t sx, int32_t sy, uint32_t mode, uint32_t parameter);

// Fills a rectangle with `colour` under a mode of Alpha, Add, Subtract and Invert bits; only the
// low byte of `alpha` is used for the mix, and alpha 0 draws nothing (except with Invert).
void fillRect(DIB* destination, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour,
              uint32_t mode, uint32_t alpha);

}  // namespace vg
