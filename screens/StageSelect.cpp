#include "screens/StageSelect.h"

#include <algorithm>

#include "AtlasCells.h"
#include "core/Layers.h"
#include "core/PlayField.h"
#include "render/Blit.h"
#include "render/Cell.h"
#include "screens/CharacterSelect.h"
#include "screens/SetupDraw.h"
#include "sound/SoundBank.h"
#include "stage/StageInit.h"

namespace vg {

namespace {
constexpr int32_t kPanelTop = (384 - 210) / 2;
constexpr uint8_t kStagePower[5] = {0, 1, 3, 3, 4};
}  // namespace

void StageSelectInit::update() {
    System* system = systemOf(*this);
    end();
    if (!system) return;
    system->fieldView = 0;
    system->spawnFront<StageSelect>(layer::kScreens, player);
}

StageSelect::StageSelect(int chooser) : player(chooser) {}

int StageSelect::highestOffered(const System& system) {
    return std::min<int>(system.config.furthestStage, 4);
}

uint8_t StageSelect::powerForStage(int stage) {
    return kStagePower[std::clamp(stage, 0, 4)];
}

void StageSelect::update() {
    System* sys = system();
    if (!sys) return;
    countFrame(n);
    panelX += (fixedFromInt(256) - panelX) / 8;
    int8_t& cursor = menuMemory().stageCursor;
    const int highest = highestOffered(*sys);
    // A cursor kept from a visit that offered more never points past the list.
    if (cursor < 0 || cursor > highest) cursor = 0;
    if (fade > 0) {
        if (++fade >= kFadeFrames) goTo<StageInit>(kSilent);
        return;
    }
    if (MenuList{highest}.handle(*this, *sys, cursor, false)) return;
    if (fired(menuConfirm())) {
        sys->stageIndex = static_cast<uint8_t>(cursor);
        for (PlayerRecord& record : sys->playerRecord) record.power = powerForStage(cursor);
        fade = 1;
        playSound(*sys, SoundManager::kSoundOk);
    } else if (fired(menuCancel()) || escapePressed()) {
        goTo<CharacterSelectInit>(SoundManager::kSoundCancel, player);
    }
}

void StageSelect::draw(DIB& surface) {
    const System* sys = system();
    if (!sys) return;
    const DIB& menu = sys->imageSlots[kSlotMenuBack];
    drawSetupBackground(*sys, surface, n < 32 ? static_cast<uint32_t>(8 * n) : 255);
    drawModeCaption(*sys, surface);
    const int32_t px = fixedToInt(panelX);
    blitCell(menu, surface, atlas::selectBack::kPanel, 0, px - 80, kPanelTop, Alpha, 80);
    const atlas::Cell& label = atlas::frame::kStageLabel;
    const int highest = highestOffered(*sys);
    for (int i = 0; i <= highest; ++i) {
        const int32_t y = kPanelTop + 20 + 32 * i;
        if (i == menuMemory().stageCursor) {
            blitCell(sys->imageSlots[kSlotFrame], surface, label, i, px - 40, y,
                     ColorKey | Alpha | Add, pulseAlpha(n));
        } else {
            blitCell(sys->imageSlots[kSlotFrame], surface, label, i, px - 40, y,
                     ColorKey | Alpha | Subtract, 80);
        }
    }
    drawDifficultyCorner(*sys, surface);
    if (fade > 0) {
        fillRect(&surface, 0, 0, surface.width, surface.height, 0, Alpha,
                 fadeAlpha(fade, kFadeFrames));
    }
}

}  // namespace vg
