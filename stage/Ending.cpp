#include "stage/Ending.h"

#include <algorithm>

#include "core/GameRandom.h"
#include "core/GameSound.h"
#include "core/Layers.h"
#include "core/PlayField.h"
#include "core/System.h"
#include "core/TaskQuery.h"
#include "effects/Rings.h"
#include "render/Blit.h"
#include "resources/ImageSlots.h"
#include "sound/SoundBank.h"
#include "stage/GameFlow.h"

namespace vg {

namespace {
// The ending is drawn onto the whole screen.
constexpr int32_t kScreenWidth = 512;
constexpr int32_t kScreenHeight = 384;
constexpr int32_t kRippleSizes[4] = {1024, 512, 128, 256};
// Every button bit above the four directions.
constexpr uint8_t kButtonBits = 0xF0;
}  // namespace

EndingRunner* EndingRunner::find(const TaskManager& manager) {
    return findFirstInLayers<EndingRunner>(manager, layer::kScreens, layer::kFrame);
}

void EndingRunner::finish() {
    if (finished) return;
    finished = 1;
    if (System* system = systemOf(*this)) {
        stopSound(*system, SoundManager::kMusicBoss);
        stopSound(*system, SoundManager::kMusicStage);
    }
}

void EndingRunner::update() {
    System* system = systemOf(*this);
    if (!system) return;
    if (counter < (1 << 30)) ++counter;
    for (int index = 0; index < 2; ++index) {
        const uint8_t pressed =
            latches[index].fresh(system->keyRecords[index].buttons, kButtonBits);
        if (pressed && counter > kFadeFrames) finish();
    }
    if (!finished) return;
    ++closing;
    if (closing > kFadeFrames) {
        system->endAll();
        goToNameEntry(*system);
    }
}

void EndingRunner::draw(DIB& surface) {
    System* system = systemOf(*this);
    if (!system) return;
    if (state != kTaskFrozen) {
        // One draw a statement: the chance, then x, y and size.
        if ((gameRandom().randomNext() & 15) == 0) {
            const int32_t x = static_cast<int32_t>(gameRandom().randomNext() % kScreenWidth);
            const int32_t y = static_cast<int32_t>(gameRandom().randomNext() % kScreenHeight);
            const int32_t size = kRippleSizes[gameRandom().randomNext() & 3];
            system->spawnFront<RippleEffect>(layer::kRipple, fixedFromInt(x), fixedFromInt(y),
                                             size);
        }
    }
    if (counter < kFadeFrames) {
        fillRect(&surface, 0, 0, surface.width, surface.height, 0, Alpha,
                 static_cast<uint32_t>(255 - counter * 255 / kFadeFrames));
    }
    if (finished) {
        fillRect(&surface, 0, 0, surface.width, surface.height, 0, Alpha,
                 static_cast<uint32_t>(std::min(closing * 255 / kFadeFrames, 255)));
    }
}

EndingImage::EndingImage(int16_t x, int16_t y, int16_t width, int16_t height, int16_t sourceX,
                         int16_t sourceY, int16_t duration)
    : x(x),
      y(y),
      width(width),
      height(height),
      sourceX(sourceX),
      sourceY(sourceY),
      duration(duration) {}

void EndingImage::update() {
    ++counter;
    if (counter >= duration) end();
}

void EndingImage::draw(DIB& surface) {
    const System* system = systemOf(*this);
    if (!system || width <= 0 || height <= 0) return;
    const DIB& image = system->imageSlots[kSlotStage];
    int32_t alpha = 255;
    if (counter < 32) alpha = counter * 255 / 32;
    if (duration - counter < 32) alpha = std::min(alpha, (duration - counter) * 255 / 32);
    alpha = std::clamp(alpha, 0, 255);
    const uint32_t mode = alpha < 255 ? ColorKey | Alpha : ColorKey;
    blit(&image, &surface, x, y, width, height, sourceX, sourceY, mode,
         static_cast<uint32_t>(alpha));
}

EndingFont::EndingFont(int16_t x, int16_t sourceX, int16_t sourceY)
    : x(x), sourceX(sourceX), sourceY(sourceY) {}

void EndingFont::update() {
    --y;
    if (y < -33) end();
}

void EndingFont::draw(DIB& surface) {
    const System* system = systemOf(*this);
    if (!system) return;
    blit(&system->imageSlots[kSlotStage], &surface, x - kWidth / 2, y, kWidth, kHeight, sourceX,
         sourceY, ColorKey, 0);
}

}  // namespace vg
