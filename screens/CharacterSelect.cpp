#include "screens/CharacterSelect.h"

#include "AtlasCells.h"
#include "core/Layers.h"
#include "core/PlayField.h"
#include "effects/Effect.h"
#include "render/Blit.h"
#include "render/Cell.h"
#include "screens/ChooseLevel.h"
#include "screens/Continue.h"
#include "screens/SetupDraw.h"
#include "screens/StageSelect.h"
#include "sound/SoundBank.h"
#include "stage/StageInit.h"

namespace vg {

namespace {
// Panel layout: one 200 x 200 panel per player, sliding up into place from below the screen.
constexpr int32_t kPanelX[2] = {40, 272};
constexpr int32_t kPanelTop = 100;
constexpr int32_t kPanelAway = 400;
constexpr int32_t kNameRowY[2] = {150, 172};
constexpr int32_t kScrollLoop = 70;

void drawWithShadow(const DIB& sheet, DIB& surface, const atlas::Cell& cell, int32_t frame,
                    int32_t x, int32_t y, uint32_t extraMode = 0, uint32_t parameter = 0) {
    blitCell(sheet, surface, cell, frame, x + 2, y + 2, ColorKey | Subtract, 0);
    blitCell(sheet, surface, cell, frame, x, y, ColorKey | Add | extraMode, parameter);
}
}  // namespace

void CharacterSelectInit::update() {
    System* system = systemOf(*this);
    end();
    if (!system) return;
    system->spawnFront<CharacterSelect>(layer::kScreens, player);
}

CharacterSelect::CharacterSelect(int chooser) : player(chooser & 1) {
    std::array<uint8_t, 2>& chosen = menuMemory().chosenShip;
    chosen[player ^ 1] = kNotJoined;
    if (chosen[player] == kNotJoined || chosen[player] > 3) chosen[player] = 0;
    for (int q = 0; q < 2; ++q) {
        panelY[q] = fixedFromInt(kPanelAway);
        cursorY[q] = fixedFromInt(kNameRowY[0]);
    }
}

PlayerRecord CharacterSelect::newGameRecord(uint8_t ship) {
    PlayerRecord record;
    if (ship > 3) return record;  // no such player: ship type 255, lives -1
    record.shipType = ship;
    record.lives = 2;
    record.power = 0;
    record.bombs = 3;
    record.energy = 32;
    return record;
}

bool CharacterSelect::joined(int q) const {
    return menuMemory().chosenShip[q & 1] != kNotJoined;
}

void CharacterSelect::toggleBase(System& system, int q) {
    if (!joined(q) || ready[q]) return;
    uint8_t& ship = menuMemory().chosenShip[q];
    ship = otherFamily(ship);
    playSound(system, SoundManager::kSoundSelect);
}

void CharacterSelect::toggleVariant(System& system, int q) {
    if (!joined(q) || ready[q]) return;
    uint8_t& ship = menuMemory().chosenShip[q];
    const uint8_t next = toggledVariant(system, ship);
    // Only the move up to a variant sounds.
    if (next > ship) playSound(system, SoundManager::kSoundSelect);
    ship = next;
}

void CharacterSelect::startGame(System& system) {
    system.replay.recording = 1;
    system.replay.playingBack = 0;
    if (system.playMode == 1) {
        system.spawnFront<StageSelectInit>(layer::kScreens, player);
    } else {
        system.spawnFront<StageInit>(layer::kScreens);
    }
    for (int q = 0; q < 2; ++q) system.playerRecord[q] = newGameRecord(menuMemory().chosenShip[q]);
    end();
}

void CharacterSelect::update() {
    System* sys = system();
    if (!sys) return;
    countFrame(n);
    for (int q = 0; q < 2; ++q) {
        if (ready[q] > 0 && ready[q] < kReadyFrames) ++ready[q];
        const int32_t target = fixedFromInt(joined(q) ? kPanelTop : kPanelAway);
        panelY[q] += (target - panelY[q]) / 8;
        const uint8_t ship = menuMemory().chosenShip[q];
        const int32_t row = fixedFromInt(kNameRowY[ship >= 2 && ship != kNotJoined ? 1 : 0]);
        if (!ready[q]) cursorY[q] += (row - cursorY[q]) / 4;
    }
    if (startCounter > 0) {
        if (++startCounter > kStartFrames) startGame(*sys);
        return;
    }
    int q = menuUp();
    if (fired(q)) toggleBase(*sys, q);
    q = menuDown();
    if (fired(q)) toggleBase(*sys, q);
    q = menuRight();
    if (fired(q)) toggleVariant(*sys, q);
    q = menuLeft();
    if (fired(q)) toggleVariant(*sys, q);

    q = menuConfirm();
    if (fired(q)) {
        if (!joined(q)) {
            menuMemory().chosenShip[q] = 0;
        } else if (!ready[q]) {
            ready[q] = 1;
            playSound(*sys, SoundManager::kSoundOk);
            bool everyoneReady = true;
            for (int other = 0; other < 2; ++other) {
                if (joined(other) && !ready[other]) everyoneReady = false;
            }
            if (everyoneReady) startCounter = 1;
        }
    }
    q = menuCancel();
    if (fired(q) && joined(q)) {
        if (!ready[q]) {
            goTo<ChooseLevelInit>(SoundManager::kSoundCancel);
            return;
        }
        ready[q] = 0;
        playSound(*sys, SoundManager::kSoundCancel);
    }
    if (escapePressed()) goTo<ChooseLevelInit>(SoundManager::kSoundCancel);
}

void CharacterSelect::draw(DIB& surface) {
    const System* sys = system();
    if (!sys) return;
    const DIB& image = sys->imageSlots[kSlotMenuBack];
    drawSetupBackground(*sys, surface, fadeAlpha(n, 16));
    drawModeCaption(*sys, surface);
    for (int q = 0; q < 2; ++q) {
        const int32_t px = kPanelX[q];
        const int32_t py = fixedToInt(panelY[q]);
        if (py >= surface.height) continue;
        const uint8_t chosen = menuMemory().chosenShip[q];
        const uint8_t ship = chosen > 3 ? 0 : chosen;
        const uint8_t base = ship & 1;
        // The frame brightens as the player gets ready.
        blitCell(image, surface, atlas::selectBack::kCharacterPanel, 0, px, py, ColorKey | Alpha,
                 static_cast<uint32_t>(128 + ready[q] * 127 / kReadyFrames));
        if (!ready[q]) {
            blitCell(image, surface, atlas::selectBack::kPortrait, ship, px + 76, py - 4,
                     ColorKey | Alpha, 160);
        }
        // The ship flies up its window above the names and comes round again.
        const int32_t scroll = (n * 4) % kScrollLoop;
        drawWithShadow(image, surface, atlas::selectBack::kShipPreview, ship, px + 8,
                       py + 14 + kScrollLoop - scroll);
        if (!ready[q]) {
            blitCell(image, surface, atlas::selectBack::kNameCursor, 0, px + 4,
                     py + fixedToInt(cursorY[q]) - 2, Add, 0);
        }
        drawWithShadow(image, surface, atlas::selectBack::kShipName, base, px + 8,
                       py + kNameRowY[0]);
        drawWithShadow(image, surface, atlas::selectBack::kShipName, base + 2, px + 8,
                       py + kNameRowY[1], Tint, colourParameter(255, kVariantTint));
        if (sys->difficulty < kDifficultyCount &&
            (sys->config.clearMarks[sys->difficulty] & (1u << ship))) {
            drawWithShadow(image, surface, atlas::selectBack::kClearMark, 0, px + 160, py + 8);
        }
    }
    drawDifficultyCorner(*sys, surface);
    if (sys->playMode == 0 && startCounter > 0) {
        fillRect(&surface, 0, 0, surface.width, surface.height, 0, Alpha,
                 fadeAlpha(startCounter, 16));
    }
}

}  // namespace vg
