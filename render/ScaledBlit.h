#pragma once

#include <cstdint>

#include "render/Blend.h"
#include "resources/DIB.h"

namespace vg {

// Draws the sw x sh rectangle at (sx, sy) of `source` into the dw x dh rectangle at (dx, dy) of
// `destination`, nearest-neighbour in 16.16 steps, under the blend mode of blit. A negative dw
// or dh mirrors that axis; the signs of sw and sh are ignored. Any side 0 draws nothing.
void blitScaled(DIB* destination, const DIB* source, int32_t dx, int32_t dy, int32_t dw, int32_t dh,
                int32_t sx, int32_t sy, int32_t sw, int32_t sh, uint32_t mode, uint32_t parameter);

// Draws the 32 x 32 cell at (sx, sy) of `source` turned by `angle` (degrees in 16.16, positive
// turns clockwise on screen) about its centre and scaled into the |dw| x |dh| box at (dx, dy).
// A box reaching the right or bottom edge stops one pixel before it.
void blitRotated(const DIB* source, DIB* destination, int32_t dx, int32_t dy, int32_t dw,
                 int32_t dh, int32_t sx, int32_t sy, int32_t angle, uint32_t mode,
                 uint32_t parameter);

}  // namespace vg
