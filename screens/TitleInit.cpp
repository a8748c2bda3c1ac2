#include "screens/TitleInit.h"

#include "core/GameSound.h"
#include "core/Layers.h"
#include "screens/ScreenBase.h"
#include "screens/Title.h"
#include "sound/SoundBank.h"

namespace vg {

void TitleInit::update() {
    System* system = systemOf(*this);
    end();
    if (!system) return;
    system->endAll();
    system->idleCountdown = Title::kIdleFrames;
    system->fieldView = 0;
    system->inStage = 0;
    // Neither recording nor playing back; a playback's play settings go back to the player's.
    system->replay.Reset();
    stopSound(*system, SoundManager::kMusicStage);
    stopSound(*system, SoundManager::kMusicBoss);
    stopSound(*system, SoundManager::kMusicGameOver);
    // Coming back from the options or the scores, the tune plays on.
    if (!soundLoaded(*system, SoundManager::kMusicTitle)) {
        startMusic(*system, "./sound/title.ogg", SoundManager::kMusicTitle);
    }
    loadScreenImage(*system, kSlotMenuBack, "title.png");
    system->spawnFront<Title>(layer::kScreens);
}

}  // namespace vg
