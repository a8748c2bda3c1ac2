#include "render/Cell.h"

#include <cstdlib>

#include "render/Blit.h"
#include "render/ScaledBlit.h"

namespace vg {

void blitCell(const DIB& sheet, DIB& destination, const atlas::Cell& cell, int32_t frame, int32_t x,
              int32_t y, uint32_t mode, uint32_t parameter, bool mirrorX, bool mirrorY) {
    blit(&sheet, &destination, x, y, mirrorX ? -cell.w : cell.w, mirrorY ? -cell.h : cell.h,
         cell.frameX(frame), cell.frameY(frame), mode, parameter);
}

void blitCellCentred(const DIB& sheet, DIB& destination, const atlas::Cell& cell, int32_t frame,
                     int32_t cx, int32_t cy, uint32_t mode, uint32_t parameter, bool mirrorX,
                     bool mirrorY) {
    blitCell(sheet, destination, cell, frame, cx - cell.w / 2, cy - cell.h / 2, mode, parameter,
             mirrorX, mirrorY);
}

void blitCellScaled(const DIB& sheet, DIB& destination, const atlas::Cell& cell, int32_t frame,
                    int32_t x, int32_t y, int32_t w, int32_t h, uint32_t mode, uint32_t parameter) {
    blitScaled(&destination, &sheet, x, y, w, h, cell.frameX(frame), cell.frameY(frame), cell.w,
               cell.h, mode, parameter);
}

void blitCellScaledCentred(const DIB& sheet, DIB& destination, const atlas::Cell& cell,
                           int32_t frame, int32_t cx, int32_t cy, int32_t w, int32_t h,
                           uint32_t mode, uint32_t parameter) {
    blitCellScaled(sheet, destination, cell, frame, cx - std::abs(w) / 2, cy - std::abs(h) / 2, w,
                   h, mode, parameter);
}

}  // namespace vg
