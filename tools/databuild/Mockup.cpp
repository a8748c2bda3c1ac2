#include "tools/databuild/Mockup.h"

#include <cstdio>
#include <string>

#include "AtlasCells.h"
#include "render/Blend.h"
#include "render/Blit.h"
#include "render/Cell.h"
#include "render/GlyphText.h"
#include "render/ScaledBlit.h"
#include "resources/DIB.h"
#include "tools/databuild/PictureFiles.h"

namespace vg::databuild {

namespace {

using namespace vg::atlas;

constexpr int32_t kScreenW = 512;
constexpr int32_t kScreenH = 384;

struct Pictures {
    DIB frame, title, select, replay, score;
};

GlyphFont menuFont(const DIB& frameSheet) {
    return {&frameSheet, frame::kMenuFont.x, frame::kMenuFont.y, 20, 20, -8};
}
GlyphFont smallFont(const DIB& frameSheet) {
    return {&frameSheet, frame::kSmallFont.x, frame::kSmallFont.y, 12, 12, -3};
}

// Status digits drawn right to left from `right`, least significant first.
void drawNumber(const DIB& sheet, DIB& screen, const Cell& digits, uint32_t value, int32_t right,
                int32_t y) {
    int32_t x = right;
    do {
        blitCell(sheet, screen, digits, value % 10, x, y, ColorKey | Add);
        value /= 10;
        x -= digits.w;
    } while (value != 0);
}

// A stand-in for the play field: dark ground with a few lights, so that the additive and
// subtractive pieces can be judged over something.
void drawFieldStandIn(DIB& field) {
    for (int32_t y = 0; y < field.height; ++y) {
        for (int32_t x = 0; x < field.width; ++x) {
            uint32_t g = 0x18 + ((x / 24 + y / 24) % 2) * 6 + y * 0x20 / field.height;
            *field.pixelAt(x, y) = (g / 2) << 16 | g << 8 | (g + 0x10);
        }
    }
    fillRect(&field, 40, 200, 60, 30, 0x406080, 0, 128);
    fillRect(&field, 150, 90, 40, 60, 0x305030, 0, 128);
}

void logoScreen(const Pictures& p, DIB& s) {
    fillRect(&s, 0, 0, kScreenW, kScreenH, 0, 0, 128);
    const Cell& logo = frame::kLogo;
    blitCell(p.frame, s, logo, 0, (kScreenW - logo.w) / 2, (kScreenH - logo.h) / 2, 0);
}

void titleScreen(const Pictures& p, DIB& s, int32_t cursor) {
    blit(&p.title, &s, 0, 0, kScreenW, kScreenH, 0, 0, 0, 0);
    for (int32_t i = 0; i < 6; ++i) {
        blitCell(p.title, s, title::kItem, i, 181, 192 + 28 * i, 0);
        if (i == cursor) blitCell(p.title, s, title::kItemLit, i, 181, 192 + 28 * i, 0);
    }
    blitCell(p.title, s, title::kStrip, 0, kScreenW - 320, kScreenH - 20, Add);
}

void chooseLevelScreen(const Pictures& p, DIB& s, int32_t difficulty) {
    blitCell(p.select, s, selectBack::kBackground, 0, 0, 0, 0);
    blitCell(p.select, s, selectBack::kModeCaption, 0, 5, 5, ColorKey | Add);
    int32_t panelX = 256;
    blitCell(p.select, s, selectBack::kPanel, 0, panelX - 80, 87, Alpha, 80);
    for (int32_t i = 0; i < 4; ++i) {
        if (i == difficulty) {
            blitCell(p.select, s, selectBack::kDifficultyLabel, i, panelX - 60, 107 + 40 * i,
                     ColorKey | Alpha | Add, 200);
        } else {
            blitCell(p.select, s, selectBack::kDifficultyLabel, i, panelX - 60, 107 + 40 * i,
                     ColorKey | Alpha | Subtract, 80);
        }
    }
}

void characterScreen(const Pictures& p, DIB& s) {
    blitCell(p.select, s, selectBack::kBackground, 0, 0, 0, 0);
    blitCell(p.select, s, selectBack::kModeCaption, 0, 5, 5, ColorKey | Add);
    blitCell(p.select, s, selectBack::kDifficultyLabel, 1, 400, 20, ColorKey | Add);
    for (int32_t player = 0; player < 2; ++player) {
        int32_t px = player == 0 ? 36 : 276;
        int32_t py = 80;
        int32_t ship = player == 0 ? 0 : 3;
        blitCell(p.select, s, selectBack::kCharacterPanel, 0, px, py, Alpha, 128);
        blitCell(p.select, s, selectBack::kPortrait, ship, px + 8, py + 40, Alpha, 230);
        blitCell(p.select, s, selectBack::kShipPreview, ship, px + 132, py + 50, ColorKey | Add);
        int32_t family = ship & 1;
        blitCell(p.select, s, selectBack::kNameCursor, 0, px + 70, py + 130 + 20 * (ship >> 1),
                 ColorKey | Add);
        for (int32_t row = 0; row < 2; ++row) {
            int32_t type = family + 2 * row;
            const DIB& sheet = p.select;
            int32_t nx = px + 76;
            int32_t ny = py + 132 + 20 * row;
            blit(&sheet, &s, nx + 2, ny + 2, 128, 16, selectBack::kShipName.frameX(type),
                 selectBack::kShipName.frameY(type), ColorKey | Subtract, 0);
            if (row == 1) {
                blit(&sheet, &s, nx, ny, 128, 16, selectBack::kShipName.frameX(type),
                     selectBack::kShipName.frameY(type), ColorKey | Tint, 0xFFCC99);
            } else {
                blit(&sheet, &s, nx, ny, 128, 16, selectBack::kShipName.frameX(type),
                     selectBack::kShipName.frameY(type), ColorKey | Add, 0);
            }
        }
        blitCell(p.select, s, selectBack::kClearMark, 0, px + 160, py + 8, ColorKey | Add);
    }
}

void optionScreen(const Pictures& p, DIB& s) {
    blitCell(p.select, s, selectBack::kBackground, 0, 0, 0, 0);
    GlyphFont font = menuFont(p.frame);
    drawGlyphText(font, ColorKey | Add, 0, &s, "Option", 10, 10);
    const char* rows[] = {"MusicVolume",     "SEVolume", "BulletChangeCount",
                          "PlayerCollision", "Buzz",     "OpticalEffect",
                          "KeyConfig",       "Default",  "Back"};
    const char* values[] = {"100", " 85", "off", "on", "off", "on"};
    for (int32_t i = 0; i < 9; ++i) {
        uint32_t mode = i == 1 ? ColorKey | Add : ColorKey | Alpha | Add;
        uint32_t parameter = i == 1 ? 0 : 64;
        drawGlyphText(font, mode, parameter, &s, rows[i], 60, 80 + 30 * i);
        if (i < 6) drawGlyphText(font, mode, parameter, &s, values[i], 420, 80 + 30 * i);
    }
    drawGlyphTextScaled(font, ColorKey | Alpha | Add, 128, &s, "SEVolume", 60, 110 - 3, 20, 26);
}

void nameEntryScreen(const Pictures& p, DIB& s) {
    blitCell(p.select, s, selectBack::kBackground, 0, 0, 0, 0);
    fillRect(&s, 0, 60, kScreenW, 60, 0, Alpha, 128);
    fillRect(&s, 0, 150, kScreenW, 200, 0, Alpha, 128);
    GlyphFont font = menuFont(p.frame);
    const char* name = "PILOT";
    for (int32_t i = 0; i < 9; ++i) {
        fillRect(&s, 156 + 12 * i, 108, 10, 2, i == 5 ? 0xFFFFFF : 0x808080, Alpha, 128);
    }
    drawGlyphText(font, ColorKey | Add, 0, &s, name, 150, 90);
    const char* grid[6] = {"ABCDEFGHIJKLMNOP", "QRSTUVWXYZabcdef",  "ghijklmnopqrstuv",
                           "wxyz0123456789:;", "<=>?@!\"#$%&'()*+", ",-./[\\]^_`{|}~ "};
    fillRect(&s, 100 + 20 * 4, 180 + 20 * 1, 20, 20, 0xFFFFFF, Alpha, 128);
    for (int32_t row = 0; row < 6; ++row) {
        for (int32_t column = 0; column < 16; ++column) {
            char text[2] = {grid[row][column], 0};
            if (row == 5 && column == 15) continue;
            bool lit = row == 1 && column == 4;
            drawGlyphText(font, lit ? ColorKey | Add : ColorKey | Alpha | Add, lit ? 0 : 128, &s,
                          text, 100 + 20 * column, 180 + 20 * row);
        }
    }
    blitCell(p.frame, s, frame::kEndMark, 0, 400, 280, ColorKey | Alpha | Add, 128);
}

void scoreScreen(const Pictures& p, DIB& s) {
    blit(&p.score, &s, 0, 0, kScreenW, kScreenH, 0, 0, 0, 0);
    GlyphFont font = menuFont(p.frame);
    GlyphFont small = smallFont(p.frame);
    drawGlyphText(font, ColorKey | Add, 0, &s, "TYPE-A", 60, 100);
    drawGlyphText(font, ColorKey | Add, 0, &s, "Normal", 390, 100);
    const char* names[] = {"ACE",     "VESPER", "GLINT", "NOVA",  "KESTREL",
                           "no name", "RAVEN",  "ORBIT", "EMBER", "ZED"};
    for (int32_t i = 0; i < 10; ++i) {
        char line[128];
        std::snprintf(line, sizeof line, "%2d. %9s %9d   %02d/%02d/%02d-%02d:%02d", i + 1, names[i],
                      98765430 - i * 7654321, 26, 12, 8, 20, 15 + i);
        drawGlyphText(small, ColorKey | Add, 0, &s, line, 80, 150 + 17 * i);
    }
}

void replayScreen(const Pictures& p, DIB& s) {
    blit(&p.replay, &s, 0, 0, kScreenW, kScreenH, 0, 0, 0, 0);
    GlyphFont small = smallFont(p.frame);
    for (int32_t i = 1; i <= 25; ++i) {
        char line[128];
        if (i % 4 == 1) {
            std::snprintf(line, sizeof line, "[%02d] %9s %9d   %02d/%02d/%02d %02d:%02d   %s", i,
                          "PILOT", 12345670 * i % 99999999, 26, 12, 8, 21, i, "Normal");
        } else {
            std::snprintf(line, sizeof line, "[%02d] %9s %9s   --/--/-- --:--   ------", i,
                          "---------", "---------");
        }
        bool lit = i == 5;
        drawGlyphText(small, lit ? ColorKey | Add : ColorKey | Alpha | Add, lit ? 128 : 64, &s,
                      line, 20, 60 + 12 * (i - 1));
    }
}

// A stage in progress: both side panels with their status, the warning over the field, the
// boss gauge, the chain display and energy gauge, the stage title.
void stageScreen(const Pictures& p, DIB& s, bool warning) {
    DIB field;
    field.create(240, kScreenH);
    drawFieldStandIn(field);
    fillRect(&field, 0, 0, 240, 32, 0, Alpha, 128);
    fillRect(&field, 0, 352, 240, 32, 0, Alpha, 128);
    // boss gauge, showing 70 %
    int32_t gy = 37;
    blitCell(p.frame, field, frame::kBossGaugeBack, 0, 2, gy + 2, Alpha, 64);
    blitScaled(&field, &p.frame, 2, gy + 2, -(70 * 237 / 100), 8, frame::kBossGaugeBar.frameX(30),
               frame::kBossGaugeBar.y, 118, 8, 0, 0);
    blitCell(p.frame, field, frame::kBossGaugeFrame, 0, 1, gy, ColorKey);
    // chain display at the left and energy gauge
    blitCell(p.frame, field, frame::kComboLabel, 0, 8, 55, ColorKey | Add);
    blitCell(p.frame, field, frame::kComboBarBack, 0, 8, 67, Alpha, 200);
    blit(&p.frame, &field, 8, 67, 60, 12, frame::kComboBarFill.x, frame::kComboBarFill.y, 0, 0);
    blitCell(p.frame, field, frame::kComboDigits, 4, 10, 82, ColorKey | Add);
    blitCell(p.frame, field, frame::kComboDigits, 2, 26, 82, ColorKey | Add);
    blitCell(p.frame, field, frame::kEnergyLabel, 0, 5, 328, ColorKey | Add);
    blitCell(p.frame, field, frame::kEnergyGaugeBack, 0, 5, 340, Alpha, 128);
    blit(&p.frame, &field, 5, 340, 80, 11, frame::kEnergyGaugeFill.x, frame::kEnergyGaugeFill.y,
         ColorKey | Alpha | Add | Mask, 0xFF00FFFF);
    if (warning) {
        const Cell& banner = frame::kWarningBanner;
        int32_t wy = (kScreenH - banner.h) / 2;
        blitCell(p.frame, field, banner, 0, 5, wy - 4, ColorKey | Subtract | Alpha, 128);
        blitCell(p.frame, field, banner, 0, -9, wy + 8, ColorKey | Add | Alpha, 128);
        blitCell(p.frame, field, banner, 0, 0, wy, ColorKey | Add | Alpha, 128);
    } else {
        const Cell& stage = frame::kStageLabel;
        blitCell(p.frame, field, stage, 2, (140 - 80) / 2, 280, ColorKey | Add);
    }
    blit(&field, &s, 136, 0, 240, kScreenH, 0, 0, 0, 0);

    const Cell& panel = frame::kSidePanel;
    blit(&p.frame, &s, 0, 0, panel.w, panel.h, panel.x, panel.y, 0, 0);
    blit(&p.frame, &s, 376, 0, panel.w, -panel.h, panel.x, panel.y, 0, 0);
    for (int32_t player = 0; player < 2; ++player) {
        int32_t a = player == 0 ? 0 : 376;
        uint32_t score = player == 0 ? 12345670 : 890;
        blitCell(p.frame, s, frame::kLabelHighScore, 0, a + 6, 30, ColorKey | Add);
        drawNumber(p.frame, s, frame::kDigits, 50000000, a + 116, 42);
        blitCell(p.frame, s, frame::kLabelScore, 0, a + 6, 60, ColorKey | Add);
        drawNumber(p.frame, s, frame::kDigits, score, a + 116, 72);
        blitCell(p.frame, s, frame::kLabelCrystal, 0, a + 6, 90, ColorKey | Add);
        drawNumber(p.frame, s, frame::kDigits, player == 0 ? 1234 : 0, a + 116, 102);
        blitCell(p.frame, s, frame::kLabelMaxChain, 0, a + 6, 120, ColorKey | Add);
        drawNumber(p.frame, s, frame::kDigits, player == 0 ? 56 : 3, a + 116, 132);
        for (int32_t i = 0; i < 2; ++i) {
            blitCell(p.frame, s, frame::kShipIcon, player * 2 + player, a + 111 - 26 * i, 290,
                     ColorKey);
        }
        for (int32_t i = 0; i < 3; ++i) {
            blitCell(p.frame, s, frame::kBombIcon, 0, a + 111 - 26 * i, 320, ColorKey);
        }
    }
    GlyphFont small = smallFont(p.frame);
    drawGlyphText(small, ColorKey | Add, 0, &s, "Replay", 70, 370);
    drawGlyphText(small, ColorKey | Add, 0, &s, "Normal", 446, 370);
}

void continueScreen(const Pictures& p, DIB& s) {
    stageScreen(p, s, false);
    DIB field;
    field.create(240, kScreenH);
    blit(&s, &field, 0, 0, 240, kScreenH, 136, 0, 0, 0);
    fillRect(&field, 0, (kScreenH - 150) / 2, 240, 150, 0, Alpha, 128);
    blitCell(p.frame, field, frame::kContinueBanner, 0, 0, 130, ColorKey | Add);
    GlyphFont font = menuFont(p.frame);
    drawGlyphText(font, ColorKey | Add, 0, &field, " 7", 100, 170);
    blitCell(p.frame, field, frame::kYesNoButton, 0, 40, 220, ColorKey | Add);
    blitCell(p.frame, field, frame::kYesNoButton, 1, 140, 220, ColorKey | Alpha | Add, 64);
    blitCell(p.frame, field, frame::kGameOverBanner, 0, 0, 300, Add);
    blit(&field, &s, 136, 0, 240, kScreenH, 0, 0, 0, 0);
    blitCell(p.frame, s, frame::kAttractBanner, 0, (kScreenW - 240) / 2 + 2, 22, Alpha | Subtract,
             200);
    blitCell(p.frame, s, frame::kAttractBanner, 0, (kScreenW - 240) / 2, 20, Alpha | Add, 200);
}

}  // namespace

bool writeMockups(const std::string& pictureDir, const std::string& outDir, std::string& error) {
    Pictures p;
    if (!loadPicture(pictureDir, "frame.png", p.frame, error) ||
        !loadPicture(pictureDir, "title.png", p.title, error) ||
        !loadPicture(pictureDir, "selectBack.png", p.select, error) ||
        !loadPicture(pictureDir, "replayBack.png", p.replay, error) ||
        !loadPicture(pictureDir, "scoreBack.png", p.score, error)) {
        return false;
    }
    DIB screen;
    screen.create(kScreenW, kScreenH);
    struct Shot {
        const char* name;
        void (*draw)(const Pictures&, DIB&);
    };
    const Shot shots[] = {
        {"logo.png", logoScreen},
        {"title.png", [](const Pictures& pp, DIB& s) { titleScreen(pp, s, 1); }},
        {"chooseLevel.png", [](const Pictures& pp, DIB& s) { chooseLevelScreen(pp, s, 1); }},
        {"characterSelect.png", characterScreen},
        {"option.png", optionScreen},
        {"nameEntry.png", nameEntryScreen},
        {"score.png", scoreScreen},
        {"replay.png", replayScreen},
        {"stage.png", [](const Pictures& pp, DIB& s) { stageScreen(pp, s, false); }},
        {"warning.png", [](const Pictures& pp, DIB& s) { stageScreen(pp, s, true); }},
        {"continue.png", continueScreen},
    };
    for (const Shot& shot : shots) {
        fillRect(&screen, 0, 0, kScreenW, kScreenH, 0, 0, 128);
        shot.draw(p, screen);
        if (!savePicture(screen, outDir, shot.name, error)) return false;
    }
    return true;
}

}  // namespace vg::databuild
