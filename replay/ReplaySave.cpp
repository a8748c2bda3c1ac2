#include "replay/ReplaySave.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/GameSound.h"
#include "core/Layers.h"
#include "core/TaskQuery.h"
#include "effects/Fonts.h"
#include "render/Blit.h"
#include "render/Cell.h"
#include "resources/ImageSlots.h"
#include "screens/MenuDraw.h"
#include "screens/TitleInit.h"
#include "sound/SoundBank.h"

namespace vg {

namespace {

constexpr int32_t kScoreX = 320;
constexpr int32_t kScoreY = 20;
constexpr uint32_t kScoreColour = 0xff7f00;
// The red cast laid over the background: the background added onto itself through a red mask
// at half strength.
constexpr uint32_t kCastMode = Mask | Add | Alpha;
constexpr uint32_t kCast = 0x80ff0000;
constexpr int32_t kFailureX = 20;
constexpr int32_t kFailureY = 362;

// The replay in memory into "./replay//replay<slot>.rpl" under the name last entered.
bool writeSlot(System& system, int slot) {
    if (!ReplayData::MakeFolder()) return false;
    ReplayIndex& index = system.replay.index();
    std::memset(index.name, 0, sizeof index.name);
    const size_t length = strnlen(system.config.lastName, sizeof system.config.lastName);
    std::memcpy(index.name, system.config.lastName, std::min(length, sizeof index.name - 1));
    return system.replay.Save(ReplayData::SlotPath(slot).c_str());
}

}  // namespace

void ReplaySaveInit::update() {
    System* system = systemOf(*this);
    end();
    if (!system) return;
    leavePlay(*system);
    DIB& background = system->imageSlots[kSlotBackground];
    if (loadScreenImage(*system, kSlotBackground, "replayBack.png")) {
        blitCell(background, background, atlas::replayBack::kBackground, 0, 0, 0, kCastMode, kCast);
    }
    system->spawnFront<ReplaySave>(layer::kScreens);
}

bool ReplaySave::saveToSlot(int slot) {
    System* sys = system();
    if (!sys) return false;
    if (writeSlot(*sys, slot)) {
        playSound(*sys, SoundManager::kSoundOk);
        failureShown = 0;
        buildList();
        return true;
    }
    // The list is left as it was: an earlier file of the slot is still there.
    playSound(*sys, SoundManager::kSoundCancel);
    failureShown = kFailureFrames;
    return false;
}

void ReplaySave::update() {
    System* sys = system();
    if (!sys) return;
    buildListOnce();
    ReplayScreenBase::update();
    if (failureShown > 0) --failureShown;
    moveCursor(*sys);
    if (fired(menuConfirm())) {
        const int slot = cursor + 1;
        if (!entryForSlot(slot)) {
            saveToSlot(slot);
        } else {
            openModal<ReplayOverwrite>(kSilent, slot);
        }
    } else if (fired(menuCancel()) || escapePressed()) {
        goTo<TitleInit>(SoundManager::kSoundCancel);
    }
}

void ReplaySave::draw(DIB& surface) {
    ReplayScreenBase::draw(surface);
    const System* sys = system();
    if (!sys) return;
    const ReplayIndex& index = sys->replay.index();
    char text[32];
    std::snprintf(text, sizeof text, "Score %9d", std::max(index.score[0], index.score[1]));
    drawGlyphText(menuFont(*sys), ColorKey | Subtract | Mask, kScoreColour, &surface, text, kScoreX,
                  kScoreY);
    if (failureShown > 0) {
        drawGlyphText(smallFont(*sys), ColorKey | Add, 0, &surface, "Save failed", kFailureX,
                      kFailureY);
    }
}

ReplayOverwrite::ReplayOverwrite(int target) : slot(target) {}

void ReplayOverwrite::update() {
    System* sys = system();
    if (!sys) return;
    const bool left = fired(menuLeft());
    const bool right = fired(menuRight());
    if (left || right) {
        choice ^= 1;
        playSound(*sys, SoundManager::kSoundSelect);
    }
    if (fired(menuConfirm())) {
        // "Yes": the save screen that asked, frozen under the question, writes and says how
        // that went.
        if (choice == 0) {
            if (ReplaySave* screen = findFirstInLayer<ReplaySave>(*sys, layer::kScreens)) {
                screen->saveToSlot(slot);
            }
        }
        closeModal(kSilent);
    } else if (fired(menuCancel()) || escapePressed()) {
        closeModal(kSilent);
    }
}

void ReplayOverwrite::draw(DIB& surface) {
    const System* sys = system();
    if (!sys) return;
    drawDialogBand(surface, bandHeight);
    const GlyphFont font = menuFont(*sys);
    drawGlyphText(font, ColorKey | Add, 128, &surface, "Overwrite?", 160, 160);
    drawMenuText(font, surface, "Yes", 190, 200, choice == 0);
    drawMenuText(font, surface, "No", 270, 200, choice == 1);
}

}  // namespace vg
