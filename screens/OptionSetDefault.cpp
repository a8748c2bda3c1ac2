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

void OptionSetDefault::close(System& system, int32_t sound) {
    playSound(system, sound);
    // Resume first: resuming sets every live task active, this one included.
    system.resumeAll();
    end();
}

void OptionSetDefault::update() {
    System* sys = system();
    if (!sys) return;
    if (fired(menuLeft())) {
        choice = choice == 0 ? 1 : choice - 1;
        playSound(*sys, SoundManager::kSoundSelect);
    } else if (fired(menuRight())) {
        choice = choice == 1 ? 0 : choice + 1;
        playSound(*sys, SoundManager::kSoundSelect);
    } else if (fired(menuConfirm())) {
        if (choice == kYes) {
            resetOptions(*sys);
            close(*sys, SoundManager::kSoundOk);
        } else {
            close(*sys, SoundManager::kSoundCancel);
        }
    } else if (fired(menuCancel()) || escapePressed()) {
        close(*sys, SoundManager::kSoundCancel);
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
