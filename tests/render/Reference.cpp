#include "Reference.h"

#include <cmath>
#include <cstdlib>

namespace vg::reference {
namespace {

using Wide = __int128;

int64_t absolute(int64_t v) {
    return v < 0 ? -v : v;
}

// Draws one pixel through the pipeline, reading the destination as it is now.
void drawPixel(Canvas& canvas, int64_t x, int64_t y, uint32_t s, const Decoded& m, uint32_t key) {
    const uint32_t d = *canvas.surface->pixelAt(static_cast<int32_t>(x), static_cast<int32_t>(y));
    if (const auto out = pipeline(d, s, m, key)) canvas.put(x, y, *out);
}

}  // namespace

void blit(const DIB* source, Canvas& canvas, int32_t dx, int32_t dy, int32_t w, int32_t h,
          int32_t sx, int32_t sy, uint32_t mode, uint32_t parameter, Stats& stats) {
    DIB& dst = *canvas.surface;
    if (source == nullptr || source->pixels == nullptr || dst.pixels == nullptr) return;
    if (w == 0 || h == 0) return;
    const Decoded m = decode(mode, parameter);
    if (!m.draws) return;
    const bool mirrorX = w < 0, mirrorY = h < 0;
    int64_t W = absolute(w), H = absolute(h), X = dx, Y = dy, SX = sx, SY = sy;
    const int64_t srcW = source->width, srcH = source->height, dstW = dst.width, dstH = dst.height;
    if (W + SX > srcW) W = srcW - SX;
    if (H + SY > srcH) H = srcH - SY;
    if (SX < 0) {
        W += SX;
        SX = 0;
    }
    if (SY < 0) {
        H += SY;
        SY = 0;
    }
    if (X + W > dstW) {
        if (mirrorX) SX += X + W - dstW;
        W = dstW - X;
    }
    if (Y + H > dstH) {
        if (mirrorY) SY += Y + H - dstH;
        H = dstH - Y;
    }
    if (X < 0) {
        W += X;
        if (!mirrorX) SX -= X;
        X = 0;
    }
    if (Y < 0) {
        H += Y;
        if (!mirrorY) SY -= Y;
        Y = 0;
    }
    if (SX < 0 || SY < 0 || SX >= srcW || SY >= srcH || W <= 0 || H <= 0) return;
    const uint32_t key = keyOf(*source);
    for (int64_t r = 0; r < H; ++r) {
        for (int64_t c = 0; c < W; ++c) {
            const int64_t u = mirrorX ? SX + W - 1 - c : SX + c;
            const int64_t v = mirrorY ? SY + H - 1 - r : SY + r;
            if (u < 0 || v < 0 || u >= srcW || v >= srcH) {
                ++stats.outsideReads;
                continue;
            }
            drawPixel(canvas, X + c, Y + r,
                      *source->pixelAt(static_cast<int32_t>(u), static_cast<int32_t>(v)), m, key);
        }
    }
}

void fillRect(Canvas& canvas, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour,
              uint32_t mode, uint32_t alpha) {
    DIB& dst = *canvas.surface;
    if (mode & 0x10) {
        colour = 0xFFFFFF - colour;
        mode &= ~0x10u;
    } else if (mode == 2 && alpha == 255) {
        mode = 0;
    } else if (alpha == 0) {
        return;
    }
    if (dst.pixels == nullptr) return;
    alpha &= 0xFF;
    int64_t X = x, Y = y, W = w, H = h;
    if (X > dst.width || Y > dst.height || W <= 0 || H <= 0) return;
    if (X < 0) {
        W += X;
        X = 0;
    }
    if (Y < 0) {
        H += Y;
        Y = 0;
    }
    if (X + W >= dst.width) W = dst.width - X;
    if (Y + H >= dst.height) H = dst.height - Y;
    if (mode != 0 && mode != 2 && mode != 4 && mode != 6 && mode != 8 && mode != 10) return;
    for (int64_t r = 0; r < H; ++r) {
        for (int64_t c = 0; c < W; ++c) {
            const uint32_t d =
                *dst.pixelAt(static_cast<int32_t>(X + c), static_cast<int32_t>(Y + r));
            uint32_t out = colour;
            if (mode & 4) out = add(d, colour);
            if (mode & 8) out = subtract(d, colour);
            if (mode & 2) out = alpha == 128 ? average(d, out) : mix(d, out, alpha);
            canvas.put(X + c, Y + r, out & 0xFFFFFF);
        }
    }
}

void blitScaled(Canvas& canvas, const DIB* source, int32_t dx, int32_t dy, int32_t dw, int32_t dh,
                int32_t sx, int32_t sy, int32_t sw, int32_t sh, uint32_t mode, uint32_t parameter,
                Stats& stats) {
    DIB& dst = *canvas.surface;
    if (source == nullptr || source->pixels == nullptr || dst.pixels == nullptr) return;
    if (dw == 0 || dh == 0 || sw == 0 || sh == 0) return;
    const Decoded m = decode(mode, parameter);
    if (!m.draws) return;
    int64_t W = absolute(dw), H = absolute(dh), SW = absolute(sw), SH = absolute(sh);
    const bool mirrorX = dw < 0, mirrorY = dh < 0;
    int64_t sxF = int64_t{sx} * 65536, syF = int64_t{sy} * 65536, X = dx, Y = dy;
    const int64_t srcW = source->width, srcH = source->height;
    const int64_t stepX = SW * 65536 / W, stepY = SH * 65536 / H;
    if (stepX == 0 || stepY == 0) return;  // nothing sensible to walk
    const int64_t invX = (int64_t{1} << 32) / stepX, invY = (int64_t{1} << 32) / stepY;
    if (sx < 0) {
        SW += sx;
        W += static_cast<int64_t>((Wide{invX} * sxF) >> 32);
        sxF = 0;
    }
    if (sy < 0) {
        SH += sy;
        H += static_cast<int64_t>((Wide{invY} * syF) >> 32);
        syF = 0;
    }
    if (SW * 65536 + sxF > srcW * 65536) {
        W -= static_cast<int64_t>(
            (((Wide{SW * 65536 + sxF - srcW * 65536} * invX) >> 16) + 65536) >> 16);
    }
    if (SH * 65536 + syF > srcH * 65536) {
        H -= static_cast<int64_t>(
            (((Wide{SH * 65536 + syF - srcH * 65536} * invY) >> 16) + 65536) >> 16);
    }
    if (X + W > dst.width) W = dst.width - X;
    if (Y + H > dst.height) H = dst.height - Y;
    if (X < 0) {
        W += X;
        const int64_t t = mirrorX ? -X : X;
        sxF -= static_cast<int64_t>((Wide{t} * 65536 * stepX) >> 16);
        X = 0;
    }
    if (Y < 0) {
        H += Y;
        const int64_t t = mirrorY ? -Y : Y;
        syF -= static_cast<int64_t>((Wide{t} * 65536 * stepY) >> 16);
        Y = 0;
    }
    if (sxF >= srcW * 65536 || syF >= srcH * 65536 || W <= 0 || H <= 0) return;
    const int64_t startX = mirrorX ? sxF + SW * 65536 - stepX : sxF;
    const int64_t startY = mirrorY ? syF + SH * 65536 - stepY : syF;
    const int64_t signedX = mirrorX ? -stepX : stepX, signedY = mirrorY ? -stepY : stepY;
    const uint32_t key = keyOf(*source);
    for (int64_t r = 0; r < H; ++r) {
        const int64_t v = (startY + r * signedY) >> 16;
        for (int64_t c = 0; c < W; ++c) {
            const int64_t u = (startX + c * signedX) >> 16;
            if (u < 0 || v < 0 || u >= srcW || v >= srcH) {
                ++stats.outsideReads;
                continue;
            }
            drawPixel(canvas, X + c, Y + r,
                      *source->pixelAt(static_cast<int32_t>(u), static_cast<int32_t>(v)), m, key);
        }
    }
}

void blitRotated(const DIB* source, Canvas& canvas, int32_t dx, int32_t dy, int32_t dw, int32_t dh,
                 int32_t sx, int32_t sy, int32_t angle, uint32_t mode, uint32_t parameter) {
    DIB& dst = *canvas.surface;
    if (dst.pixels == nullptr || source == nullptr || source->pixels == nullptr) return;
    if (dx >= dst.width || dy >= dst.height || sx >= source->width || sy >= source->height ||
        dw == 0 || dh == 0) {
        return;
    }
    const Decoded m = decode(mode, parameter);
    if (!m.draws) return;
    int64_t cellX = sx, cellY = sy;
    int64_t cellW = sx + 32 < source->width ? 32 : source->width - sx;
    int64_t cellH = sy + 32 < source->height ? 32 : source->height - sy;
    if (sx < 0) {
        cellW += sx;
        cellX = 0;
    }
    if (sy < 0) {
        cellH += sy;
        cellY = 0;
    }
    if (cellW <= 0 || cellW > source->width || cellH <= 0 || cellH > source->height) return;
    const int64_t W0 = absolute(dw), H0 = absolute(dh);
    int64_t W = W0, H = H0;
    if (dx + W >= dst.width) W = dst.width - dx - 1;
    if (dy + H >= dst.height) H = dst.height - dy - 1;
    if (W <= 0 || H <= 0) return;
    const int64_t stepX = (int64_t{32} * 65536 * 65536) / (W0 * 65536 - 2);
    const int64_t stepY = (int64_t{32} * 65536 * 65536) / (H0 * 65536 - 2);
    const double theta = angle / 65536.0 / (-180.0) * 3.141592;
    const int64_t S = static_cast<int64_t>(std::sin(theta) * 65536);
    const int64_t C = static_cast<int64_t>(std::cos(theta) * 65536);
    const auto mul = [](int64_t a, int64_t b) { return static_cast<int64_t>((Wide{a} * b) >> 16); };
    const int64_t cx = mul(W0 * 32768, stepX), cy = mul(H0 * 32768, stepY);
    const auto u = [&](int64_t x, int64_t y) { return cx + mul(C, x - cx) - mul(S, y - cy); };
    const auto v = [&](int64_t x, int64_t y) { return cy + mul(S, x - cx) + mul(C, y - cy); };
    const int64_t u0 = u(0, 0), v0 = v(0, 0);
    const int64_t du = mul(u(65536, 0) - u0, stepX), dv = mul(v(65536, 0) - v0, stepY);
    const int64_t eu = mul(u(0, 65536) - u0, stepX), ev = mul(v(0, 65536) - v0, stepY);
    const uint32_t key = keyOf(*source);
    // Position of every box pixel relative to the box's own top-left corner.
    for (int64_t y = std::max<int64_t>(dy, 0); y <= dy + H - 1; ++y) {
        for (int64_t x = std::max<int64_t>(dx, 0); x <= dx + W - 1; ++x) {
            const int64_t U = int64_t{sx} * 65536 + u0 + (x - dx) * du + (y - dy) * eu;
            const int64_t V = int64_t{sy} * 65536 + v0 + (x - dx) * dv + (y - dy) * ev;
            const int64_t cu = U >> 16, cv = V >> 16;
            if (cu < cellX || cu >= cellX + cellW || cv < cellY || cv >= cellY + cellH) continue;
            drawPixel(canvas, x, y,
                      *source->pixelAt(static_cast<int32_t>(cu), static_cast<int32_t>(cv)), m, key);
        }
    }
}

}  // namespace vg::reference
