// A fixed scene that uses every drawing call and every mode word, compared by hash with the
// stored value. Set VG_UPDATE_GOLDEN=1 to store the current picture's hash on purpose after a
// deliberate change to how things look.

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "TestSurfaces.h"
#include "render/Blit.h"
#include "render/GlyphText.h"
#include "render/ScaledBlit.h"
#include "tests/support/GoldenPictures.h"

namespace vg {
namespace {

const char* const kHashFile = VG_SOURCE_DIR "/tests/render/golden_scene.hash";

void drawScene(DIB& screen) {
    testing::TestRandom random(2024);
    DIB sheet;
    sheet.create(96, 80);
    testing::fillPicture(sheet, random);
    screen.create(200, 150);
    fillRect(&screen, 0, 0, 200, 150, 0x00303030, 0, 128);
    fillRect(&screen, 10, 10, 180, 40, 0x00204080, 0, 128);
    fillRect(&screen, -5, 30, 60, 200, 0x00604020, Alpha, 100);
    fillRect(&screen, 120, -10, 90, 70, 0x00101010, Add, 128);
    fillRect(&screen, 20, 100, 50, 30, 0x00FF8040, Add | Alpha, 128);
    fillRect(&screen, 150, 90, 70, 70, 0x00202020, Subtract, 1);
    fillRect(&screen, 80, 60, 40, 40, 0x00808080, Subtract | Alpha, 200);
    fillRect(&screen, 5, 140, 40, 20, 0, Invert, 0);
    for (int32_t i = 0; i < 0x60; ++i) {
        const uint32_t mode = static_cast<uint32_t>(i);
        if (!isSupportedBlend(mode)) continue;
        const int32_t x = (i % 12) * 17 - 8, y = (i / 12) * 19 - 4;
        const int32_t w = (i & 1) != 0 ? -24 : 24, h = (i & 2) != 0 ? -20 : 20;
        const uint32_t parameter = (i % 3 == 0) ? 0x80FF4020u : (0x5A000000u | (i * 0x030507u));
        blit(&sheet, &screen, x, y, w, h, i % 40, i % 30, mode, parameter | 128);
        blitScaled(&screen, &sheet, x + 5, y + 60, (i & 4) != 0 ? -13 : 31, 17, i % 50, 7, 19,
                   (i & 8) != 0 ? -23 : 23, mode, parameter);
        blitRotated(&sheet, &screen, x, y + 30, 40 - i % 20, 26, i % 60, i % 45, (i * 37) << 16,
                    mode, parameter);
    }
    const GlyphFont font{&sheet, 0, 8, 6, 6, -1};
    drawGlyphText(font, ColorKey | Alpha | Add, 200, &screen, "Score 0123456789", 4, 2);
    drawGlyphTextScaled(font, ColorKey | Alpha | Add | Mask, 0x80FFC040, &screen, "Ready!\nno", 30,
                        120, 12, 18);
}

TEST(GoldenSceneTest, SceneLooksAsStored) {
    DIB screen;
    drawScene(screen);
    const std::string text = testing::hashText(testing::hashPicture(screen));
    if (testing::updatingGolden()) {
        std::ofstream(kHashFile) << text << "\n";
        GTEST_SKIP() << "stored " << text << " in " << kHashFile;
    }
    std::ifstream in(kHashFile);
    std::string stored;
    in >> stored;
    ASSERT_FALSE(stored.empty()) << "no stored hash; run once with VG_UPDATE_GOLDEN=1";
    EXPECT_EQ(stored, text) << "the scene changed; if on purpose, rerun with VG_UPDATE_GOLDEN=1";
}

}  // namespace
}  // namespace vg
