// The background of stage 1 as the game loads it from data.pck: the rows a stage script loops
// over repeat exactly enough that the jump back cannot be seen, with room for the screen shake
// on both sides, and the named windows lie inside the picture. Skipped when the game data was
// not built (-DVG_DATA=OFF).

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "AtlasCells.h"
#include "core/TaskArena.h"
#include "resources/DIB.h"
#include "resources/Package.h"
#include "resources/Png.h"

namespace vg {
namespace {

const std::string kPackagePath = std::string(VG_GAME_DIR) + "/data.pck";

constexpr int32_t kFieldH = 384;
// The window's source row moves with the vertical shake; the loop must hold beyond it.
constexpr int32_t kShakeMargin = 30;

bool loadBackground(DIB& image) {
    PackageReader reader;
    if (!reader.openPackage(kPackagePath.c_str())) return false;
    if (!reader.findEntry("back1.png")) return false;
    TaskArena scratch(0x400010);
    return loadImage("back1.png", reader, scratch, image);
}

struct RowMismatch {
    int32_t pixels = 0;   // pixels whose channels differ by more than the tolerance
    int32_t largest = 0;  // largest channel difference seen
};

// Compares rows y and y + period for every y of [first, last).
RowMismatch compareRows(const DIB& image, int32_t first, int32_t last, int32_t period) {
    RowMismatch result;
    for (int32_t y = first; y < last; ++y) {
        for (int32_t x = 0; x < image.width; ++x) {
            uint32_t a = *image.pixelAt(x, y);
            uint32_t b = *image.pixelAt(x, y + period);
            int32_t worst = 0;
            for (int shift = 0; shift < 24; shift += 8) {
                int32_t d = std::abs(static_cast<int32_t>((a >> shift) & 0xFF) -
                                     static_cast<int32_t>((b >> shift) & 0xFF));
                worst = std::max(worst, d);
            }
            result.largest = std::max(result.largest, worst);
            if (worst > 6) ++result.pixels;
        }
    }
    return result;
}

class Background : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::filesystem::exists(kPackagePath)) GTEST_SKIP() << "no game data built";
    }
};

// A script sets MAP_LOOP_POINT_Y to the loop cell's y and MAP_LOOP_BACK_POINT_Y to y + h: when
// the map position falls below the first it jumps to the second, so every window the jump can
// show, shaken up or down, must look the same at both. The picture's top-left pixel is the key
// colour, so row 0 is left out.
TEST_F(Background, LoopRowsRepeatAcrossTheJumpIncludingTheShake) {
    DIB image;
    ASSERT_TRUE(loadBackground(image));
    for (const atlas::Cell* loop : {&atlas::back1::kBossLoop, &atlas::back1::kSeaLoop}) {
        const int32_t first = std::max(1, loop->y - kShakeMargin);
        const int32_t last = loop->y + kFieldH + kShakeMargin;
        ASSERT_LE(last + loop->h, image.height) << "loop at " << loop->y;
        RowMismatch mismatch = compareRows(image, first, last, loop->h);
        // Antialiased edges may round differently at the two copies; nothing more.
        EXPECT_LE(mismatch.pixels, 0) << "loop at " << loop->y;
        EXPECT_LE(mismatch.largest, 6) << "loop at " << loop->y;
    }
}

// The stage starts with the start window's rows on screen, and a window one row past the end of
// the picture would show nothing: every named window holds a whole field with shake to spare.
TEST_F(Background, NamedWindowsLieInsideThePicture) {
    DIB image;
    ASSERT_TRUE(loadBackground(image));
    const atlas::Cell& start = atlas::back1::kStartView;
    EXPECT_EQ(start.h, kFieldH);
    EXPECT_EQ(start.y + start.h, image.height) << "the stage starts at the picture's foot";
    for (const atlas::Cell* loop : {&atlas::back1::kBossLoop, &atlas::back1::kSeaLoop}) {
        EXPECT_GE(loop->y - kShakeMargin, 0);
        EXPECT_LE(loop->y + loop->h + kFieldH + kShakeMargin, image.height);
        EXPECT_GE(loop->h, kFieldH + 2 * kShakeMargin) << "a shorter loop shows its own seam";
    }
}

}  // namespace
}  // namespace vg
