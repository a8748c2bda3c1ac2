#include "tools/databuild/StageMockup.h"

#include <cmath>
#include <cstdint>

#include "AtlasCells.h"
#include "render/Blend.h"
#include "render/Blit.h"
#include "render/Cell.h"
#include "render/ScaledBlit.h"
#include "resources/DIB.h"
#include "tools/databuild/PictureFiles.h"

namespace vg::databuild {

namespace {

using namespace vg::atlas;

constexpr int32_t kFieldW = 240;
constexpr int32_t kFieldH = 384;
constexpr int32_t kScroll = 16;
constexpr double kPi = 3.14159265358979323846;

struct Pictures {
    DIB back, stage, enemy, ship, bullet;
};

// World x to field x, as every task converts it (field scroll 16, no shake).
int32_t fieldX(int32_t worldX) {
    return worldX - kScroll + 12;
}

// A background object of the stage image with its top-left corner at world (x, y).
void scenery(const Pictures& p, DIB& field, const Cell& cell, int32_t frame, int32_t x, int32_t y) {
    blitCell(p.stage, field, cell, frame, fieldX(x), y, ColorKey);
}

void tank(const Pictures& p, DIB& field, int32_t x, int32_t y, int32_t hullFrame, int32_t turret) {
    const Cell& shadow = enemy::kTankShadow;
    blitCell(p.enemy, field, shadow, hullFrame, fieldX(x) - 14, y - 14, ColorKey | Subtract | Alpha,
             128);
    blitCell(p.enemy, field, enemy::kTankHull, hullFrame, fieldX(x) - 16, y - 16, ColorKey);
    const Cell& top = enemy::kTankTurret;
    blitCell(p.enemy, field, top, turret, fieldX(x) - top.w / 2, y - top.h / 2 - 1, ColorKey);
}

// An air craft and its shadow, offset toward the lower middle of the field as the game does.
void craft(const Pictures& p, DIB& field, const Cell& cell, int32_t frame, int32_t x, int32_t y,
           const Cell* shadow = nullptr) {
    int32_t fx = fieldX(x);
    if (shadow != nullptr) {
        blitCell(p.enemy, field, *shadow, 0, fx + (120 - fx) / 4 - shadow->w / 2,
                 y + (256 - y) / 4 + 30 - shadow->h / 2, ColorKey | Subtract | Alpha, 128);
    }
    blitCell(p.enemy, field, cell, frame, fx - cell.w / 2, y - cell.h / 2, ColorKey);
}

void player(const Pictures& p, DIB& field, int32_t x, int32_t y) {
    int32_t fx = fieldX(x);
    blitCell(p.ship, field, ship::kShadow, 0, fx + (120 - fx) / 4 - 10, y + (256 - y) / 4 + 30,
             ColorKey | Subtract | Alpha, 128);
    blitCell(p.ship, field, ship::kShip, 0, fx - 20, y - 20, ColorKey);
    for (int32_t i = 0; i < 3; ++i) {
        blitCell(p.ship, field, ship::kShot1, 1, fx - 18, y - 60 - 44 * i, ColorKey);
        blitCell(p.ship, field, ship::kShot1, 1, fx + 2, y - 60 - 44 * i, ColorKey);
    }
}

// A fan of bullets of one type around (x, y), as a moment after a volley left a port.
void fan(const Pictures& p, DIB& field, int32_t x, int32_t y, int32_t count, double centre,
         double spread, double radius, const Cell& cell, bool cold) {
    int32_t shift = cold ? bullet::kBulletSet.frameY(1) - bullet::kBulletSet.frameY(0) : 0;
    for (int32_t i = 0; i < count; ++i) {
        double angle = (centre + spread * (i - (count - 1) / 2.0)) * kPi / 180;
        int32_t bx = fieldX(x) + static_cast<int32_t>(std::lround(radius * std::cos(angle)));
        int32_t by = y + static_cast<int32_t>(std::lround(radius * std::sin(angle)));
        blit(&p.bullet, &field, bx - cell.w / 2, by - cell.h / 2, cell.w, cell.h,
             cell.frameX(i % 4), cell.frameY(i % 4) + shift, ColorKey, 0);
    }
}

void backWindow(const Pictures& p, DIB& field, int32_t mapPosition) {
    blit(&p.back, &field, 0, 0, kFieldW, kFieldH, kScroll + 20, mapPosition, 0, 0);
}

// Scenes at map positions named by the background's cells.
void seaScene(const Pictures& p, DIB& field) {
    backWindow(p, field, back1::kStartView.y);
    scenery(p, field, boss1::kSceneryFreighter, 0, 190, 150);
    for (int32_t i = 0; i < 5; ++i) {
        craft(p, field, enemy::kFlySmall, 4, 40 + 28 * i, 70 + 14 * i);
    }
    fan(p, field, 96, 120, 7, 90, 14, 40, bullet::kBullet0, false);
    player(p, field, 120, 320);
}

void farmScene(const Pictures& p, DIB& field) {
    int32_t map = back1::kRegionFarmland.y + 250;
    backWindow(p, field, map);
    // The main road runs at picture x 146..152 here: world x = picture x - 32.
    tank(p, field, 117, 80, 4, 4);
    tank(p, field, 118, 130, 4, 5);
    tank(p, field, 119, 250, 4, 3);
    scenery(p, field, boss1::kSceneryTreesLarge, 0, 170, 180);
    craft(p, field, enemy::kHeli, 1, 60, 110, &enemy::kHeliShadow);
    fan(p, field, 117, 80, 5, 90, 16, 50, bullet::kBullet1, false);
    fan(p, field, 60, 110, 3, 70, 20, 70, bullet::kBullet3, false);
    player(p, field, 150, 330);
}

void airfieldScene(const Pictures& p, DIB& field) {
    int32_t map = 3520;
    backWindow(p, field, map);
    // The crawler parked on the apron below the portal, its centre at picture (132, 3700).
    int32_t x = 132 - 32;
    int32_t y = 3700 - map;
    blitCell(p.stage, field, boss1::kSemiBoss1Shadow, 0, fieldX(x) - 128 + 2, y - 85 + 2, Subtract,
             128);
    blitCell(p.stage, field, boss1::kSemiBoss1, 1, fieldX(x) - 128, y - 85, ColorKey);
    fan(p, field, x - 100, y + 20, 7, 100, 12, 40, bullet::kBullet0, false);
    fan(p, field, x, y + 30, 7, 90, 12, 60, bullet::kBullet0, false);
    fan(p, field, x + 40, y - 30, 9, 80, 10, 90, bullet::kBullet2, false);
    scenery(p, field, boss1::kSceneryControlTower, 0, 230, 300);
    player(p, field, 130, 340);
}

void forestScene(const Pictures& p, DIB& field) {
    backWindow(p, field, back1::kRegionForest.y + 420);
    craft(p, field, enemy::kFlyMediumA, 4, 80, 90);
    craft(p, field, enemy::kFlyMediumA, 5, 180, 140);
    scenery(p, field, boss1::kSceneryTreesSmall, 1, 200, 260);
    fan(p, field, 80, 90, 9, 90, 12, 70, bullet::kBullet1, true);
    fan(p, field, 180, 140, 9, 100, 12, 60, bullet::kBullet3, true);
    player(p, field, 110, 330);
}

void bossScene(const Pictures& p, DIB& field) {
    backWindow(p, field, back1::kBossLoop.y + 300);
    int32_t x = 120;
    int32_t y = 120;
    int32_t fx = fieldX(x);
    const Cell& shadow = boss1::kBoss1Shadow;
    blitCell(p.stage, field, shadow, 0, fx + (120 - fx) / 4 - 79, y + (256 - y) / 4 + 30 - 86,
             ColorKey | Subtract | Alpha, 128);
    blitCell(p.stage, field, boss1::kBoss1, 0, fx - 79, y - 86, ColorKey);
    blitCell(p.stage, field, boss1::kBoss1WingWreck, 1, fx + 15, y - 8, ColorKey);
    fan(p, field, x - 40, y + 50, 12, 90, 30, 60, bullet::kBullet2, false);
    fan(p, field, x, y + 10, 16, 90, 22.5, 110, bullet::kBullet0, false);
    player(p, field, 100, 330);
}

}  // namespace

bool writeStageMockup(const std::string& pictureDir, const std::string& outDir,
                      std::string& error) {
    Pictures p;
    if (!loadPicture(pictureDir, "back1.png", p.back, error) ||
        !loadPicture(pictureDir, "boss1.png", p.stage, error) ||
        !loadPicture(pictureDir, "enemy.png", p.enemy, error) ||
        !loadPicture(pictureDir, "ship.png", p.ship, error) ||
        !loadPicture(pictureDir, "bullet.png", p.bullet, error)) {
        return false;
    }
    void (*const scenes[])(const Pictures&, DIB&) = {seaScene, farmScene, airfieldScene,
                                                     forestScene, bossScene};
    constexpr int32_t kCount = static_cast<int32_t>(std::size(scenes));
    constexpr int32_t kGap = 4;
    DIB field;
    DIB strip;
    DIB large;
    const int32_t stripW = kCount * (kFieldW + kGap) - kGap;
    if (!field.create(kFieldW, kFieldH) || !strip.create(stripW, kFieldH) ||
        !large.create(2 * stripW, 2 * kFieldH)) {
        error = "out of memory";
        return false;
    }
    for (int32_t i = 0; i < kCount; ++i) {
        scenes[i](p, field);
        blit(&field, &strip, i * (kFieldW + kGap), 0, kFieldW, kFieldH, 0, 0, 0, 0);
    }
    if (!savePicture(strip, outDir, "stage1.png", error)) return false;
    blitScaled(&large, &strip, 0, 0, 2 * stripW, 2 * kFieldH, 0, 0, stripW, kFieldH, 0, 0);
    return savePicture(large, outDir, "stage1x2.png", error);
}

}  // namespace vg::databuild
