// Golden screenshots of the four ships through the headless host: each firing its volley at
// power 0 and at full power, and its laser, with a fan of every bullet type on screen; and the
// cold colours of ship beams and bullets without energy. The pictures are written to
// <build>/player_shots for looking at. Set VG_UPDATE_GOLDEN=1 to store the current hashes after a
// deliberate change of the ships or of the art.
//
// Also: the same key script played twice gives the same frames.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/HeadlessHost.h"
#include "core/FixedMath.h"
#include "core/GameRandom.h"
#include "core/Layers.h"
#include "core/System.h"
#include "enemy/Bullet.h"
#include "enemy/EnemyBase.h"
#include "enemy/EnemyCommon.h"
#include "player/Bombs.h"
#include "player/Ships.h"
#include "player/TestScene.h"
#include "render/Blit.h"
#include "render/Cell.h"
#include "resources/ImageSlots.h"
#include "tests/support/GoldenPictures.h"

namespace vg {
namespace {

namespace fs = std::filesystem;

const char* const kHashFile = VG_SOURCE_DIR "/tests/player/golden_ships.hash";

constexpr int32_t px(int32_t pixels) {
    return pixels * 65536;
}

// A still enemy drawn from the enemy sheet, to shoot at.
class Dummy : public EnemyBase {
  public:
    Dummy(int32_t x, int32_t y) : EnemyBase(x, y) {
        hitBox = {-24, -20, 24, 20};
        hitPoints = 1'000'000;
    }
    void update() override {
        ++frameCount;
        hitPass();
    }
    void draw(DIB& surface) override {
        const System* sys = systemOf(*this);
        if (!sys) return;
        const atlas::Cell& cell = atlas::enemy::kFlyMediumA;
        drawLit(*this, surface, sys->imageSlots[kSlotEnemy], cell, 0, screenX(*sys, x) - cell.w / 2,
                screenY(*sys, y) - cell.h / 2, lowHitPointBlink(1'000'000));
    }
};

// A fan of every bullet type, spread over the upper field.
void fireEveryBulletType(System& system) {
    for (uint8_t type = 0; type < kBulletTypeCount; ++type) {
        const int32_t x = px(44 + 30 * type);
        const int32_t y = px(type % 2 ? 90 : 40);
        fireFan(5, system, x, y, px(90), px(3) / 2, px(20), type, -1);
    }
}

// Runs each test in a folder of its own with the built data.pck linked in.
class GoldenShipsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::path(VG_BINARY_DIR) / "player_work" / info->name();
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        const fs::path package = fs::path(VG_GAME_DIR) / "data.pck";
        hasData_ = fs::exists(package);
        if (hasData_) fs::create_symlink(package, folder_ / "data.pck");
        previous_ = fs::current_path();
        fs::current_path(folder_);
    }
    void TearDown() override { fs::current_path(previous_); }

    bool hasData_ = false;

  private:
    fs::path folder_;
    fs::path previous_;
};

struct Scene {
    std::string name;
    int ship;
    bool fullPower;
    bool laser;
    bool noEnergy;
};

// One scene: the ship at the bottom middle, the fans above, a target for the laser; the shot
// button tapped with auto-fire held (volleys) or held (laser). Takes the last frame.
void shoot(const Scene& scene, testing::GoldenPictures& pictures) {
    KeyScript keys;
    EXPECT_TRUE(keys.parse(scene.laser ? "0-40 Z\n" : "0-40 C\n"));
    HeadlessHost host(std::move(keys), false, "");
    System& system = host.system();
    EXPECT_EQ(startTestScene(system, scene.ship), 1);
    auto* ship = static_cast<ShipBase*>(PlayerBase::find(system, 0));
    ship->moveTo(px(120), px(310));
    for (int i = 0; scene.fullPower && i < 5; ++i) ship->powerUp();
    if (scene.noEnergy) ship->energy = 0;
    fireEveryBulletType(system);
    if (scene.laser) system.spawnBack<Dummy>(layer::kAir, px(ship->fieldX(system)), px(150));
    host.run(scene.laser ? 30 : 22);
    pictures.take(scene.name, host.screen());
}

TEST_F(GoldenShipsTest, ShipsFiringLookAsStored) {
    if (!hasData_) GTEST_SKIP() << "no data.pck in " << VG_GAME_DIR;
    const char* names[4] = {"typeA", "typeB", "typeA2", "typeB2"};
    std::vector<Scene> scenes;
    for (int ship = 0; ship < 4; ++ship) {
        scenes.push_back({std::string(names[ship]) + "_power0", ship, false, false, false});
        scenes.push_back({std::string(names[ship]) + "_power5", ship, true, false, false});
        scenes.push_back({std::string(names[ship]) + "_laser", ship, true, true, false});
    }
    scenes.push_back({"typeA_laser_cold", 0, false, true, true});
    scenes.push_back({"typeB_cold", 1, true, false, true});

    testing::GoldenPictures pictures(kHashFile, fs::path(VG_BINARY_DIR) / "player_shots");
    for (const Scene& scene : scenes) shoot(scene, pictures);
    pictures.check();
}

// Both bombs show from their first update on, growing: Bomb2's picture is its size times
// counter / 16 (not counter / 16 in whole numbers, which would hide it for 16 frames).
TEST_F(GoldenShipsTest, BombsGrowFromTheirFirstFrame) {
    if (!hasData_) GTEST_SKIP() << "no data.pck in " << VG_GAME_DIR;
    HeadlessHost host({}, false, "");
    System& system = host.system();
    startTestScene(system, -1);
    Bomb* bomb = system.spawnBack<Bomb>(layer::kBomb, px(136), px(200), px(270), 0);
    Bomb2* bomb2 = system.spawnBack<Bomb2>(layer::kBomb, px(136), px(200), px(270), 0);
    DIB surface;
    ASSERT_TRUE(surface.create(System::kFieldWidth, System::kFieldHeight));
    // Width of the picture along its centre row, over a grey field.
    const auto drawnWidth = [&](Task& blast) {
        fillRect(&surface, 0, 0, surface.width, surface.height, 0x808080, 0, 128);
        blast.draw(surface);
        int32_t width = 0;
        for (int32_t x = 0; x < surface.width; ++x) {
            if ((*surface.pixelAt(x, 200) & 0xffffff) != 0x808080) ++width;
        }
        return width;
    };
    int32_t previous[2] = {0, 0};
    for (uint16_t counter = 1; counter <= 15; ++counter) {
        bomb->counter = counter;
        bomb2->counter = counter;
        bomb->animationStep = bomb2->animationStep = 0;
        const int32_t widths[2] = {drawnWidth(*bomb), drawnWidth(*bomb2)};
        for (int k = 0; k < 2; ++k) {
            EXPECT_GT(widths[k], 0) << (k ? "Bomb2" : "Bomb") << " counter " << counter;
            EXPECT_GE(widths[k], previous[k]) << (k ? "Bomb2" : "Bomb") << " counter " << counter;
            previous[k] = widths[k];
        }
    }
}

// Two players, grazing on, bullets aimed at the ships from a turret that takes random delays,
// bombs, deaths and lasers: every frame of two runs of the same script is the same.
class Turret : public Dummy {
  public:
    using Dummy::Dummy;
    void update() override {
        Dummy::update();
        System* sys = systemOf(*this);
        if (!sys || --wait_ > 0) return;
        wait_ = 6 + static_cast<int32_t>(gameRandom().randomNext() % 12);
        if (PlayerBase* target = nearestPlayer()) {
            fireAimedFan(3 + frameCount % 4, *sys, aimX(*sys, *target), aimY(*target), x, y, px(2),
                         px(9), static_cast<uint8_t>(frameCount % 7), serial);
        }
    }

  private:
    int32_t wait_ = 1;
};

std::vector<uint64_t> playScript(int frames) {
    KeyScript keys;
    EXPECT_TRUE(
        keys.parse("0-60 LEFT C\n20-200 Z\n90 X\n120-180 RIGHT UP\n150-400 NUMPAD4 Q\n"
                   "210-260 NUMPAD8 E\n300 W\n320-500 DOWN C\n"));
    HeadlessHost host(std::move(keys), false, "");
    System& system = host.system();
    EXPECT_EQ(startTestScene(system, 0, 3), 2);
    system.config.buzz = 1;
    system.config.playerCollision = 2;
    system.spawnBack<Turret>(layer::kAir, px(60), px(60));
    system.spawnBack<Turret>(layer::kAir, px(200), px(90));
    std::vector<uint64_t> hashes;
    host.run(frames,
             [&](uint32_t, const DIB& screen) { hashes.push_back(testing::hashPicture(screen)); });
    return hashes;
}

TEST_F(GoldenShipsTest, SameScriptTwiceGivesTheSameFrames) {
    if (!hasData_) GTEST_SKIP() << "no data.pck in " << VG_GAME_DIR;
    const std::vector<uint64_t> first = playScript(600);
    const std::vector<uint64_t> second = playScript(600);
    ASSERT_EQ(first.size(), 600u);
    EXPECT_EQ(first, second);
    // The run is not a still picture.
    EXPECT_NE(first[100], first[400]);
}

}  // namespace
}  // namespace vg
