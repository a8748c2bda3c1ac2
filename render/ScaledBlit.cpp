#include "render/ScaledBlit.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "render/BlitKernels.h"

namespace vg {
namespace {

using Wide = __int128;

constexpr int64_t kOne = 65536;

int64_t magnitude(int32_t v) {
    return v < 0 ? -static_cast<int64_t>(v) : v;
}

int64_t floorDiv(int64_t a, int64_t b) {  // b > 0
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// One axis of a scaled drawing after clipping: `count` destination pixels from `position`,
// sampling the source at `start` + i * `step` (16.16).
struct ScaledAxis {
    int64_t position = 0;
    int64_t count = 0;
    int64_t start = 0;
    int64_t step = 0;
};

// Clips one axis: dest position and signed size, source position and size, the source image's
// and the destination's extent on this axis. False when nothing is left to draw.
bool clipScaledAxis(int64_t dest, int32_t destSize, int64_t src, int32_t srcSize, int64_t srcExtent,
                    int64_t destExtent, ScaledAxis& out) {
    const bool mirror = destSize < 0;
    int64_t count = magnitude(destSize);
    int64_t srcCount = magnitude(srcSize);
    int64_t srcF = src * kOne;
    const int64_t step = srcCount * kOne / count;
    // A picture enlarged more than 65536 times has no step left to walk; it is not a picture any
    // caller draws, and the inverse below would divide by zero.
    if (step == 0) return false;
    const int64_t inverse = (int64_t{1} << 32) / step;
    const int64_t extentF = srcExtent * kOne;
    if (src < 0) {
        // The part left of the image would have covered this much of the destination.
        srcCount += src;
        count += static_cast<int64_t>((Wide{inverse} * srcF) >> 32);
        srcF = 0;
    }
    if (srcCount * kOne + srcF > extentF) {
        // The overhang in destination pixels, rounded up by a whole pixel.
        const Wide over = Wide{srcCount * kOne + srcF - extentF} * inverse;
        count -= static_cast<int64_t>(((over >> 16) + kOne) >> 16);
    }
    if (dest + count > destExtent) count = destExtent - dest;
    if (dest < 0) {
        count += dest;
        const int64_t t = mirror ? -dest : dest;
        srcF -= static_cast<int64_t>((Wide{t} * kOne * step) >> 16);
        dest = 0;
    }
    if (srcF >= extentF || count <= 0) return false;
    int64_t start = srcF;
    int64_t signedStep = step;
    if (mirror) {
        signedStep = -step;
        start = srcF + srcCount * kOne - step;
    }
    // Keep only the samples that land inside the image. For the calls the game makes this cuts
    // nothing; it stops any other call (such as a mirrored one reaching past the image's far
    // edge) from reading outside the pixel array. Samples move one way, so the kept ones are one
    // run.
    int64_t first = 0, last = count - 1;
    if (signedStep > 0) {
        if (start < 0) first = floorDiv(-start + step - 1, step);
        last = start >= extentF ? -1 : std::min(last, floorDiv(extentF - 1 - start, step));
    } else {
        if (start >= extentF) first = floorDiv(start - extentF, step) + 1;
        last = start < 0 ? -1 : std::min(last, floorDiv(start, step));
    }
    if (first > last) return false;
    out.position = dest + first;
    out.count = last - first + 1;
    out.start = start + first * signedStep;
    out.step = signedStep;
    return true;
}

bool sharePixels(const DIB& a, const DIB& b) {
    const uint32_t* aEnd = a.pixels + static_cast<size_t>(a.width) * static_cast<size_t>(a.height);
    const uint32_t* bEnd = b.pixels + static_cast<size_t>(b.width) * static_cast<size_t>(b.height);
    return a.pixels < bEnd && b.pixels < aEnd;
}

// 16.16 product: 64-bit (here wider) product shifted arithmetically.
int64_t mul(int64_t a, int64_t b) {
    return static_cast<int64_t>((Wide{a} * b) >> 16);
}

}  // namespace

void blitScaled(DIB* destination, const DIB* source, int32_t dx, int32_t dy, int32_t dw, int32_t dh,
                int32_t sx, int32_t sy, int32_t sw, int32_t sh, uint32_t mode, uint32_t parameter) {
    if (destination == nullptr || source == nullptr) return;
    if (destination->pixels == nullptr || source->pixels == nullptr) return;
    if (dw == 0 || dh == 0 || sw == 0 || sh == 0) return;
    DecodedBlend blend;
    if (!decodeBlend(mode, parameter, blend)) return;
    ScaledAxis ax, ay;
    if (!clipScaledAxis(dx, dw, sx, sw, source->width, destination->width, ax)) return;
    if (!clipScaledAxis(dy, dh, sy, sh, source->height, destination->height, ay)) return;
    const render::BlitKernel kernel = render::blitKernel(blend.mode);
    if (kernel == nullptr) return;

    render::BlitJob job;
    job.key = source->pixels[(source->height - 1) * source->width] & 0x00FFFFFFu;
    job.parameter = blend.parameter;
    job.alpha = blend.alpha;
    job.halfMix = blend.alpha == 128;
    job.dstRowStep = -static_cast<ptrdiff_t>(destination->width);

    // Samples are gathered into a row buffer, then the mode's own row loop draws them, so the
    // scaled drawing runs the same vector code as blit. On a shared surface each pixel is
    // gathered just before it is drawn, keeping the strict pixel order.
    constexpr int64_t kBuffer = 2048;
    uint32_t buffer[kBuffer];
    const bool inPlace = sharePixels(*source, *destination);
    const int64_t columnsPerChunk = inPlace ? 1 : std::min(ax.count, kBuffer);
    const int64_t rowsPerBatch = inPlace ? 1 : std::max<int64_t>(1, kBuffer / columnsPerChunk);
    job.inPlace = inPlace;
    for (int64_t row = 0; row < ay.count; row += rowsPerBatch) {
        const int64_t rows = std::min(rowsPerBatch, ay.count - row);
        for (int64_t column = 0; column < ax.count; column += columnsPerChunk) {
            const int64_t columns = std::min(columnsPerChunk, ax.count - column);
            uint32_t* out = buffer;
            int64_t yF = ay.start + row * ay.step;
            int64_t previousRow = -1;
            for (int64_t r = 0; r < rows; ++r, yF += ay.step) {
                const int64_t sourceRow = yF >> 16;
                if (sourceRow == previousRow) {
                    // An enlarged picture samples the same row again: copy the last gather.
                    std::memcpy(out, out - columns, static_cast<size_t>(columns) * 4);
                    out += columns;
                    continue;
                }
                previousRow = sourceRow;
                const uint32_t* srcRow = source->row(static_cast<int32_t>(sourceRow));
                int64_t xF = ax.start + column * ax.step;
                for (int64_t c = 0; c < columns; ++c, xF += ax.step) *out++ = srcRow[xF >> 16];
            }
            job.dst = destination->pixelAt(static_cast<int32_t>(ax.position + column),
                                           static_cast<int32_t>(ay.position + row));
            job.src = buffer;
            job.srcRowStep = columns;
            job.width = static_cast<int32_t>(columns);
            job.height = static_cast<int32_t>(rows);
            kernel(job);
        }
    }
}

void blitRotated(const DIB* source, DIB* destination, int32_t dx, int32_t dy, int32_t dw,
                 int32_t dh, int32_t sx, int32_t sy, int32_t angle, uint32_t mode,
                 uint32_t parameter) {
    if (destination == nullptr || destination->pixels == nullptr) return;
    if (source == nullptr || source->pixels == nullptr) return;
    const int64_t dstW = destination->width, dstH = destination->height;
    const int64_t srcW = source->width, srcH = source->height;
    if (dx >= dstW || dy >= dstH || sx >= srcW || sy >= srcH || dw == 0 || dh == 0) return;
    DecodedBlend blend;
    if (!decodeBlend(mode, parameter, blend)) return;

    // The cell: 32 x 32 at (sx, sy), cut to the image.
    int64_t cellX = sx, cellY = sy;
    int64_t cellW = sx + 32 < srcW ? 32 : srcW - sx;
    int64_t cellH = sy + 32 < srcH ? 32 : srcH - sy;
    if (sx < 0) cellW += sx, cellX = 0;
    if (sy < 0) cellH += sy, cellY = 0;
    if (cellW <= 0 || cellW > srcW || cellH <= 0 || cellH > srcH) return;

    const int64_t boxW0 = magnitude(dw), boxH0 = magnitude(dh);
    int64_t boxW = boxW0, boxH = boxH0;
    // A box that reaches the right or bottom edge stops one pixel before it.
    if (dx + boxW >= dstW) boxW = dstW - dx - 1;
    if (dy + boxH >= dstH) boxH = dstH - dy - 1;
    if (boxW <= 0 || boxH <= 0) return;

    // The -2 keeps the last sample inside the cell.
    const int64_t stepX = (int64_t{32} << 32) / (boxW0 * kOne - 2);
    const int64_t stepY = (int64_t{32} << 32) / (boxH0 * kOne - 2);
    // The only floating point: one sine and one cosine per call, with this value of pi.
    const double theta = static_cast<double>(angle) / 65536.0 / -180.0 * 3.141592;
    const int64_t sine = static_cast<int64_t>(std::sin(theta) * 65536.0);
    const int64_t cosine = static_cast<int64_t>(std::cos(theta) * 65536.0);
    const int64_t cx = static_cast<int64_t>((Wide{boxW0} * 32768 * stepX) >> 16);
    const int64_t cy = static_cast<int64_t>((Wide{boxH0} * 32768 * stepY) >> 16);
    const auto u = [&](int64_t x, int64_t y) {
        return cx + mul(cosine, x - cx) - mul(sine, y - cy);
    };
    const auto v = [&](int64_t x, int64_t y) {
        return cy + mul(sine, x - cx) + mul(cosine, y - cy);
    };
    int64_t uStart = u(0, 0), vStart = v(0, 0);
    const int64_t du = mul(u(kOne, 0) - uStart, stepX);
    const int64_t dv = mul(v(kOne, 0) - vStart, stepY);
    const int64_t eu = mul(u(0, kOne) - uStart, stepX);
    const int64_t ev = mul(v(0, kOne) - vStart, stepY);
    if (dy < 0) {
        uStart += mul(-int64_t{dy} * kOne, eu);
        vStart += mul(-int64_t{dy} * kOne, ev);
    }
    if (dx < 0) {
        uStart += mul(-int64_t{dx} * kOne, du);
        vStart += mul(-int64_t{dx} * kOne, dv);
    }
    const int64_t firstColumn = std::max<int64_t>(dx, 0), firstRow = std::max<int64_t>(dy, 0);
    const int64_t columns = dx + boxW - firstColumn, rows = dy + boxH - firstRow;
    if (columns <= 0 || rows <= 0) return;

    const render::RotatedKernel kernel = render::rotatedKernel(blend.mode);
    if (kernel == nullptr) return;
    render::RotatedJob job;
    job.dst =
        destination->pixelAt(static_cast<int32_t>(firstColumn), static_cast<int32_t>(firstRow));
    job.dstRowStep = -dstW;
    job.width = static_cast<int32_t>(columns);
    job.height = static_cast<int32_t>(rows);
    job.srcPixels = source->pixels;
    job.srcWidth = source->width;
    job.srcHeight = source->height;
    job.cellX = static_cast<int32_t>(cellX);
    job.cellY = static_cast<int32_t>(cellY);
    job.cellW = static_cast<int32_t>(cellW);
    job.cellH = static_cast<int32_t>(cellH);
    job.u = int64_t{sx} * kOne + uStart;
    job.v = int64_t{sy} * kOne + vStart;
    job.du = du;
    job.dv = dv;
    job.eu = eu;
    job.ev = ev;
    job.key = source->pixels[(srcH - 1) * srcW] & 0x00FFFFFFu;
    job.parameter = blend.parameter;
    job.alpha = blend.alpha;
    job.halfMix = blend.alpha == 128;
    kernel(job);
}

}  // namespace vg
