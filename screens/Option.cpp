#include "screens/Option.h"

#include <cstdio>

#include "core/GameSound.h"
#include "screens/KeyConfig.h"
#include "screens/MenuDraw.h"
#include "screens/OptionSetDefault.h"
#include "screens/TitleInit.h"
#include "sound/SoundBank.h"

namespace vg {

namespace {
constexpr int32_t kRowTargetX = 60 << 16;
constexpr int32_t kRowTop = 80;
constexpr int32_t kRowStep = 30;
constexpr int32_t kValueOffset = 360;

// Any value other than 1 turns on; 1 turns off.
uint8_t toggled(uint8_t value) {
    return value == 1 ? 0 : 1;
}

const char* switchText(uint8_t value) {
    return value == 1 ? "on" : "off";
}
}  // namespace

const char* const Option::kRowLabels[kRowCount] = {
    "MusicVolume",     "SEVolume", "BulletChangeCount",
    "PlayerCollision", "Buzz",     "OpticalEffect",
    "KeyConfig",       "Default",  "Back",
};

Option::Option() {
    for (int row = 0; row < kRowCount; ++row) rowX[row] = (512 + 100 * row) << 16;
}

std::string Option::valueText(const Config& config, int row) {
    char text[16];
    switch (row) {
        case kRowMusicVolume:
        case kRowSEVolume: {
            const float v = row == kRowMusicVolume ? config.musicVolume : config.seVolume;
            // The small bias keeps a volume stepped up to 1.0 in floats (0.99999994) from
            // showing as 99.
            std::snprintf(text, sizeof text, "%3d", static_cast<int>(v * 100.0f + 0.001f));
            return text;
        }
        case kRowBulletChangeCount:
            return switchText(config.bulletChangeCount);
        case kRowPlayerCollision:
            switch (config.playerCollision) {
                case 0:
                    return "off";
                case 1:
                    return "on";
                case 2:
                    return "always";
                default:
                    // A value from a damaged save: shown as it is, never used as an index.
                    std::snprintf(text, sizeof text, "%d", config.playerCollision);
                    return text;
            }
        case kRowBuzz:
            return switchText(config.buzz);
        case kRowOpticalEffect:
            return switchText(config.opticalEffect);
        default:
            return "";
    }
}

void Option::step(System& system, int direction) {
    Config& config = system.config;
    switch (cursor) {
        case kRowMusicVolume:
            setMusicVolume(system, config.musicVolume + direction * kVolumeStep);
            break;
        case kRowSEVolume:
            setSEVolume(system, config.seVolume + direction * kVolumeStep);
            break;
        case kRowBulletChangeCount:
            config.bulletChangeCount = toggled(config.bulletChangeCount);
            break;
        case kRowBuzz:
            config.buzz = toggled(config.buzz);
            break;
        case kRowOpticalEffect:
            config.opticalEffect = toggled(config.opticalEffect);
            break;
        case kRowPlayerCollision: {
            // off -> on -> always -> off; a stored value out of range re-enters the cycle.
            uint8_t& value = config.playerCollision;
            if (direction > 0) {
                value = value >= 2 ? 0 : value + 1;
            } else {
                value = (value == 0 || value > 2) ? 2 : value - 1;
            }
            break;
        }
        default:
            return;
    }
    playSound(system, SoundManager::kSoundSelect);
}

void Option::update() {
    System* sys = system();
    if (!sys) return;
    countFrame(n);
    MenuList{kRowCount - 1}.handle(*this, *sys, cursor, true);
    if (fired(menuLeft())) step(*sys, -1);
    if (fired(menuRight())) step(*sys, +1);
    if (fired(menuConfirm())) {
        switch (cursor) {
            case kRowKeyConfig:
                goTo<KeyConfig>(SoundManager::kSoundOk);
                break;
            case kRowDefault:
                openModal<OptionSetDefault>(SoundManager::kSoundOk);
                break;
            case kRowBack:
                goTo<TitleInit>(SoundManager::kSoundCancel);
                break;
            default:
                break;
        }
    } else if (fired(menuCancel()) || escapePressed()) {
        goTo<TitleInit>(SoundManager::kSoundCancel);
    }
}

void Option::draw(DIB& surface) {
    const System* sys = system();
    if (!sys) return;
    drawMenuBackground(sys->imageSlots[kSlotMenuBack], surface, n);
    const GlyphFont font = menuFont(*sys);
    drawGlyphText(font, ColorKey | Add, 0, &surface, "Option", 10, 10);
    for (int row = 0; row < kRowCount; ++row) {
        rowX[row] += (kRowTargetX - rowX[row]) / 8;
        const int32_t x = rowX[row] >> 16;
        const int32_t y = kRowTop + kRowStep * row;
        const bool selected = row == cursor;
        const std::string value = valueText(sys->config, row);
        drawMenuText(font, surface, kRowLabels[row], x, y, selected);
        if (!value.empty())
            drawMenuText(font, surface, value.c_str(), x + kValueOffset, y, selected);
        if (selected) {
            drawMenuEcho(font, surface, kRowLabels[row], x, y, pulse);
            if (!value.empty())
                drawMenuEcho(font, surface, value.c_str(), x + kValueOffset, y, pulse);
        }
    }
    pulse = (pulse + 1) & 15;
}

}  // namespace vg
