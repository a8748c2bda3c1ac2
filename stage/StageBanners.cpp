#include "stage/StageBanners.h"

#include <algorithm>

#include "AtlasCells.h"
#include "core/GameRandom.h"
#include "core/GameSound.h"
#include "core/Layers.h"
#include "core/System.h"
#include "core/TaskQuery.h"
#include "enemy/Bullet.h"
#include "panels/OutFrame.h"
#include "player/PlayerBase.h"
#include "render/Blit.h"
#include "render/Cell.h"
#include "resources/ImageSlots.h"
#include "sound/SoundBank.h"
#include "stage/StageInit.h"

namespace vg {

StageTop::StageTop(uint8_t index) : stageIndex(index) {}

void StageTop::update() {
    System* system = systemOf(*this);
    if (!system) return;
    forEachInLayer<BulletBase>(*system, layer::kBullet,
                               [](BulletBase& bullet) { bullet.cancel(); });
    if (counter > kLastCount) {
        system->stageStarted = 1;
        end();
        return;
    }
    ++counter;
}

void StageTop::draw(DIB& surface) {
    const System* system = systemOf(*this);
    if (!system) return;
    constexpr int32_t kHeight = System::kFieldHeight;
    if (state != kTaskFrozen) {
        if (counter < 128) {
            barGap += (fixedFromInt(100) - barGap) / 16;
            titleX += (fixedFromInt(140) - titleX) / 40;
        } else {
            barGap += (fixedFromInt(kHeight) - barGap) / 16;
            titleX += (fixedFromInt(600) - titleX) / 16;
        }
    }
    const int32_t gap = fixedToInt(barGap);
    fillRect(&surface, 0, 0, System::kFieldWidth, (kHeight - gap) / 2, 0, 0, 128);
    fillRect(&surface, 0, (kHeight + gap) / 2, System::kFieldWidth, (kHeight - gap) / 2 + 1, 0, 0,
             128);
    const atlas::Cell& label = atlas::frame::kStageLabel;
    if (stageIndex < label.frames) {
        blitCell(system->imageSlots[kSlotFrame], surface, label, stageIndex,
                 (fixedToInt(titleX) - 80) / 2, 280, ColorKey | Add, 128);
    }
}

void Warning::update() {
    System* system = systemOf(*this);
    if (!system) return;
    if (counter == 0) stopSound(*system, SoundManager::kMusicStage);
    if (counter == 0 || counter == 60 || counter == 120) {
        playSound(*system, SoundManager::kSoundWarning);
    }
    ++counter;
    if (counter > kLastCount) end();
}

void Warning::draw(DIB& surface) {
    const System* system = systemOf(*this);
    if (!system) return;
    const atlas::Cell& banner = atlas::frame::kWarningBanner;
    const DIB& sheet = system->imageSlots[kSlotFrame];
    const int32_t y = (System::kFieldHeight - banner.h) / 2;
    if (counter <= kJitterEnd) {
        if (jitterCounter != counter) {
            jitterCounter = counter;
            // One draw a statement, in this order: near x, near y, far x, far y.
            jitter[0] = static_cast<int32_t>(gameRandom().randomNext() & 15) - 7;
            jitter[1] = static_cast<int32_t>(gameRandom().randomNext() & 15) - 7;
            jitter[2] = static_cast<int32_t>(gameRandom().randomNext() & 31) - 15;
            jitter[3] = static_cast<int32_t>(gameRandom().randomNext() & 31) - 15;
        }
        blitCell(sheet, surface, banner, 0, jitter[0], y + jitter[1], ColorKey | Subtract, 128);
        blitCell(sheet, surface, banner, 0, jitter[2], y + jitter[3], ColorKey | Add, 128);
        blitCell(sheet, surface, banner, 0, 0, y, ColorKey | Add, 128);
        return;
    }
    const int32_t alpha = std::clamp((kJitterEnd - counter) * 255 / 16 + 256, 0, 255);
    blitCell(sheet, surface, banner, 0, 0, y, ColorKey | Alpha | Add, static_cast<uint32_t>(alpha));
}

void StageComplete::update() {
    System* system = systemOf(*this);
    if (!system) return;
    switch (counter) {
        case 0: {
            system->stageStarted = 0;
            // The pause stays shut from here on: a retry now would start the stage again from
            // the values earned in it.
            system->inStage = 0;
            for (int index = 0; index < 2; ++index) {
                PlayerRecord& record = system->playerRecord[index];
                if (PlayerBase* ship = PlayerBase::find(*system, index)) {
                    ship->enterAutopilot(record);
                } else if (record.lives >= 0) {
                    // A player who lost the last ship during the stage is out of the game from
                    // here on (until joining again), not back at the next stage with the lives of
                    // this stage's start; the score carried on is the one reached.
                    record.lives = -1;
                    record.score = record.finalScore;
                }
            }
            if (OutFrame* frame = OutFrame::find(*system)) {
                frame->startClosing();
            }
            break;
        }
        case 31:
            system->endLayersUpTo(layer::kFrame);
            stopSound(*system, SoundManager::kMusicBoss);
            stopSound(*system, SoundManager::kMusicStage);
            break;
        case 32:
            if (system->observer) system->observer->stageCompleted(*system);
            system->replay.EndStage(system->playerRecord[0].score, system->playerRecord[1].score,
                                    system->stageIndex);
            system->endAll();
            if (system->stageIndex < 255) ++system->stageIndex;
            system->spawnFront<StageInit>(layer::kScreens);
            end();
            return;
        default:
            break;
    }
    ++counter;
}

void StageComplete::draw(DIB& surface) {
    if (counter < 1) return;
    const int32_t alpha = std::min(counter * 255 / 31, 255);
    fillRect(&surface, 0, 0, surface.width, surface.height, 0, Alpha, static_cast<uint32_t>(alpha));
}

}  // namespace vg
