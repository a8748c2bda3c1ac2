#include "replay/ReplayLoad.h"

#include <cstdio>

#include "core/GameSound.h"
#include "core/Layers.h"
#include "effects/Fonts.h"
#include "render/Blit.h"
#include "resources/ImageSlots.h"
#include "screens/TitleInit.h"
#include "sound/SoundBank.h"
#include "stage/StageInit.h"

namespace vg {

namespace {
constexpr int32_t kBoxX = 400;
constexpr int32_t kBoxY = 60;
constexpr int32_t kBoxSize = 100;
constexpr int32_t kLineX = 410;
constexpr int32_t kFirstLineY = 70;
constexpr int32_t kLineStep = 12;
}  // namespace

bool startReplayPlayback(System& system, int stage) {
    ReplayData& replay = system.replay;
    std::array<PlayerRecord, 2> records;
    if (!replay.StartRecords(stage, records)) return false;
    // The player's own choice is kept, to be put back when the playback ends (Reset).
    replay.StartPlayback();
    system.difficulty = replay.index().difficulty;
    system.playMode = 0;
    system.playerRecord = records;
    system.stageIndex = static_cast<uint8_t>(stage);
    system.spawnBack<StageInit>(layer::kScreens);
    return true;
}

void ReplayLoadInit::update() {
    System* system = systemOf(*this);
    end();
    if (!system) return;
    system->endAll();
    system->fieldView = 0;
    system->playMode = 0;
    system->inStage = 0;
    system->stageStarted = 0;
    stopSound(*system, SoundManager::kMusicStage);
    stopSound(*system, SoundManager::kMusicBoss);
    stopSound(*system, SoundManager::kMusicGameOver);
    if (!soundLoaded(*system, SoundManager::kMusicTitle)) {
        startMusic(*system, "./sound/title.ogg", SoundManager::kMusicTitle);
    }
    // Neither recording nor playing back; a playback's play settings go back to the player's.
    system->replay.Reset();
    loadScreenImage(*system, kSlotBackground, "replayBack.png");
    system->spawnFront<ReplayLoad>(layer::kScreens);
}

void ReplayLoad::update() {
    System* sys = system();
    if (!sys) return;
    buildListOnce();
    ReplayScreenBase::update();
    moveCursor(*sys);
    if (fired(menuConfirm())) {
        const ReplayListEntry* entry = entryForSlot(cursor + 1);
        if (!entry) {
            playSound(*sys, SoundManager::kSoundCancel);
            return;
        }
        // The list stays under the stage choice, suspended; the buttons that open and close
        // the choice must be let go before the list acts again.
        sys->freezeLayer(layer);
        sys->spawnBack<ReplayLoadStageSelect>(layer,
                                              ReplayData::FolderPath(entry->fileName.c_str()),
                                              entry->stageMask, entry->damagedMask);
        resetHoldCounters();
        playSound(*sys, SoundManager::kSoundOk);
    } else if (fired(menuCancel()) || escapePressed()) {
        goTo<TitleInit>(SoundManager::kSoundCancel);
    }
}

ReplayLoadStageSelect::ReplayLoadStageSelect(std::string file, uint8_t mask, uint8_t damaged)
    : path(std::move(file)), stageMask(mask), damagedMask(damaged) {
    // The lowest stage the file holds.
    for (int stage = 0; stage < kStages; ++stage) {
        if (stageMask & (1u << stage)) {
            cursor = stage;
            break;
        }
    }
}

int ReplayLoadStageSelect::nextHeldStage(int from, int step) const {
    int stage = from;
    for (int tries = 0; tries < 10; ++tries) {
        stage = (stage + step + kStages) % kStages;
        if (stageMask & (1u << stage)) return stage;
    }
    return from;
}

std::string ReplayLoadStageSelect::lineText(int stage) const {
    if (stage < 0 || stage >= kStages) return "---------";
    if (!(stageMask & (1u << stage))) {
        return (damagedMask & (1u << stage)) ? ReplayScreenBase::kDamaged : "---------";
    }
    char text[16];
    std::snprintf(text, sizeof text, "stage%d", stage + 1);
    return text;
}

void ReplayLoadStageSelect::watch(System& system) {
    // A file that changed or broke since the list was read is refused here, and the choice
    // stays open.
    if (!system.replay.Load(path.c_str()) || !system.replay.HasStage(cursor)) {
        system.replay.Reset();
        playSound(system, SoundManager::kSoundCancel);
        return;
    }
    playSound(system, SoundManager::kSoundOk);
    system.endAll();
    startReplayPlayback(system, cursor);
    end();
}

void ReplayLoadStageSelect::update() {
    System* sys = system();
    if (!sys) return;
    if (fired(menuUp())) {
        cursor = nextHeldStage(cursor, -1);
        playSound(*sys, SoundManager::kSoundSelect);
    } else if (fired(menuDown())) {
        cursor = nextHeldStage(cursor, +1);
        playSound(*sys, SoundManager::kSoundSelect);
    }
    if (fired(menuConfirm())) {
        watch(*sys);
    } else if (fired(menuCancel()) || escapePressed()) {
        closeModal(SoundManager::kSoundCancel);
    }
}

void ReplayLoadStageSelect::draw(DIB& surface) {
    const System* sys = system();
    if (!sys) return;
    fillRect(&surface, kBoxX, kBoxY, kBoxSize, kBoxSize, 0, Alpha, 192);
    const GlyphFont font = smallFont(*sys);
    for (int stage = 0; stage < kStages; ++stage) {
        const std::string text = lineText(stage);
        drawGlyphText(font, ColorKey | Alpha | Add, stage == cursor ? 255 : 128, &surface,
                      text.c_str(), kLineX, kFirstLineY + kLineStep * stage);
    }
}

}  // namespace vg
