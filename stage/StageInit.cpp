#include "stage/StageInit.h"

#include <algorithm>

#include "core/GameRandom.h"
#include "core/GameSound.h"
#include "core/Layers.h"
#include "core/System.h"
#include "effects/BlackFrame.h"
#include "enemy/EnemyBase.h"
#include "enemy/ShadowRender.h"
#include "panels/ComboFrame.h"
#include "panels/LaserFrame.h"
#include "panels/OutFrame.h"
#include "player/Pickups.h"
#include "player/PlayerBase.h"
#include "player/PlayerCollision.h"
#include "player/PlayerShadowRender.h"
#include "player/Ships.h"
#include "resources/ImageSlots.h"
#include "resources/Package.h"
#include "resources/Png.h"
#include "sound/SoundBank.h"
#include "stage/Back.h"
#include "stage/Ending.h"
#include "stage/GameFlow.h"
#include "stage/StageBanners.h"
#include "stage/StageControl.h"
#include "stage/StageOverlays.h"
#include "stage/StageScript.h"
#include "stage/StageTable.h"

namespace vg {

namespace {

void stopTunes(System& system) {
    stopSound(system, SoundManager::kMusicStage);
    stopSound(system, SoundManager::kMusicBoss);
    stopSound(system, SoundManager::kMusicGameOver);
    stopSound(system, SoundManager::kMusicTitle);
}

void spawnScreenEffect(System& system, StageScreenEffect effect) {
    switch (effect) {
        case StageScreenEffect::Stage2:
            system.spawnFront<ScreenEffectStage2>(layer::kScreenEffect);
            break;
        case StageScreenEffect::Stage3:
            system.spawnFront<ScreenEffectStage3>(layer::kScreenEffect);
            break;
        case StageScreenEffect::None:
            break;
    }
}

// The standing tasks a stage's table asks for, in this order: the screen effect, the map and
// what drifts under it (each at the front of layer 1, so the BackOver is drawn first), the
// shadow renderers.
void spawnStageTasks(System& system, const StageTable& table) {
    spawnScreenEffect(system, table.screenEffect);
    system.spawnFront<Back>(layer::kBack, table.backVariant);
    if (table.backOver) system.spawnFront<BackOver>(layer::kBack);
    if (table.shadows) {
        system.spawnFront<PlayerShadowRender>(layer::kShadow);
        system.spawnFront<ShadowRender>(layer::kShadow);
        system.spawnFront<ItemShadowRender>(layer::kShadow);
    }
}

void loadPicture(System& system, PackageReader& package, const char* name, int slot) {
    // A missing picture empties the slot rather than leaving the menu's or the last stage's
    // picture there to be cut up as scenery; the stage plays on (the map shows black).
    if (!loadImage(name, package, system.scratchArena, system.imageSlots[slot])) {
        system.imageSlots[slot].release();
    }
}

}  // namespace

void StageInit::recordFinishedGame(System& system) {
    Config& config = system.config;
    config.gameCleared = 1;
    if (system.difficulty == 3) config.extraCleared = 1;
    if (system.difficulty >= kDifficultyCount) return;
    for (const PlayerRecord& record : system.playerRecord) {
        // A continued game's score ends in the continue count, so it earns no mark.
        if (record.present() && record.finalScore % 10 == 0) {
            config.clearMarks[system.difficulty] |= static_cast<uint8_t>(1u << record.shipType);
        }
    }
}

void StageInit::recordProgress(System& system) {
    const int reached = static_cast<int>(system.stageIndex) - 1;
    if (reached > system.config.furthestStage) {
        system.config.furthestStage = static_cast<uint8_t>(std::min(reached, 255));
    }
}

void StageInit::update() {
    System* system = systemOf(*this);
    end();
    if (!system) return;
    const bool recording = system->replay.recording != 0;
    if (system->stageIndex >= kStageCount && system->playMode == 0 && recording) {
        recordFinishedGame(*system);
    }
    if (system->playMode == 0 && recording) recordProgress(*system);

    if (system->stageIndex >= kStageCount || system->playMode == 2) {
        if (system->replay.playingBack) {
            goToReplayScreen(*system);
        } else if (recording) {
            stopTunes(*system);
            if (system->playMode != 0) {
                goToNameEntry(*system);
            } else {
                startEnding(*system);
            }
        } else {
            goToTitle(*system);
        }
        return;
    }
    if (system->replay.playingBack && !system->replay.HasStage(system->stageIndex)) {
        goToReplayScreen(*system);
        return;
    }
    startStage(*system);
}

void StageInit::startStage(System& system) {
    system.endLayersUpTo(layer::kPause);
    system.fieldView = 1;
    if (system.playMode != 0) system.playMode = 2;
    system.inStage = 1;
    system.fieldScroll = fixedFromInt(16);
    system.shakeOffsetX = 0;
    system.shakeOffsetY = 0;
    stopTunes(system);

    // Every stage starts from the same random state and serial numbers: with the recorded
    // input, that is what makes a stage repeat exactly.
    resetEnemySerials();
    gameRandom().randomSeed(GameRandom::kDefaultSeed);

    const uint8_t stage = system.stageIndex;
    system.spawnFront<PlayerCollision>(layer::kPlayerCollision);
    system.spawnFront<ComboFrame>(layer::kFrame);
    system.spawnFront<LaserFrame>(layer::kFrame);
    system.spawnFront<BlackFrame>(layer::kFrame);
    system.spawnFront<OutFrame>(layer::kOutFrame);
    StageControl* control = system.spawnBack<StageControl>(layer::kStageControl);
    system.spawnFront<StageTop>(layer::kBanner, stage);

    const StageTable& table = stageTable(stage);
    PackageReader package;
    package.openPackage("data.pck");
    loadPicture(system, package, table.stageImage, kSlotStage);
    loadPicture(system, package, table.backImage, kSlotBackground);
    system.sound.loadMusic(table.stageTune, SoundManager::kMusicStage);
    system.sound.loadMusic(table.bossTune, SoundManager::kMusicBoss);
    if (control) {
        if (!system.testStageScript.empty()) {
            loadStageScriptFile(system.testStageScript.c_str(), control, &system.scratchArena,
                                &table);
        } else {
            LoadStageScript(&package, control, table.script(system.difficulty),
                            &system.scratchArena);
        }
    }
    spawnStageTasks(system, table);
    package.closePackage();

    if (system.replay.playingBack) {
        // A replay starts each stage from the records it was recorded with, whatever the last
        // stage left behind. Their final-score field holds the stage's end; the start is the
        // score.
        const ReplayStage& recorded = system.replay.stageRecord(stage);
        for (int index = 0; index < 2; ++index) {
            system.playerRecord[index] = recorded.player[index];
            system.playerRecord[index].finalScore = recorded.player[index].score;
        }
    }
    for (uint8_t index = 0; index < 2; ++index) {
        const PlayerRecord& record = system.playerRecord[index];
        if (!record.present()) continue;
        if (PlayerBase* ship = createShip(system, record.shipType, index)) {
            ship->restoreFromRecord(record);
        }
    }
    system.replay.BeginStage(system.difficulty, stage, system.playerRecord[0],
                             system.playerRecord[1]);
    system.sound.setSoundVolume(SoundManager::kMusicStage, system.config.musicVolume);
    system.sound.setSoundVolume(SoundManager::kMusicBoss, system.config.musicVolume);
    playSound(system, SoundManager::kMusicStage);
    if (system.observer) system.observer->stageStarted(system);
}

void StageInit::startEnding(System& system) {
    system.endLayersUpTo(layer::kAttract);
    system.fieldView = 0;
    system.inStage = 0;
    system.shakeOffsetX = 0;
    system.shakeOffsetY = 0;
    system.fieldScroll = 0;

    PackageReader package;
    package.openPackage("data.pck");
    loadPicture(system, package, "ending.png", kSlotStage);
    loadPicture(system, package, "endingBack.png", kSlotBackground);
    system.sound.loadMusic("./sound/ending.ogg", SoundManager::kMusicStage);
    system.spawnFront<Back>(layer::kBack, uint8_t{0});
    system.spawnFront<EndingRunner>(layer::kFrame);
    StageControl* control = system.spawnBack<StageControl>(layer::kStageControl);
    const bool loaded =
        control && LoadStageScript(&package, control, "ending.dat", &system.scratchArena);
    if (loaded) {
        system.sound.setSoundVolume(SoundManager::kMusicStage, system.config.musicVolume);
        playSound(system, SoundManager::kMusicStage);
    } else {
        system.endAll();
        goToNameEntry(system);
    }
    package.closePackage();
}

}  // namespace vg
