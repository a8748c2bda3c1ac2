#include "panels/OutFrame.h"

#include <algorithm>

#include "AtlasCells.h"
#include "core/FixedMath.h"
#include "core/GameSound.h"
#include "core/Layers.h"
#include "core/PlayField.h"
#include "core/System.h"
#include "core/TaskQuery.h"
#include "effects/Effect.h"
#include "effects/Fonts.h"
#include "input/KeyRecord.h"
#include "player/PlayerBase.h"
#include "player/Ships.h"
#include "render/Blend.h"
#include "render/Blit.h"
#include "render/Cell.h"
#include "render/GlyphText.h"
#include "resources/ImageSlots.h"
#include "screens/Continue.h"
#include "screens/ScreenBase.h"
#include "sound/SoundBank.h"

namespace vg {

namespace {

// A held direction acts on its first frame, then every second frame once held for more than
// 32 frames. The counter stays in 33..34 from there on, keeping the rhythm without wrapping.
bool repeats(uint8_t& counter, bool held) {
    if (!held) {
        counter = 0;
        return false;
    }
    counter = counter >= 34 ? 33 : static_cast<uint8_t>(counter + 1);
    return counter == 1 || (counter > 32 && counter % 2 == 0);
}

// Right-aligned digits, least significant first from `right` leftwards in steps of the cell's
// width, at most `maxDigits`; 0 shows one "0" and a negative value shows as 0.
void drawDigits(const DIB& sheet, DIB& surface, const atlas::Cell& cell, int64_t value,
                int32_t maxDigits, int32_t right, int32_t y, uint32_t mode, uint32_t parameter) {
    value = std::max<int64_t>(value, 0);
    int32_t x = right;
    for (int32_t i = 0; i < maxDigits; ++i, x -= cell.w) {
        blitCell(sheet, surface, cell, static_cast<int32_t>(value % 10), x, y, mode, parameter);
        value /= 10;
        if (value == 0) break;
    }
}

}  // namespace

OutFrame* OutFrame::find(const TaskManager& manager) {
    return findFirstInLayer<OutFrame>(manager, layer::kOutFrame);
}

int32_t OutFrame::highScoreFor(const System& system, const PlayerBase& player) {
    const int difficulty = system.difficulty;
    const int shipType = player.shipType();
    int32_t best = player.score;
    if (difficulty < kDifficultyCount && shipType < kShipTypeCount) {
        best = std::max(best, system.scoreTable.at(difficulty, shipType, 0).score);
    }
    return best;
}

void OutFrame::startClosing() {
    if (closing == 0) closing = 1;
}

void OutFrame::update() {
    ++frame;
    System* sys = systemOf(*this);
    if (sys) joinIn(*sys);
}

void OutFrame::joinIn(System& system) {
    const PlayerBase* first = PlayerBase::find(system, 0);
    const PlayerBase* second = PlayerBase::find(system, 1);
    // Only one ship in a started stage can be joined; otherwise any join is off.
    if (!system.stageStarted || (first != nullptr) == (second != nullptr)) {
        joiningPlayer = kNoJoin;
        return;
    }
    const uint8_t absent = first ? 1 : 0;
    if (joiningPlayer != kNoJoin && joiningPlayer != absent) joiningPlayer = kNoJoin;
    const uint8_t buttons = system.keyRecords[absent].buttons;
    const bool joining = joiningPlayer != kNoJoin;

    // Both counters of a pair run every frame; a pair acts once even if both fire.
    const bool left = repeats(holdLeft, buttons & kButtonLeft);
    const bool right = repeats(holdRight, buttons & kButtonRight);
    const bool up = repeats(holdUp, buttons & kButtonUp);
    const bool down = repeats(holdDown, buttons & kButtonDown);
    const bool shotPressed = (buttons & kButtonShot) && !shotLatch;
    shotLatch = (buttons & kButtonShot) ? 1 : 0;

    if (joining && (left || right)) {
        joinChoice = otherFamily(joinChoice);
        playSound(system, SoundManager::kSoundSelect);
    }
    if (joining && (up || down)) {
        joinChoice = toggledVariant(system, joinChoice);
        playSound(system, SoundManager::kSoundSelect);
    }
    if (shotPressed) {
        if (!joining) {
            joiningPlayer = absent;
        } else if (PlayerBase* ship = createShip(system, joinChoice & 3, absent)) {
            playSound(system, SoundManager::kSoundOk);
            // A player who has played this game before comes in as after a continue: the
            // last digit of the score the last ship ended with counts the continues used.
            const int32_t recorded = system.playerRecord[absent].finalScore;
            if (recorded != 0) ship->score = ContinueSelectShip::continueCount(recorded);
            joiningPlayer = kNoJoin;
            return;
        }
    }
    if (joiningPlayer != kNoJoin && (buttons & kButtonBomb)) {
        joiningPlayer = kNoJoin;
        playSound(system, SoundManager::kSoundCancel);
    }
}

void OutFrame::draw(DIB& surface) {
    System* sys = systemOf(*this);
    if (!sys) return;
    const DIB& sheet = sys->imageSlots[kSlotFrame];
    const atlas::Cell& panel = atlas::frame::kSidePanel;
    blitCell(sheet, surface, panel, 0, 0, 0, 0, 128);
    blitCell(sheet, surface, panel, 0, kRightPanelX, 0, 0, 128, false, true);

    for (int index = 0; index < 2; ++index) {
        if (const PlayerBase* player = PlayerBase::find(*sys, index)) {
            drawStatus(*sys, surface, *player, index == 0 ? 0 : kRightPanelX);
        }
    }
    if (joiningPlayer != kNoJoin) drawJoin(*sys, surface);

    const GlyphFont font = smallFont(*sys);
    if (sys->replay.playingBack)
        drawGlyphText(font, ColorKey | Add, 0, &surface, "Replay", 70, 370);
    if (sys->difficulty < kDifficultyCount) {
        drawGlyphText(font, ColorKey | Add, 0, &surface, kDifficultyNames[sys->difficulty], 446,
                      370);
    }
    if (layerOccupied(*sys, layer::kAttract)) {
        // Pulses with a period of 180 frames.
        const int32_t wave = sinFixed(fixedFromInt(static_cast<int32_t>((2 * frame) % 360)));
        const uint32_t alpha = clampAlpha(128 + ((127 * static_cast<int64_t>(wave)) >> 16));
        const atlas::Cell& banner = atlas::frame::kAttractBanner;
        const int32_t x = (surface.width - banner.w) / 2;
        const int32_t y = (surface.height - banner.h) / 2;
        blitCell(sheet, surface, banner, 0, x + 2, y + 2, Alpha | Subtract, alpha);
        blitCell(sheet, surface, banner, 0, x, y, Alpha | Add, alpha);
    }
    drawFades(surface);
}

void OutFrame::drawStatus(System& system, DIB& surface, const PlayerBase& player,
                          int32_t left) const {
    namespace cells = atlas::frame;
    const DIB& sheet = system.imageSlots[kSlotFrame];
    const uint32_t mode = ColorKey | Add;
    const int32_t right = left + 116;  // the units' column
    struct Row {
        const atlas::Cell& label;
        int32_t y;
        int64_t value;
        int32_t digits;
    };
    const Row rows[] = {
        {cells::kLabelHighScore, 30, highScoreFor(system, player), 11},
        {cells::kLabelScore, 60, player.score, 11},
        {cells::kLabelCrystal, 90, player.crystals, 8},
        {cells::kLabelMaxChain, 120, player.maxCombo, 5},
    };
    for (const Row& row : rows) {
        blitCell(sheet, surface, row.label, 0, left + 6, row.y, mode);
        drawDigits(sheet, surface, cells::kDigits, row.value, row.digits, right, row.y + 12, mode,
                   0);
    }
    // Spare ships and bombs, from the right edge leftwards, as many as the panel holds.
    const uint8_t type = player.shipType();
    const int32_t icon = (type < kShipTypeCount ? (type & 1) : 0) + 2 * (player.playerIndex & 1);
    for (int32_t i = 0, x = left + 111; i < player.lives && x >= left; ++i, x -= 26) {
        blitCell(sheet, surface, cells::kShipIcon, icon, x, 290, ColorKey);
    }
    for (int32_t i = 0, x = left + 111; i < player.bombs && x >= left; ++i, x -= 26) {
        blitCell(sheet, surface, cells::kBombIcon, 0, x, 320, ColorKey);
    }
}

void OutFrame::drawJoin(System& system, DIB& surface) {
    const atlas::Cell& cell = atlas::frame::kShipIcon;
    const DIB& sheet = system.imageSlots[kSlotFrame];
    const int32_t left = joiningPlayer == 1 ? 400 : 20;
    const int32_t top = 20;
    const int32_t family = joinChoice & 1;
    const bool variant = joinChoice >= 2;
    const int32_t chosenX = left + 34 * family;
    const int32_t otherX = left + 34 * (1 - family);
    const uint32_t tint = variant ? Tint : 0u;

    blitCell(sheet, surface, cell, 1 - family, otherX, top, ColorKey | Alpha, 128);
    blitCell(sheet, surface, cell, family, chosenX, top, ColorKey | tint, kVariantTint);
    // A growing, fading echo of the chosen ship.
    const int32_t k = pulse;
    const uint32_t alpha = clampAlpha(255 - k * 255 / kPulseSteps);
    blitCellScaledCentred(sheet, surface, cell, family, chosenX + cell.w / 2, top + cell.h / 2,
                          cell.w + k, cell.h + k, ColorKey | tint | Alpha | Add,
                          variant ? colourParameter(alpha, kVariantTint) : alpha);
    if (state == kTaskActive) pulse = static_cast<uint8_t>((pulse + 1) % kPulseSteps);
}

void OutFrame::drawFades(DIB& surface) {
    if (frame < static_cast<uint32_t>(kFadeInFrames)) {
        fillRect(&surface, 0, 0, surface.width, surface.height, 0, Alpha,
                 clampAlpha(255 - static_cast<int64_t>(frame) * 255 / kFadeInFrames));
        return;
    }
    if (closing == 0) return;
    if (closing >= kClosingFrames) {
        fillRect(&surface, 0, 0, surface.width, surface.height, 0, 0, 128);
    } else {
        fillRect(&surface, 0, 0, surface.width, surface.height, 0, Alpha,
                 clampAlpha(closing * 255 / kClosingFrames));
    }
    if (state == kTaskActive && closing < kClosingFrames) ++closing;
}

}  // namespace vg
