#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/FixedMath.h"
#include "core/GameSound.h"
#include "core/Layers.h"
#include "core/System.h"
#include "core/TaskQuery.h"
#include "enemy/Bullet.h"
#include "enemy/EnemyBase.h"
#include "player/PlayerBase.h"
#include "player/Ships.h"
#include "player/TestScene.h"
#include "sound/SoundBank.h"
#include "tests/sound/AudioFixtures.h"

namespace vg::testing {

// Button bytes.
inline constexpr uint8_t kUp = 0x01;
inline constexpr uint8_t kRight = 0x02;
inline constexpr uint8_t kDown = 0x04;
inline constexpr uint8_t kLeft = 0x08;
inline constexpr uint8_t kShot = 0x10;
inline constexpr uint8_t kBomb = 0x20;
inline constexpr uint8_t kAuto = 0x40;

constexpr int32_t px(int32_t pixels) {
    return pixels * 65536;
}

// An enemy that stands still and only takes hits: the stand-in the ship tests shoot at.
class TargetEnemy : public EnemyBase {
  public:
    TargetEnemy(int32_t x, int32_t y, HitBox box = {-16, -16, 16, 16}) : EnemyBase(x, y) {
        hitBox = box;
        hitPoints = 1'000'000;
    }
    void update() override {
        const int32_t before = hitPoints;
        hitPass();
        taken += before - hitPoints;
    }
    // Damage taken from shots and bombs in its own hit pass (beams call damage() directly).
    int64_t taken = 0;
};

// A play field with ships driven by scripted button bytes through the real update pass, drawn
// every frame as the game does. Sounds asked for are kept for heard().
class PlayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        system = std::make_unique<System>();
        screen.create(512, 384);
    }

    // Ships of the given types (-1: none), ready to play unless `start` says otherwise.
    void startScene(int type0, int type1 = -1, TestStart start = TestStart::Ready) {
        TestSceneOptions options;
        options.start = start;
        options.loadImages = false;
        ASSERT_GT(startTestScene(*system, type0, type1, options), 0);
    }

    // One frame: the players' button bytes, the update pass, the draw.
    void frame(uint8_t buttons0 = 0, uint8_t buttons1 = 0) {
        update(buttons0, buttons1);
        system->draw(screen);
    }
    // The first half of a frame, for looking at tasks before they draw.
    void update(uint8_t buttons0 = 0, uint8_t buttons1 = 0) {
        system->keyRecords[0].buttons = buttons0;
        system->keyRecords[1].buttons = buttons1;
        system->updatePass();
        ++frames;
    }
    void run(int count, uint8_t buttons0 = 0, uint8_t buttons1 = 0) {
        for (int i = 0; i < count; ++i) frame(buttons0, buttons1);
    }
    // Frames run until `done` holds, at most `limit`; -1 when it never did.
    template <class Predicate>
    int runUntil(Predicate done, int limit, uint8_t buttons0 = 0, uint8_t buttons1 = 0) {
        for (int n = 1; n <= limit; ++n) {
            frame(buttons0, buttons1);
            if (done()) return n;
        }
        return -1;
    }

    PlayerBase* ship(int index = 0) const { return PlayerBase::find(*system, index); }
    ShipBase* shipBase(int index = 0) const { return dynamic_cast<ShipBase*>(ship(index)); }

    template <class T = Task>
    int count(int layer) const {
        return countInLayer<T>(*system, layer);
    }
    template <class T>
    std::vector<T*> all(int layer) const {
        std::vector<T*> found;
        forEachInLayer<T>(*system, layer, [&](T& task) { found.push_back(&task); });
        return found;
    }

    // Makes sounds audible to heard(): every effect number gets a short sound.
    void listen() {
        namespace fs = std::filesystem;
        // One file per process: ctest runs the tests of this fixture side by side.
        const fs::path wav =
            fs::temp_directory_path() / ("vg_player_test_" + std::to_string(getpid()) + ".wav");
        ASSERT_TRUE(test::writeShortWav(wav.string()));
        SoundManager::SoundBank& bank = system->sound;
        ASSERT_TRUE(bank.init(std::make_unique<test::ManualAudioDevice>()));
        for (int32_t n = 0; n <= SoundManager::kSoundPause; ++n) {
            ASSERT_TRUE(bank.loadEffect(wav.c_str(), n));
        }
        fs::remove(wav);
    }
    // Whether sound `number` was asked for since the last call (the request is taken).
    bool heard(int32_t number) {
        SoundManager::SoundObject* sound = system->sound.find(number);
        if (!sound || sound->soundState != SoundManager::kPlayRequested) return false;
        sound->soundState = SoundManager::kIdle;
        return true;
    }
    void forgetSounds() {
        for (int32_t n = 0; n <= SoundManager::kSoundPause; ++n) heard(n);
    }

    std::unique_ptr<System> system;
    DIB screen;
    int frames = 0;
};

}  // namespace vg::testing
