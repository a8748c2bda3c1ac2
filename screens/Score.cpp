#include "screens/Score.h"

#include <cstdio>
#include <cstring>

#include "AtlasCells.h"
#include "core/GameSound.h"
#include "core/Layers.h"
#include "effects/Fonts.h"
#include "render/Blit.h"
#include "render/Cell.h"
#include "resources/ImageSlots.h"
#include "screens/ChooseLevel.h"
#include "screens/Continue.h"
#include "screens/MenuDraw.h"
#include "screens/TitleInit.h"
#include "sound/SoundBank.h"

namespace vg {

namespace {
constexpr int32_t kShipNameX = 60;
constexpr int32_t kDifficultyNameX = 390;
constexpr int32_t kNameY = 100;
constexpr int32_t kRowY = 150;
constexpr int32_t kRowStep = 17;
constexpr int32_t kFadeFrames = 16;
}  // namespace

void ScoreInit::update() {
    System* system = systemOf(*this);
    end();
    if (!system) return;
    system->endAll();
    system->fieldView = 0;
    loadScreenImage(*system, kSlotMenuBack, "scoreBack.png");
    system->spawnFront<Score>(layer::kScreens);
}

Score::Score() {
    restartRows();
}

void Score::restartRows() {
    rowCounter = 0;
    rowX.fill(kRowStartX << 16);
}

void Score::stepShip(const System& system, int direction) {
    int offered[4];
    int count = 0;
    int at = 0;
    for (uint8_t ship = 0; ship < 4; ++ship) {
        if (!shipUnlocked(system, ship)) continue;
        if (ship == shipType) at = count;
        offered[count++] = ship;
    }
    shipType = offered[(at + direction + count) % count];
}

void Score::formatPlace(const ScoreEntry& entry, int place, char (&text)[64]) {
    // Names are printed from a terminated copy: a damaged table cannot run past its field.
    char name[sizeof entry.name + 1] = {};
    std::memcpy(name, entry.name, strnlen(entry.name, sizeof entry.name - 1));
    std::snprintf(text, sizeof text, "%2d. %9s %9d   %02d/%02d/%02d-%02d:%02d", place + 1, name,
                  static_cast<int>(entry.score), entry.year, entry.month, entry.day, entry.hour,
                  entry.minute);
}

void Score::update() {
    System* sys = system();
    if (!sys) return;
    // The tables of the difficulties a game can be started on.
    const int highest = ChooseLevel::highestOffered(*sys);
    // A table shown for a difficulty no longer offered (never normally) starts over at "Easy".
    if (difficulty > highest) difficulty = 0;
    bool changed = false;
    if (fired(menuLeft())) {
        difficulty = difficulty <= 0 ? highest : difficulty - 1;
        changed = true;
    }
    if (fired(menuRight())) {
        difficulty = difficulty >= highest ? 0 : difficulty + 1;
        changed = true;
    }
    if (fired(menuUp())) {
        stepShip(*sys, -1);
        changed = true;
    }
    if (fired(menuDown())) {
        stepShip(*sys, +1);
        changed = true;
    }
    if (changed) {
        playSound(*sys, SoundManager::kSoundSelect);
        restartRows();
    }
    if (fired(menuConfirm()) || fired(menuCancel()) || escapePressed()) {
        goTo<TitleInit>(SoundManager::kSoundCancel);
        return;
    }
    if (rowCounter < kRowCounterTop) ++rowCounter;
    for (int i = 0; i < kRowCount; ++i) {
        if (rowCounter > i) rowX[i] += ((kRowX << 16) - rowX[i]) / 8;
    }
    countFrame(frame);
}

void Score::draw(DIB& surface) {
    const System* sys = system();
    if (!sys) return;
    const DIB& background = sys->imageSlots[kSlotMenuBack];
    if (frame < kFadeFrames) {
        blitCell(background, surface, atlas::scoreBack::kBackground, 0, 0, 0, Alpha,
                 static_cast<uint32_t>(frame * 255 / kFadeFrames));
    } else {
        blitCell(background, surface, atlas::scoreBack::kBackground, 0, 0, 0, 0);
    }
    const int shown = difficulty >= 0 && difficulty < kDifficultyCount ? difficulty : 0;
    const GlyphFont font = menuFont(*sys);
    const char* ship = kShipNames[shipType & 3];
    const char* level = kDifficultyNames[shown];
    drawGlyphText(font, ColorKey | Add, 0, &surface, ship, kShipNameX, kNameY);
    drawMenuEcho(font, surface, ship, kShipNameX, kNameY, pulse);
    drawGlyphText(font, ColorKey | Add, 0, &surface, level, kDifficultyNameX, kNameY);
    drawMenuEcho(font, surface, level, kDifficultyNameX, kNameY, pulse);
    pulse = (pulse + 1) % kPulseSteps;

    const GlyphFont small = smallFont(*sys);
    char text[64];
    for (int i = 0; i < kRowCount; ++i) {
        formatPlace(sys->scoreTable.at(shown, shipType & 3, i), i, text);
        drawGlyphText(small, ColorKey | Add, 0, &surface, text, rowX[i] >> 16,
                      kRowY + kRowStep * i);
    }
}

}  // namespace vg
