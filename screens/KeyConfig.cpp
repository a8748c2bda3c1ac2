#include "screens/KeyConfig.h"

#include <cstdio>

#include "core/GameSound.h"
#include "core/Layers.h"
#include "input/KeyNames.h"
#include "screens/MenuDraw.h"
#include "screens/OptionInit.h"
#include "screens/SetKey.h"
#include "sound/SoundBank.h"

namespace vg {

namespace {
constexpr int32_t kLabelX = 50;
constexpr int32_t kKeyX = 250;
constexpr int32_t kPadX = 400;
constexpr int32_t kRowY[KeyConfig::kRowCount] = {70,  90,  150, 170, 190, 210,
                                                 230, 250, 270, 290, 350};
const char* const kKeyLabels[8] = {"Left", "Up", "Right", "Down", "Shot", "Bomb", "Auto", "Pause"};
constexpr uint32_t kPresentPadColour = 0x007FFF;
constexpr uint32_t kHeaderColour = 0xFF0000;

bool padPresent(const JoystickState& joysticks, int32_t padId) {
    return padId >= 0 && padId < static_cast<int32_t>(joysticks.current.size()) &&
           joysticks.current[padId].connected != 0;
}
}  // namespace

void KeyConfig::changePad(System& system, int direction) {
    // "no use" (-1) sits between the last joystick and the first.
    int32_t& padId = system.keyRecords[player].padId;
    const int32_t last = static_cast<int32_t>(system.joysticks.count) - 1;
    // Any negative number (a damaged save) is "no use".
    if (padId < -1) padId = -1;
    if (direction < 0) {
        padId = padId == -1 ? last : padId - 1;
    } else {
        padId = padId >= last ? -1 : padId + 1;
    }
    system.probeJoystick(padId);
}

void KeyConfig::update() {
    System* sys = system();
    if (!sys) return;
    countFrame(n);
    // The raw keys move the rows here (see the class comment), with the menu's wrap rule.
    const MenuList rows{kRowCount - 1};
    if (repeatPressed(*sys, RepeatButton::Up)) {
        row = rows.wrapped(row, -1);
        playSound(*sys, SoundManager::kSoundSelect);
    } else if (repeatPressed(*sys, RepeatButton::Down)) {
        row = rows.wrapped(row, +1);
        playSound(*sys, SoundManager::kSoundSelect);
    } else if (repeatPressed(*sys, RepeatButton::Left)) {
        if (row == kRowPlayer) player ^= 1;
        if (row == kRowPad) changePad(*sys, -1);
        playSound(*sys, SoundManager::kSoundSelect);
    } else if (repeatPressed(*sys, RepeatButton::Right)) {
        if (row == kRowPlayer) player ^= 1;
        if (row == kRowPad) changePad(*sys, +1);
        playSound(*sys, SoundManager::kSoundSelect);
    } else if (repeatPressed(*sys, RepeatButton::Shot)) {
        if (row == kRowPlayer) {
            player ^= 1;
        } else if (row == kRowPad) {
            changePad(*sys, +1);
        } else if (row == kRowQuit) {
            sys->spawnFront<OptionInit>(layer::kScreens);
            end();
        } else {
            sys->freezeAll();
            // Behind this screen in the list, so the dialog is drawn over it.
            sys->spawnBack<SetKey>(layer::kScreens, player,
                                   static_cast<KeyButton>(row - kRowFirstKey));
        }
        resetHoldCounters();
        playSound(*sys, SoundManager::kSoundOk);
    } else if (fired(menuCancel()) || escapePressed()) {
        goTo<OptionInit>(SoundManager::kSoundCancel);
    }
}

void KeyConfig::draw(DIB& surface) {
    System* sys = system();
    if (!sys) return;
    drawMenuBackground(sys->imageSlots[kSlotMenuBack], surface, n);
    const GlyphFont font = menuFont(*sys);
    drawGlyphText(font, ColorKey | Add, 0, &surface, "KeyConfig", 10, 10);

    char text[32];
    std::snprintf(text, sizeof text, "Player%d", player + 1);
    drawMenuText(font, surface, text, 30, kRowY[kRowPlayer], row == kRowPlayer);

    KeyRecord& record = sys->keyRecords[player];
    drawMenuText(font, surface, "PadID", kLabelX, kRowY[kRowPad], row == kRowPad);
    if (record.padId < 0) {
        drawMenuText(font, surface, "no use", kKeyX, kRowY[kRowPad], row == kRowPad);
    } else {
        std::snprintf(text, sizeof text, "%d", record.padId);
        if (padPresent(sys->joysticks, record.padId)) {
            drawGlyphText(font, ColorKey | Add | Mask, 0xFF000000u | kPresentPadColour, &surface,
                          text, kKeyX, kRowY[kRowPad]);
        } else {
            // An absent joystick keeps its number but loses the highlight.
            drawMenuText(font, surface, text, kKeyX, kRowY[kRowPad], false);
        }
    }

    const uint32_t header = 0xFF000000u | kHeaderColour;
    drawGlyphText(font, ColorKey | Add | Mask, header, &surface, "key", kKeyX, 130);
    drawGlyphText(font, ColorKey | Add | Mask, header, &surface, "pad", kPadX, 130);

    for (int i = 0; i < 8; ++i) {
        const int r = kRowFirstKey + i;
        const bool selected = row == r;
        const KeyButton button = static_cast<KeyButton>(i);
        drawMenuText(font, surface, kKeyLabels[i], kLabelX, kRowY[r], selected);
        drawMenuText(font, surface, keyName(keyOf(record, button)).c_str(), kKeyX, kRowY[r],
                     selected);
        if (const int16_t* padButton = padButtonOf(record, button)) {
            std::snprintf(text, sizeof text, "%d", *padButton);
        } else {
            std::snprintf(text, sizeof text, "-");
        }
        drawMenuText(font, surface, text, kPadX, kRowY[r], selected);
    }
    drawMenuText(font, surface, "Quit", kLabelX, kRowY[kRowQuit], row == kRowQuit);
}

}  // namespace vg
