// The behaviours callers rely on, one by one.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "TestSurfaces.h"
#include "render/Blit.h"
#include "render/GlyphText.h"
#include "render/ScaledBlit.h"

namespace vg {
namespace {

constexpr uint32_t kBackground = 0x00123456;

// Every pixel names its own position, so a drawing shows which source pixel landed where.
// (0, 0) is 0x000001 + ..., and the key of a keyed call is that pixel's colour.
uint32_t tag(int32_t x, int32_t y) {
    return 0x00100000u | static_cast<uint32_t>(y) << 8 | x;
}

void makeTagged(DIB& image, int32_t w, int32_t h) {
    image.create(w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) *image.pixelAt(x, y) = tag(x, y);
    }
}

void makePlain(DIB& image, int32_t w, int32_t h, uint32_t colour = kBackground) {
    image.create(w, h);
    for (int32_t i = 0; i < w * h; ++i) image.pixels[i] = colour;
}

uint32_t at(const DIB& image, int32_t x, int32_t y) {
    return *image.pixelAt(x, y) & 0xFFFFFF;
}

// Columns drawn into row `y`: the source column each one shows, -1 where untouched.
std::vector<int> columnsShown(const DIB& target, int32_t y) {
    std::vector<int> shown;
    for (int32_t x = 0; x < target.width; ++x) {
        const uint32_t p = at(target, x, y);
        shown.push_back(p == kBackground ? -1 : static_cast<int>(p & 0xFF));
    }
    return shown;
}

int drawnCount(const DIB& target) {
    int n = 0;
    for (int32_t i = 0; i < target.width * target.height; ++i) {
        n += (target.pixels[i] & 0xFFFFFF) != kBackground;
    }
    return n;
}

TEST(BlitClippingTest, LeftEdgeShowsTheRightColumnsOrTheLeftOnesMirrored) {
    DIB sprite, target;
    makeTagged(sprite, 32, 32);
    makePlain(target, 64, 40);
    blit(&sprite, &target, -10, 0, 32, 32, 0, 0, 0, 0);
    std::vector<int> shown = columnsShown(target, 5);
    for (int x = 0; x < 22; ++x) EXPECT_EQ(shown[x], x + 10);
    EXPECT_EQ(shown[22], -1);

    makePlain(target, 64, 40);
    blit(&sprite, &target, -10, 0, -32, 32, 0, 0, 0, 0);
    shown = columnsShown(target, 5);
    for (int x = 0; x < 22; ++x) EXPECT_EQ(shown[x], 21 - x);
    EXPECT_EQ(shown[22], -1);
}

TEST(BlitClippingTest, RightEdgeShowsTheLeftColumnsOrTheRightOnesMirrored) {
    DIB sprite, target;
    makeTagged(sprite, 32, 32);
    makePlain(target, 64, 40);
    blit(&sprite, &target, 59, 0, 32, 32, 0, 0, 0, 0);
    std::vector<int> shown = columnsShown(target, 0);
    for (int x = 0; x < 5; ++x) EXPECT_EQ(shown[59 + x], x);
    EXPECT_EQ(shown[58], -1);

    makePlain(target, 64, 40);
    blit(&sprite, &target, 59, 0, -32, 32, 0, 0, 0, 0);
    shown = columnsShown(target, 0);
    for (int x = 0; x < 5; ++x) EXPECT_EQ(shown[59 + x], 31 - x);
}

TEST(BlitClippingTest, SourceStartingLeftOfTheImageKeepsTheDestination) {
    DIB sprite, target;
    makeTagged(sprite, 32, 32);
    makePlain(target, 64, 40);
    blit(&sprite, &target, 10, 3, 32, 32, -4, 0, 0, 0);
    const std::vector<int> shown = columnsShown(target, 3);
    EXPECT_EQ(shown[9], -1);
    for (int x = 0; x < 28; ++x) EXPECT_EQ(shown[10 + x], x);
    EXPECT_EQ(shown[38], -1);
}

TEST(BlitClippingTest, ZeroSizeDrawsNothingAndMinusOneIsOneColumn) {
    DIB sprite, target;
    makeTagged(sprite, 32, 32);
    makePlain(target, 64, 40);
    blit(&sprite, &target, 0, 0, 0, 32, 0, 0, 0, 0);
    blit(&sprite, &target, 0, 0, 32, 0, 0, 0, 0, 0);
    EXPECT_EQ(drawnCount(target), 0);
    blit(&sprite, &target, 4, 2, -1, 5, 7, 3, 0, 0);
    EXPECT_EQ(drawnCount(target), 5);
    EXPECT_EQ(at(target, 4, 2), tag(7, 3));
    EXPECT_EQ(at(target, 4, 6), tag(7, 7));
    // Mirrored vertically: the bottom row of the source rectangle comes first.
    blit(&sprite, &target, 10, 0, 1, -3, 2, 5, 0, 0);
    EXPECT_EQ(at(target, 10, 0), tag(2, 7));
    EXPECT_EQ(at(target, 10, 2), tag(2, 5));
}

TEST(BlitClippingTest, MissingOrEmptySurfacesAndFarRectanglesDrawNothing) {
    DIB sprite, target, empty;
    makeTagged(sprite, 16, 16);
    makePlain(target, 32, 32);
    blit(nullptr, &target, 0, 0, 16, 16, 0, 0, 0, 0);
    blit(&empty, &target, 0, 0, 16, 16, 0, 0, 0, 0);
    blit(&sprite, nullptr, 0, 0, 16, 16, 0, 0, 0, 0);
    blit(&sprite, &empty, 0, 0, 16, 16, 0, 0, 0, 0);
    blit(&sprite, &target, 32, 0, 16, 16, 0, 0, 0, 0);
    blit(&sprite, &target, -16, 0, 16, 16, 0, 0, 0, 0);
    blit(&sprite, &target, 0, 0, 16, 16, 16, 0, 0, 0);
    blit(&sprite, &target, 0, 0, 16, 16, 0, -16, 0, 0);
    blit(&sprite, &target, 0x7FFFFFF0, 0x7FFFFFF0, 0x7FFFFFFF, 0x7FFFFFFF, 0, 0, 0, 0);
    blit(&sprite, &target, -0x7FFFFFFF, 0, INT32_MIN, INT32_MIN, INT32_MIN, 0, 0, 0);
    fillRect(nullptr, 0, 0, 4, 4, 0, 0, 128);
    fillRect(&empty, 0, 0, 4, 4, 0, 0, 128);
    fillRect(&target, INT32_MAX, 0, INT32_MAX, 4, 0, 0, 128);
    fillRect(&target, INT32_MIN, 0, 4, 4, 0, 0, 128);
    EXPECT_EQ(drawnCount(target), 0);
    // A huge rectangle is cut to the surface rather than wrapping around.
    blit(&sprite, &target, -0x7FFFFFF0, -0x7FFFFFF0, INT32_MAX, INT32_MAX, 0, 0, 0, 0);
    fillRect(&target, INT32_MIN + 1, INT32_MIN + 1, INT32_MAX, INT32_MAX, 0, 0, 128);
    EXPECT_EQ(drawnCount(target), 0);
}

TEST(BlitModeTest, KeyIsTheWholeImagesTopLeftAndIgnoresTheHighByte) {
    DIB sprite, target;
    makePlain(sprite, 4, 4, 0x00FF00FF);
    *sprite.pixelAt(1, 1) = 0xAAFF00FF;  // the key colour with another high byte
    *sprite.pixelAt(2, 1) = 0x00000001;
    *sprite.pixelAt(2, 2) = 0x00000002;
    makePlain(target, 8, 8);
    // The rectangle starts at (1, 1), but the key is still pixel (0, 0) of the image.
    blit(&sprite, &target, 0, 0, 3, 3, 1, 1, ColorKey, 0);
    EXPECT_EQ(drawnCount(target), 2);
    EXPECT_EQ(at(target, 1, 0), 1u);
    EXPECT_EQ(at(target, 1, 1), 2u);
}

TEST(BlitModeTest, SinglePixelResults) {
    struct Case {
        uint32_t mode, parameter, source, destination, expected;
    };
    const Case cases[] = {
        {Tint, 0x00FF0000, 0xFFFFFF, kBackground, 0x7F0000},
        {Tint, 0x00FF0000, 0x000000, kBackground, 0x000000},
        {Add, 0, 0xFFFFFF, 0x808080, 0xFFFFFF},
        {Add, 0, 0xFFFFFF, 0x000000, 0xFEFEFE},
        {Add, 0, 0x010101, 0x010101, 0x000000},
        {Subtract, 0, 0x408080, 0xC06040, 0x800000},
        // Invert + Subtract + Alpha at 128: average of d and max(d - (255 - s), 0).
        {Invert | Subtract | Alpha, 128, 0xF0F0F0, 0x204060, 0x183858},
        {Mask | Alpha, 0x400000FF, 0x112233, 0x000000, 0x00000C},
        {Invert, 0, 0xFF0000, kBackground, 0x00FFFF},
    };
    for (const Case& c : cases) {
        DIB source, target;
        makePlain(source, 2, 1, 0x00ABCDEF);  // (0, 0) is the key; (1, 0) is drawn
        *source.pixelAt(1, 0) = c.source;
        makePlain(target, 1, 1, c.destination);
        blit(&source, &target, 0, 0, 1, 1, 1, 0, c.mode, c.parameter);
        EXPECT_EQ(at(target, 0, 0), c.expected) << testing::hex(c.mode);
    }
}

TEST(BlitModeTest, UnsupportedWordsDrawNothing) {
    DIB sprite, target;
    makeTagged(sprite, 8, 8);
    makePlain(target, 8, 8);
    for (uint32_t mode : {0x0Cu, 0x1Fu, 0x60u, 0x5Cu, 0x7Fu, 0x100u, 0xFFFFFFFFu}) {
        blit(&sprite, &target, 0, 0, 8, 8, 0, 0, mode, 0xFFFFFFFF);
        blitScaled(&target, &sprite, 0, 0, 8, 8, 0, 0, 8, 8, mode, 0xFFFFFFFF);
        blitRotated(&sprite, &target, 0, 0, 7, 7, 0, 0, 0, mode, 0xFFFFFFFF);
    }
    EXPECT_EQ(drawnCount(target), 0);
}

TEST(FillRectTest, AlphaZeroAndInvert) {
    DIB target;
    makePlain(target, 8, 8);
    fillRect(&target, 0, 0, 8, 8, 0, 0, 0);
    EXPECT_EQ(drawnCount(target), 0);
    fillRect(&target, 0, 0, 8, 8, 0, Invert, 0);
    for (int32_t i = 0; i < 64; ++i) EXPECT_EQ(target.pixels[i] & 0xFFFFFF, 0xFFFFFFu);
}

TEST(FillRectTest, WholeSurfaceGreySetsEveryByte) {
    DIB target;
    makePlain(target, 13, 7);
    fillRect(&target, 0, 0, 13, 7, 0x00202020, 0, 128);
    const auto* bytes = reinterpret_cast<const uint8_t*>(target.pixels);
    for (int i = 0; i < 13 * 7 * 4; ++i) ASSERT_EQ(bytes[i], 32);
}

TEST(FillRectTest, ClipsAndModes) {
    DIB target;
    makePlain(target, 10, 10, 0x00808080);
    fillRect(&target, -3, 8, 5, 100, 0x00FF0000, 0, 128);  // lands on x 0..1, y 8..9
    EXPECT_EQ(at(target, 1, 9), 0xFF0000u);
    EXPECT_EQ(at(target, 2, 9), 0x808080u);
    EXPECT_EQ(at(target, 1, 7), 0x808080u);
    fillRect(&target, 5, 0, 1, 1, 0x00101010, Subtract, 1);
    EXPECT_EQ(at(target, 5, 0), 0x707070u);
    fillRect(&target, 6, 0, 1, 1, 0, Alpha, 255);  // alpha 255: a plain store
    EXPECT_EQ(at(target, 6, 0), 0u);
    fillRect(&target, 7, 0, 1, 1, 0, Alpha | Add, 255);  // mixed at 255 of 256
    EXPECT_EQ(at(target, 7, 0), mixPixel(0x808080, addPixel(0x808080, 0), 255));
    fillRect(&target, 8, 0, 1, 1, 0, ColorKey, 128);
    fillRect(&target, 8, 0, 1, 1, 0, Tint, 128);
    EXPECT_EQ(at(target, 8, 0), 0x808080u);
}

TEST(ScaledTest, DoublingDrawsBlocksAndHalvingSkips) {
    DIB sprite, target;
    makeTagged(sprite, 16, 16);
    makePlain(target, 40, 40);
    blitScaled(&target, &sprite, 0, 0, 32, 32, 0, 0, 16, 16, 0, 0);
    for (int32_t y = 0; y < 32; ++y) {
        for (int32_t x = 0; x < 32; ++x) ASSERT_EQ(at(target, x, y), tag(x / 2, y / 2));
    }
    makePlain(target, 40, 40);
    blitScaled(&target, &sprite, 0, 0, 8, 8, 0, 0, 16, 16, 0, 0);
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 8; ++x) ASSERT_EQ(at(target, x, y), tag(x * 2, y * 2));
    }
    EXPECT_EQ(drawnCount(target), 64);
}

TEST(ScaledTest, MirroringAndSourceSigns) {
    DIB sprite, a, b;
    makeTagged(sprite, 40, 20);
    makePlain(a, 40, 40);
    makePlain(b, 40, 40);
    blitScaled(&a, &sprite, 0, 0, 32, 32, 4, 2, 16, 16, 0, 0);
    blitScaled(&b, &sprite, 0, 0, -32, 32, 4, 2, 16, 16, 0, 0);
    EXPECT_EQ(at(b, 0, 0), tag(4 + 15, 2));
    for (int32_t y = 0; y < 32; ++y) {
        for (int32_t x = 0; x < 32; ++x) ASSERT_EQ(at(b, x, y), at(a, 31 - x, y));
    }
    makePlain(b, 40, 40);
    blitScaled(&b, &sprite, 0, 0, 32, 32, 4, 2, -16, -16, 0, 0);
    for (int32_t i = 0; i < 40 * 40; ++i) ASSERT_EQ(a.pixels[i], b.pixels[i]);
}

TEST(ScaledTest, LeftCutSkipsTheCoveredSourceColumns) {
    DIB sprite, target;
    makeTagged(sprite, 16, 16);
    makePlain(target, 40, 40);
    blitScaled(&target, &sprite, -8, 0, 32, 32, 0, 0, 16, 16, 0, 0);
    EXPECT_EQ(at(target, 0, 0), tag(4, 0));
    EXPECT_EQ(at(target, 23, 0), tag(15, 0));
    EXPECT_EQ(at(target, 24, 0), kBackground);
}

TEST(ScaledTest, NeverReadsOutsideTheImage) {
    // The image lives inside a larger guarded block; any read outside it would bring the guard
    // colour onto the target.
    constexpr uint32_t kGuard = 0x00EEEEEE;
    std::vector<uint32_t> block(64 * 64 + 2000, kGuard);
    DIB image;
    image.pixels = block.data() + 1000;
    image.width = 20;
    image.height = 20;
    for (int32_t i = 0; i < 400; ++i) image.pixels[i] = 0x00010203u + static_cast<uint32_t>(i);
    testing::TestRandom random(30);
    DIB target;
    for (int round = 0; round < 4000; ++round) {
        makePlain(target, 48, 48);
        const int32_t sx = random.range(-30, 30), sy = random.range(-30, 30);
        const int32_t sw = random.range(-60, 60), sh = random.range(-60, 60);
        const int32_t dw = random.range(-90, 90), dh = random.range(-90, 90);
        const int32_t dx = random.range(-60, 50), dy = random.range(-60, 50);
        blitScaled(&target, &image, dx, dy, dw, dh, sx, sy, sw, sh, 0, 0);
        blitRotated(&image, &target, dx, dy, dw, dh, sx, sy, random.range(-400, 400) << 16, 0, 0);
        for (int32_t i = 0; i < 48 * 48; ++i) {
            ASSERT_NE(target.pixels[i], kGuard)
                << dx << "," << dy << " " << dw << "x" << dh << " from " << sx << "," << sy << " "
                << sw << "x" << sh;
        }
    }
    image.pixels = nullptr;  // not owned
}

TEST(RotatedTest, AngleZeroIsACopyAndNinetyTurnsClockwise) {
    DIB cell, target;
    makeTagged(cell, 32, 32);
    makePlain(target, 64, 64);
    blitRotated(&cell, &target, 5, 6, 32, 32, 0, 0, 0, 0, 0);
    for (int32_t y = 0; y < 32; ++y) {
        for (int32_t x = 0; x < 32; ++x) ASSERT_EQ(at(target, 5 + x, 6 + y), tag(x, y));
    }
    makePlain(target, 64, 64);
    blitRotated(&cell, &target, 0, 0, 32, 32, 0, 0, 90 << 16, 0, 0);
    // The middle of the cell's right edge lands at the middle of the box's bottom edge. With the
    // sine truncated to 65535 the last row samples just short of column 31: an edge feature
    // two pixels thick shows.
    const uint32_t bottomMiddle = at(target, 16, 31);
    EXPECT_EQ(bottomMiddle & 0xFF, 30u);
    EXPECT_NEAR(static_cast<int>((bottomMiddle >> 8) & 0xFF), 16, 1);
}

TEST(RotatedTest, BoxReachingTheRightEdgeStopsOnePixelShort) {
    DIB cell, target;
    makeTagged(cell, 32, 32);
    makePlain(target, 40, 40);
    blitRotated(&cell, &target, 8, 0, 32, 32, 0, 0, 0, 0, 0);
    EXPECT_NE(at(target, 38, 0), kBackground);
    EXPECT_EQ(at(target, 39, 0), kBackground);
    EXPECT_EQ(drawnCount(target), 31 * 32);
}

DIB& menuSheet() {
    static DIB sheet;
    if (sheet.empty()) makeTagged(sheet, 320, 512);
    return sheet;
}

TEST(GlyphTextTest, MenuFontCellsAndAdvance) {
    const GlyphFont menu{&menuSheet(), 0, 192, 20, 20, -8};
    DIB target;
    makePlain(target, 100, 40);
    drawGlyphTextScaled(menu, 0, 0, &target, "AB\nC", 0, 0, 20, 20);
    // 'A' (0x41) is cell (1, 2): sheet pixel (20, 232); 'B' starts 12 pixels further right.
    EXPECT_EQ(at(target, 0, 0), tag(20, 232));
    EXPECT_EQ(at(target, 12, 0), tag(40, 232));
    EXPECT_EQ(at(target, 31, 0), tag(59, 232));
    EXPECT_EQ(at(target, 32, 0), kBackground);  // the line feed ended the text

    makePlain(target, 100, 40);
    drawGlyphText(menu, 0, 0, &target, "AB", 0, 0);
    EXPECT_EQ(at(target, 0, 0), tag(20, 232));
    EXPECT_EQ(at(target, 12, 0), tag(40, 232));
    // Codes above 127 land on the same cells in both forms.
    DIB other;
    makePlain(target, 100, 40);
    makePlain(other, 100, 40);
    drawGlyphText(menu, 0, 0, &target, "\xC1", 0, 0);
    drawGlyphTextScaled(menu, 0, 0, &other, "\xC1", 0, 0, 20, 20);
    EXPECT_EQ(at(target, 0, 0), tag(20, 192 + 20 * 10));
    EXPECT_EQ(at(other, 0, 0), at(target, 0, 0));
}

TEST(GlyphTextTest, EmptyAndOverlongText) {
    const GlyphFont tiny{&menuSheet(), 0, 0, 1, 1, 0};
    DIB target;
    makePlain(target, 400, 2);
    drawGlyphText(tiny, 0, 0, &target, "", 0, 0);
    drawGlyphTextScaled(tiny, 0, 0, &target, "", 0, 0, 1, 1);
    drawGlyphText(tiny, 0, 0, &target, nullptr, 0, 0);
    EXPECT_EQ(drawnCount(target), 0);
    const std::string longText(300, '!');
    drawGlyphText(tiny, 0, 0, &target, longText.c_str(), 0, 0);
    drawGlyphTextScaled(tiny, 0, 0, &target, longText.c_str(), 0, 1, 1, 1);
    EXPECT_NE(at(target, 254, 0), kBackground);
    EXPECT_EQ(at(target, 255, 0), kBackground);
    EXPECT_NE(at(target, 258, 1), kBackground);
    EXPECT_EQ(at(target, 259, 1), kBackground);
}

}  // namespace
}  // namespace vg
