#pragma once

// A slow, per-pixel, per-channel reading of the drawing rules, written for clarity only. The
// tests hold the real blitters against it.

#include <cstdint>
#include <optional>
#include <vector>

#include "resources/DIB.h"

namespace vg::reference {

inline uint32_t channel(uint32_t p, int k) {
    return (p >> (8 * k)) & 0xFFu;
}
inline uint32_t fromChannels(const uint32_t c[3]) {
    return c[0] | c[1] << 8 | c[2] << 16;
}

inline uint32_t mix(uint32_t d, uint32_t s, uint32_t a) {
    uint32_t c[3];
    for (int k = 0; k < 3; ++k) c[k] = (channel(s, k) * a + channel(d, k) * (256 - a)) / 256;
    return fromChannels(c);
}
inline uint32_t average(uint32_t d, uint32_t s) {
    uint32_t c[3];
    for (int k = 0; k < 3; ++k) c[k] = (channel(s, k) + channel(d, k)) / 2;
    return fromChannels(c);
}
// Channels lose their lowest bit, saturate at 255, and pass a carry into the channel above.
inline uint32_t add(uint32_t d, uint32_t s) {
    uint32_t c[3];
    uint32_t carry = 0;
    for (int k = 0; k < 3; ++k) {
        const uint32_t v = (channel(d, k) & 0xFEu) + (channel(s, k) & 0xFEu) + carry;
        carry = v >= 256 ? 1 : 0;
        c[k] = v >= 256 ? 255 : v;
    }
    return fromChannels(c);
}
inline uint32_t subtract(uint32_t d, uint32_t s) {
    uint32_t c[3];
    for (int k = 0; k < 3; ++k) {
        c[k] = channel(d, k) > channel(s, k) ? channel(d, k) - channel(s, k) : 0;
    }
    return fromChannels(c);
}
inline uint32_t tint(uint32_t s, uint32_t colour) {
    const uint32_t k = channel(s, 0) / 2 + channel(s, 1) / 128;
    uint32_t c[3];
    for (int i = 0; i < 3; ++i) c[i] = channel(colour, i) * k / 256;
    return fromChannels(c);
}

struct Decoded {
    bool draws = false;
    uint32_t mode = 0;
    uint32_t parameter = 0;
    uint32_t alpha = 0;
};

inline Decoded decode(uint32_t mode, uint32_t parameter) {
    Decoded out;
    if (mode >= 0x60 || (mode & 0x0C) == 0x0C) return out;
    uint32_t alpha = 0;
    if (mode & 0x40) {
        if (mode & 0x02) {
            alpha = parameter >> 24;
            if (alpha == 255) mode &= ~0x02u;
            if (alpha == 0) return out;
        }
        if ((parameter & 0xFFFFFF) == 0xFFFFFF) {
            mode &= ~0x40u;
            parameter >>= 24;
        }
    } else if (mode & 0x20) {
        if (mode & 0x02) {
            alpha = parameter >> 24;
            if (alpha == 255) mode &= ~0x02u;
            if (alpha == 0) return out;
        }
    } else if (mode & 0x02) {
        parameter &= 0xFF;
        alpha = parameter;
        if (alpha == 255) mode &= ~0x02u;
        if (alpha == 0) return out;
    }
    out.draws = true;
    out.mode = mode;
    out.parameter = parameter;
    out.alpha = alpha;
    return out;
}

// The pipeline for one pixel; nothing when the key skips it.
inline std::optional<uint32_t> pipeline(uint32_t d, uint32_t s, const Decoded& m, uint32_t key) {
    if ((m.mode & 0x01) && (s & 0xFFFFFF) == key) return std::nullopt;
    uint32_t c = s;
    if (m.mode & 0x20) {
        c = tint(s, m.parameter);
    } else if (m.mode & 0x40) {
        c = s & m.parameter;
    }
    if (m.mode & 0x10) c = 0xFFFFFF - (c & 0xFFFFFF);
    uint32_t r = c;
    if (m.mode & 0x04) r = add(d, c);
    if (m.mode & 0x08) r = subtract(d, c);
    if (m.mode & 0x02) r = m.alpha == 128 ? average(d, r) : mix(d, r, m.alpha);
    return r & 0xFFFFFF;
}

// What a drawing did: the low 24 bits of every written pixel, and which words (in memory
// order) were written.
struct Canvas {
    DIB* surface;
    std::vector<bool> written;
    explicit Canvas(DIB& s)
        : surface(&s), written(static_cast<size_t>(s.width) * static_cast<size_t>(s.height)) {}
    void put(int64_t x, int64_t y, uint32_t value) {
        *surface->pixelAt(static_cast<int32_t>(x), static_cast<int32_t>(y)) = value;
        written[static_cast<size_t>((surface->height - 1 - y) * surface->width + x)] = true;
    }
};

inline uint32_t keyOf(const DIB& image) {
    return *image.pixelAt(0, 0) & 0xFFFFFF;
}

// Counts of reads the rules would make outside the source image (reference only: they are
// skipped here and the count lets a test prove they never happen for ordinary calls).
struct Stats {
    int outsideReads = 0;
};

void blit(const DIB* source, Canvas& canvas, int32_t dx, int32_t dy, int32_t w, int32_t h,
          int32_t sx, int32_t sy, uint32_t mode, uint32_t parameter, Stats& stats);
void fillRect(Canvas& canvas, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour,
              uint32_t mode, uint32_t alpha);
void blitScaled(Canvas& canvas, const DIB* source, int32_t dx, int32_t dy, int32_t dw, int32_t dh,
                int32_t sx, int32_t sy, int32_t sw, int32_t sh, uint32_t mode, uint32_t parameter,
                Stats& stats);
void blitRotated(const DIB* source, Canvas& canvas, int32_t dx, int32_t dy, int32_t dw, int32_t dh,
                 int32_t sx, int32_t sy, int32_t angle, uint32_t mode, uint32_t parameter);

}  // namespace vg::reference
