#include "screens/ChooseLevel.h"

#include "AtlasCells.h"
#include "core/Layers.h"
#include "core/PlayField.h"
#include "render/Blit.h"
#include "render/Cell.h"
#include "screens/CharacterSelect.h"
#include "screens/SetupDraw.h"
#include "screens/TitleInit.h"
#include "sound/SoundBank.h"

namespace vg {

namespace {
constexpr int32_t kPanelTargetX = 256;
constexpr int32_t kPanelY = 87;
constexpr int32_t kLabelTop = 107;
constexpr int32_t kLabelStep = 40;
constexpr int32_t kFlyTargetY = 20;
}  // namespace

void ChooseLevelInit::update() {
    System* system = systemOf(*this);
    end();
    if (!system) return;
    system->endAll();
    system->fieldView = 0;
    loadScreenImage(*system, kSlotMenuBack, "selectBack.png");
    system->spawnFront<ChooseLevel>(layer::kScreens);
    const Config& config = system->config;
    if ((system->difficulty == 3 && !config.gameCleared) ||
        (system->difficulty == 4 && !config.extraCleared) ||
        system->difficulty >= kDifficultyCount) {
        system->difficulty = 0;
    }
}

int ChooseLevel::highestOffered(const System& system) {
    if (system.config.extraCleared) return 4;
    if (system.config.gameCleared) return 3;
    return 2;
}

void ChooseLevel::update() {
    System* sys = system();
    if (!sys) return;
    countFrame(n);
    panelX += (fixedFromInt(kPanelTargetX) - panelX) / 8;
    if (flyOut > 0) {
        const int32_t targetX = fixedFromInt(difficultyCornerX(sys->difficulty, true));
        flyX += (targetX - flyX) / 3;
        flyY += (fixedFromInt(kFlyTargetY) - flyY) / 3;
        if (++flyOut > kFlyOutFrames) goTo<CharacterSelectInit>(kSilent, chooser);
        return;
    }
    MenuList{highestOffered(*sys)}.handle(*this, *sys, sys->difficulty, true);
    const int confirmer = menuConfirm();
    if (fired(confirmer)) {
        chooser = confirmer;
        flyOut = 1;
        flyX = panelX - fixedFromInt(60);
        flyY = fixedFromInt(kLabelTop + kLabelStep * sys->difficulty);
        playSound(*sys, SoundManager::kSoundOk);
    } else if (fired(menuCancel()) || escapePressed()) {
        goTo<TitleInit>(SoundManager::kSoundCancel);
    }
}

void ChooseLevel::draw(DIB& surface) {
    const System* sys = system();
    if (!sys) return;
    const DIB& image = sys->imageSlots[kSlotMenuBack];
    drawSetupBackground(*sys, surface, n < 32 ? static_cast<uint32_t>(8 * n) : 255);
    drawModeCaption(*sys, surface);
    const int32_t px = fixedToInt(panelX);
    blitCell(image, surface, atlas::selectBack::kPanel, 0, px - 80, kPanelY, Alpha, 80);
    const atlas::Cell& label = atlas::selectBack::kDifficultyLabel;
    const int rows = sys->config.gameCleared ? 4 : 3;
    for (int i = 0; i < rows; ++i) {
        const bool selected = i == sys->difficulty;
        if (selected && flyOut > 0) continue;
        const int32_t y = kLabelTop + kLabelStep * i;
        if (selected) {
            blitCell(image, surface, label, i, px - 60, y, ColorKey | Alpha | Add, pulseAlpha(n));
        } else {
            blitCell(image, surface, label, i, px - 60, y, ColorKey | Alpha | Subtract, 80);
        }
    }
    if (flyOut > 0 && sys->difficulty < label.frames) {
        blitCell(image, surface, label, sys->difficulty, fixedToInt(flyX), fixedToInt(flyY),
                 ColorKey | Alpha | Add, pulseAlpha(n));
    }
}

}  // namespace vg
