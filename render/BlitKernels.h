#pragma once

// The per-mode row loops shared by blit, fillRect and blitScaled. Internal to render/.

#include <cstddef>
#include <cstdint>

#include "render/Blend.h"

namespace vg::render {

// One call's worth of rows, with every decision already made: the loops below only add strides.
struct BlitJob {
    uint32_t* dst = nullptr;        // destination pixel at the top-left of the drawn rectangle
    const uint32_t* src = nullptr;  // source pixel drawn there
    ptrdiff_t dstRowStep = 0;       // words from one destination row to the next one down
    ptrdiff_t srcRowStep = 0;       // words from one source row to the next one visited
    int32_t width = 0;
    int32_t height = 0;
    uint32_t key = 0;  // low 24 bits of the source image's top-left pixel
    uint32_t parameter = 0;
    uint32_t alpha = 0;
    bool halfMix = false;  // alpha 128: the floor average replaces the general mix
    bool mirrorX = false;  // the source column moves right to left
    // Source and destination share pixels: keep the strict one-pixel-after-another order, since
    // a pixel written early may be read again later in the same call.
    bool inPlace = false;
};

using BlitKernel = void (*)(const BlitJob&);

// One rotated drawing: every destination pixel of the box samples the source at (u, v) in
// 16.16, stepping (du, dv) per column and (eu, ev) per row; samples outside the cell are not
// drawn.
struct RotatedJob {
    uint32_t* dst = nullptr;  // first drawn destination pixel (top-left)
    ptrdiff_t dstRowStep = 0;
    int32_t width = 0;
    int32_t height = 0;
    const uint32_t* srcPixels = nullptr;
    int32_t srcWidth = 0;
    int32_t srcHeight = 0;
    int32_t cellX = 0, cellY = 0, cellW = 0, cellH = 0;  // inside the source image
    int64_t u = 0, v = 0;
    int64_t du = 0, dv = 0, eu = 0, ev = 0;
    uint32_t key = 0;
    uint32_t parameter = 0;
    uint32_t alpha = 0;
    bool halfMix = false;
};

using RotatedKernel = void (*)(const RotatedJob&);

// The row loop of a supported mode word (after decoding), or null for any other word.
BlitKernel blitKernel(uint32_t mode);

// The rotated loop of a supported mode word (after decoding), or null for any other word.
RotatedKernel rotatedKernel(uint32_t mode);

// The row loop of a fill mode (0, 2, 4, 6, 8 or 10: Alpha with at most one of Add/Subtract);
// `src` is unused and the colour comes in `parameter`. Null for any other mode.
BlitKernel fillKernel(uint32_t mode);

}  // namespace vg::render
