#include "tools/databuild/PlayMockup.h"

#include <cmath>
#include <cstdint>

#include "AtlasCells.h"
#include "render/Blend.h"
#include "render/Blit.h"
#include "render/ScaledBlit.h"
#include "resources/DIB.h"
#include "tools/databuild/PictureFiles.h"

namespace vg::databuild {

namespace {

using namespace vg::atlas;

constexpr int32_t kFieldW = 240;
constexpr int32_t kFieldH = 384;
constexpr double kPi = 3.14159265358979323846;

struct Sheets {
    DIB bullet, ship, item, exp, enemy;
};

// Frame i of `cell` centred on (x, y); a negative mirror flips that axis as the game does.
void drawCentred(const DIB& sheet, DIB& field, const Cell& cell, int32_t frame, int32_t x,
                 int32_t y, uint32_t mode, uint32_t parameter = 0, bool mirrorX = false,
                 bool mirrorY = false, int32_t shiftY = 0) {
    blit(&sheet, &field, x - cell.w / 2, y - cell.h / 2, mirrorX ? -cell.w : cell.w,
         mirrorY ? -cell.h : cell.h, cell.frameX(frame), cell.frameY(frame) + shiftY, mode,
         parameter);
}

// A ground of fields, a river and a road, so that every blend mode has something to act on.
void drawGround(DIB& field) {
    for (int32_t y = 0; y < kFieldH; ++y) {
        for (int32_t x = 0; x < kFieldW; ++x) {
            uint32_t block = static_cast<uint32_t>((x / 24) * 7919 + (y / 24) * 104729);
            block ^= block >> 7;
            uint32_t shade = block % 3;
            uint32_t r = 0x3a + shade * 0x0c;
            uint32_t g = 0x4a + shade * 0x0a;
            uint32_t b = 0x26 + shade * 0x04;
            double river = 120 + 50 * std::sin(y / 60.0) - x;
            if (std::fabs(river) < 18) {
                r = 0x20;
                g = 0x48;
                b = 0x70 + static_cast<uint32_t>(std::fabs(river)) * 2;
            }
            if (x >= 40 && x < 52) {
                r = 0x6a;
                g = 0x64;
                b = 0x58;
            }
            *field.pixelAt(x, y) = r << 16 | g << 8 | b;
        }
    }
}

// Direction index 0..31 of a bullet turned into a picture of the quarter turn and mirrors.
void drawDirectional(const DIB& sheet, DIB& field, const Cell& cell, int32_t index, int32_t x,
                     int32_t y, int32_t shiftY) {
    int32_t frame = index;
    bool mx = false;
    bool my = false;
    if (index >= 8 && index < 16) {
        frame = 16 - index;
        mx = true;
    } else if (index >= 16 && index < 24) {
        frame = index - 16;
        mx = my = true;
    } else if (index >= 24) {
        frame = 32 - index;
        my = true;
    }
    drawCentred(sheet, field, cell, frame, x, y, ColorKey, 0, mx, my, shiftY);
}

void drawBullets(const Sheets& s, DIB& field, bool cold) {
    const Cell* types[] = {&bullet::kBullet0, &bullet::kBullet1, &bullet::kBullet2,
                           &bullet::kBullet3, &bullet::kBullet4, &bullet::kBullet5,
                           &bullet::kBullet6};
    int32_t shift = cold ? bullet::kBulletSet.frameY(1) - bullet::kBulletSet.frameY(0) : 0;
    int32_t drawn = 0;
    // Rings from the gunship and the cannon, fans from the bomber, a spray of orbs.
    struct Burst {
        int32_t cx, cy, count, type;
        double radius, start, arc;
    };
    const Burst bursts[] = {
        {70, 120, 24, 5, 46, 0, 360},  {70, 120, 24, 1, 70, 7.5, 360},
        {180, 90, 16, 4, 40, 20, 180}, {180, 90, 16, 0, 64, 30, 160},
        {150, 230, 30, 3, 50, 0, 360}, {150, 230, 20, 2, 80, 10, 360},
        {60, 250, 20, 6, 36, 0, 360},  {200, 300, 25, 5, 30, 60, 160},
        {120, 40, 25, 4, 30, 30, 120},
    };
    for (const Burst& b : bursts) {
        for (int32_t i = 0; i < b.count && drawn < 200; ++i, ++drawn) {
            double angle = b.start + b.arc * i / b.count;
            int32_t x =
                b.cx + static_cast<int32_t>(std::lround(b.radius * std::cos(angle * kPi / 180)));
            int32_t y =
                b.cy + static_cast<int32_t>(std::lround(b.radius * std::sin(angle * kPi / 180)));
            const Cell& cell = *types[b.type];
            if (b.type == 1 || b.type == 4 || b.type == 5) {
                int32_t index = static_cast<int32_t>(std::fmod(angle + 5.625 + 360, 360) / 11.25);
                drawDirectional(s.bullet, field, cell, index, x, y, shift);
            } else {
                drawCentred(s.bullet, field, cell, i % cell.frames, x, y, ColorKey, 0, false, false,
                            shift);
            }
            if (i % 9 == 0) {
                drawCentred(s.bullet, field, bullet::kSpawnFlash, 0, x, y, Add | Alpha, 128, false,
                            false, shift);
            }
        }
    }
    // A few bullets being cancelled near the ship.
    for (int32_t i = 0; i < 5; ++i) {
        drawCentred(s.bullet, field, bullet::kBullet7, i, 96 + 14 * i, 300 - 6 * i, ColorKey, 0,
                    false, false, shift);
    }
}

void drawTank(const Sheets& s, DIB& field, int32_t x, int32_t y, int32_t hullFrame, int32_t tread,
              int32_t turret, bool heavy) {
    const Cell& shadow = heavy ? enemy::kTank2Shadow : enemy::kTankShadow;
    const Cell& hull = heavy ? enemy::kTank2Hull : enemy::kTankHull;
    const Cell& top = heavy ? enemy::kTank2Turret : enemy::kTankTurret;
    blit(&s.enemy, &field, x - 14, y - 14, 32, 32, shadow.frameX(hullFrame),
         shadow.frameY(hullFrame), ColorKey | Subtract | Alpha, 128);
    int32_t frame = hullFrame + 9 * tread;
    blit(&s.enemy, &field, x - 16, y - 16, 32, 32, hull.frameX(frame), hull.frameY(frame), ColorKey,
         0);
    blit(&s.enemy, &field, x - top.w / 2, y - top.h / 2 - 1, top.w, top.h, top.frameX(turret),
         top.frameY(turret), ColorKey, 0);
}

void drawScene(const Sheets& s, DIB& field, bool cold) {
    drawGround(field);
    // Scenery on the ground: a wreck, tanks, the cannon.
    blit(&s.enemy, &field, 200 - 16, 360 - 15, 32, 31, enemy::kBurn.frameX(1),
         enemy::kBurn.frameY(1), ColorKey, 0);
    drawTank(s, field, 46, 330, 4, 0, 3, false);
    drawTank(s, field, 46, 292, 4, 1, 2, false);
    drawTank(s, field, 210, 200, 8, 2, 6, true);
    drawCentred(s.enemy, field, enemy::kCannon, 11, 70, 120, ColorKey);
    // Air: shadows first (Subtract), then the craft.
    drawCentred(s.enemy, field, enemy::kHeliShadow, 0, 150, 110, ColorKey | Subtract | Alpha, 128);
    drawCentred(s.enemy, field, enemy::kHeli, 1, 130, 60, ColorKey);
    blit(&s.enemy, &field, 180 - 64, 90 - 36, 128, 73, enemy::kKite.x, enemy::kKite.y, ColorKey, 0);
    for (int32_t k = 0; k < 2; ++k) {
        drawCentred(s.enemy, field, enemy::kBooster, 0, 156 + 48 * k, 52, Alpha | Add, 200);
    }
    drawCentred(s.enemy, field, enemy::kFlyMediumA, 5, 150, 230, ColorKey);
    drawCentred(s.enemy, field, enemy::kFlyGun, 4, 200, 300, ColorKey);
    for (int32_t i = 0; i < 5; ++i) {
        drawCentred(s.enemy, field, enemy::kFlySmall, 3 + i, 20 + 22 * i, 180 + 9 * i, ColorKey);
    }
    drawCentred(s.enemy, field, enemy::kTinyPlane, 4, 110, 40, ColorKey);
    drawCentred(s.enemy, field, enemy::kFuwafuwa, 2, 30, 40, ColorKey);
    // Pickups.
    drawCentred(s.item, field, item::kItemShadow, 0, 104, 216, ColorKey | Subtract | Alpha, 128);
    drawCentred(s.item, field, item::kItem, 1, 100, 200, ColorKey);
    drawCentred(s.item, field, item::kItem, 4 * 3 + 2, 30, 130, ColorKey);
    for (int32_t i = 0; i < 6; ++i) {
        drawCentred(s.item, field, item::kEnergy, i, 20 + 12 * i, 360 - 5 * i, Add);
        drawCentred(s.item, field, item::kCrystal2, i, 100 + 15 * i, 150 + 3 * i, ColorKey);
    }
    // The player: glow, shadow, ship, options, shots and a beam.
    int32_t px = 120;
    int32_t py = 320;
    drawCentred(s.ship, field, ship::kCrystalGlow, 0, px, py, ColorKey | Tint | Add, 0xFF007FFF);
    blit(&s.ship, &field, px + (120 - px) / 4 - 10, py + (256 - py) / 4 + 30, 20, 20,
         ship::kShadow.frameX(2), ship::kShadow.frameY(2), ColorKey | Subtract | Alpha, 128);
    blit(&s.ship, &field, px - 30 - 11, 40, 23, py + 8 - 14 - 40, ship::kBeam.frameX(0),
         ship::kBeam.frameY(0) + 40, ColorKey | Add, 0);
    drawCentred(s.ship, field, ship::kMuzzle, 1, px - 30, py + 8 - 14, ColorKey | Add);
    blitScaled(&field, &s.ship, px - 30 - 16, 40 - 16, 32, 32, ship::kFlare.x, ship::kFlare.y, 48,
               48, ColorKey | Add, 0);
    drawCentred(s.ship, field, ship::kOption, 1, px - 30, py + 8, ColorKey);
    drawCentred(s.ship, field, ship::kOption, 2, px + 30, py + 8, ColorKey);
    drawCentred(s.ship, field, ship::kShip, 2, px, py, ColorKey, 0, true);
    for (int32_t i = 0; i < 4; ++i) {
        drawCentred(s.ship, field, ship::kShot1, 2, px - 10, py - 40 - 48 * i, ColorKey);
        drawCentred(s.ship, field, ship::kShot1, 2, px + 10, py - 40 - 48 * i, ColorKey);
    }
    drawCentred(s.ship, field, ship::kShot1Flash, 0, px - 10, py - 15, Add);
    drawCentred(s.ship, field, ship::kShot1Flash, 0, px + 10, py - 15, Add);
    drawCentred(s.ship, field, ship::kShotBurst, 2, 150, 236, Add);
    drawCentred(s.ship, field, ship::kHitMark, 4, px, py, ColorKey);
    // Player 1 entering, invincible.
    drawCentred(s.ship, field, ship::kShip, 6 * 3, 200, 370, ColorKey);
    drawCentred(s.ship, field, ship::kAura, 0, 200, 370, Alpha | Add, 160);

    drawBullets(s, field, cold);

    // Explosions over everything: kind 0, the small pops of a death trail, a big one and smoke.
    drawCentred(s.exp, field, exp::kExplosion0, 5, 210, 205, ColorKey | Add);
    for (int32_t i = 0; i < 5; ++i) {
        drawCentred(s.exp, field, exp::kExplosion1, 2 + 2 * i, 20 + 16 * i, 80 + 10 * i,
                    ColorKey | Add);
    }
    drawCentred(s.exp, field, exp::kExplosion6, 4, 190, 140, ColorKey | Add);
    drawCentred(s.exp, field, exp::kSmoke, 8, 200, 340, ColorKey | Alpha | Subtract, 128);
    drawCentred(s.exp, field, exp::kExplosion8, 6, 46, 292, ColorKey | Add);
    for (int32_t i = 0; i < 8; ++i) {
        blit(&s.enemy, &field, 60 + 9 * i, 150 + (i * 7) % 20, 16, 16, enemy::kPieceLarge.frameX(i),
             enemy::kPieceLarge.frameY(i), ColorKey, 0);
    }
    blitScaled(&field, &s.enemy, 190 - 50, 140 - 50, 100, 100, enemy::kRing.x, enemy::kRing.y, 200,
               200, ColorKey | Alpha | Add, 180);
}

}  // namespace

bool writePlayMockup(const std::string& pictureDir, const std::string& outDir, std::string& error) {
    Sheets s;
    if (!loadPicture(pictureDir, "bullet.png", s.bullet, error) ||
        !loadPicture(pictureDir, "ship.png", s.ship, error) ||
        !loadPicture(pictureDir, "item.png", s.item, error) ||
        !loadPicture(pictureDir, "exp.png", s.exp, error) ||
        !loadPicture(pictureDir, "enemy.png", s.enemy, error)) {
        return false;
    }
    DIB field;
    DIB large;
    if (!field.create(kFieldW, kFieldH) || !large.create(2 * kFieldW, 2 * kFieldH)) {
        error = "out of memory";
        return false;
    }
    drawScene(s, field, true);
    if (!savePicture(field, outDir, "playCold.png", error)) return false;
    drawScene(s, field, false);
    if (!savePicture(field, outDir, "play.png", error)) return false;
    blitScaled(&large, &field, 0, 0, 2 * kFieldW, 2 * kFieldH, 0, 0, kFieldW, kFieldH, 0, 0);
    return savePicture(large, outDir, "play2x.png", error);
}

}  // namespace vg::databuild
