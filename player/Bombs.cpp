#include "player/Bombs.h"

#include <algorithm>

#include "core/FixedMath.h"
#include "core/GameSound.h"
#include "core/Layers.h"
#include "core/System.h"
#include "core/TaskQuery.h"
#include "enemy/Bullet.h"
#include "input/KeyRecord.h"
#include "player/Pickups.h"
#include "player/PlayerBase.h"
#include "player/ShipEffects.h"
#include "render/Blend.h"
#include "render/Cell.h"
#include "resources/ImageSlots.h"
#include "sound/SoundBank.h"

namespace vg {

namespace {

constexpr HitBox kBombBox{-128, -128, 128, 128};
constexpr HitBox kBomb2Box{-64, -64, 64, 64};
constexpr uint16_t kBombLastFrame = 80;
constexpr uint16_t kBomb2LastFrame = 220;
constexpr int32_t kInvincibleFrames = 180;
constexpr int kEffectsPerFrame = 4;
constexpr uint8_t kAnimationSteps = 6;

// The common step of both bombs: move, turn the bullets under the blast into energy, throw
// sparks, and on the first frame the blast's sound. Returns the new frame counter.
template <class Spark>
uint16_t bombStep(BombBase& bomb, uint16_t counter) {
    bomb.x += bomb.vx;
    bomb.y += bomb.vy;
    System* sys = systemOf(bomb);
    if (!sys) return counter;
    const int32_t bx = fixedToInt(bomb.x);
    const int32_t by = fixedToInt(bomb.y);
    forEachInLayer<Bullet>(*sys, layer::kBullet, [&](Bullet& bullet) {
        if (bullet.type == kBulletCancelled) return;
        if (!boxesMeet(bx, by, bomb.hitBox, fixedToInt(bullet.x), fixedToInt(bullet.y),
                       bullet.hitBox)) {
            return;
        }
        sys->spawnFront<Energy>(layer::kEnergy, bullet.x, bullet.y);
        bullet.cancel();
    });
    for (int i = 0; i < kEffectsPerFrame; ++i) {
        sys->spawnFront<Spark>(layer::kEffect, bomb.x, bomb.y);
    }
    if (counter == 0) playSound(*sys, SoundManager::kSoundBomb);
    return static_cast<uint16_t>(counter + 1);
}

void drawBomb(const BombBase& bomb, DIB& surface, const atlas::Cell& cell, uint8_t step,
              int32_t size, uint32_t mode) {
    const System* sys = systemOf(bomb);
    if (!sys || size <= 0) return;
    blitCellScaledCentred(sys->imageSlots[kSlotShip], surface, cell,
                          std::min<int32_t>(step / 2, cell.frames - 1), screenX(*sys, bomb.x),
                          screenY(*sys, bomb.y), size, size, mode);
}

}  // namespace

Bomb::Bomb(int32_t x0, int32_t y0, int32_t angle, uint8_t ownerIndex)
    : BombBase(x0, y0, kFixedOne, angle, ownerIndex, kBombBox) {}

void Bomb::update() {
    counter = bombStep<BombEffect>(*this, counter);
    if (counter > kBombLastFrame) end();
}

void Bomb::draw(DIB& surface) {
    // Grows over the first 16 frames, then throbs between two sizes.
    const int32_t size = counter <= 15 ? counter * 320 / 16 : animationStep % 4 == 0 ? 160 : 320;
    drawBomb(*this, surface, atlas::ship::kBomb, animationStep, size, ColorKey | Add);
    // A frozen game is drawn without moving on.
    if (state == kTaskActive)
        animationStep = static_cast<uint8_t>((animationStep + 1) % kAnimationSteps);
}

Bomb2::Bomb2(int32_t x0, int32_t y0, int32_t angle, uint8_t ownerIndex)
    : BombBase(x0, y0, kFixedOne / 4, angle, ownerIndex, kBomb2Box) {
    damage = 100;
}

void Bomb2::update() {
    counter = bombStep<Bomb2Effect>(*this, counter);
    if (counter > kBomb2LastFrame) end();
}

void Bomb2::draw(DIB& surface) {
    int32_t size = animationStep % 4 == 0 ? 128 : 144;
    // Size x counter / 16 while it opens (counter / 16 alone would be 0 for 16 frames).
    if (counter < 16) size = size * counter / 16;
    drawBomb(*this, surface, atlas::ship::kBomb2, animationStep, size, ColorKey | Subtract);
    if (state == kTaskActive)
        animationStep = static_cast<uint8_t>((animationStep + 1) % kAnimationSteps);
}

void launchBomb(PlayerBase& ship, BombKind kind) {
    System* sys = systemOf(ship);
    if (!sys) return;
    const uint8_t buttons = ship.buttons();
    // An ended bomb keeps its layer until the next update pass removes it, so with the button
    // held the next bomb goes off in the frame after the last one ended.
    if (!(buttons & kButtonBomb) || sys->firstOfLayer(layer::kBomb) != nullptr || ship.bombs < 1) {
        return;
    }
    ship.bombs = static_cast<int8_t>(ship.bombs - 1);

    const bool up = buttons & kButtonUp;
    const bool down = buttons & kButtonDown;
    const bool left = buttons & kButtonLeft;
    const bool right = buttons & kButtonRight;
    const bool leftOnly = left && !right;
    const bool rightOnly = right && !left;
    const bool second = kind == BombKind::Bomb2;
    int32_t degrees = 270;
    if (leftOnly) {
        degrees = second ? 200 : 230;
    } else if (rightOnly) {
        degrees = second ? 340 : 300;
    } else if (down && !up) {
        degrees = second ? 90 : 270;
    }
    const int32_t bx = fixedFromInt(ship.fieldX(*sys));
    if (second) {
        sys->spawnFront<Bomb2>(layer::kBomb, bx, ship.y, fixedFromInt(degrees), ship.playerIndex);
    } else {
        sys->spawnFront<Bomb>(layer::kBomb, bx, ship.y, fixedFromInt(degrees), ship.playerIndex);
    }

    for (int index = 0; index < 2; ++index) {
        PlayerBase* player = PlayerBase::find(*sys, index);
        if (player && player->inPlay()) {
            player->lifeState = PlayerState::Invincible;
            player->stateTimer = kInvincibleFrames;
        }
    }
    ship.lifeState = PlayerState::Invincible;
    ship.stateTimer = kInvincibleFrames;
}

}  // namespace vg
