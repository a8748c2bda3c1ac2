#include <gtest/gtest.h>

#include "Reference.h"
#include "TestSurfaces.h"
#include "render/Blend.h"

namespace vg {
namespace {

using testing::hex;

TEST(PixelHelpersTest, MatchPerChannelFormulasOverManyValues) {
    testing::TestRandom random(10);
    for (int i = 0; i < 200000; ++i) {
        const uint32_t d = random.next(), s = random.next(), a = random.next() & 0xFF;
        const uint32_t low = 0x00FFFFFFu;
        ASSERT_EQ(mixPixel(d, s, a), reference::mix(d, s, a)) << hex(d) << " " << hex(s) << a;
        ASSERT_EQ(averagePixel(d, s) & low, reference::average(d, s)) << hex(d) << " " << hex(s);
        ASSERT_EQ(addPixel(d, s) & low, reference::add(d, s)) << hex(d) << " " << hex(s);
        ASSERT_EQ(subtractPixel(d, s) & low, reference::subtract(d, s)) << hex(d) << " " << hex(s);
        ASSERT_EQ(tintPixel(s, d), reference::tint(s, d)) << hex(s) << " " << hex(d);
    }
}

TEST(PixelHelpersTest, EveryChannelPairInEveryChannel) {
    // All 65536 pairs of channel values, in each channel, with random neighbours: the
    // whole-word tricks must not leak between channels.
    testing::TestRandom random(11);
    for (int k = 0; k < 3; ++k) {
        for (uint32_t dc = 0; dc < 256; ++dc) {
            for (uint32_t sc = 0; sc < 256; ++sc) {
                const uint32_t keep = ~(0xFFu << (8 * k));
                const uint32_t d = (random.next() & keep) | dc << (8 * k);
                const uint32_t s = (random.next() & keep) | sc << (8 * k);
                ASSERT_EQ(subtractPixel(d, s) & 0xFFFFFF, reference::subtract(d, s));
                ASSERT_EQ(addPixel(d, s) & 0xFFFFFF, reference::add(d, s));
                ASSERT_EQ(averagePixel(d, s) & 0xFFFFFF, reference::average(d, s));
                ASSERT_EQ(mixPixel(d, s, sc), reference::mix(d, s, sc));
            }
        }
    }
}

TEST(PixelHelpersTest, KnownValues) {
    EXPECT_EQ(addPixel(0x808080, 0xFFFFFF) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(addPixel(0x000000, 0xFFFFFF) & 0xFFFFFF, 0xFEFEFEu);
    EXPECT_EQ(addPixel(0x010101, 0x010101) & 0xFFFFFF, 0u);
    // A carry out of blue sets the lowest bit of green.
    EXPECT_EQ(addPixel(0x000080, 0x000080) & 0xFFFFFF, 0x0001FFu);
    EXPECT_EQ(subtractPixel(0xC06040, 0x408080) & 0xFFFFFF, 0x800000u);
    EXPECT_EQ(tintPixel(0xFFFFFF, 0xFF0000), 0x7F0000u);
    EXPECT_EQ(tintPixel(0x000000, 0xFF0000), 0u);
    EXPECT_EQ(averagePixel(0x000001, 0x000002) & 0xFFFFFF, 1u);
    // Divisor 256: full alpha is not quite the source.
    EXPECT_EQ(mixPixel(0, 0xFFFFFF, 255), 0xFEFEFEu);
    EXPECT_EQ(mixPixel(0xFFFFFF, 0, 0), 0xFFFFFFu);
}

TEST(BlendDecodingTest, FollowsTheOrderOfTheRules) {
    DecodedBlend b;
    EXPECT_FALSE(decodeBlend(0x0C, 0, b));
    EXPECT_FALSE(decodeBlend(0x1F, 0, b));
    EXPECT_FALSE(decodeBlend(0x60, 0xFFFFFF, b));
    EXPECT_FALSE(decodeBlend(0x5C, 0, b));
    EXPECT_FALSE(decodeBlend(0x80, 0, b));
    // Alpha in the low byte for plain modes; 255 drops Alpha, 0 ends the call.
    ASSERT_TRUE(decodeBlend(0x03, 0x12345680, b));
    EXPECT_EQ(b.mode, 0x03u);
    EXPECT_EQ(b.alpha, 0x80u);
    ASSERT_TRUE(decodeBlend(0x07, 0xFF, b));
    EXPECT_EQ(b.mode, 0x05u);
    EXPECT_FALSE(decodeBlend(0x02, 0xFF00, b));
    // Mask: alpha in the high byte, tested before the white-mask shortcut.
    EXPECT_FALSE(decodeBlend(0x42, 0x00FFFFFF, b));
    ASSERT_TRUE(decodeBlend(0x43, 0x80FFFFFF, b));
    EXPECT_EQ(b.mode, 0x03u);
    EXPECT_EQ(b.alpha, 128u);
    EXPECT_EQ(b.parameter, 0x80u);
    ASSERT_TRUE(decodeBlend(0x43, 0x400000FF, b));
    EXPECT_EQ(b.mode, 0x43u);
    EXPECT_EQ(b.alpha, 0x40u);
    EXPECT_EQ(b.parameter, 0x400000FFu);
    ASSERT_TRUE(decodeBlend(0x42, 0xFF0000FF, b));
    EXPECT_EQ(b.mode, 0x40u);
    // Tint keeps the whole parameter.
    ASSERT_TRUE(decodeBlend(0x23, 0x20FF0000, b));
    EXPECT_EQ(b.mode, 0x23u);
    EXPECT_EQ(b.alpha, 0x20u);
    EXPECT_EQ(b.parameter, 0x20FF0000u);
    EXPECT_FALSE(decodeBlend(0x22, 0x00FF0000, b));
}

}  // namespace
}  // namespace vg
