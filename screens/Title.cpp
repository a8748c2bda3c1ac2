#include "screens/Title.h"

#include <cstdint>

#include "core/GameSound.h"
#include "core/Layers.h"
#include "render/Blit.h"
#include "render/Cell.h"
#include "replay/ReplayLoad.h"
#include "screens/ChooseLevel.h"
#include "screens/OptionInit.h"
#include "screens/Score.h"
#include "sound/SoundBank.h"

namespace vg {

namespace {
// Where the menu items of "title.png" stand on the screen.
constexpr int32_t kItemX = 181;
constexpr int32_t kItemY = 192;
constexpr int32_t kItemStep = 28;
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
    blitCell(image, surface, atlas::title::kPicture, 0, 0, 0, Alpha, a);
    // A cursor out of range (never set so) highlights nothing.
    const int8_t cursor = menuMemory().titleCursor;
    for (int32_t i = 0; i < kItemCount; ++i) {
        const int32_t y = kItemY + kItemStep * i;
        blitCell(image, surface, atlas::title::kItem, i, kItemX, y, Alpha, a);
        if (i == cursor) {
            blitCell(image, surface, atlas::title::kItemLit, i, kItemX, y, Alpha, a);
        }
    }
    const atlas::Cell& strip = atlas::title::kStrip;
    const int32_t stripX = surface.width - strip.w;
    const int32_t stripY = surface.height - strip.h;
    if (n > 127) {
        blitCell(image, surface, strip, 0, stripX, stripY, Add);
    } else {
        blitCell(image, surface, strip, 0, stripX, stripY, Add | Alpha,
                 static_cast<uint32_t>(n * 255 / 128));
    }
}

}  // namespace vg
