#include "screens/Title.h"

#include <cstdint>

#include "core/GameSound.h"
#include "core/Layers.h"
#include "render/Blit.h"
#include "replay/ReplayLoad.h"
#include "screens/ChooseLevel.h"
#include "screens/OptionInit.h"
#include "screens/Score.h"
#include "sound/SoundBank.h"

namespace vg {

namespace {
// Cells of "title.png".
constexpr int32_t kItemW = 150;
constexpr int32_t kItemH = 20;
constexpr int32_t kItemSourceY = 384;
constexpr int32_t kItemLitSourceX = 150;
constexpr int32_t kItemX = 181;
constexpr int32_t kItemY = 192;
constexpr int32_t kItemStep = 28;
constexpr int32_t kStripW = 320;
constexpr int32_t kStripH = 20;
constexpr int32_t kStripSourceY = 504;
}  // namespace

void Title::confirm(System& system, int8_t item) {
    switch (item) {
        case kItemGameStart:
            system.stageIndex = 0;
            system.playMode = 0;
            goTo<ChooseLevelInit>(SoundManager::kSoundOk);
            break;
        case kItemStageSelect:
            system.playMode = 1;
            goTo<ChooseLevelInit>(SoundManager::kSoundOk);
            break;
        case kItemReplay:
            goTo<ReplayLoadInit>(SoundManager::kSoundOk);
            break;
        case kItemScore:
            playSound(system, SoundManager::kSoundOk);
            // The title stays until the start task clears the list.
            system.spawnFront<ScoreInit>(layer::kScreens);
            break;
        case kItemOption:
            playSound(system, SoundManager::kSoundOk);
            // The title stays until the start task clears the list.
            system.spawnFront<OptionInit>(layer::kScreens);
            break;
        case kItemExit:
            playSound(system, SoundManager::kSoundOk);
            system.quitRequested = 1;
            break;
        default:
            // No other item exists: the refusal sound, and the title stays.
            playSound(system, SoundManager::kSoundCancel);
            break;
    }
}

void Title::update() {
    System* sys = system();
    if (!sys) return;
    if (n >= 2) {
        int8_t& cursor = menuMemory().titleCursor;
        if (MenuList{kItemCount - 1}.handle(*this, *sys, cursor, false)) {
            sys->idleCountdown = kIdleFrames;
        } else if (fired(menuConfirm())) {
            confirm(*sys, cursor);
        } else if (fired(menuCancel()) || escapePressed()) {
            cursor = kItemExit;
            playSound(*sys, SoundManager::kSoundCancel);
            sys->idleCountdown = kIdleFrames;
        }
        // The System starts the attract mode when this reaches 0; the count only stops short of
        // overflowing.
        if (sys->idleCountdown > INT32_MIN) --sys->idleCountdown;
    }
    countFrame(n);
}

void Title::draw(DIB& surface) {
    const System* sys = system();
    if (!sys) return;
    const DIB& image = sys->imageSlots[kSlotMenuBack];
    const uint32_t a = fadeAlpha(n, 32);
    blit(&image, &surface, 0, 0, surface.width, surface.height, 0, 0, Alpha, a);
    // A cursor out of range (never set so) highlights nothing.
    const int8_t cursor = menuMemory().titleCursor;
    for (int32_t i = 0; i < kItemCount; ++i) {
        const int32_t y = kItemY + kItemStep * i;
        const int32_t sourceY = kItemSourceY + kItemH * i;
        blit(&image, &surface, kItemX, y, kItemW, kItemH, 0, sourceY, Alpha, a);
        if (i == cursor) {
            blit(&image, &surface, kItemX, y, kItemW, kItemH, kItemLitSourceX, sourceY, Alpha, a);
        }
    }
    const int32_t stripX = surface.width - kStripW;
    const int32_t stripY = surface.height - kStripH;
    if (n > 127) {
        blit(&image, &surface, stripX, stripY, kStripW, kStripH, 0, kStripSourceY, Add, 0);
    } else {
        blit(&image, &surface, stripX, stripY, kStripW, kStripH, 0, kStripSourceY, Add | Alpha,
             static_cast<uint32_t>(n * 255 / 128));
    }
}

}  // namespace vg
