#include "enemy/EnemyBase.h"

#include <algorithm>
#include <cmath>

#include "core/GameSound.h"
#include "core/Layers.h"
#include "core/System.h"
#include "core/TaskQuery.h"
#include "effects/Explosions.h"
#include "effects/FloatingText.h"
#include "effects/ScreenEffects.h"
#include "enemy/Bullet.h"
#include "player/BombBase.h"
#include "player/Pickups.h"
#include "player/PlayerBase.h"
#include "player/ShotBase.h"
#include "render/Blit.h"
#include "sound/SoundBank.h"

namespace vg {

namespace {

int32_t& serialCounter() {
    static int32_t counter = 0;
    return counter;
}

// Whole-pixel distance between two integer points, truncated.
int32_t pixelDistance(int32_t ax, int32_t ay, int32_t bx, int32_t by) {
    const double dx = static_cast<double>(ax) - bx;
    const double dy = static_cast<double>(ay) - by;
    return static_cast<int32_t>(std::sqrt(dx * dx + dy * dy));
}

// Offsets of the energy pickups by drop code 0..14 (the letters stand for the varying values
// of the drop).
enum Term { Zero, A, B, C, D, E, MinusB, MinusC, MinusE, Minus15 };
struct DropOffset {
    Term dx;
    Term dy;
};
constexpr DropOffset kDropOffsets[15] = {
    {Zero, Zero}, {A, B},    {Zero, C},   {Minus15, A}, {D, Zero},   {A, B},      {C, C},    {C, E},
    {B, D},       {D, Zero}, {MinusE, A}, {MinusC, A},  {MinusB, B}, {MinusE, B}, {Zero, C},
};

// The bursts of revenge bullets on the two hardest difficulties.
constexpr uint8_t kDifficultyExtra = 3;
constexpr uint8_t kDifficultyExtra2 = 4;
constexpr uint8_t kRevengeBulletType = 4;

}  // namespace

void resetEnemySerials() {
    serialCounter() = 0;
}

EnemyBase::EnemyBase(int32_t x0, int32_t y0) : x(x0), y(y0), serial(serialCounter()++) {}

System* EnemyBase::system() const {
    return systemOf(*this);
}

void EnemyBase::update() {
    x += vx;
    y += vy;
    const auto reflect = [](int32_t& position, int32_t& velocity, int32_t lo, int32_t hi) {
        if (position < lo) {
            position = lo;
            velocity = -velocity;
        } else if (position > hi) {
            position = hi;
            velocity = -velocity;
        }
    };
    reflect(x, vx, fixedFromInt(140), fixedFromInt(500));
    reflect(y, vy, 0, fixedFromInt(480));
    hitPass();
    if (hitPoints <= 0 && !dead) baseDestruction();
}

void EnemyBase::draw(DIB& surface) {
    const System* sys = system();
    if (!sys) {
        end();
        return;
    }
    const int32_t sx = screenX(*sys, x);
    const int32_t sy = screenY(*sys, y);
    fillRect(&surface, sx + hitBox.left, sy + hitBox.top, hitBox.right - hitBox.left,
             hitBox.bottom - hitBox.top, 0x0000ff, 0, 255);
}

void EnemyBase::hitPass() {
    System* sys = system();
    if (dead || !sys) return;
    const int32_t ex = fixedToInt(x);
    const int32_t ey = fixedToInt(y);
    for (const int shotLayer : {layer::kShotPlayer0, layer::kShotPlayer1}) {
        forEachInLayer<ShotBase>(*sys, shotLayer, [&](ShotBase& shot) {
            if (!boxesMeet(ex, ey, hitBox, fixedToInt(shot.x), fixedToInt(shot.y), shot.hitBox)) {
                return;
            }
            damage(shot.damage, shot.laser ? kHitLaser : kHitShot, shot.owner);
            if (shot.laser) {
                if (PlayerBase* owner = PlayerBase::find(*sys, shot.owner)) {
                    owner->laserStruck(x, y);
                }
            }
            shot.hit();
        });
    }
    forEachInLayer<BombBase>(*sys, layer::kBomb, [&](BombBase& bomb) {
        if (!boxesMeet(ex, ey, hitBox, fixedToInt(bomb.x), fixedToInt(bomb.y), bomb.hitBox)) {
            return;
        }
        damage(bomb.damage, kHitBomb, bomb.owner);
    });
    if (hitFlash > 0) --hitFlash;
}

void EnemyBase::damage(int32_t amount, uint8_t kind, uint8_t hitter) {
    hitPoints -= amount;
    lastHitKind = kind;
    lastHitter = hitter;
    hitFlash = 3;
    if (System* sys = system()) playSound(*sys, SoundManager::kSoundDamage);
}

int EnemyBase::killReward(int32_t chainTime, int32_t baseScore, int32_t energyCost) {
    System* sys = system();
    if (sys && sys->observer) sys->observer->enemyDestroyed(*this, timedOut != 0);
    if (!sys || lastHitter == kNoHitter) return 0;
    PlayerBase* player = PlayerBase::find(*sys, lastHitter);
    if (!player) return 0;
    player->addKill(chainTime, baseScore);
    if (lastHitKind != kHitLaser) {
        const int level = nearKillLevel(*player);
        if (level > 0) sys->spawnFront<NearKillFont>(layer::kEffect, x, y, vx, vy, level);
        return level;
    }
    if (player->energy > 0) {
        changeBulletsToCrystals(*sys, serial, player, x, y);
        player->energy = static_cast<int16_t>(
            std::clamp<int32_t>(player->energy - energyCost, 0, PlayerBase::kMaxEnergy));
    }
    return 0;
}

void EnemyBase::energyDrop(int32_t code) {
    System* sys = system();
    if (!sys || code < 0) return;
    // More than a screenful of energy is never asked for by a kind; keep a bad value harmless.
    code = std::min<int32_t>(code, 63);
    const int32_t s = (frameCount & 1) ? 1 : -1;
    // The low byte of an integer position, taken unsigned, folded into -32..31.
    const auto wobble = [s](int32_t value) {
        return s * (static_cast<int32_t>(static_cast<uint8_t>(fixedToInt(value)) % 64) - 32);
    };
    const int32_t terms[] = {
        0,
        s * (static_cast<int32_t>(static_cast<uint32_t>(frameCount) % 64) - 32),
        wobble(x),
        wobble(y),
        wobble(targetX),
        wobble(targetY),
    };
    const auto term = [&](Term t) -> int32_t {
        switch (t) {
            case Zero:
                return 0;
            case A:
                return terms[1];
            case B:
                return terms[2];
            case C:
                return terms[3];
            case D:
                return terms[4];
            case E:
                return terms[5];
            case MinusB:
                return -terms[2];
            case MinusC:
                return -terms[3];
            case MinusE:
                return -terms[5];
            case Minus15:
                return -15;
        }
        return 0;
    };
    for (int32_t k = code; k >= 0; --k) {
        int32_t dx = -terms[1];
        int32_t dy = terms[4];
        if (k <= 14) {
            dx = term(kDropOffsets[k].dx);
            dy = term(kDropOffsets[k].dy);
        }
        sys->spawnFront<Energy>(layer::kEnergy, x + fixedFromInt(dx), y + fixedFromInt(dy));
    }
}

void EnemyBase::destroyEffects(int32_t ex, int32_t ey, int32_t evx, int32_t evy,
                               int32_t debrisCount) {
    System* sys = system();
    if (!sys) return;
    const int effectLayer = layer::debrisLayer(layer);
    sys->spawnFront<Explosion>(effectLayer, ex, ey, evx, evy, 1);
    if (sys->taskCount < 2000) {
        sys->spawnFront<Explosion>(effectLayer, ex, ey, evx, evy - 52428, 2);
        // The debris count is halved while fewer than 666 tasks exist.
        int32_t n = std::max<int32_t>(debrisCount, 0);
        if (sys->taskCount < 666) n /= 2;
        for (int32_t i = 0; i < 2 * n; ++i) {
            sys->spawnFront<BrokenPiece>(effectLayer, ex, ey);
            sys->spawnFront<FireSpark>(effectLayer, ex, ey);
        }
    }
    if (sys->difficulty == kDifficultyExtra || sys->difficulty == kDifficultyExtra2) {
        const PlayerBase* target = nearestPlayer();
        if (target && pixelDistance(target->fieldX(*sys), target->fieldY(), fixedToInt(ex),
                                    fixedToInt(ey)) > 128) {
            const int32_t tx = aimX(*sys, *target);
            const int32_t ty = aimY(*target);
            if (sys->difficulty == kDifficultyExtra2) {
                for (int32_t i = 0; i < attackLevel + 3; ++i) {
                    fireAimed(*sys, tx, ty, ex, ey, fixedFromInt(i + 1), kRevengeBulletType, -1);
                }
            }
            fireAimedFan(11, *sys, tx, ty, ex, ey, 104857, fixedFromInt(15), kRevengeBulletType,
                         -1);
        }
    }
    if (sys->config.opticalEffect) sys->spawnFront<OpticalEffect>(layer::kEffect, ex, ey);
}

void EnemyBase::baseDestruction() {
    System* sys = system();
    dead = 1;
    if (sys) {
        PlayerBase* killer = lastHitter == kNoHitter ? nullptr : PlayerBase::find(*sys, lastHitter);
        if (killer && lastHitKind == kHitLaser) {
            if (killer->energy > 0) changeBulletsToCrystals(*sys, serial, killer, x, y);
        } else if (killer) {
            const int level = nearKillLevel(*killer);
            if (level > 0) sys->spawnFront<NearKillFont>(layer::kEffect, x, y, vx, vy, level);
        }
    }
    destroyEffects(x, y, vx, vy, 12);
    end();
}

PlayerBase* EnemyBase::nearestPlayer() const {
    const System* sys = system();
    if (!sys) return nullptr;
    PlayerBase* nearest = nullptr;
    int64_t best = 0;
    const int64_t ex = fixedToInt(x);
    const int64_t ey = fixedToInt(y);
    forEachInLayer<PlayerBase>(*sys, layer::kPlayer, [&](PlayerBase& player) {
        const int64_t dx = player.fieldX(*sys) - ex;
        const int64_t dy = player.fieldY() - ey;
        const int64_t d = dx * dx + dy * dy;
        if (!nearest || d < best) {
            nearest = &player;
            best = d;
        }
    });
    return nearest;
}

int EnemyBase::nearKillLevel(const PlayerBase& player) const {
    const System* sys = system();
    if (!sys) return 0;
    const int32_t d =
        pixelDistance(player.fieldX(*sys), player.fieldY(), fixedToInt(x), fixedToInt(y));
    return d < 96 ? 4 : d < 144 ? 3 : d < 192 ? 2 : d < 240 ? 1 : 0;
}

bool EnemyBase::lowHitPointBlink(int32_t fullHitPoints) {
    // A frozen game is drawn without moving on.
    if (state != kTaskActive) return lowHpBlink > 0;
    if (frameCount % 16 == 0 && hitPoints < fullHitPoints / 5) {
        lowHpBlink = 4;
        return true;
    }
    if (lowHpBlink > 0) {
        --lowHpBlink;
        return true;
    }
    return false;
}

int32_t EnemyBase::aimX(const System& system, const PlayerBase& player) {
    return fixedFromInt(player.fieldX(system));
}

int32_t EnemyBase::aimY(const PlayerBase& player) {
    return fixedFromInt(player.fieldY());
}

EnemyBase* EnemyBase::findBySerial(const TaskManager& manager, int32_t wanted) {
    for (const int enemyLayer : layer::kEnemyLayers) {
        EnemyBase* found = nullptr;
        forEachInLayer<EnemyBase>(manager, enemyLayer, [&](EnemyBase& enemy) {
            if (!found && enemy.serial == wanted) found = &enemy;
        });
        if (found) return found;
    }
    return nullptr;
}

EnemyBase* EnemyBase::nearestEnemy(const TaskManager& manager, int32_t px, int32_t py) {
    EnemyBase* nearest = nullptr;
    int32_t best = 0;
    for (const int enemyLayer : layer::kEnemyLayers) {
        forEachInLayer<EnemyBase>(manager, enemyLayer, [&](EnemyBase& enemy) {
            // A wreck going through its destruction takes no more hits: nothing to home on.
            if (enemy.dead) return;
            const int32_t d = pixelDistance(fixedToInt(px), fixedToInt(py), fixedToInt(enemy.x),
                                            fixedToInt(enemy.y));
            if (!nearest || d < best) {
                nearest = &enemy;
                best = d;
            }
        });
    }
    return nearest;
}

}  // namespace vg
