#pragma once

#include <cstdint>

#include "AtlasCells.h"
#include "resources/DIB.h"

namespace vg {

// Drawing of atlas cells: every picture rectangle the game draws is a named cell of the atlas
// (assets/atlas/), so code never repeats the coordinates the art already fixes.

// Frame `frame` of `cell` with its top-left corner at (x, y), under a blend mode of blit.
// Mirroring flips the picture left-right and/or top-bottom in place.
void blitCell(const DIB& sheet, DIB& destination, const atlas::Cell& cell, int32_t frame, int32_t x,
              int32_t y, uint32_t mode, uint32_t parameter = 0, bool mirrorX = false,
              bool mirrorY = false);

// The same, centred on (cx, cy): the top-left corner is (cx - w / 2, cy - h / 2).
void blitCellCentred(const DIB& sheet, DIB& destination, const atlas::Cell& cell, int32_t frame,
                     int32_t cx, int32_t cy, uint32_t mode, uint32_t parameter = 0,
                     bool mirrorX = false, bool mirrorY = false);

// Frame `frame` of `cell` stretched into the w x h box at (x, y); a negative w or h mirrors.
void blitCellScaled(const DIB& sheet, DIB& destination, const atlas::Cell& cell, int32_t frame,
                    int32_t x, int32_t y, int32_t w, int32_t h, uint32_t mode,
                    uint32_t parameter = 0);

// The same, stretched to size w x h centred on (cx, cy).
void blitCellScaledCentred(const DIB& sheet, DIB& destination, const atlas::Cell& cell,
                           int32_t frame, int32_t cx, int32_t cy, int32_t w, int32_t h,
                           uint32_t mode, uint32_t parameter = 0);

}  // namespace vg
