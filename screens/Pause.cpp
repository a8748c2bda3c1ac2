#include "screens/Pause.h"

#include "core/GameSound.h"
#include "core/Layers.h"
#include "render/Blit.h"
#include "screens/TitleInit.h"
#include "sound/SoundBank.h"
#include "stage/StageInit.h"

namespace vg {

namespace {
constexpr uint32_t kCoverAlpha = 192;
constexpr int32_t kTitleX = 150;
constexpr int32_t kTitleY = 100;
constexpr int32_t kItemX = 180;
constexpr int32_t kItemY = 200;
constexpr int32_t kItemStep = 40;
constexpr uint32_t kDimItemAlpha = 128;
}  // namespace

void Pause::returnToGame(System& system) {
    system.stageStarted = stageStartedBefore;
    system.resumeNextFrame();
    end();
}

void Pause::leaveStage(System& system) {
    system.endAll();
    system.resumeAll();
    for (int32_t tune : {SoundManager::kMusicStage, SoundManager::kMusicBoss}) {
        system.sound.stopSound(tune);
        system.sound.unloadSound(tune);
    }
}

void Pause::update() {
    System* sys = system();
    if (!sys) return;
    if (frame == 0) {
        // Opening: nothing acts until the menu has been seen.
        if (!opened) {
            opened = true;
            stageStartedBefore = sys->stageStarted;
            sys->stageStarted = 0;
            sys->sound.setSoundVolume(SoundManager::kSoundPause, sys->config.musicVolume);
            playSound(*sys, SoundManager::kSoundPause);
        }
        return;
    }
    MenuList{kItemCount - 1}.handle(*this, *sys, cursor, true);
    if (fired(menuConfirm())) {
        playSound(*sys, SoundManager::kSoundOk);
        switch (cursor) {
            case kItemReturn:
                returnToGame(*sys);
                return;
            case kItemQuit:
                leaveStage(*sys);
                sys->spawnFront<TitleInit>(layer::kScreens);
                return;
            default:
                leaveStage(*sys);
                // A single stage starts over as a fresh single stage.
                if (sys->playMode != 0) sys->playMode = 1;
                sys->spawnFront<StageInit>(layer::kScreens);
                return;
        }
    }
    if (sys->pauseRequested()) returnToGame(*sys);
}

void Pause::draw(DIB& surface) {
    const System* sys = system();
    if (!sys) return;
    if (frame < kFadeDraws) {
        fillRect(&surface, 0, 0, surface.width, surface.height, 0, Alpha,
                 static_cast<uint32_t>(frame * kCoverAlpha / kFadeDraws));
        ++frame;
        return;
    }
    fillRect(&surface, 0, 0, surface.width, surface.height, 0, Alpha, kCoverAlpha);
    const GlyphFont font = menuFont(*sys);
    drawGlyphText(font, ColorKey | Add, 0, &surface, "- Pause -", kTitleX, kTitleY);
    for (int item = 0; item < kItemCount; ++item) {
        const int32_t y = kItemY + kItemStep * item;
        if (item != cursor) {
            drawGlyphText(font, ColorKey | Alpha | Add, kDimItemAlpha, &surface, kItemNames[item],
                          kItemX, y);
            continue;
        }
        drawGlyphText(font, ColorKey | Add, 0, &surface, kItemNames[item], kItemX, y);
        // A growing, fading echo of the chosen item.
        const int32_t k = pulse;
        drawGlyphTextScaled(
            font, ColorKey | Alpha | Add, static_cast<uint32_t>(255 - k * 255 / kPulseSteps),
            &surface, kItemNames[item], kItemX, y - k / 4, font.cellWidth, font.cellHeight + k / 2);
    }
    pulse = (pulse + 1) % kPulseSteps;
    countFrame(frame);
}

}  // namespace vg
