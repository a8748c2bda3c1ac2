#include "screens/Continue.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "AtlasCells.h"
#include "core/GameSound.h"
#include "core/Layers.h"
#include "core/System.h"
#include "effects/Effect.h"
#include "input/KeyRecord.h"
#include "player/PlayerBase.h"
#include "player/Ships.h"
#include "render/Blit.h"
#include "render/Cell.h"
#include "resources/ImageSlots.h"
#include "screens/GameOver.h"
#include "screens/ScreenBase.h"
#include "sound/SoundBank.h"

namespace vg {

namespace {

constexpr int32_t kBannerY = 130;
constexpr int32_t kSecondsX = 100;
constexpr int32_t kSecondsY = 170;
constexpr int32_t kButtonX[2] = {40, 140};
constexpr int32_t kButtonY = 220;
constexpr uint32_t kDimButtonAlpha = 64;
constexpr int32_t kSelectBannerY = 150;
constexpr int32_t kIconX[2] = {50, 150};
constexpr int32_t kIconY = 190;
constexpr uint32_t kDimIconAlpha = 64;
// The continue icons are frame 0 of the ship rows of player 0: TYPE-A at (0, 0) and TYPE-B at
// (0, 80) of "ship.png".
constexpr int32_t kIconFrame[2] = {0, 2 * atlas::ship::kShip.columns};
constexpr uint8_t kPromptButtons = kButtonShot | kButtonBomb | kButtonLeft | kButtonRight;
constexpr uint8_t kChoiceButtons = kPromptButtons | kButtonUp | kButtonDown;

// Eases the dialog band 1/8 of the way to `target` (whole pixels, as the band is a byte).
void easeBand(uint8_t& height, uint8_t target) {
    height = static_cast<uint8_t>(height + (target - height) / 8);
}

void drawBand(DIB& surface, uint8_t height) {
    fillRect(&surface, 0, (surface.height - height) / 2, 240, height, 0, Alpha, 128);
}

// An alpha for a pulse step k of 0..31: 255 down to 8.
uint32_t echoAlpha(int32_t k, int32_t steps) {
    return static_cast<uint32_t>(std::clamp(256 - k * 255 / steps, 0, 255));
}

}  // namespace

bool shipUnlocked(const System& system, uint8_t shipType) {
    if (shipType < 2) return true;
    if (shipType > 3) return false;
    const uint8_t bit = static_cast<uint8_t>(1u << (shipType - 2));
    const uint8_t* marks = system.config.clearMarks;
    return ((marks[1] | marks[2] | marks[3]) & bit) != 0;
}

uint8_t toggledVariant(const System& system, uint8_t shipType) {
    if (shipType >= 2) return static_cast<uint8_t>(shipType - 2);
    const auto variant = static_cast<uint8_t>(shipType + 2);
    return shipUnlocked(system, variant) ? variant : shipType;
}

void Continue::gameOver(System& system) {
    system.replay.EndStage(system.playerRecord[0].finalScore, system.playerRecord[1].finalScore,
                           system.stageIndex);
    end();
    system.spawnBack<GameOver>(layer::kBanner);
}

void Continue::draw(DIB& surface) {
    System* sys = systemOf(*this);
    if (!sys) return;
    if (frame == 0) {
        sys->stageStarted = 0;
        sys->inStage = 0;
        sys->freezeAll();
    }
    for (int player = 0; player < 2; ++player) {
        const uint8_t pressed =
            latches[player].fresh(sys->keyRecords[player].buttons, kPromptButtons);
        if (frame < kFirstActiveFrame || frame > kLastFrame) continue;
        if (pressed & kButtonShot) {
            playSound(*sys, SoundManager::kSoundOk);
            if (choice == kNo) {
                gameOver(*sys);
            } else {
                end();
                sys->spawnBack<ContinueSelectShip>(layer::kBanner);
            }
            return;
        }
        if (pressed & kButtonBomb) {
            choice = kNo;
            playSound(*sys, SoundManager::kSoundCancel);
        }
        if (pressed & kButtonLeft) {
            choice = kYes;
            playSound(*sys, SoundManager::kSoundSelect);
        }
        if (pressed & kButtonRight) {
            choice = kNo;
            playSound(*sys, SoundManager::kSoundSelect);
        }
    }
    if (frame > kLastFrame) {
        gameOver(*sys);
        return;
    }
    easeBand(bandHeight, kBandTarget);
    drawBand(surface, bandHeight);
    if (frame >= kFirstActiveFrame) drawPrompt(*sys, surface);
    pulse = (pulse + 1) % kPulseSteps;
    ++frame;
}

void Continue::drawPrompt(const System& system, DIB& surface) const {
    const DIB& sheet = system.imageSlots[kSlotFrame];
    blitCell(sheet, surface, atlas::frame::kContinueBanner, 0, 0, kBannerY, ColorKey | Add);
    char seconds[8];
    std::snprintf(seconds, sizeof seconds, "%2d", static_cast<int>(secondsLeft(frame)));
    drawGlyphText(menuFont(system), ColorKey | Add, 0, &surface, seconds, kSecondsX, kSecondsY);
    const atlas::Cell& button = atlas::frame::kYesNoButton;
    const int other = choice == kYes ? kNo : kYes;
    blitCell(sheet, surface, button, other, kButtonX[other], kButtonY, ColorKey | Alpha | Add,
             kDimButtonAlpha);
    blitCell(sheet, surface, button, choice, kButtonX[choice], kButtonY, ColorKey | Add);
    // A growing, fading echo of the chosen button.
    const int32_t k = pulse;
    blitCellScaledCentred(sheet, surface, button, choice, kButtonX[choice] + button.w / 2,
                          kButtonY + button.h / 2, button.w + k, button.h + k,
                          ColorKey | Alpha | Add, echoAlpha(k, kPulseSteps));
}

int32_t ContinueSelectShip::continueCount(int32_t finalScore) {
    return std::min(std::abs(finalScore % 10) + 1, 9);
}

void ContinueSelectShip::draw(DIB& surface) {
    System* sys = systemOf(*this);
    if (!sys) return;
    if (frame == 0) {
        const std::array<PlayerRecord, 2>& records = sys->playerRecord;
        shipType = records[0].shipType != 255 ? records[0].shipType : records[1].shipType;
        // A record without a ship (or a damaged one) offers TYPE-A.
        if (shipType > 3) shipType = 0;
    }
    for (int player = 0; player < 2; ++player) {
        const uint8_t pressed =
            latches[player].fresh(sys->keyRecords[player].buttons, kChoiceButtons);
        if (frame < kFirstActiveFrame) continue;
        if (pressed & kButtonShot) {
            playSound(*sys, SoundManager::kSoundOk);
            sys->resumeAll();
            sys->stageStarted = 1;
            sys->inStage = 1;
            end();
            const auto index = static_cast<uint8_t>(player);
            if (PlayerBase* ship = createShip(*sys, shipType, index)) {
                ship->score = continueCount(sys->playerRecord[player].finalScore);
            }
            return;
        }
        if (pressed & kButtonBomb) {
            playSound(*sys, SoundManager::kSoundCancel);
            end();
            sys->spawnBack<Continue>(layer::kBanner);
            return;
        }
        if (pressed & (kButtonLeft | kButtonRight)) {
            shipType = otherFamily(shipType);
            playSound(*sys, SoundManager::kSoundSelect);
        }
        if (pressed & (kButtonUp | kButtonDown)) {
            shipType = toggledVariant(*sys, shipType);
            playSound(*sys, SoundManager::kSoundSelect);
        }
    }
    easeBand(bandHeight, kBandTarget);
    drawBand(surface, bandHeight);
    if (frame >= kFirstActiveFrame) drawChoice(*sys, surface);
    pulse = (pulse + 1) % kPulseSteps;
    if (frame < UINT16_MAX) ++frame;
}

void ContinueSelectShip::drawChoice(const System& system, DIB& surface) const {
    const DIB& frameSheet = system.imageSlots[kSlotFrame];
    const atlas::Cell& banner = atlas::frame::kContinueBanner;
    blitCell(frameSheet, surface, banner, 0, (surface.width - banner.w) / 2, kSelectBannerY,
             ColorKey | Add);
    const DIB& ships = system.imageSlots[kSlotShip];
    const atlas::Cell& icon = atlas::ship::kShip;
    const int family = shipType & 1;
    const int other = family ^ 1;
    const bool variant = shipType >= 2;
    blitCell(ships, surface, icon, kIconFrame[other], kIconX[other], kIconY, ColorKey | Alpha,
             kDimIconAlpha);
    const uint32_t tint = variant ? Tint : 0u;
    blitCell(ships, surface, icon, kIconFrame[family], kIconX[family], kIconY, ColorKey | tint,
             kVariantTint);
    const int32_t k = pulse;
    const uint32_t alpha = echoAlpha(k, kPulseSteps);
    blitCellScaledCentred(ships, surface, icon, kIconFrame[family], kIconX[family] + icon.w / 2,
                          kIconY + icon.h / 2, icon.w + k, icon.h + k,
                          ColorKey | tint | Alpha | Add,
                          variant ? colourParameter(alpha, kVariantTint) : alpha);
}

}  // namespace vg
