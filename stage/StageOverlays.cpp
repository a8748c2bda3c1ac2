#include "stage/StageOverlays.h"

#include "core/MapScroll.h"
#include "core/PlayField.h"
#include "core/System.h"
#include "render/Blit.h"
#include "render/ScaledBlit.h"
#include "resources/ImageSlots.h"

namespace vg {

namespace {
constexpr int32_t kCellW = 120;
constexpr int32_t kCellH = 156;
constexpr int32_t kWrapX = 312;
constexpr int32_t kWrapY = 400;
}  // namespace

void BackOver::update() {
    const System* system = systemOf(*this);
    x += kFixedOne / 4;
    if (x > fixedFromInt(kWrapX)) x -= fixedFromInt(kWrapX);
    y -= (system ? mapSpeed(*system) : 0) / 2;
    // A script's map speed is bounded by 16.16, so a few steps always bring y back in range.
    while (y < 0) y += fixedFromInt(kWrapY);
    while (y > fixedFromInt(kWrapY)) y -= fixedFromInt(kWrapY);
}

void BackOver::draw(DIB& surface) {
    System* system = systemOf(*this);
    if (!system) return;
    const DIB* image = &system->imageSlots[kSlotStage];
    const int32_t sx = fixedToInt(x);
    const int32_t sy = fixedToInt(y);
    blitScaled(&surface, image, 0, 0, System::kFieldWidth, System::kFieldHeight, sx, sy, kCellW,
               kCellH, 0, 128);
    const int32_t shakeY = fixedToInt(system->shakeOffsetY) / 2;
    const int32_t mirroredY = ((sy + shakeY + kCellH) % kWrapY + kWrapY) % kWrapY;
    blitScaled(&surface, image, 0, 0, -System::kFieldWidth, System::kFieldHeight, sx, mirroredY,
               kCellW, kCellH, Alpha, 128);
}

void ScreenEffectStage2::update() {
    if (counter < kFullCount) ++counter;
}

void ScreenEffectStage2::draw(DIB& surface) {
    fillRect(&surface, 0, 0, System::kFieldWidth, System::kFieldHeight, 0xff8000, Alpha,
             static_cast<uint32_t>(counter * 128 / kFullCount));
}

void ScreenEffectStage3::draw(DIB& surface) {
    fillRect(&surface, 0, 0, System::kFieldWidth, System::kFieldHeight, 0x000000, Alpha, 80);
}

}  // namespace vg
