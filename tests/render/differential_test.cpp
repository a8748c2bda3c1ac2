// Every mode word and fill mode against the slow reference, on random pictures, sizes,
// positions and mirrorings.

#include <gtest/gtest.h>

#include "Reference.h"
#include "TestSurfaces.h"
#include "render/Blit.h"
#include "render/ScaledBlit.h"

namespace vg {
namespace {

using testing::TestRandom;

// Written pixels must agree in their low 24 bits (the high byte is free); untouched pixels must
// be untouched in all 32.
::testing::AssertionResult sameDrawing(const DIB& ours, const reference::Canvas& expected) {
    const DIB& theirs = *expected.surface;
    for (int32_t i = 0; i < ours.width * ours.height; ++i) {
        const uint32_t mask = expected.written[static_cast<size_t>(i)] ? 0x00FFFFFFu : ~0u;
        if ((ours.pixels[i] & mask) != (theirs.pixels[i] & mask)) {
            const int32_t x = i % ours.width, y = ours.height - 1 - i / ours.width;
            return ::testing::AssertionFailure()
                   << "pixel (" << x << ", " << y << ") is " << testing::hex(ours.pixels[i])
                   << ", expected " << testing::hex(theirs.pixels[i]);
        }
    }
    return ::testing::AssertionSuccess();
}

// Parameters that reach every branch of the decoding: alpha 0, 128, 255 or other, in the byte
// the mode reads it from, and white or coloured masks.
uint32_t randomParameter(TestRandom& random) {
    static const uint32_t kAlphas[] = {0, 128, 255, 1, 254, 64, 200};
    const uint32_t alpha =
        random.next() % 3 == 0 ? random.next() & 0xFF : kAlphas[random.next() % 7];
    uint32_t colour = random.next() & 0x00FFFFFFu;
    if (random.next() % 4 == 0) colour = 0x00FFFFFFu;
    if (random.next() % 2 == 0) return (alpha << 24) | colour;
    return (random.next() & 0xFFFFFF00u) | alpha;
}

TEST(BlitDifferentialTest, EveryWordMatchesTheReference) {
    TestRandom random(1);
    int drawn = 0;
    for (uint32_t mode = 0; mode < 0x62; ++mode) {
        for (int round = 0; round < 150; ++round) {
            DIB source, target;
            source.create(random.range(1, 48), random.range(1, 48));
            target.create(random.range(1, 64), random.range(1, 40));
            testing::fillPicture(source, random);
            testing::fillPicture(target, random);
            DIB expected;
            testing::copyPicture(target, expected);
            reference::Canvas canvas(expected);
            const int32_t w = random.range(-source.width - 6, source.width + 6);
            const int32_t h = random.range(-source.height - 6, source.height + 6);
            const int32_t dx = random.range(-source.width - 4, target.width + 4);
            const int32_t dy = random.range(-source.height - 4, target.height + 4);
            const int32_t sx = random.range(-8, source.width + 2);
            const int32_t sy = random.range(-8, source.height + 2);
            const uint32_t parameter = randomParameter(random);
            reference::Stats stats;
            reference::blit(&source, canvas, dx, dy, w, h, sx, sy, mode, parameter, stats);
            blit(&source, &target, dx, dy, w, h, sx, sy, mode, parameter);
            ASSERT_TRUE(sameDrawing(target, canvas))
                << "mode " << testing::hex(mode) << " dx " << dx << " dy " << dy << " w " << w
                << " h " << h << " sx " << sx << " sy " << sy << " parameter "
                << testing::hex(parameter);
            // The clipping rules never ask for a pixel outside the source.
            ASSERT_EQ(stats.outsideReads, 0);
            for (bool b : canvas.written) drawn += b;
        }
    }
    EXPECT_GT(drawn, 80000);  // the rounds really draw
}

TEST(BlitDifferentialTest, SurfaceOntoItselfKeepsThePixelOrder) {
    TestRandom random(2);
    for (uint32_t mode : {0x00u, 0x01u, 0x05u, 0x02u, 0x10u}) {
        for (int round = 0; round < 200; ++round) {
            DIB target;
            target.create(random.range(8, 40), random.range(8, 40));
            testing::fillPicture(target, random);
            DIB expected;
            testing::copyPicture(target, expected);
            reference::Canvas canvas(expected);
            const int32_t w = random.range(-30, 30), h = random.range(-30, 30);
            const int32_t dx = random.range(-8, 30), dy = random.range(-8, 30);
            const int32_t sx = random.range(0, 20), sy = random.range(0, 20);
            reference::Stats stats;
            reference::blit(&expected, canvas, dx, dy, w, h, sx, sy, mode, 100, stats);
            blit(&target, &target, dx, dy, w, h, sx, sy, mode, 100);
            ASSERT_TRUE(sameDrawing(target, canvas)) << "mode " << testing::hex(mode);
        }
    }
}

TEST(BlitDifferentialTest, EveryFillModeMatchesTheReference) {
    TestRandom random(3);
    static const uint32_t kAlphas[] = {0, 128, 255, 1, 77, 0x180, 0x100};
    for (uint32_t mode = 0; mode < 0x20; ++mode) {
        for (int round = 0; round < 80; ++round) {
            DIB target;
            target.create(random.range(1, 50), random.range(1, 30));
            testing::fillPicture(target, random);
            DIB expected;
            testing::copyPicture(target, expected);
            reference::Canvas canvas(expected);
            const int32_t x = random.range(-20, target.width + 2);
            const int32_t y = random.range(-20, target.height + 2);
            const int32_t w = random.range(-2, 60), h = random.range(-2, 40);
            const uint32_t colour = random.next() % 3 == 0 ? 0x202020u : random.next();
            const uint32_t alpha = kAlphas[random.next() % 7];
            reference::fillRect(canvas, x, y, w, h, colour, mode, alpha);
            fillRect(&target, x, y, w, h, colour, mode, alpha);
            ASSERT_TRUE(sameDrawing(target, canvas))
                << "mode " << testing::hex(mode) << " x " << x << " y " << y << " w " << w << " h "
                << h << " alpha " << alpha;
        }
    }
}

TEST(ScaledDifferentialTest, EveryWordMatchesTheReference) {
    TestRandom random(4);
    for (uint32_t mode = 0; mode < 0x60; ++mode) {
        for (int round = 0; round < 40; ++round) {
            DIB source, target;
            source.create(random.range(1, 40), random.range(1, 40));
            target.create(random.range(1, 70), random.range(1, 50));
            testing::fillPicture(source, random);
            testing::fillPicture(target, random);
            DIB expected;
            testing::copyPicture(target, expected);
            reference::Canvas canvas(expected);
            // Mostly source rectangles inside the image (what the game draws), sometimes not.
            const bool inside = random.next() % 4 != 0;
            int32_t sx, sy, sw, sh;
            if (inside) {
                sx = random.range(0, source.width - 1);
                sy = random.range(0, source.height - 1);
                sw = random.range(1, source.width - sx) * (random.next() % 5 == 0 ? -1 : 1);
                sh = random.range(1, source.height - sy);
            } else {
                sx = random.range(-20, source.width + 2);
                sy = random.range(-20, source.height + 2);
                sw = random.range(-50, 50);
                sh = random.range(-50, 50);
            }
            const int32_t dw = random.range(-80, 80), dh = random.range(-80, 80);
            const int32_t dx = random.range(-80, target.width + 4);
            const int32_t dy = random.range(-80, target.height + 4);
            const uint32_t parameter = randomParameter(random);
            reference::Stats stats;
            reference::blitScaled(canvas, &source, dx, dy, dw, dh, sx, sy, sw, sh, mode, parameter,
                                  stats);
            blitScaled(&target, &source, dx, dy, dw, dh, sx, sy, sw, sh, mode, parameter);
            ASSERT_TRUE(sameDrawing(target, canvas))
                << "mode " << testing::hex(mode) << " d " << dx << "," << dy << " " << dw << "x"
                << dh << " s " << sx << "," << sy << " " << sw << "x" << sh;
            // The rules themselves stay inside the image for an unmirrored source rectangle
            // that lies in it; other calls are kept inside by the blitter.
            if (inside && dw > 0 && dh > 0) {
                ASSERT_EQ(stats.outsideReads, 0);
            }
        }
    }
}

TEST(RotatedDifferentialTest, EveryWordMatchesTheReference) {
    TestRandom random(5);
    for (uint32_t mode = 0; mode < 0x62; ++mode) {
        for (int round = 0; round < 12; ++round) {
            DIB source, target;
            source.create(random.range(1, 70), random.range(1, 70));
            target.create(random.range(1, 90), random.range(1, 90));
            testing::fillPicture(source, random);
            testing::fillPicture(target, random);
            DIB expected;
            testing::copyPicture(target, expected);
            reference::Canvas canvas(expected);
            const int32_t sx = random.range(-20, source.width),
                          sy = random.range(-20, source.height);
            const int32_t dw = random.range(-70, 70), dh = random.range(-70, 70);
            const int32_t dx = random.range(-60, target.width),
                          dy = random.range(-60, target.height);
            const int32_t angle = static_cast<int32_t>(random.next() % (720u << 16)) - (360 << 16);
            const uint32_t parameter = randomParameter(random);
            reference::blitRotated(&source, canvas, dx, dy, dw, dh, sx, sy, angle, mode, parameter);
            blitRotated(&source, &target, dx, dy, dw, dh, sx, sy, angle, mode, parameter);
            ASSERT_TRUE(sameDrawing(target, canvas))
                << "mode " << testing::hex(mode) << " angle " << angle;
        }
    }
}

}  // namespace
}  // namespace vg
