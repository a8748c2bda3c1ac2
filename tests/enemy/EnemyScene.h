#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <vector>

#include "core/GameRandom.h"
#include "core/Layers.h"
#include "core/PlayObserver.h"
#include "core/System.h"
#include "core/TaskQuery.h"
#include "enemy/Bullet.h"
#include "enemy/EnemyBase.h"
#include "enemy/EnemyKeywords.h"
#include "enemy/EnemySpawner.h"
#include "player/PlayerBase.h"
#include "player/ShotBase.h"

namespace vg::testing {

// Script values as the parser stores them.
inline int32_t N(double value) {
    return numberField(value);
}
inline int32_t I(int32_t value) {
    return integerField(value);
}

// A ship that stays where a test puts it (the ships' own motion is not under test here).
struct StillShip : PlayerBase {
    using PlayerBase::PlayerBase;
    void update() override {}
};

// What the play observer is told, with the scene frame of each bullet.
struct Recorder : PlayObserver {
    struct Fired {
        int32_t frame;
        int32_t x, y, vx, vy;
        uint8_t type;
        int32_t owner;
        double angle() const { return std::atan2(vy, vx) * 180.0 / 3.14159265358979; }
        double speed() const { return std::hypot(vx, vy) / 65536.0; }
    };
    void enemySpawned(const EnemyBase&) override { ++spawned; }
    void enemyDestroyed(const EnemyBase&, bool timedOut) override {
        ++destroyed;
        if (timedOut) ++timeouts;
    }
    void bulletFired(const Bullet& b) override {
        fired.push_back({frame, b.x, b.y, b.vx, b.vy, b.type, b.ownerId});
    }
    // The bullets fired in scene frame `f`.
    std::vector<Fired> at(int32_t f) const {
        std::vector<Fired> out;
        for (const Fired& b : fired) {
            if (b.frame == f) out.push_back(b);
        }
        return out;
    }
    // The distinct frames in which bullets were fired, in order.
    std::vector<int32_t> firingFrames() const {
        std::vector<int32_t> frames;
        for (const Fired& b : fired) {
            if (frames.empty() || frames.back() != b.frame) frames.push_back(b.frame);
        }
        return frames;
    }

    int32_t frame = 0;
    std::vector<Fired> fired;
    int spawned = 0;
    int destroyed = 0;
    int timeouts = 0;
};

// A play field without a stage: the field scroll is 12, so a ship's view x is its field x;
// the generator and the enemy serials start as at a stage start.
class EnemyScene {
  public:
    EnemyScene() {
        system.fieldScroll = 12 * kFixedOne;
        system.observer = &recorder;
        gameRandom().randomSeed(GameRandom::kDefaultSeed);
        resetEnemySerials();
    }
    ~EnemyScene() { system.observer = nullptr; }

    // A ship of `index` at field position (x, y), normal and in play.
    PlayerBase& ship(uint8_t index, int32_t x, int32_t y) {
        PlayerBase* player = system.spawnFront<StillShip>(layer::kPlayer, index);
        player->x = fixedFromInt(x);
        player->y = fixedFromInt(y);
        player->lifeState = PlayerState::Normal;
        return *player;
    }
    // The enemy of `kind` with the stored script values `args`, as the event runner makes it.
    EnemyBase* place(int32_t kind, std::initializer_list<int32_t> args) {
        return placeEnemy(system, enemyEvent(kind, args));
    }
    // A shot of `owner` at field position (x, y) that stays there until it strikes.
    ShotBase& shot(uint8_t owner, int32_t x, int32_t y, int32_t damage, bool laser = false) {
        ShotBase* s =
            system.spawnBack<ShotBase>(layer::shotLayer(owner), fixedFromInt(x), fixedFromInt(y), 0,
                                       270 * kFixedOne, owner, uint8_t{0}, laser);
        s->damage = damage;
        return *s;
    }
    // Runs `frames` update passes.
    void step(int32_t frames = 1) {
        for (int32_t i = 0; i < frames; ++i) {
            recorder.frame = frame;
            system.updatePass();
            ++frame;
        }
    }
    // Runs until `done` holds or `limit` frames have passed; true when it held.
    template <class Done>
    bool runUntil(Done&& done, int32_t limit) {
        for (int32_t i = 0; i < limit; ++i) {
            if (done()) return true;
            step();
        }
        return done();
    }
    int bullets() const { return countInLayer<Bullet>(system, layer::kBullet); }
    // Whether the enemy numbered `serial` is still on an enemy layer.
    bool alive(int32_t serial) const { return EnemyBase::findBySerial(system, serial) != nullptr; }

    System system;
    Recorder recorder;
    int32_t frame = 0;
};

}  // namespace vg::testing
