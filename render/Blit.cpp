#include "render/Blit.h"

#include <cstring>

#include "render/BlitKernels.h"

namespace vg {

bool decodeBlend(uint32_t mode, uint32_t parameter, DecodedBlend& out) {
    if (!isSupportedBlend(mode)) return false;
    uint32_t alpha = 0;
    // The alpha tests come before the white-mask test, so alpha 0 ends the call even then.
    if ((mode & Mask) != 0) {
        if ((mode & Alpha) != 0) {
            alpha = parameter >> 24;
            if (alpha == 0) return false;
            if (alpha == 255) mode &= ~Alpha;
        }
        // Masking with white changes nothing: draw as the plain mode, alpha in the low byte.
        if ((parameter & 0x00FFFFFFu) == 0x00FFFFFFu) {
            mode &= ~Mask;
            parameter >>= 24;
        }
    } else if ((mode & Tint) != 0) {
        if ((mode & Alpha) != 0) {
            alpha = parameter >> 24;
            if (alpha == 0) return false;
            if (alpha == 255) mode &= ~Alpha;
        }
    } else if ((mode & Alpha) != 0) {
        parameter &= 0xFFu;
        alpha = parameter;
        if (alpha == 0) return false;
        if (alpha == 255) mode &= ~Alpha;
    }
    out.mode = mode;
    out.parameter = parameter;
    out.alpha = (mode & Alpha) != 0 ? alpha : 0;
    return true;
}

namespace {

bool sharePixels(const DIB& a, const DIB& b) {
    const uint32_t* aEnd = a.pixels + static_cast<size_t>(a.width) * static_cast<size_t>(a.height);
    const uint32_t* bEnd = b.pixels + static_cast<size_t>(b.width) * static_cast<size_t>(b.height);
    return a.pixels < bEnd && b.pixels < aEnd;
}

int64_t magnitude(int32_t v) {
    return v < 0 ? -static_cast<int64_t>(v) : v;
}

}  // namespace

void blit(const DIB* source, DIB* destination, int32_t dx, int32_t dy, int32_t w, int32_t h,
          int32_t sx, int32_t sy, uint32_t mode, uint32_t parameter) {
    if (destination == nullptr || source == nullptr) return;
    if (source->pixels == nullptr || destination->pixels == nullptr) return;
    if (w == 0 || h == 0) return;
    DecodedBlend blend;
    if (!decodeBlend(mode, parameter, blend)) return;

    // 64-bit so that no position or size near the int range can wrap.
    const int64_t srcW = source->width, srcH = source->height;
    const int64_t dstW = destination->width, dstH = destination->height;
    const bool mirrorX = w < 0, mirrorY = h < 0;
    int64_t cw = magnitude(w), ch = magnitude(h);
    int64_t x = dx, y = dy, u = sx, v = sy;
    if (cw + u > srcW) cw = srcW - u;
    if (ch + v > srcH) ch = srcH - v;
    // A source rectangle starting outside the image is cut; the destination does not move.
    if (u < 0) cw += u, u = 0;
    if (v < 0) ch += v, v = 0;
    // In a mirrored axis the destination's far edge shows the near edge of the source, so only
    // the cut on the far side moves the source origin.
    if (x + cw > dstW) {
        if (mirrorX) u += x + cw - dstW;
        cw = dstW - x;
    }
    if (y + ch > dstH) {
        if (mirrorY) v += y + ch - dstH;
        ch = dstH - y;
    }
    if (x < 0) {
        cw += x;
        if (!mirrorX) u -= x;
        x = 0;
    }
    if (y < 0) {
        ch += y;
        if (!mirrorY) v -= y;
        y = 0;
    }
    if (u < 0 || v < 0 || u >= srcW || v >= srcH || cw <= 0 || ch <= 0) return;

    const render::BlitKernel kernel = render::blitKernel(blend.mode);
    if (kernel == nullptr) return;
    render::BlitJob job;
    const int64_t firstColumn = mirrorX ? u + cw - 1 : u;
    const int64_t firstRow = mirrorY ? v + ch - 1 : v;
    job.src = source->pixelAt(static_cast<int32_t>(firstColumn), static_cast<int32_t>(firstRow));
    // Rows are stored bottom-up: one row down the picture is one row back in memory.
    job.srcRowStep = mirrorY ? srcW : -srcW;
    job.dst = destination->pixelAt(static_cast<int32_t>(x), static_cast<int32_t>(y));
    job.dstRowStep = -dstW;
    job.width = static_cast<int32_t>(cw);
    job.height = static_cast<int32_t>(ch);
    job.key = source->pixels[(srcH - 1) * srcW] & 0x00FFFFFFu;
    job.parameter = blend.parameter;
    job.alpha = blend.alpha;
    job.halfMix = blend.alpha == 128;
    job.mirrorX = mirrorX;
    job.inPlace = sharePixels(*source, *destination);
    kernel(job);
}

void fillRect(DIB* destination, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour,
              uint32_t mode, uint32_t alpha) {
    if (destination == nullptr) return;
    if ((mode & Invert) != 0) {
        // An inverted flat colour is just another colour; alpha 0 is then not a reason to stop.
        colour = 0x00FFFFFFu - colour;
        mode &= ~Invert;
    } else if (mode == Alpha && alpha == 255) {
        mode = 0;
    } else if (alpha == 0) {
        return;
    }
    if (destination->pixels == nullptr) return;
    alpha &= 0xFFu;
    const int64_t width = destination->width, height = destination->height;
    int64_t left = x, top = y, cw = w, ch = h;
    if (left > width || top > height || cw <= 0 || ch <= 0) return;
    if (left < 0) cw += left, left = 0;
    if (top < 0) ch += top, top = 0;
    if (left + cw >= width) cw = width - left;
    if (top + ch >= height) ch = height - top;
    if (cw <= 0 || ch <= 0) return;

    const render::BlitKernel kernel = render::fillKernel(mode);
    if (kernel == nullptr) return;
    const uint32_t blue = colour & 0xFFu;
    if (mode == 0 && cw == width && ch == height && ((colour >> 8) & 0xFFu) == blue &&
        ((colour >> 16) & 0xFFu) == blue) {
        // A grey over the whole surface is one byte value everywhere.
        std::memset(destination->pixels, static_cast<int>(blue),
                    static_cast<size_t>(width * height) * 4);
        return;
    }
    render::BlitJob job;
    job.dst = destination->pixelAt(static_cast<int32_t>(left), static_cast<int32_t>(top));
    job.dstRowStep = -width;
    job.width = static_cast<int32_t>(cw);
    job.height = static_cast<int32_t>(ch);
    job.parameter = colour;
    job.alpha = alpha;
    job.halfMix = alpha == 128;
    kernel(job);
}

}  // namespace vg
