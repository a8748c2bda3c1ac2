#include "stage/Scenery.h"

#include <algorithm>

#include "AtlasCells.h"
#include "core/FixedMath.h"
#include "core/GameSound.h"
#include "core/Layers.h"
#include "core/MapScroll.h"
#include "core/PlayField.h"
#include "core/System.h"
#include "core/TaskQuery.h"
#include "effects/Rings.h"
#include "enemy/Bullet.h"
#include "enemy/EnemyCommon.h"
#include "player/Pickups.h"
#include "player/PlayerBase.h"
#include "render/Blit.h"
#include "render/Cell.h"
#include "resources/ImageSlots.h"
#include "sound/SoundBank.h"

namespace vg {

namespace {

// Whether `value` (16.16) lies within lo..hi whole pixels, bounds included.
bool within(int32_t value, int32_t lo, int32_t hi) {
    return value >= fixedFromInt(lo) && value <= fixedFromInt(hi);
}

// Kinds 0..2 are opaque, 3..5 the same pictures at half alpha; others draw nothing.
bool cloudLook(int16_t kind, int32_t& picture, uint32_t& mode, uint32_t& alpha) {
    if (kind < 0 || kind > 5) return false;
    picture = kind % 3;
    mode = kind < 3 ? ColorKey : ColorKey | Alpha;
    alpha = kind < 3 ? 255 : 128;
    return true;
}

}  // namespace

BackObject::BackObject(int32_t x, int32_t y, int16_t width, int16_t height, int16_t sourceX,
                       int16_t sourceY)
    : x(x), y(y), width(width), height(height), sourceX(sourceX), sourceY(sourceY) {}

void BackObject::update() {
    const System* system = systemOf(*this);
    y = addClamped(y, system ? mapSpeed(*system) : 0);
    if (y > fixedFromInt(System::kFieldHeight)) end();
}

void BackObject::draw(DIB& surface) {
    const System* system = systemOf(*this);
    if (!system || width <= 0 || height <= 0) return;
    blit(&system->imageSlots[kSlotStage], &surface, screenX(*system, x), screenY(*system, y), width,
         height, sourceX, sourceY, ColorKey, 128);
}

Cloud::Cloud(int32_t x, int32_t y, int32_t direction, int32_t speed, int16_t kind)
    : x(x),
      y(y),
      vx(fixedMul(cosFixed(direction), speed)),
      vy(fixedMul(sinFixed(direction), speed)),
      kind(kind) {}

void Cloud::update() {
    x = addClamped(x, vx);
    y = addClamped(y, vy);
    if (!within(x, -252, 492) || !within(y, -200, 584)) end();
}

void Cloud::draw(DIB& surface) {
    const System* system = systemOf(*this);
    int32_t picture = 0;
    uint32_t mode = 0;
    uint32_t alpha = 0;
    if (!system || !cloudLook(kind, picture, mode, alpha)) return;
    const atlas::Cell& cell = atlas::enemy::kCloud;
    blitCellScaledCentred(system->imageSlots[kSlotEnemy], surface, cell, picture,
                          screenX(*system, x), screenY(*system, y), cell.w * 2, cell.h * 2, mode,
                          alpha);
}

void CloudEx::update() {
    x = addClamped(x, vx);
    y = addClamped(y, vy);
    if (!within(x, -100, 340) || !within(y, -100, 484)) end();
}

void CloudEx::draw(DIB& surface) {
    const System* system = systemOf(*this);
    int32_t picture = 0;
    uint32_t mode = 0;
    uint32_t alpha = 0;
    if (!system || !cloudLook(kind, picture, mode, alpha)) return;
    static constexpr const atlas::Cell* kSquares[] = {
        &atlas::enemy::kCloudSquare0, &atlas::enemy::kCloudSquare1, &atlas::enemy::kCloudSquare2};
    blitCellCentred(system->imageSlots[kSlotEnemy], surface, *kSquares[picture], 0,
                    screenX(*system, x), screenY(*system, y), mode, alpha);
}

Hole::Hole(int32_t x, int32_t y, int32_t speed, int16_t size, bool followsMap)
    : x(x), y(y), speed(speed), fillTarget(size), followsMap(followsMap ? 1 : 0) {}

void Hole::update() {
    System* system = systemOf(*this);
    const int32_t step = followsMap ? (system ? mapSpeed(*system) : 0) : speed;
    y = addClamped(y, step);
    if (system) check(*system);
    ++frameCounter;
    if (y > fixedFromInt(420)) end();
}

void Hole::check(System& system) {
    absorbed = 0;
    const HitBox box{-kHalfSize, -kHalfSize, kHalfSize, kHalfSize};
    const int32_t hx = fixedToInt(x);
    const int32_t hy = fixedToInt(y);
    if (!filled()) {
        // One step per ship over the hole per frame; the bonus is paid once, on the frame the
        // count first reaches the target.
        for (int index = 0; index < 2 && !filled(); ++index) {
            PlayerBase* ship = PlayerBase::find(system, index);
            if (!ship || ship->lifeState == PlayerState::Dying) continue;
            if (!boxesMeet(ship->fieldX(system), ship->fieldY(), ship->hitBox, hx, hy, box)) {
                continue;
            }
            ++fillCount;
            ship->addScore(kFillScore);
            if (filled()) payBonus(system);
        }
        return;
    }
    if (frameCounter % 4 != 0) return;
    forEachInLayer<BulletBase>(system, layer::kBullet, [&](BulletBase& bullet) {
        if (!boxesMeet(fixedToInt(bullet.x), fixedToInt(bullet.y), bullet.hitBox, hx, hy, box)) {
            return;
        }
        system.spawnFront<Crystal>(layer::kCrystal, x, y, uint8_t{1}, uint8_t{1}, int16_t{0});
        absorbed = 1;
    });
}

void Hole::payBonus(System& system) {
    for (int index = 0; index < 2; ++index) {
        PlayerBase* ship = PlayerBase::find(system, index);
        if (!ship) continue;
        ship->addScore(kFillBonus);
        if (ship->combo < PlayerBase::kMaxCombo) ++ship->combo;
        ship->maxCombo = std::max(ship->maxCombo, ship->combo);
        ship->comboTimer =
            static_cast<int16_t>(std::clamp(ship->comboTimer + PlayerBase::kMaxComboTimer, 0,
                                            static_cast<int>(PlayerBase::kMaxComboTimer)));
    }
    system.spawnBack<RingEffect>(layer::kEffect, x, y, 32, 200, 0);
    playSound(system, SoundManager::kSoundOk);
}

void Hole::draw(DIB& surface) {
    const System* system = systemOf(*this);
    if (!system || fillTarget == 0) return;
    const int32_t dots = std::clamp(fillCount * 16 / fillTarget, 0, 16);
    const int32_t cx = screenX(*system, x);
    const int32_t cy = screenY(*system, y);
    const uint32_t mode = absorbed ? Subtract : Add;
    for (int32_t k = 0; k < dots; ++k) {
        // rotation + 22.5 k degrees, in 16.16.
        const int32_t angle = fixedFromInt(rotation) + k * (45 << 15);
        const int32_t dx = fixedToInt(fixedMul(cosFixed(angle), fixedFromInt(24)));
        const int32_t dy = fixedToInt(fixedMul(sinFixed(angle), fixedFromInt(24)));
        blitCellCentred(system->imageSlots[kSlotEnemy], surface, atlas::enemy::kHoleDot, 0, cx + dx,
                        cy + dy, mode, 128);
    }
    // The ring turns as it is shown; a frozen field (the pause) keeps it still.
    if (state != kTaskFrozen) rotation = static_cast<int16_t>((rotation + 8) % 360);
}

}  // namespace vg
