#pragma once

#include <cstdint>

namespace vg {

// Bits of the blend mode word taken by every drawing call.
enum BlendMode : uint32_t {
    ColorKey = 0x01,
    Alpha = 0x02,
    Add = 0x04,
    Subtract = 0x08,
    Invert = 0x10,
    Tint = 0x20,
    Mask = 0x40,
};

// The 72 words that draw: any mix of ColorKey, Alpha, Invert, at most one of Add/Subtract and
// at most one of Tint/Mask. Every other word draws nothing.
constexpr bool isSupportedBlend(uint32_t mode) {
    return mode < 0x60 && (mode & (Add | Subtract)) != (Add | Subtract);
}

// Pixel helpers on whole 0x00RRGGBB words. Each works on several channels per operation and is
// written once for plain words and for the blitters' vectors of words (taken by reference, so
// no vector crosses a call boundary by value), so both give the same low 24 bits. The high byte of
// a result carries no meaning.
namespace pixel {

// Floor of the per-byte average.
template <class T>
[[gnu::always_inline]] inline T average(const T& d, const T& s) {
    return ((d ^ s) >> 1 & 0x7F7F7F7Fu) + (d & s);
}

// Saturating sum of the channels with their lowest bits dropped; a channel's carry also sets the
// lowest bit of the channel above. This exact arithmetic is part of the look.
template <class T>
[[gnu::always_inline]] inline T add(const T& d, const T& s) {
    const T c = (d & 0x00FEFEFEu) + (s & 0x00FEFEFEu);
    const T t = c & 0x01010100u;
    return c | (t - (t >> 8));
}

// max(d - s, 0) per channel, without branches: m is 0xFF in each channel that would borrow.
template <class T>
[[gnu::always_inline]] inline T subtract(const T& d, const T& s) {
    const T nd = ~d;
    T m = ((((nd ^ s) & 0x00FEFEFEu) + ((nd & s) << 1)) >> 8) & 0x00010101u;
    m = (m + 0x007F7F7Fu) ^ 0x007F7F7Fu;
    return (d | m) - (s | m);
}

// The parameter colour scaled by (blue >> 1) + (green >> 7) / 256 of the source: white gives
// half the colour, black gives black.
template <class T, class C>
[[gnu::always_inline]] inline T tint(const T& s, const C& colour) {
    const T k = ((s >> 1) & 0x7Fu) + ((s >> 15) & 1u);
    const T rb = (((colour & 0x00FF00FFu) * k) >> 8) & 0x00FF00FFu;
    const T g = (((colour & 0x0000FF00u) * k) >> 8) & 0x0000FF00u;
    return rb | g;
}

}  // namespace pixel

// (s * a + d * (256 - a)) >> 8 per channel, a in 0..255; red and blue share one product.
constexpr uint32_t mixPixel(uint32_t d, uint32_t s, uint32_t a) {
    const uint32_t rb = ((s & 0x00FF00FFu) * a + (d & 0x00FF00FFu) * (256 - a)) >> 8;
    const uint32_t g = ((s & 0x0000FF00u) * a + (d & 0x0000FF00u) * (256 - a)) >> 8;
    return (rb & 0x00FF00FFu) | (g & 0x0000FF00u);
}
inline uint32_t averagePixel(uint32_t d, uint32_t s) {
    return pixel::average(d, s);
}
inline uint32_t addPixel(uint32_t d, uint32_t s) {
    return pixel::add(d, s);
}
inline uint32_t subtractPixel(uint32_t d, uint32_t s) {
    return pixel::subtract(d, s);
}
inline uint32_t tintPixel(uint32_t s, uint32_t parameter) {
    return pixel::tint(s, parameter);
}

// A mode word and parameter as the drawing loops use them.
struct DecodedBlend {
    uint32_t mode = 0;
    // Tint or Mask colour in the low 24 bits (and whatever the caller put above them).
    uint32_t parameter = 0;
    // 1..254 while `mode` has Alpha.
    uint32_t alpha = 0;
};

// Reads the alpha and colour from the parameter, dropping Alpha at 255 and Mask for a white
// colour. Returns false when the call must draw nothing: an unsupported word, or Alpha at 0.
// Every drawing call decodes once, before it touches a pixel.
bool decodeBlend(uint32_t mode, uint32_t parameter, DecodedBlend& out);

}  // namespace vg
