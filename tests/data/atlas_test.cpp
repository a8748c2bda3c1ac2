// The atlas constants: every cell inside its picture, and no two cells overlapping unless one
// is declared a part of the other.

#include <gtest/gtest.h>

#include <string>

#include "AtlasCells.h"

namespace vg::atlas {
namespace {

struct Box {
    int32_t x0, y0, x1, y1;  // x1, y1 exclusive
};

Box frameBox(const Cell& cell, int32_t i) {
    return {cell.frameX(i), cell.frameY(i), cell.frameX(i) + cell.w, cell.frameY(i) + cell.h};
}

Box extent(const Cell& cell) {
    return {cell.x, cell.y, cell.x + cell.extentW(), cell.y + cell.extentH()};
}

bool overlaps(const Box& a, const Box& b) {
    return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
}

bool related(int32_t a, int32_t b) {
    return kCells[a].parent == b || kCells[b].parent == a;
}

TEST(Atlas, EveryFrameOfEveryCellLiesInsideItsPicture) {
    for (const CellEntry& entry : kCells) {
        const Image& image = kImages[entry.image];
        for (int32_t i = 0; i < entry.cell.frames; ++i) {
            Box box = frameBox(entry.cell, i);
            EXPECT_TRUE(box.x0 >= 0 && box.y0 >= 0 && box.x1 <= image.width &&
                        box.y1 <= image.height)
                << image.file << " " << entry.name << " frame " << i;
        }
    }
}

TEST(Atlas, CellsOfOnePictureDoNotOverlap) {
    int32_t count = static_cast<int32_t>(std::size(kCells));
    for (int32_t a = 0; a < count; ++a) {
        for (int32_t b = a + 1; b < count; ++b) {
            if (kCells[a].image != kCells[b].image || related(a, b)) continue;
            EXPECT_FALSE(overlaps(extent(kCells[a].cell), extent(kCells[b].cell)))
                << kImages[kCells[a].image].file << ": " << kCells[a].name << " and "
                << kCells[b].name;
        }
    }
}

TEST(Atlas, PartsLieInsideTheCellTheyBelongTo) {
    for (const CellEntry& entry : kCells) {
        if (entry.parent < 0) continue;
        Box part = extent(entry.cell);
        Box whole = extent(kCells[entry.parent].cell);
        EXPECT_TRUE(part.x0 >= whole.x0 && part.y0 >= whole.y0 && part.x1 <= whole.x1 &&
                    part.y1 <= whole.y1)
            << entry.name;
    }
}

// The rectangles the screens and panels are written against: a moved cell must be a deliberate
// change of both the atlas and the code that draws it.
TEST(Atlas, FixedCellsKeepTheirPlaces) {
    EXPECT_EQ(frame::kMenuFont.x, 0);
    EXPECT_EQ(frame::kMenuFont.y, 192);
    EXPECT_EQ(frame::kMenuFont.w, 20);
    EXPECT_EQ(frame::kSmallFont.y, 312);
    EXPECT_EQ(frame::kSmallFont.w, 12);
    // The end mark is the menu font's cell of 0x7F.
    EXPECT_EQ(frame::kMenuFont.frameX(0x7F - 0x20), frame::kEndMark.x);
    EXPECT_EQ(frame::kMenuFont.frameY(0x7F - 0x20), frame::kEndMark.y);
    // 'A' of the menu font is at (20, 232).
    EXPECT_EQ(frame::kMenuFont.frameX('A' - 0x20), 20);
    EXPECT_EQ(frame::kMenuFont.frameY('A' - 0x20), 232);
    EXPECT_EQ(frame::kShipIcon.frameX(1), 296);
    EXPECT_EQ(frame::kShipIcon.frameY(2), 54);
    EXPECT_EQ(frame::kStageLabel.frameY(4), 384 + 4 * 32);
    EXPECT_EQ(frame::kYesNoButton.frameX(1), 64);
    EXPECT_EQ(title::kItemLit.frameY(5), 384 + 5 * 20);
    EXPECT_EQ(selectBack::kDifficultyLabel.frameY(4), 385 + 4 * 40);
    EXPECT_EQ(selectBack::kModeCaption.frameY(1), 943);
    EXPECT_EQ(frame::kBossGaugeBar.extentW(), 234);
}

}  // namespace
}  // namespace vg::atlas
