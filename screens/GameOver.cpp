#include "screens/GameOver.h"

#include "AtlasCells.h"
#include "core/GameSound.h"
#include "core/System.h"
#include "input/KeyRecord.h"
#include "render/Blit.h"
#include "render/Cell.h"
#include "resources/ImageSlots.h"
#include "screens/ScreenBase.h"
#include "sound/SoundBank.h"
#include "stage/GameFlow.h"

namespace vg {

void GameOver::draw(DIB& surface) {
    System* sys = systemOf(*this);
    if (!sys) return;
    if (frame == 0) {
        sys->stageStarted = 0;
        sys->inStage = 0;
        stopSound(*sys, SoundManager::kMusicStage);
        stopSound(*sys, SoundManager::kMusicBoss);
        startMusic(*sys, "./sound/gameover.ogg", SoundManager::kMusicGameOver);
    }
    const bool shot =
        ((sys->keyRecords[0].buttons | sys->keyRecords[1].buttons) & kButtonShot) != 0;
    if ((frame > kShotAfter && shot) || frame > kLastFrame) {
        sys->endAll();
        if (sys->replay.recording) {
            goToNameEntry(*sys);
        } else {
            goToReplayScreen(*sys);
        }
        end();
        return;
    }
    if (frame >= 1) {
        fillRect(&surface, 0, 0, surface.width, surface.height, 0, Alpha,
                 fadeAlpha(frame, kFadeFrames));
    }
    blitCell(sys->imageSlots[kSlotFrame], surface, atlas::frame::kGameOverBanner, 0, 0, kBannerY,
             Add);
    countFrame(frame);
}

}  // namespace vg
