#include "panels/Result.h"

#include <algorithm>
#include <cstdio>

#include "core/GameSound.h"
#include "core/System.h"
#include "effects/Effect.h"
#include "effects/Fonts.h"
#include "player/PlayerBase.h"
#include "render/Blend.h"
#include "render/Blit.h"
#include "render/GlyphText.h"
#include "sound/SoundBank.h"

namespace vg {

namespace {

constexpr int32_t kFullSize = 240;
constexpr uint32_t kCaptionColour = 0xFFE890;
// What each life, crystal and link of the longest chain adds to the stage bonus.
constexpr int32_t kLifeWorth = 100000;
constexpr int32_t kCrystalWorth = 500;
constexpr int32_t kChainWorth = 1000;

// Text over a shadow 2 pixels down and right.
void shadowedText(const GlyphFont& font, DIB& surface, const char* text, int32_t x, int32_t y,
                  uint32_t alpha, uint32_t colour) {
    drawGlyphText(font, ColorKey | Alpha | Subtract, alpha, &surface, text, x + 2, y + 2);
    drawGlyphText(font, ColorKey | Alpha | Add | Mask, colourParameter(alpha, colour), &surface,
                  text, x, y);
}

}  // namespace

int64_t Result::stageBonus(const PlayerBase& player) {
    return std::max<int64_t>(player.maxCombo, 0) * kChainWorth +
           std::max<int64_t>(player.lives, 0) * kLifeWorth +
           std::max<int64_t>(player.crystals, 0) * kCrystalWorth;
}

void Result::update() {
    ++frame;
    System* sys = systemOf(*this);
    if (sys && frame == 0) {
        for (int index = 0; index < 2; ++index) {
            const PlayerBase* player = PlayerBase::find(*sys, index);
            present[index] = player != nullptr;
            if (!player) continue;
            lives[index] = player->lives;
            crystals[index] = player->crystals;
            maxCombo[index] = player->maxCombo;
        }
        stopSound(*sys, SoundManager::kMusicBoss);
        stopSound(*sys, SoundManager::kMusicStage);
        playSound(*sys, SoundManager::kSoundSelect);
    }
    // A new row each time.
    if (sys && (frame == 20 || frame == 40 || frame == 60)) {
        playSound(*sys, SoundManager::kSoundSelect);
    }
    if (sys && frame == kBonusFrame) {
        for (int index = 0; index < 2; ++index) {
            PlayerBase* player = present[index] ? PlayerBase::find(*sys, index) : nullptr;
            if (!player) continue;
            bonus[index] = stageBonus(*player);
            player->addScore(bonus[index]);
        }
        playSound(*sys, SoundManager::kSoundSelect);
    }
    // The panel opens wide at once and then tall.
    width += (kFullSize - width + 3) / 4;
    if (frame > 16) height += (kFullSize - height + 7) / 8;
    if (frame >= kLastFrame) end();
}

void Result::draw(DIB& surface) {
    const System* sys = systemOf(*this);
    if (!sys || frame < 0) return;
    const int32_t fade = frame < kFadeStart ? 16 : std::max(kLastFrame - frame, 0);
    fillRect(&surface, (System::kFieldWidth - width) / 2, (System::kFieldHeight - height) / 2,
             width, height, kPanelColour, Alpha, clampAlpha(128 * fade / 16));
    const uint32_t alpha = clampAlpha(255 * fade / 16);
    if (alpha == 0) return;

    const GlyphFont title = menuFont(*sys);
    const GlyphFont font = smallFont(*sys);
    shadowedText(title, surface, "Result", 80, 80, alpha, kCaptionColour);
    struct Row {
        int32_t from;
        const char* caption;
        int32_t y;
        int32_t unit;
        const int32_t* counts;
    };
    const Row rows[] = {
        {20, "Life", 120, kLifeWorth, lives},
        {40, "Gain", 170, kCrystalWorth, crystals},
        {60, "Max Combo", 220, kChainWorth, maxCombo},
    };
    char line[40];
    for (const Row& row : rows) {
        if (frame < row.from) continue;
        shadowedText(font, surface, row.caption, 20, row.y, alpha, kCaptionColour);
        for (int index = 0; index < 2; ++index) {
            if (!present[index]) continue;
            std::snprintf(line, sizeof line, "%6d x %5d", row.unit, row.counts[index]);
            shadowedText(font, surface, line, 100, row.y + 20 * index, alpha, 0xFFFFFF);
        }
    }
    if (frame < kBonusFrame) return;
    shadowedText(font, surface, "Total Bonus", 40, 270, alpha, kCaptionColour);
    for (int index = 0; index < 2; ++index) {
        if (!present[index]) continue;
        std::snprintf(line, sizeof line, "%8lld", static_cast<long long>(bonus[index]));
        shadowedText(font, surface, line, 150, 270 + 20 * index, alpha, 0xFFFFFF);
    }
}

}  // namespace vg
