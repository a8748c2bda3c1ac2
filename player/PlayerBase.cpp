#include "player/PlayerBase.h"

#include <algorithm>
#include <iterator>
#include <limits>

#include "core/GameSound.h"
#include "core/Layers.h"
#include "core/System.h"
#include "core/TaskQuery.h"
#include "effects/Explosions.h"
#include "effects/FloatingText.h"
#include "effects/Particles.h"
#include "effects/Rings.h"
#include "enemy/Bullet.h"
#include "enemy/EnemyBase.h"
#include "input/KeyRecord.h"
#include "player/Bombs.h"
#include "player/Pickups.h"
#include "player/ShipEffects.h"
#include "render/Blit.h"
#include "render/Cell.h"
#include "resources/ImageSlots.h"
#include "screens/Continue.h"
#include "sound/SoundBank.h"

namespace vg {

namespace {

// Lives and bombs stay within what a signed byte and the panels can show.
constexpr int8_t kMaxStock = 99;

// Score extends: one life each time the score passes these, in order.
constexpr int32_t kExtendScores[] = {20'000'000, 45'000'000, 150'000'000};

// The view the ships fly in (view coordinates, 16.16).
constexpr int32_t kMinX = 4 * kFixedOne;
constexpr int32_t kMaxX = 236 * kFixedOne;
constexpr int32_t kMinY = 36 * kFixedOne;
constexpr int32_t kMaxY = 348 * kFixedOne;
// sqrt(2) in 16.16: a diagonal moves speed / sqrt(2) on each axis.
constexpr int64_t kSqrt2 = 92681;

// Life-state timings in frames.
constexpr int16_t kDyingFrames = 60;
constexpr int16_t kExplodeAt = 59;
constexpr int16_t kEnteringFrames = 60;
constexpr int16_t kInvincibleFrames = 180;
constexpr int32_t kEntryY = 250 * kFixedOne;
constexpr int32_t kParkingY = 320 * kFixedOne;
constexpr int32_t kAutopilotStep = 2 * kFixedOne;

// Bullets this near an invincible ship vanish.
constexpr HitBox kCancelBox{-25, -25, 25, 25};
constexpr int16_t kGrazeMargin = 16;

constexpr int32_t kHitMarkSteps = 9;

// A new ship starts below the view, in its player's corner, and flies in to its entry point.
constexpr int32_t kStartY = 400 * kFixedOne;
int32_t startX(uint8_t playerIndex) {
    return playerIndex ? fixedFromInt(240) : 0;
}
int32_t entryX(uint8_t playerIndex) {
    return fixedFromInt(playerIndex ? 160 : 80);
}

// A step of `step` toward `target` while farther than a pixel from it.
int32_t approach(int32_t value, int32_t target, int32_t step) {
    if (value < target - kFixedOne) return value + step;
    if (value > target + kFixedOne) return value - step;
    return value;
}

}  // namespace

PlayerBase::PlayerBase(uint8_t index)
    : x(startX(index)), y(kStartY), speed(fixedFromInt(3)), playerIndex(index) {}

System* PlayerBase::system() const {
    return systemOf(*this);
}

int32_t PlayerBase::screenXOfView(const System& system, int32_t viewX) {
    return fixedToInt(viewX) + fixedToInt(system.shakeOffsetX);
}

void PlayerBase::update() {
    lifeStateStep();
    if (!isLive()) return;
    if (inPlay()) {
        move();
        fireWeapons();
        bomb();
    }
    collisionPass();
    if (inPlay() || lifeState == PlayerState::Autopilot) moveOptions();
    chainDecay();
}

void PlayerBase::hit() {
    lifeState = PlayerState::Dying;
    stateTimer = kDyingFrames;
}

// Every state tests stateTimer first and counts it down afterwards, so a timer set to n gives
// n + 1 updates in the state (the rescue window of a Dying ship is the full 6..9 frames).
void PlayerBase::lifeStateStep() {
    switch (lifeState) {
        case PlayerState::Dying:
            dyingStep();
            return;
        case PlayerState::Entering:
            if (stateTimer == 0) {
                lifeState = PlayerState::Invincible;
                stateTimer = kInvincibleFrames;
                return;
            }
            x += (entryX(playerIndex) - x) / 16;
            y += (kEntryY - y) / 16;
            if (System* sys = system()) cancelAllBullets(*sys);
            break;
        case PlayerState::Invincible:
            if (stateTimer == 0) {
                lifeState = PlayerState::Normal;
                return;
            }
            break;
        case PlayerState::Waiting:
            if (stateTimer == 0) {
                lifeState = PlayerState::Entering;
                stateTimer = kEnteringFrames;
                return;
            }
            break;
        case PlayerState::Autopilot:
            x = approach(x, entryX(playerIndex), kAutopilotStep);
            y = approach(y, kParkingY, kAutopilotStep);
            break;
        case PlayerState::Normal:
            break;
    }
    if (stateTimer > 0) --stateTimer;
}

void PlayerBase::dyingStep() {
    System* sys = system();
    if (stateTimer >= rescueThreshold()) {
        bomb();
        if (lifeState != PlayerState::Dying) return;
    }
    if (stateTimer == kExplodeAt && sys) {
        const int32_t fx = fixedFromInt(fieldX(*sys));
        sys->spawnFront<ShipExplosionLight>(layer::kEffect, fx, y, 0);
        sys->spawnFront<ShipExplosion>(layer::kEffect, fx, y);
        sys->spawnFront<RingEffect>(layer::kEffect, fx, y, 16, 512, 0);
        for (int i = 0; i < 32; ++i) sys->spawnFront<BrokenPiece>(layer::kEffect, fx, y);
        placeOptionsAtShip();
        playSound(*sys, SoundManager::kSoundDead);
    }
    if (stateTimer > 0) {
        --stateTimer;
        return;
    }
    // The explosion is over: the next ship, or the end of this player.
    lives = static_cast<int8_t>(lives - 1);
    lifeState = PlayerState::Entering;
    stateTimer = kEnteringFrames;
    if (lives < 0) {
        if (sys) {
            sys->playerRecord[playerIndex & 1].finalScore = score;
            // Last in the banner layer: the prompt is drawn over the stage's own banners.
            if (!find(*sys, playerIndex ^ 1)) sys->spawnBack<Continue>(layer::kBanner);
            sys->spawnFront<Item>(layer::kItem, fixedFromInt(fieldX(*sys)), y, kFixedOne, kFixedOne,
                                  kItemFullPower);
        }
        end();
    } else {
        bombs = 3;
        energy = 32;
        crystals /= 2;
    }
    x = startX(playerIndex);
    y = kStartY;
    speed = normalSpeed();
    clearWeaponState();
    // The options come back with the new ship.
    placeOptionsAtShip();
}

PlayerBase::ViewStep PlayerBase::stepInView(int32_t x, int32_t y, int32_t speed,
                                            uint8_t directions) {
    const bool vertical = directions & (kButtonUp | kButtonDown);
    const bool horizontal = directions & (kButtonLeft | kButtonRight);
    const int32_t step =
        vertical && horizontal ? static_cast<int32_t>(int64_t{speed} * kFixedOne / kSqrt2) : speed;
    if (directions & kButtonUp) y -= step;
    if (directions & kButtonDown) y += step;
    if (directions & kButtonLeft) x -= step;
    if (directions & kButtonRight) x += step;
    // Division truncates toward zero, as the scroll change must.
    const int32_t scrollChange =
        horizontal ? (directions & kButtonLeft ? -step : step) * 32 / 240 : 0;
    return {std::clamp(x, kMinX, kMaxX), std::clamp(y, kMinY, kMaxY), scrollChange};
}

void PlayerBase::move() {
    uint8_t directions = buttons() & (kButtonUp | kButtonRight | kButtonDown | kButtonLeft);
    // Opposite directions cancel.
    if ((directions & (kButtonUp | kButtonDown)) == (kButtonUp | kButtonDown)) {
        directions &= static_cast<uint8_t>(~(kButtonUp | kButtonDown));
    }
    if ((directions & (kButtonLeft | kButtonRight)) == (kButtonLeft | kButtonRight)) {
        directions &= static_cast<uint8_t>(~(kButtonLeft | kButtonRight));
    }
    const ViewStep moved = stepInView(x, y, speed, directions);
    x = moved.x;
    y = moved.y;
    if (directions & (kButtonLeft | kButtonRight)) scrollField(moved.scrollChange);
    bankStep(directions);
}

// The view follows the ship sideways; the other ship keeps its place in the field.
void PlayerBase::scrollField(int32_t change) {
    System* sys = system();
    if (!sys) return;
    const int32_t before = sys->fieldScroll;
    sys->fieldScroll = std::clamp(before + change, 0, kMaxFieldScroll);
    // Only the change the clamp let through moves the view: a ship pushing against the end of
    // the scroll must not push the other ship across the field.
    const int32_t applied = sys->fieldScroll - before;
    if (fixedToInt(sys->fieldScroll) == 12) return;
    if (PlayerBase* other = find(*sys, playerIndex ^ 1)) other->x -= applied;
}

void PlayerBase::collisionPass() {
    System* sys = system();
    if (!sys) return;
    const int32_t fx = fieldX(*sys);
    const int32_t fy = fieldY();
    if (lifeState != PlayerState::Dying) takePickups(fx, fy);
    if (inPlay()) bulletPass(fx, fy);
    if (lifeState == PlayerState::Normal && !sys->testInvincible) {
        forEachInLayer<EnemyBase>(*sys, layer::kAir, [&](EnemyBase& enemy) {
            if (lifeState != PlayerState::Normal || enemy.dead || enemy.hitPoints <= 0) return;
            if (boxesMeet(fx, fy, hitBox, fixedToInt(enemy.x), fixedToInt(enemy.y), enemy.hitBox)) {
                hit();
            }
        });
    }
}

void PlayerBase::takePickups(int32_t fx, int32_t fy) {
    System& sys = *system();
    forEachInLayer<Crystal>(sys, layer::kCrystal, [&](Crystal& crystal) {
        if (!boxesMeet(fx, fy, hitBox, fixedToInt(crystal.x), fixedToInt(crystal.y),
                       crystal.hitBox)) {
            return;
        }
        if (crystals < std::numeric_limits<int32_t>::max()) ++crystals;
        const int32_t worth = crystal.size == 3 ? 1500 : crystal.size == 2 ? 1000 : 500;
        addScore(int64_t{worth} * crystal.multiplier);
        sys.spawnFront<GetCrystalFont>(layer::kEffect, crystal.x, crystal.y - fixedFromInt(32),
                                       crystals, crystal.size);
        sys.spawnFront<GetCrystalParticle>(layer::kEffect, crystal.x, crystal.y, crystal.size);
        playSound(sys, SoundManager::kSoundCrystal);
        crystal.end();
    });
    forEachInLayer<Energy>(sys, layer::kEnergy, [&](Energy& pickup) {
        if (!boxesMeet(fx, fy, hitBox, fixedToInt(pickup.x), fixedToInt(pickup.y), pickup.hitBox)) {
            return;
        }
        energy = static_cast<int16_t>(std::clamp<int32_t>(energy + 1, 0, kMaxEnergy));
        addScore(100);
        sys.spawnFront<GetEnergyEffect>(layer::kEffect, pickup.x, pickup.y);
        sys.spawnFront<GetEnergyEffect>(layer::kEffect, pickup.x, pickup.y);
        playSound(sys, SoundManager::kSoundEnergy);
        pickup.end();
    });
    forEachInLayer<Item>(sys, layer::kItem, [&](Item& item) {
        if (!boxesMeet(fx, fy, hitBox, fixedToInt(item.x), fixedToInt(item.y), item.hitBox)) {
            return;
        }
        switch (item.type) {
            case kItemPowerUp:
                powerUp();
                addScore(10'000);
                playSound(sys, SoundManager::kSoundItem);
                sys.spawnFront<ItemEffect>(layer::kEffect, item.x, item.y);
                break;
            case kItemBomb:
                addBomb();
                addScore(30'000);
                playSound(sys, SoundManager::kSoundItem);
                break;
            case kItemExtend:
                if (lives < kMaxStock) ++lives;
                addScore(100'000);
                playSound(sys, SoundManager::kSoundExtend);
                break;
            case kItemFullPower:
                for (int i = 0; i < 5; ++i) powerUp();
                addScore(100'000);
                playSound(sys, SoundManager::kSoundItem);
                break;
            default:  // no such item: taken without effect
                break;
        }
        if (item.type <= kItemFullPower) {
            sys.spawnFront<ItemFont>(layer::kEffect, item.x, item.y, item.vx, item.vy, item.type);
        }
        item.end();
    });
}

void PlayerBase::bulletPass(int32_t fx, int32_t fy) {
    System& sys = *system();
    const HitBox grazeBox = hitBox.grown(kGrazeMargin);
    forEachInLayer<BulletBase>(sys, layer::kBullet, [&](BulletBase& bullet) {
        if (!inPlay()) return;  // struck by an earlier bullet of this pass
        Bullet* shaped = dynamic_cast<Bullet*>(&bullet);
        if (shaped && shaped->type == kBulletCancelled) return;
        const int32_t bx = fixedToInt(bullet.x);
        const int32_t by = fixedToInt(bullet.y);
        if (lifeState == PlayerState::Invincible) {
            if (shaped && boxesMeet(fx, fy, kCancelBox, bx, by, bullet.hitBox)) bullet.cancel();
            return;
        }
        if (boxesMeet(fx, fy, hitBox, bx, by, bullet.hitBox)) {
            if (sys.testInvincible) return;
            bullet.cancel();
            hit();
            return;
        }
        if (shaped && !shaped->grazed && sys.config.buzz &&
            boxesMeet(fx, fy, grazeBox, bx, by, bullet.hitBox)) {
            shaped->grazed = 1;
            playSound(sys, SoundManager::kSoundGraze);
            sys.spawnFront<GrazeEffect>(layer::kEffect, fixedFromInt(fx), y, bullet.x, bullet.y);
        }
    });
}

void PlayerBase::chainDecay() {
    if (comboTimer == 0) combo = 0;
    if (!holdChain() && comboTimer > 0) --comboTimer;
}

void PlayerBase::draw(DIB& surface) {
    const System* sys = system();
    if (!sys) return;
    const int32_t sx = screenXOfView(*sys, x);
    const int32_t sy = screenY(*sys, y);
    fillRect(&surface, sx + hitBox.left, sy + hitBox.top, hitBox.right - hitBox.left,
             hitBox.bottom - hitBox.top, 0xff0000, 0, 255);
}

void PlayerBase::bomb() {
    launchBomb(*this, BombKind::Bomb);
}

void PlayerBase::powerUp() {
    if (power == std::numeric_limits<uint8_t>::max()) return;
    ++power;
    maxShots = static_cast<uint8_t>(std::min(maxShots + 2, 255));
}

void PlayerBase::addBomb() {
    if (bombs < kMaxStock) ++bombs;
}

void PlayerBase::drawHitMark(DIB& surface) {
    const System* sys = system();
    if (!sys) return;
    const uint8_t option = sys->config.playerCollision;
    const bool shown = option == 2 || (option == 1 && (buttons() & kButtonShot));
    if (!shown) return;
    if (!inPlay()) {
        // Not while frozen: the step restarts with the next active draw.
        if (state == kTaskActive) hitMarkFrame = 0;
        return;
    }
    const int32_t sx = screenXOfView(*sys, x);
    const int32_t sy = screenY(*sys, y);
    blitCellCentred(sys->imageSlots[kSlotShip], surface, atlas::ship::kHitMark,
                    hitMarkFrame % kHitMarkSteps, sx, sy, ColorKey);
    // A frozen game is drawn without moving on.
    if (state == kTaskActive)
        hitMarkFrame = static_cast<uint8_t>((hitMarkFrame + 1) % kHitMarkSteps);
}

PlayerBase* PlayerBase::find(const TaskManager& manager, int index) {
    PlayerBase* found = nullptr;
    forEachInLayer<PlayerBase>(manager, layer::kPlayer, [&](PlayerBase& player) {
        if (!found && player.playerIndex == index) found = &player;
    });
    return found;
}

void PlayerBase::addScore(int64_t amount) {
    const int64_t sum = static_cast<int64_t>(score) + amount;
    score = static_cast<int32_t>(std::clamp<int64_t>(sum, std::numeric_limits<int32_t>::min(),
                                                     std::numeric_limits<int32_t>::max()));
    if (extendsGiven < std::size(kExtendScores) && score > kExtendScores[extendsGiven]) {
        if (lives < kMaxStock) ++lives;
        ++extendsGiven;
        if (System* sys = system()) playSound(*sys, SoundManager::kSoundExtend);
    }
}

void PlayerBase::chainLink(int32_t chainTime) {
    comboTimer =
        static_cast<int16_t>(std::clamp<int32_t>(comboTimer + chainTime, 0, kMaxComboTimer));
    if (combo < kMaxCombo) ++combo;
    maxCombo = std::max(maxCombo, combo);
}

void PlayerBase::addKill(int32_t chainTime, int32_t baseScore) {
    chainLink(chainTime);
    addScore(static_cast<int64_t>(baseScore) * combo + static_cast<int64_t>(crystals) * 10);
}

void PlayerBase::restoreFromRecord(const PlayerRecord& record) {
    lifeState = PlayerState::Waiting;
    stateTimer = 148;
    lives = static_cast<int8_t>(std::clamp<int>(record.lives, 0, kMaxStock));
    bombs = static_cast<int8_t>(std::clamp<int>(record.bombs, 0, kMaxStock));
    energy = static_cast<int16_t>(std::clamp<int32_t>(record.energy, 0, kMaxEnergy));
    score = record.score;
    // A stored level of 0 is every new game: power 0 with the ship's own shot cap. Otherwise
    // the level below it (computed in int, never wrapping the byte), raised by one power-up so
    // that the shot cap follows; the ships' power-up keeps the level within their tables.
    if (record.power > 0) {
        power = static_cast<uint8_t>(std::min<int>(record.power, 5) - 1);
        powerUp();
    }
    // The extends the carried score has already passed are not given again.
    extendsGiven =
        static_cast<uint8_t>(std::count_if(std::begin(kExtendScores), std::end(kExtendScores),
                                           [&](int32_t mark) { return score > mark; }));
}

void PlayerBase::enterAutopilot(PlayerRecord& record) {
    lifeState = PlayerState::Autopilot;
    stateTimer = 0;
    // It flies itself: no laser left burning.
    speed = normalSpeed();
    clearWeaponState();
    record.shipType = shipType();
    record.lives = lives;
    record.power = power;
    record.bombs = static_cast<uint8_t>(bombs);
    record.energy = energy;
    record.score = score;
    record.finalScore = score;
}

uint8_t PlayerBase::buttons() const {
    const System* sys = system();
    return sys ? sys->keyRecords[playerIndex & 1].buttons : 0;
}

}  // namespace vg
