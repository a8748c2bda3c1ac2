// The background of every stage in the stage table, as the game loads it from data.pck: the rows
// a stage script loops over (the picture's loop cells, named ...Loop) repeat exactly enough that
// the jump back cannot be seen, with room for the screen shake on both sides, and the named
// windows lie inside the picture. A stage whose background is not drawn yet is passed over;
// skipped when the game data was not built (-DVG_DATA=OFF).

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "AtlasCells.h"
#include "core/TaskArena.h"
#include "resources/DIB.h"
#include "resources/Package.h"
#include "resources/Png.h"
#include "stage/StageTable.h"

namespace vg {
namespace {

const std::string kPackagePath = std::string(VG_GAME_DIR) + "/data.pck";

constexpr int32_t kFieldH = 384;
// The window's source row moves with the vertical shake; the loop must hold beyond it.
constexpr int32_t kShakeMargin = 30;

// The background of the stage, when data.pck holds it.
bool loadBackground(const StageTable& stage, DIB& image) {
    PackageReader reader;
    if (!reader.openPackage(kPackagePath.c_str())) return false;
    if (!reader.findEntry(stage.backImage)) return false;
    TaskArena scratch(0x400010);
    return loadImage(stage.backImage, reader, scratch, image);
}

// The cells of the stage's background whose names end in `suffix`.
std::vector<const atlas::CellEntry*> cellsOf(const StageTable& stage, const char* suffix) {
    std::vector<const atlas::CellEntry*> cells;
    for (const atlas::CellEntry& entry : atlas::kCells) {
        const size_t length = std::strlen(entry.name);
        const size_t end = std::strlen(suffix);
        if (std::strcmp(atlas::kImages[entry.image].file, stage.backImage) == 0 && length >= end &&
            std::strcmp(entry.name + length - end, suffix) == 0) {
            cells.push_back(&entry);
        }
    }
    return cells;
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
    int built = 0;
    for (uint8_t index = 0; index < kStageCount; ++index) {
        const StageTable& stage = stageTable(index);
        DIB image;
        if (!loadBackground(stage, image)) continue;
        ++built;
        for (const atlas::CellEntry* entry : cellsOf(stage, "Loop")) {
            const atlas::Cell* loop = &entry->cell;
            const int32_t first = std::max(1, loop->y - kShakeMargin);
            const int32_t last = loop->y + kFieldH + kShakeMargin;
            ASSERT_LE(last + loop->h, image.height) << stage.backImage << " " << entry->name;
            RowMismatch mismatch = compareRows(image, first, last, loop->h);
            // Antialiased edges may round differently at the two copies; nothing more.
            EXPECT_LE(mismatch.pixels, 0) << stage.backImage << " " << entry->name;
            EXPECT_LE(mismatch.largest, 6) << stage.backImage << " " << entry->name;
        }
    }
    EXPECT_GE(built, 1) << "no stage's background is in data.pck";
}

// The stage starts with the start window's rows on screen, and a window one row past the end of
// the picture would show nothing: every named window holds a whole field with shake to spare.
TEST_F(Background, NamedWindowsLieInsideThePicture) {
    for (uint8_t index = 0; index < kStageCount; ++index) {
        const StageTable& stage = stageTable(index);
        DIB image;
        if (!loadBackground(stage, image)) continue;
        EXPECT_EQ(image.width, 320) << stage.backImage << ": the window's columns and shake";
        for (const atlas::CellEntry* entry : cellsOf(stage, "StartView")) {
            EXPECT_EQ(entry->cell.h, kFieldH) << stage.backImage;
            EXPECT_LE(entry->cell.y + entry->cell.h, image.height) << stage.backImage;
        }
        for (const atlas::CellEntry* entry : cellsOf(stage, "Loop")) {
            const atlas::Cell* loop = &entry->cell;
            EXPECT_GE(loop->y - kShakeMargin, 0) << stage.backImage << " " << entry->name;
            EXPECT_LE(loop->y + loop->h + kFieldH + kShakeMargin, image.height)
                << stage.backImage << " " << entry->name;
            EXPECT_GE(loop->h, kFieldH + 2 * kShakeMargin)
                << stage.backImage << " " << entry->name << ": a shorter loop shows its seam";
        }
    }
}

}  // namespace
}  // namespace vg
