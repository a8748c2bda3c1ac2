// Every helper taking or returning a vector is inlined into its kernel, so the note that the
// calling convention for 32-byte vectors differs without AVX concerns no real call.
#if defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wpsabi"
#endif

#include "render/BlitKernels.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace vg::render {
namespace {

// Eight pixels at a time. Written with the compiler's generic vectors so that the loops are
// vectorised at every optimisation level; each kernel is built twice (AVX2 and the baseline)
// and the loader picks the one this processor runs.
using V8 = uint32_t __attribute__((vector_size(32)));
using V16 = uint16_t __attribute__((vector_size(32)));

[[gnu::always_inline]] inline V8 load(const uint32_t* p) {
    V8 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
[[gnu::always_inline]] inline void store(uint32_t* p, const V8& v) {
    std::memcpy(p, &v, sizeof v);
}
// The eight pixels p[-7] .. p[0], in the order p[0], p[-1], ..., p[-7].
[[gnu::always_inline]] inline V8 loadReversed(const uint32_t* p) {
    const V8 v = load(p - 7);
    return __builtin_shufflevector(v, v, 7, 6, 5, 4, 3, 2, 1, 0);
}

// A word in every lane. Built once per call: GCC rebuilds a splat inside the loop otherwise.
[[gnu::always_inline]] inline V8 splat(uint32_t x) {
    return V8{} + x;
}

// All ones where the low 24 bits equal the key, else zero.
[[gnu::always_inline]] inline uint32_t keyMask(uint32_t s, uint32_t key) {
    return 0u - static_cast<uint32_t>((s & 0x00FFFFFFu) == key);
}
[[gnu::always_inline]] inline V8 keyMask(const V8& s, const V8& key) {
    return reinterpret_cast<V8>((s & 0x00FFFFFFu) == key);
}

[[gnu::always_inline]] inline uint32_t mix(uint32_t d, uint32_t s, uint32_t a) {
    return mixPixel(d, s, a);
}
// The same products in 16-bit lanes: every channel product fits (255 * 256), and 16-bit
// multiplies are far cheaper than 32-bit ones.
[[gnu::always_inline]] inline V8 mix(const V8& d, const V8& s, uint32_t a) {
    const uint16_t sa = static_cast<uint16_t>(a);
    const uint16_t da = static_cast<uint16_t>(256 - a);
    const V16 rb = (reinterpret_cast<V16>(s & 0x00FF00FFu) * sa +
                    reinterpret_cast<V16>(d & 0x00FF00FFu) * da) >>
                   8;
    const V16 g = (reinterpret_cast<V16>((s >> 8) & 0x00FF00FFu) * sa +
                   reinterpret_cast<V16>((d >> 8) & 0x00FF00FFu) * da) >>
                  8;
    return (reinterpret_cast<V8>(rb) & 0x00FF00FFu) | ((reinterpret_cast<V8>(g) & 0xFFu) << 8);
}

// The per-pixel pipeline of one mode word: key test on the raw source, tint or mask, invert,
// add or subtract, then the mix with the destination. The key is a branch-free select so the
// compiler keeps the loop straight.
template <uint32_t M, bool Half>
struct Blend {
    uint32_t key;
    uint32_t parameter;
    uint32_t alpha;
    V8 keyLanes = splat(key);
    V8 parameterLanes = splat(parameter);

    // The per-call values in the form the pixel type T needs.
    template <class T>
    [[gnu::always_inline]] T keyAs() const {
        if constexpr (std::is_same_v<T, V8>) {
            return keyLanes;
        } else {
            return key;
        }
    }
    template <class T>
    [[gnu::always_inline]] T parameterAs() const {
        if constexpr (std::is_same_v<T, V8>) {
            return parameterLanes;
        } else {
            return parameter;
        }
    }

    template <class T>
    [[gnu::always_inline]] T operator()(const T& d, const T& s) const {
        T c = s;
        if constexpr ((M & Tint) != 0) {
            c = pixel::tint(s, parameterAs<T>());
        } else if constexpr ((M & Mask) != 0) {
            c = s & parameterAs<T>();
        }
        // Only the low 24 bits count: ~c there is 0xFFFFFF - c.
        if constexpr ((M & Invert) != 0) c = ~c;
        T r = c;
        if constexpr ((M & Add) != 0) {
            r = pixel::add(d, c);
        } else if constexpr ((M & Subtract) != 0) {
            r = pixel::subtract(d, c);
        }
        if constexpr ((M & Alpha) != 0) {
            if constexpr (Half) {
                r = pixel::average(d, r);
            } else {
                r = mix(d, r, alpha);
            }
        }
        if constexpr ((M & ColorKey) != 0) {
            const T m = keyMask(s, keyAs<T>());
            r = (d & m) | (r & ~m);
        }
        return r;
    }
};

template <uint32_t M, bool Half, bool MirrorX>
[[gnu::always_inline]] inline void blitRows(const BlitJob& j) {
    const Blend<M, Half> blend{j.key, j.parameter, j.alpha};
    const int32_t n = j.width;
    const int32_t vectorEnd = j.inPlace ? 0 : n & ~7;
    uint32_t* d = j.dst;
    const uint32_t* s = j.src;
    for (int32_t y = 0; y < j.height; ++y, d += j.dstRowStep, s += j.srcRowStep) {
        if constexpr (M == 0 && !MirrorX) {
            if (!j.inPlace) {
                std::memcpy(d, s, static_cast<size_t>(n) * 4);
                continue;
            }
        }
        int32_t i = 0;
        for (; i < vectorEnd; i += 8) {
            const V8 sv = MirrorX ? loadReversed(s - i) : load(s + i);
            store(d + i, blend(load(d + i), sv));
        }
        for (; i < n; ++i) d[i] = blend(d[i], MirrorX ? s[-i] : s[i]);
    }
}

template <uint32_t M>
[[gnu::always_inline]] inline void runBlit(const BlitJob& j) {
    if constexpr ((M & Alpha) != 0) {
        if (j.halfMix) {
            j.mirrorX ? blitRows<M, true, true>(j) : blitRows<M, true, false>(j);
            return;
        }
    }
    j.mirrorX ? blitRows<M, false, true>(j) : blitRows<M, false, false>(j);
}

template <uint32_t M, bool Half>
[[gnu::always_inline]] inline void fillRows(const BlitJob& j) {
    const Blend<M, Half> blend{0, 0, j.alpha};
    const uint32_t colour = j.parameter;
    const V8 sv = splat(colour);
    const int32_t n = j.width;
    uint32_t* d = j.dst;
    for (int32_t y = 0; y < j.height; ++y, d += j.dstRowStep) {
        if constexpr (M == 0) {
            std::fill_n(d, n, colour);
            continue;
        }
        int32_t i = 0;
        for (; i + 8 <= n; i += 8) store(d + i, blend(load(d + i), sv));
        for (; i < n; ++i) d[i] = blend(d[i], colour);
    }
}

template <uint32_t M>
[[gnu::always_inline]] inline void runFill(const BlitJob& j) {
    if constexpr ((M & Alpha) != 0) {
        if (j.halfMix) return fillRows<M, true>(j);
    }
    fillRows<M, false>(j);
}

// Rotation reads the source in no useful order, so its loop stays scalar: it serves two effects.
template <uint32_t M, bool Half>
[[gnu::always_inline]] inline void rotatedRows(const RotatedJob& j) {
    const Blend<M, Half> blend{j.key, j.parameter, j.alpha};
    int64_t rowU = j.u, rowV = j.v;
    uint32_t* d = j.dst;
    const int64_t lastColumn = j.cellX + j.cellW, lastRow = j.cellY + j.cellH;
    for (int32_t y = 0; y < j.height; ++y, d += j.dstRowStep, rowU += j.eu, rowV += j.ev) {
        int64_t u = rowU, v = rowV;
        for (int32_t x = 0; x < j.width; ++x, u += j.du, v += j.dv) {
            const int64_t column = u >> 16, row = v >> 16;
            if (column < j.cellX || column >= lastColumn || row < j.cellY || row >= lastRow) {
                continue;
            }
            const uint32_t s = j.srcPixels[(j.srcHeight - 1 - row) * j.srcWidth + column];
            d[x] = blend(d[x], s);
        }
    }
}

template <uint32_t M>
void runRotated(const RotatedJob& j) {
    if constexpr ((M & Alpha) != 0) {
        if (j.halfMix) return rotatedRows<M, true>(j);
    }
    rotatedRows<M, false>(j);
}

#define VG_CLONES __attribute__((target_clones("avx2", "default")))

// One function per word, so each gets its own loop and its own AVX2 and baseline versions.
#define VG_BLIT_KERNEL(word)                             \
    VG_CLONES void blitKernel_##word(const BlitJob& j) { \
        runBlit<word>(j);                                \
    }
#define VG_FILL_KERNEL(word)                             \
    VG_CLONES void fillKernel_##word(const BlitJob& j) { \
        runFill<word>(j);                                \
    }

// clang-format off
#define VG_FOR_EACH_GROUP(X, hi) \
    X(hi##0) X(hi##1) X(hi##2) X(hi##3) X(hi##4) X(hi##5) \
    X(hi##6) X(hi##7) X(hi##8) X(hi##9) X(hi##A) X(hi##B)
#define VG_FOR_EACH_WORD(X) \
    VG_FOR_EACH_GROUP(X, 0x0) VG_FOR_EACH_GROUP(X, 0x1) VG_FOR_EACH_GROUP(X, 0x2) \
    VG_FOR_EACH_GROUP(X, 0x3) VG_FOR_EACH_GROUP(X, 0x4) VG_FOR_EACH_GROUP(X, 0x5)
#define VG_FOR_EACH_FILL(X) X(0x0) X(0x2) X(0x4) X(0x6) X(0x8) X(0xA)
// clang-format on

VG_FOR_EACH_WORD(VG_BLIT_KERNEL)
VG_FOR_EACH_FILL(VG_FILL_KERNEL)

struct KernelTables {
    BlitKernel blit[0x60] = {};
    BlitKernel fill[0x0B] = {};
    RotatedKernel rotated[0x60] = {};
    KernelTables() {
#define VG_BLIT_ENTRY(word) blit[word] = &blitKernel_##word;
#define VG_FILL_ENTRY(word) fill[word] = &fillKernel_##word;
#define VG_ROTATED_ENTRY(word) rotated[word] = &runRotated<word>;
        VG_FOR_EACH_WORD(VG_BLIT_ENTRY)
        VG_FOR_EACH_FILL(VG_FILL_ENTRY)
        VG_FOR_EACH_WORD(VG_ROTATED_ENTRY)
#undef VG_ROTATED_ENTRY
#undef VG_BLIT_ENTRY
#undef VG_FILL_ENTRY
    }
};

const KernelTables& tables() {
    static const KernelTables t;
    return t;
}

}  // namespace

BlitKernel blitKernel(uint32_t mode) {
    return isSupportedBlend(mode) ? tables().blit[mode] : nullptr;
}

RotatedKernel rotatedKernel(uint32_t mode) {
    return isSupportedBlend(mode) ? tables().rotated[mode] : nullptr;
}

BlitKernel fillKernel(uint32_t mode) {
    return mode < 0x0B ? tables().fill[mode] : nullptr;
}

}  // namespace vg::render
