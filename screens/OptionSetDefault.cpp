#include "screens/OptionSetDefault.h"

#include "core/GameSound.h"
#include "screens/MenuDraw.h"
#include "sound/SoundBank.h"

namespace vg {

namespace {
constexpr int32_t kWordX[2] = {190, 270};
constexpr int32_t kWordY = 190;
const char* const kWords[2] = {"Yes", "No"};
}  // namespace

void OptionSetDefault::update() {
    System* sys = system();
    if (!sys) return;
    const MenuList words{1};
    if (fired(menuLeft())) {
        choice = words.wrapped(choice, -1);
        playSound(*sys, SoundManager::kSoundSelect);
    } else if (fired(menuRight())) {
        choice = words.wrapped(choice, +1);
        playSound(*sys, SoundManager::kSoundSelect);
    } else if (fired(menuConfirm())) {
        if (choice == kYes) {
            resetOptions(*sys);
            closeModal(SoundManager::kSoundOk);
        } else {
            closeModal(SoundManager::kSoundCancel);
        }
    } else if (fired(menuCancel()) || escapePressed()) {
        closeModal(SoundManager::kSoundCancel);
    }
}

void OptionSetDefault::draw(DIB& surface) {
    const System* sys = system();
    if (!sys) return;
    drawDialogBand(surface, bandHeight);
    const GlyphFont font = menuFont(*sys);
    drawGlyphText(font, ColorKey | Add, 0, &surface, "Reset to default", 160, 160);
    for (int i = 0; i < 2; ++i)
        drawMenuText(font, surface, kWords[i], kWordX[i], kWordY, i == choice);
    drawMenuEcho(font, surface, kWords[choice], kWordX[choice], kWordY, pulse);
    pulse = (pulse + 1) & 15;
}

}  // namespace vg
