#include <gtest/gtest.h>

#include <string>

#include "resources/DIBSection.h"
#include "resources/Text.h"

namespace vg {
namespace {

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    int count = 0;
};

// The pixels that differ from `background`.
Box changed(const DIB& surface, uint32_t background) {
    Box box;
    for (int y = 0; y < surface.height; ++y) {
        for (int x = 0; x < surface.width; ++x) {
            if (*surface.pixelAt(x, y) == background) continue;
            ++box.count;
            box.left = std::min(box.left, x);
            box.top = std::min(box.top, y);
            box.right = std::max(box.right, x);
            box.bottom = std::max(box.bottom, y);
        }
    }
    return box;
}

void fill(DIB& surface, uint32_t colour) {
    for (int i = 0; i < surface.width * surface.height; ++i) surface.pixels[i] = colour;
}

TEST(TextTest, DrawsInTheTextColourInsideTheCellOnATransparentBackground) {
    DIBSection screen;
    ASSERT_NE(screen.font(), nullptr) << "the default face must load";
    const uint32_t background = 0x00203040;
    fill(screen, background);
    EXPECT_EQ(drawText(screen, 10, 20, "%d / %d", 60, 60), 7);

    const Box box = changed(screen, background);
    ASSERT_GT(box.count, 20);
    EXPECT_GE(box.left, 10);
    EXPECT_GE(box.top, 20);
    EXPECT_LT(box.bottom, 20 + kTextHeight);
    EXPECT_LT(box.right, 10 + 7 * kTextHeight);
    // Without anti-aliasing every touched pixel is exactly the text colour (white by default).
    for (int y = box.top; y <= box.bottom; ++y) {
        for (int x = box.left; x <= box.right; ++x) {
            const uint32_t p = *screen.pixelAt(x, y);
            EXPECT_TRUE(p == background || p == 0xFFFFFF) << std::hex << p;
        }
    }

    fill(screen, background);
    screen.setTextColor(0xFF12AB34);
    EXPECT_EQ(screen.textColor(), 0x12AB34u);
    drawText(screen, 0, 0, "W");
    bool sawColour = false;
    for (int i = 0; i < screen.width * screen.height; ++i) {
        sawColour |= screen.pixels[i] == 0x12AB34u;
    }
    EXPECT_TRUE(sawColour);
}

TEST(TextTest, AntialiasedBoldFontBlendsEdges) {
    DIBSection screen;
    ASSERT_TRUE(screen.setFont(kFontBold | kFontAntialiased, "Tohoma"));
    fill(screen, 0);
    drawText(screen, 5, 1, "%s", "60 / 60");
    int partial = 0;
    int solid = 0;
    for (int i = 0; i < screen.width * screen.height; ++i) {
        const uint32_t p = screen.pixels[i];
        if (p == 0xFFFFFF) ++solid;
        if (p != 0 && p != 0xFFFFFF) {
            ++partial;
            // Grey edges of white on black: all three channels equal.
            EXPECT_EQ(p & 0xFF, (p >> 8) & 0xFF);
            EXPECT_EQ(p & 0xFF, (p >> 16) & 0xFF);
        }
    }
    EXPECT_GT(partial, 0);
    EXPECT_GT(solid, 0);

    // The bold face is wider than the regular one for the same text.
    DIBSection regular;
    EXPECT_GT(screen.font()->measure("Tohoma", 6), regular.font()->measure("Tohoma", 6));
}

TEST(TextTest, LongTextIsCutAndDrawingIsClipped) {
    DIBSection screen;
    const std::string longText(5000, 'x');
    EXPECT_EQ(drawText(screen, 0, 0, "%s", longText.c_str()), 1023);
    EXPECT_EQ(drawText(screen, 0, 0, "%s!", std::string(1022, 'y').c_str()), 1023);
    EXPECT_EQ(drawText(screen, 0, 0, "%s", ""), 0);

    // Partly and wholly outside the surface on every side: only the visible part is drawn.
    fill(screen, 0);
    drawText(screen, -6, -8, "Edge");
    drawText(screen, 505, 377, "Edge");
    drawText(screen, -5000, 100, "far");
    drawText(screen, 100, 100000, "far");
    const Box box = changed(screen, 0);
    EXPECT_GT(box.count, 0);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.bottom, 383);
}

TEST(TextTest, SurfaceWithoutFontOrPixelsDrawsNothing) {
    DIBSection screen;
    screen.release();
    EXPECT_EQ(screen.font(), nullptr);
    EXPECT_EQ(drawText(screen, 0, 0, "text"), -1);
    ASSERT_TRUE(screen.create(64, 32));
    EXPECT_NE(screen.font(), nullptr);
    EXPECT_EQ(screen.textColor(), 0xFFFFFFu);
    EXPECT_EQ(drawText(screen, 0, 0, "ok"), 2);
    // Style flags draw without faults; underline adds pixels below the baseline.
    fill(screen, 0);
    ASSERT_TRUE(setFont(kFontItalic | kFontUnderline | kFontStrikeOut, screen, "MS UI Gothic"));
    drawText(screen, 2, 2, "ab");
    const Box styled = changed(screen, 0);
    fill(screen, 0);
    ASSERT_TRUE(setFont(0, screen, "MS UI Gothic"));
    drawText(screen, 2, 2, "ab");
    EXPECT_GT(styled.count, changed(screen, 0).count);
}

}  // namespace
}  // namespace vg
