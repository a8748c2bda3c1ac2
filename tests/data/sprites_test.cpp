// The sprite sheets of play (bullets, ships, items, explosions, enemies) as the game loads
// them from data.pck: every frame of every cell holds a picture, the sprites drawn with
// ColorKey have no key-coloured holes inside them, the two bullet colour sets match in shape
// and differ in hue, and the explosion strips fade out. Skipped when the game data was not
// built (-DVG_DATA=OFF).

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "AtlasCells.h"
#include "core/TaskArena.h"
#include "resources/DIB.h"
#include "resources/Package.h"
#include "resources/Png.h"

namespace vg {
namespace {

const std::string kPackagePath = std::string(VG_GAME_DIR) + "/data.pck";

const char* const kSheets[] = {"bullet.png", "ship.png",  "item.png",
                               "exp.png",    "enemy.png", "boss1.png"};

bool loadPicture(const char* name, DIB& image) {
    PackageReader reader;
    if (!reader.openPackage(kPackagePath.c_str())) return false;
    if (!reader.findEntry(name)) return false;
    TaskArena scratch(0x1000010);
    return loadImage(name, reader, scratch, image);
}

uint32_t rgb(const DIB& image, int32_t x, int32_t y) {
    return *image.pixelAt(x, y) & 0xFFFFFF;
}

bool frameIsEmpty(const DIB& image, const atlas::Cell& cell, int32_t frame, uint32_t key) {
    for (int32_t y = 0; y < cell.h; ++y) {
        for (int32_t x = 0; x < cell.w; ++x) {
            if (rgb(image, cell.frameX(frame) + x, cell.frameY(frame) + y) != key) return false;
        }
    }
    return true;
}

// Key-coloured pixels of a frame that cannot be reached from the frame's border through other
// key-coloured pixels (4-connected): under ColorKey they would show the ground through the
// middle of the sprite.
int32_t holesInFrame(const DIB& image, const atlas::Cell& cell, int32_t frame, uint32_t key) {
    int32_t w = cell.w;
    int32_t h = cell.h;
    int32_t ox = cell.frameX(frame);
    int32_t oy = cell.frameY(frame);
    std::vector<uint8_t> state(static_cast<size_t>(w * h), 0);  // 1 key, 2 reached
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            state[y * w + x] = rgb(image, ox + x, oy + y) == key ? 1 : 0;
        }
    }
    std::vector<int32_t> stack;
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            bool border = x == 0 || y == 0 || x == w - 1 || y == h - 1;
            if (border && state[y * w + x] == 1) {
                state[y * w + x] = 2;
                stack.push_back(y * w + x);
            }
        }
    }
    while (!stack.empty()) {
        int32_t at = stack.back();
        stack.pop_back();
        int32_t x = at % w;
        int32_t y = at / w;
        const int32_t dx[] = {1, -1, 0, 0};
        const int32_t dy[] = {0, 0, 1, -1};
        for (int k = 0; k < 4; ++k) {
            int32_t nx = x + dx[k];
            int32_t ny = y + dy[k];
            if (nx < 0 || ny < 0 || nx >= w || ny >= h || state[ny * w + nx] != 1) continue;
            state[ny * w + nx] = 2;
            stack.push_back(ny * w + nx);
        }
    }
    int32_t holes = 0;
    for (uint8_t s : state) holes += s == 1 ? 1 : 0;
    return holes;
}

class Sprites : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::filesystem::exists(kPackagePath)) GTEST_SKIP() << "no game data built";
    }
};

TEST_F(Sprites, EveryFrameOfEveryCellHoldsAPicture) {
    for (const char* sheet : kSheets) {
        DIB image;
        ASSERT_TRUE(loadPicture(sheet, image)) << sheet;
        int32_t imageIndex = -1;
        for (int32_t i = 0; i < static_cast<int32_t>(std::size(atlas::kImages)); ++i) {
            if (std::string(atlas::kImages[i].file) == sheet) imageIndex = i;
        }
        ASSERT_GE(imageIndex, 0) << sheet;
        uint32_t key = atlas::kImages[imageIndex].key;
        EXPECT_EQ(rgb(image, 0, 0), key) << sheet;
        for (const atlas::CellEntry& entry : atlas::kCells) {
            if (entry.image != imageIndex) continue;
            for (int32_t frame = 0; frame < entry.cell.frames; ++frame) {
                EXPECT_FALSE(frameIsEmpty(image, entry.cell, frame, key))
                    << sheet << " " << entry.name << " frame " << frame;
            }
        }
    }
}

// The sprites drawn with ColorKey alone. Rings, text and the hit mark are left out: their
// inner gaps are meant to show through.
TEST_F(Sprites, ColorKeySpritesHaveNoHolesInside) {
    struct Checked {
        const char* sheet;
        std::vector<atlas::Cell> cells;
    };
    const Checked checked[] = {
        {"bullet.png",
         {atlas::bullet::kBullet0, atlas::bullet::kBullet1, atlas::bullet::kBullet2,
          atlas::bullet::kBullet3, atlas::bullet::kBullet4, atlas::bullet::kBullet5,
          atlas::bullet::kBullet6}},
        {"ship.png",
         {atlas::ship::kShip, atlas::ship::kShadow, atlas::ship::kOption, atlas::ship::kShot1,
          atlas::ship::kShot2, atlas::ship::kShot3, atlas::ship::kShot4, atlas::ship::kLaserShot1,
          atlas::ship::kLaserShot3, atlas::ship::kLaserShot2, atlas::ship::kLaserShot4}},
        {"item.png",
         {atlas::item::kItem, atlas::item::kCrystal1, atlas::item::kCrystal2,
          atlas::item::kCrystal3, atlas::item::kItemShadow}},
        {"enemy.png",
         {atlas::enemy::kFlySmall, atlas::enemy::kTinyPlane, atlas::enemy::kTankHull,
          atlas::enemy::kTankShadow, atlas::enemy::kTankTurret, atlas::enemy::kKite,
          atlas::enemy::kFlyMediumA, atlas::enemy::kFlyMediumB, atlas::enemy::kTank2Hull,
          atlas::enemy::kTank2Shadow, atlas::enemy::kTank2Turret, atlas::enemy::kFlyGun,
          atlas::enemy::kFuwafuwa, atlas::enemy::kCannon, atlas::enemy::kBurn,
          atlas::enemy::kPieceLarge}},
        {"boss1.png",
         {atlas::boss1::kSemiBoss1, atlas::boss1::kBoss1, atlas::boss1::kBoss1WingWreck,
          atlas::boss1::kSceneryBridge, atlas::boss1::kSceneryFreighter,
          atlas::boss1::kSceneryOverpass, atlas::boss1::kSceneryTreesLarge,
          atlas::boss1::kSceneryTreesSmall, atlas::boss1::kSceneryRocks,
          atlas::boss1::kSceneryHangar, atlas::boss1::kSceneryFuelTanks,
          atlas::boss1::kSceneryControlTower, atlas::boss1::kSceneryBunker,
          atlas::boss1::kSceneryLandingPad}},
    };
    for (const Checked& group : checked) {
        DIB image;
        ASSERT_TRUE(loadPicture(group.sheet, image)) << group.sheet;
        uint32_t key = rgb(image, 0, 0);
        for (const atlas::Cell& cell : group.cells) {
            for (int32_t frame = 0; frame < cell.frames; ++frame) {
                EXPECT_EQ(holesInFrame(image, cell, frame, key), 0)
                    << group.sheet << " cell at (" << cell.x << ", " << cell.y << ") frame "
                    << frame;
            }
        }
    }
}

// The cold set is read 111 rows below the hot one: it must cover the same pixels, so that a
// bullet does not change size when a player's energy runs out, and read clearly bluer.
TEST_F(Sprites, BulletColourSetsMatchInShapeAndDifferInHue) {
    DIB image;
    ASSERT_TRUE(loadPicture("bullet.png", image));
    const atlas::Cell& sets = atlas::bullet::kBulletSet;
    ASSERT_EQ(sets.frameY(1) - sets.frameY(0), 111);
    uint32_t key = rgb(image, 0, 0);
    int64_t hot[3] = {0, 0, 0};
    int64_t cold[3] = {0, 0, 0};
    int32_t mismatches = 0;
    for (int32_t y = 1; y < sets.h; ++y) {
        for (int32_t x = 0; x < sets.w; ++x) {
            uint32_t a = rgb(image, x, y);
            uint32_t b = rgb(image, x, y + 111);
            if ((a == key) != (b == key)) ++mismatches;
            for (int c = 0; c < 3; ++c) {
                hot[c] += (a >> (16 - 8 * c)) & 0xFF;
                cold[c] += (b >> (16 - 8 * c)) & 0xFF;
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(hot[0], hot[2]) << "the hot set is red-led";
    EXPECT_GT(cold[2], cold[0]) << "the cold set is blue-led";
    EXPECT_GT(cold[1], cold[0]);
}

int64_t frameLight(const DIB& image, const atlas::Cell& cell, int32_t frame) {
    int64_t sum = 0;
    for (int32_t y = 0; y < cell.h; ++y) {
        for (int32_t x = 0; x < cell.w; ++x) {
            uint32_t p = rgb(image, cell.frameX(frame) + x, cell.frameY(frame) + y);
            sum += ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
        }
    }
    return sum;
}

// An explosion blooms and dies: its brightest frame comes in its first half and its last frame
// keeps less than a quarter of that light, so the additive puff does not vanish with a jump.
TEST_F(Sprites, ExplosionStripsBloomAndFade) {
    DIB image;
    ASSERT_TRUE(loadPicture("exp.png", image));
    for (const atlas::Cell& cell :
         {atlas::exp::kExplosion0, atlas::exp::kExplosion1, atlas::exp::kShipExplosion,
          atlas::exp::kExplosion6, atlas::exp::kExplosion8}) {
        int32_t brightest = 0;
        for (int32_t frame = 1; frame < cell.frames; ++frame) {
            if (frameLight(image, cell, frame) > frameLight(image, cell, brightest)) {
                brightest = frame;
            }
        }
        int64_t peak = frameLight(image, cell, brightest);
        int64_t last = frameLight(image, cell, cell.frames - 1);
        EXPECT_LT(brightest, cell.frames / 2) << "strip at y " << cell.y;
        EXPECT_LT(last * 4, peak) << "strip at y " << cell.y;
        EXPECT_GT(last, 0) << "strip at y " << cell.y;
    }
}

}  // namespace
}  // namespace vg
