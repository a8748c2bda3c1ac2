#include "player/ShipBase.h"

#include <algorithm>
#include <cstdlib>

#include "core/GameSound.h"
#include "core/Layers.h"
#include "core/System.h"
#include "core/TaskQuery.h"
#include "enemy/EnemyBase.h"
#include "input/KeyRecord.h"
#include "player/ShipEffects.h"
#include "render/Blit.h"
#include "render/Cell.h"
#include "resources/ImageSlots.h"

namespace vg {

namespace {

namespace cells = atlas::ship;

// Beams by power 0..5.
constexpr int32_t kBeamDamage[6] = {40, 45, 55, 60, 70, 160};
constexpr int16_t kBeamHalfWidth[6] = {2, 3, 4, 5, 6, 20};
// A beam's top stops this far above the field.
constexpr int32_t kBeamCeiling = -23;
// The wide beam's texture runs up 16 rows a frame through its 320-row cycle.
constexpr int32_t kBeamScroll = 16;
constexpr int32_t kBeamTexture = 320;

constexpr int16_t kHoldLimit = 64;
constexpr uint8_t kTapQueue = 12;
// Laser shots leave from the 6th held frame on, every 4th frame.
constexpr int16_t kLaserShotsFrom = 6;

// Crystal glow colours by crystals taken.
uint32_t glowColour(int32_t crystals) {
    return crystals < 512 ? 0x0000ff : crystals < 1024 ? 0x007fff : 0xffffff;
}

int32_t stepToward(int32_t value, int32_t target) {
    return value < target ? value + 1 : value > target ? value - 1 : value;
}

// Rows `length` high of a vertical strip cell, bottom at `bottom`, centred on `centreX`. The
// texture is anchored at the bottom and has run `scroll` rows upward; it repeats every
// kBeamTexture rows.
void drawStrip(const DIB& sheet, DIB& surface, const atlas::Cell& cell, int32_t frame,
               int32_t centreX, int32_t bottom, int32_t length, int32_t scroll) {
    const int32_t left = centreX - cell.w / 2;
    const int32_t sx = cell.frameX(frame);
    const int32_t sy = cell.frameY(frame);
    for (int32_t done = 0; done < length;) {
        // Rows of the texture counted up from its bottom row.
        const int32_t row = ((done - scroll) % kBeamTexture + kBeamTexture) % kBeamTexture;
        const int32_t rows = std::min(length - done, kBeamTexture - row);
        blit(&sheet, &surface, left, bottom - done - rows, cell.w, rows, sx,
             sy + kBeamTexture - row - rows, ColorKey | Add, 0);
        done += rows;
    }
}

}  // namespace

ShipBase::ShipBase(uint8_t index, const ShipTraits& traits) : PlayerBase(index), traits_(traits) {
    speed = traits.normalSpeed;
    maxShots = traits.maxShots[0];
    for (uint8_t side = 0; side < 2; ++side) {
        options[side].side = side;
        options[side].beam.owner = index;
    }
    placeOptionsAtShip();
}

int32_t ShipBase::shipFieldX() const {
    const System* sys = system();
    return sys ? fixedFromInt(fieldX(*sys)) : x;
}

int32_t ShipBase::optionFieldX(const ShipOption& option) const {
    if (!traits_.optionsInView) return option.x;
    const System* sys = system();
    return sys ? fixedFromInt(fieldXOfView(*sys, option.x)) : option.x;
}

int32_t ShipBase::optionScreenX(const ShipOption& option) const {
    const System* sys = system();
    if (!sys) return fixedToInt(option.x);
    if (traits_.optionsInView) return screenXOfView(*sys, option.x);
    return screenX(*sys, option.x);
}

int32_t ShipBase::optionScreenY(const ShipOption& option) const {
    const System* sys = system();
    return sys ? screenY(*sys, option.y) : fixedToInt(option.y);
}

void ShipBase::approachTargets(int32_t factorX, int32_t factorY) {
    for (ShipOption& option : options) {
        option.x += fixedMul(option.targetX - option.x, factorX);
        option.y += fixedMul(option.targetY - option.y, factorY);
    }
}

void ShipBase::moveTo(int32_t newX, int32_t newY) {
    x = newX;
    y = newY;
    placeOptionsAtShip();
}

void ShipBase::placeOptionsAtShip() {
    const int32_t ox = traits_.optionsInView ? x : shipFieldX();
    for (ShipOption& option : options) {
        option.x = option.targetX = ox;
        option.y = option.targetY = y;
    }
}

void ShipBase::clearWeaponState() {
    holdCount = 0;
    fireQueue = 0;
    chainHold = 0;
    stopLaser();
    bank = 0;
    bankHold = 0;
    rollState = 0;
}

bool ShipBase::holdChain() {
    if (chainHold == 0) return false;
    --chainHold;
    return true;
}

void ShipBase::laserStruck(int32_t, int32_t) {
    chainHold = traits_.strikeHold;
}

void ShipBase::powerUp() {
    power = static_cast<uint8_t>(std::min<int>(power + 1, traits_.highestPower));
    maxShots = traits_.maxShots[tablePower()];
}

void ShipBase::update() {
    ++ticks_;
    PlayerBase::update();
}

void ShipBase::bankStep(uint8_t directions) {
    if (directions & kButtonRight) {
        if (bankHold < 0 && bankHold >= -7) rollState = 1;
        bankHold = bankHold < 0 ? 0 : static_cast<int8_t>(std::min(bankHold + 1, 14));
        if (rollState == 0) bank = static_cast<int16_t>(std::min(bank + 1, 9));
    } else if (directions & kButtonLeft) {
        if (bankHold > 0 && bankHold <= 7) rollState = -1;
        bankHold = bankHold > 0 ? 0 : static_cast<int8_t>(std::max(bankHold - 1, -14));
        if (rollState == 0) bank = static_cast<int16_t>(std::max(bank - 1, -9));
    } else {
        bankHold = static_cast<int8_t>(stepToward(bankHold, 0));
        if (rollState == 0) bank = static_cast<int16_t>(stepToward(bank, 0));
    }
    // A roll turns the ship over once: up to 17, over to -17, on to 8 (mirrored to the left).
    switch (rollState) {
        case 1:
            if (++bank > 17) {
                rollState = 2;
                bank = -17;
            }
            break;
        case 2:
            if (++bank > 8) rollState = 0;
            break;
        case -1:
            if (--bank < -17) {
                rollState = -2;
                bank = 17;
            }
            break;
        case -2:
            if (--bank < -8) rollState = 0;
            break;
        default:
            break;
    }
}

void ShipBase::fireWeapons() {
    System* sys = system();
    if (!sys) return;
    const uint8_t input = buttons();
    if (input & kButtonShot) {
        ++holdCount;
        if (holdCount == traits_.laserStartFrame) {
            speed = traits_.laserSpeed;
            laserOn_ = 1;
            startLaser();
        }
        if (holdCount > kHoldLimit) holdCount = traits_.holdWrap;
        if (holdCount >= kLaserShotsFrom) {
            // The beam ships hum on every held frame; the others sound with each laser volley.
            if (traits_.beamHold) playSound(*sys, traits_.laserSound);
            if (holdCount % 4 == 0) fireLaserShots();
        }
    } else {
        // Auto-fire queues one frame of fire on every frame it is held without the shot button;
        // a short tap queues twelve on its release.
        if (input & kButtonAuto) {
            fireQueue = 1;
        } else if (holdCount >= 1 && holdCount <= traits_.tapFrames) {
            fireQueue = kTapQueue;
        }
        holdCount = 0;
        speed = traits_.normalSpeed;
        stopLaser();
    }
    if (fireQueue > 0 && fireCooldown == 0 &&
        countInLayer(*sys, layer::shotLayer(playerIndex)) <= maxShots) {
        fireVolley();
        fireCooldown = traits_.cooldown;
        playSound(*sys, traits_.fireSound);
    } else if (fireCooldown > 0) {
        // Only while above 0: a byte counted down from 0 would block fire for 255 frames.
        --fireCooldown;
    }
    if (fireQueue > 0) --fireQueue;
}

void ShipBase::stopLaser() {
    laserOn_ = 0;
    for (ShipOption& option : options) option.beam.state = Beam::Off;
}

void ShipBase::switchBeamsOn() {
    System* sys = system();
    for (ShipOption& option : options) {
        Beam& beam = option.beam;
        beam.state = Beam::Firing;
        beam.length = 0;
        beam.frame = 0;
        beam.owner = playerIndex;
        if (power != 5 && sys) {
            sys->spawnFront<LaserEffect>(layer::kEffect, option.x, option.y - fixedFromInt(16));
        }
    }
}

void ShipBase::beamStep(Beam& beam, int32_t emitterX, int32_t emitterY) {
    System* sys = system();
    if (!sys || beam.state == Beam::Off) return;
    const int p = tablePower();
    beam.x = emitterX;
    beam.y = emitterY;
    beam.damage = kBeamDamage[p];
    beam.halfWidth = kBeamHalfWidth[p];
    const int32_t ex = fixedToInt(emitterX);
    const int32_t ey = fixedToInt(emitterY);
    // Grows, but its top stays inside the field's upper margin and above the emitter.
    int32_t length = std::max<int32_t>(beam.length + beam.growth, kBeamCeiling - ey);
    length = std::clamp<int32_t>(length, -32768, 0);
    const HitBox box{static_cast<int16_t>(-beam.halfWidth), static_cast<int16_t>(length),
                     beam.halfWidth, 0};
    int32_t top = ey + length;
    EnemyBase* blocker = nullptr;
    for (const int enemyLayer : layer::kEnemyLayers) {
        forEachInLayer<EnemyBase>(*sys, enemyLayer, [&](EnemyBase& enemy) {
            if (enemy.dead) return;
            const int32_t nx = fixedToInt(enemy.x);
            const int32_t ny = fixedToInt(enemy.y);
            if (!boxesMeet(ex, ey, box, nx, ny, enemy.hitBox)) return;
            const int32_t bottom = ny + enemy.hitBox.bottom;
            if (bottom <= top) return;
            // The nearest enemy above the emitter stops the beam; one over the emitter
            // itself leaves no beam at all.
            top = std::min(bottom, ey);
            blocker = &enemy;
        });
    }
    beam.length = static_cast<int16_t>(top - ey);
    if (blocker) {
        beam.state = Beam::Blocked;
        blocker->damage(beam.damage, kHitLaser, beam.owner);
        chainHold = traits_.beamHold;
        if (beam.frame & 1) {
            sys->spawnFront<LaserParticle>(layer::kEffect, emitterX, fixedFromInt(top));
        }
    } else {
        beam.state = Beam::Firing;
    }
    ++beam.frame;
}

void ShipBase::drawBeam(DIB& surface, const Beam& beam) const {
    const System* sys = system();
    if (!sys || beam.state == Beam::Off) return;
    const DIB& sheet = sys->imageSlots[kSlotShip];
    const bool wide = tablePower() == 5;
    // With no energy left the beams take their cold colours, as the enemy bullets do.
    const int32_t set = energy == 0 ? 1 : 0;
    const int32_t sx = screenX(*sys, beam.x);
    const int32_t sy = screenY(*sys, beam.y);
    const int32_t length = -beam.length;
    const uint32_t mode = ColorKey | Add;
    if (wide) {
        drawStrip(sheet, surface, cells::kBeamWide, set, sx, sy, length,
                  static_cast<int32_t>(beam.frame) * kBeamScroll % kBeamTexture);
        blitCellCentred(sheet, surface, cells::kMuzzleWide, set * 6 + beam.frame % 6, sx, sy, mode);
        blitCellScaledCentred(sheet, surface, cells::kFlareWide, set, sx, sy - length, 90, 90,
                              mode);
    } else {
        drawStrip(sheet, surface, cells::kBeam, set, sx, sy, length, 0);
        blitCellCentred(sheet, surface, cells::kMuzzle, set * 4 + beam.frame % 4, sx, sy, mode);
        const int32_t size = 4 * tablePower() + 23;
        blitCellScaledCentred(sheet, surface, cells::kFlare, set, sx, sy - length, size, size,
                              mode);
    }
}

void ShipBase::drawOptions(DIB& surface) const {
    const System* sys = system();
    if (!sys) return;
    const DIB& sheet = sys->imageSlots[kSlotShip];
    const int32_t spin = static_cast<int32_t>(ticks_ / 4 % 4);
    for (const ShipOption& option : options) {
        drawBeam(surface, option.beam);
        blitCellCentred(sheet, surface, cells::kOption, traits_.type * 4 + spin,
                        optionScreenX(option), optionScreenY(option), ColorKey);
    }
}

void ShipBase::draw(DIB& surface) {
    const System* sys = system();
    if (!sys || lifeState == PlayerState::Dying) return;
    const DIB& sheet = sys->imageSlots[kSlotShip];
    const int32_t sx = screenXOfView(*sys, x);
    const int32_t sy = screenY(*sys, y);
    if (inPlay()) {
        blitCellCentred(sheet, surface, cells::kCrystalGlow, 0, sx, sy, ColorKey | Tint | Add,
                        glowColour(crystals));
    }
    drawOptions(surface);
    const int32_t frame = std::min(std::abs(bank) / 3, 5);
    const int32_t row = (traits_.type * 2 + (playerIndex & 1)) * 6;
    blitCellCentred(sheet, surface, cells::kShip, row + frame, sx, sy, ColorKey, 0, bank < 0);
    if (lifeState == PlayerState::Invincible || lifeState == PlayerState::Autopilot) {
        const int32_t opacity = std::clamp(stateTimer * 255 / 180, 0, 255);
        blitCellCentred(sheet, surface, cells::kAura, 0, sx, sy, Alpha | Add,
                        static_cast<uint32_t>(opacity));
    }
}

void ShipBase::drawShadow(DIB& surface) {
    const System* sys = system();
    if (!sys || lifeState == PlayerState::Dying) return;
    if (x <= 0 || x >= fixedFromInt(240) || y <= 0 || y >= fixedFromInt(384)) return;
    const DIB& sheet = sys->imageSlots[kSlotShip];
    const int32_t shakeX = fixedToInt(sys->shakeOffsetX);
    const int32_t shakeY = fixedToInt(sys->shakeOffsetY);
    // Pulled a quarter of the way toward a point below the middle of the field.
    const auto shadowX = [](int32_t px) { return px + (120 - px) / 4 - 10; };
    const auto shadowY = [](int32_t py) { return py + (256 - py) / 4 + 30; };
    const int32_t px = fixedToInt(x);
    const int32_t py = fixedToInt(y);
    const int32_t frame = std::min(std::abs(bank) / 3, 5);
    blitCell(sheet, surface, cells::kShadow, traits_.type * 6 + frame, shadowX(px) + shakeX,
             shadowY(py) + shakeY, ColorKey | Subtract, 0, bank < 0);
    const int32_t family = traits_.type % 2;
    for (const ShipOption& option : options) {
        const int32_t ox = optionScreenX(option) - shakeX;
        const int32_t oy = optionScreenY(option) - shakeY;
        blitCell(sheet, surface, cells::kOptionShadow, family, shadowX(ox) + shakeX,
                 shadowY(oy) + shakeY, ColorKey | Subtract);
    }
}

}  // namespace vg
