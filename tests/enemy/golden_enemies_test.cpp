// Golden screenshots of the enemy kinds through the headless host: each kind alive and firing
// (several at once where the picture turns with the course, so a wrong turn shows), the first
// boss in each phase of its cycle and with its wings gone, the semi-boss, and destructions.
// The play field is compared by hash and written to <build>/enemy_shots for looking at. Set
// VG_UPDATE_GOLDEN=1 to store the current hashes after a deliberate change of the kinds, the art
// or the effects they create.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <utility>

#include "AtlasCells.h"
#include "EnemyScene.h"
#include "app/HeadlessHost.h"
#include "enemy/ShadowRender.h"
#include "enemy/bosses/Boss1.h"
#include "player/Pickups.h"
#include "render/Blend.h"
#include "render/Blit.h"
#include "render/Cell.h"
#include "resources/ImageSlots.h"
#include "resources/Package.h"
#include "tests/support/GoldenPictures.h"

namespace vg::testing {
namespace {

namespace fs = std::filesystem;

const char* const kHashFile = VG_SOURCE_DIR "/tests/enemy/golden_enemies.hash";

// Dark farmland under everything, with a grid so that motion and shadows read.
struct Ground : Task {
    void draw(DIB& surface) override {
        fillRect(&surface, 0, 0, surface.width, surface.height, 0x3c4a30, 0, 255);
        for (int32_t y = 0; y < surface.height; y += 32) {
            fillRect(&surface, 0, y, surface.width, 1, 0x46563a, 0, 255);
        }
        for (int32_t x = 0; x < surface.width; x += 32) {
            fillRect(&surface, x, 0, 1, surface.height, 0x46563a, 0, 255);
        }
    }
};

// The target ship, drawn as the TYPE-A sprite (the ships' own drawing is not under test).
struct ShownShip : StillShip {
    using StillShip::StillShip;
    void draw(DIB& surface) override {
        const System* sys = systemOf(*this);
        blitCellCentred(sys->imageSlots[kSlotShip], surface, atlas::ship::kShip, 0,
                        fixedToInt(x) + fixedToInt(sys->shakeOffsetX),
                        fixedToInt(y) + fixedToInt(sys->shakeOffsetY), ColorKey);
    }
};

struct Shot {
    using Setup = std::function<void(System&)>;
    using Act = std::function<void(System&, uint32_t)>;
    Shot(std::string shotName, uint32_t shown, Setup place, Act during = {}, bool stage = false)
        : name(std::move(shotName)),
          frame(shown),
          setup(std::move(place)),
          act(std::move(during)),
          needsStage(stage) {}

    std::string name;
    uint32_t frame;           // the frame shown
    Setup setup;              // places the kinds
    Act act;                  // runs before each frame (scripted hits)
    bool needsStage = false;  // draws from the stage picture
};

EnemyBase* put(System& system, int32_t kind, std::initializer_list<int32_t> args) {
    return placeEnemy(system, enemyEvent(kind, args));
}

// A shot of `damage` on the first enemy of `layer` (the most recently placed one).
void strike(System& system, int taskLayer, int32_t damage, bool laser = false) {
    if (EnemyBase* e = findFirstInLayer<EnemyBase>(system, taskLayer)) {
        ShotBase* s = system.spawnBack<ShotBase>(layer::kShotPlayer0, e->x, e->y, 0,
                                                 270 * kFixedOne, uint8_t{0}, uint8_t{0}, laser);
        if (s) s->damage = damage;
    }
}

// The boss, struck on the frame before it: both wings on frame `wingsAt` when it is set.
std::function<void(System&, uint32_t)> wingsDown(uint32_t at) {
    return [at](System& system, uint32_t frame) {
        if (frame != at) return;
        forEachInLayer<Boss1Wing>(system, layer::kAir, [&](Boss1Wing& w) { w.hitPoints = 0; });
    };
}

std::vector<Shot> shots() {
    std::vector<Shot> list;
    const auto boss = [](int16_t level) {
        return [level](System& s) { put(s, kEnemyBoss1, {N(120), N(0), I(level)}); };
    };
    list.push_back(
        {"tanksmall", 46, [](System& s) {
             for (const int dir : {45, 90, 135, 250}) {
                 put(s, kEnemyTankSmall,
                     {N(30 + dir * 0.8), N(dir == 250 ? 200 : 40), N(dir), N(0.6), I(30), I(3)});
             }
         }});
    list.push_back(
        {"tanksmall2", 44, [](System& s) {
             put(s, kEnemyTankSmall2, {N(60), N(40), N(45), N(0.6), I(40), I(3)});
             put(s, kEnemyTankSmall2Middle, {N(190), N(60), N(135), N(0.6), I(40), I(3)});
         }});
    list.push_back(
        {"flysmall", 26, [](System& s) {
             put(s, kEnemyFlySmall, {N(30), N(20), N(45), N(1.5), I(3)});
             put(s, kEnemyFlySmall, {N(120), N(10), N(90), N(1.5), I(3)});
             put(s, kEnemyFlySmall, {N(210), N(20), N(135), N(1.5), I(3)});
             put(s, kEnemyFlySmallCurve, {N(-10), N(150), N(0), N(2), N(-2), N(0), I(40), I(2)});
             put(s, kEnemyFlySmallShip, {N(200), N(120), N(1.5), I(1)});
         }});
    list.push_back(
        {"tinyplane", 20, [](System& s) {
             put(s, kEnemyTinyPlane, {N(40), N(10), N(60), N(1.8), I(3)});
             put(s, kEnemyTinyPlane, {N(200), N(10), N(120), N(1.8), I(3)});
             put(s, kEnemyTinyPlaneCurve, {N(250), N(140), N(180), N(2), N(3), I(40), I(2)});
         }});
    list.push_back(
        {"flygun", 48, [](System& s) {
             put(s, kEnemyFlyGun, {N(80), N(20), N(80), N(0.6), I(3)});
             put(s, kEnemyFlyGunBrake, {N(180), N(0), N(90), N(3), N(0.93), I(30), I(2)});
         }});
    list.push_back({"flymediuma", 62, [](System& s) {
                        put(s, kEnemyFlyMediumA, {N(120), N(40), I(3)});
                    }});
    list.push_back({"flymediumb", 12, [](System& s) {
                        put(s, kEnemyFlyMediumB, {N(120), N(60), I(2)});
                    }});
    list.push_back({"flymediumb_broken", 52,
                    [](System& s) {
                        put(s, kEnemyFlyMediumB, {N(120), N(60), I(2)});
                    },
                    [](System& s, uint32_t f) {
                        if (f == 4) strike(s, layer::kAir, 3400);
                    }});
    list.push_back({"kite", 18, [](System& s) {
                        put(s, kEnemyKite, {N(120), N(30), N(90), N(1), I(1)});
                    }});
    list.push_back({"fuwafuwa", 48, [](System& s) {
                        put(s, kEnemyFuwafuwa, {N(120), N(10), N(90), N(3), I(1)});
                    }});
    list.push_back({"heli", 72, [](System& s) {
                        put(s, kEnemyHeliPower, {N(80), N(20)});
                        put(s, kEnemyHeliBomb, {N(170), N(0)});
                    }});
    list.push_back({"cannon", 26, [](System& s) {
                        put(s, kEnemyCannon, {N(70), N(90), I(2)});
                        put(s, kEnemyCannonMiddle, {N(190), N(150), I(1)});
                    }});
    list.push_back(
        {"destruction", 51,
         [](System& s) {
             put(s, kEnemyKite, {N(120), N(120), N(90), N(0), I(-3)});
             put(s, kEnemyTankSmall, {N(50), N(230), N(0), N(0), I(0), I(0)});
             put(s, kEnemyFlySmall, {N(190), N(230), N(0), N(0), I(0)});
         },
         [](System& s, uint32_t f) {
             if (f != 45) return;
             forEachInLayer<EnemyBase>(s, layer::kAir, [](EnemyBase& e) { e.hitPoints = -1; });
             forEachInLayer<EnemyBase>(s, layer::kGround, [](EnemyBase& e) { e.hitPoints = -1; });
         }});
    list.push_back({"heli_item", 90,
                    [](System& s) {
                        put(s, kEnemyHeliBomb, {N(120), N(100)});
                    },
                    [](System& s, uint32_t f) {
                        if (f == 2) strike(s, layer::kAir, 5000);
                    }});
    // (heli_item: 90 frames, when the wreck's bursts have cleared off the bomb item it left.)
    // The first boss: entry, then each phase of its cycle (t = age - 120), and its rings once
    // both wings are down.
    list.push_back({"boss1_entry", 60, boss(2), nullptr, true});
    for (const auto& [name, t] : std::map<std::string, uint32_t>{{"boss1_t0010_fans", 10},
                                                                 {"boss1_t0230_spirals", 230},
                                                                 {"boss1_t0296_burst", 296},
                                                                 {"boss1_t0312_walls", 312},
                                                                 {"boss1_t0710_stars", 710},
                                                                 {"boss1_t0906_rings", 906},
                                                                 {"boss1_t0960_rings", 960},
                                                                 {"boss1_t1030_rings", 1030}}) {
        list.push_back({name, 120 + t, boss(2), nullptr, true});
    }
    list.push_back({"boss1_wingless", 200, boss(2), wingsDown(150), true});
    list.push_back({"boss1_destruction", 200, boss(2),
                    [](System& s, uint32_t f) {
                        if (f == 150) strike(s, layer::kAir, 90000);
                    },
                    true});
    list.push_back({"semiboss1_streams", 152,
                    [](System& s) {
                        put(s, kEnemySemiBoss1, {N(120), N(-80), N(90), N(1), I(100), I(2)});
                    },
                    nullptr, true});
    list.push_back({"semiboss1_spray", 100 + 262,
                    [](System& s) {
                        put(s, kEnemySemiBoss1, {N(120), N(-80), N(90), N(1), I(100), I(2)});
                    },
                    nullptr, true});
    return list;
}

class GoldenEnemiesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        package_ = fs::path(VG_GAME_DIR) / "data.pck";
        if (!fs::exists(package_)) GTEST_SKIP() << "no data.pck in " << VG_GAME_DIR;
    }

    // Runs one shot's scene and takes its picture (none when it cannot be drawn).
    void take(const Shot& shot, GoldenPictures& pictures) {
        HeadlessHost host({}, false, "");
        System& system = host.system();
        PackageReader reader;
        reader.openPackage(package_.c_str());
        for (const auto& [name, slot] : std::map<std::string, int>{{"bullet.png", kSlotBullet},
                                                                   {"ship.png", kSlotShip},
                                                                   {"item.png", kSlotItem},
                                                                   {"enemy.png", kSlotEnemy},
                                                                   {"exp.png", kSlotExplosion},
                                                                   {"frame.png", kSlotFrame}}) {
            EXPECT_TRUE(
                loadImage(name.c_str(), reader, system.scratchArena, system.imageSlots[slot]))
                << name;
        }
        const bool stage =
            loadImage("boss1.png", reader, system.scratchArena, system.imageSlots[kSlotStage]);
        reader.closePackage();
        if (shot.needsStage && !stage) return;

        gameRandom().randomSeed(GameRandom::kDefaultSeed);
        resetEnemySerials();
        system.fieldView = 1;
        system.fieldScroll = 12 * kFixedOne;
        system.spawnBack<Ground>(layer::kScreens);
        system.spawnBack<ShadowRender>(layer::kShadow);
        system.spawnBack<ItemShadowRender>(layer::kShadow);
        ShownShip* ship = system.spawnFront<ShownShip>(layer::kPlayer, uint8_t{0});
        ship->x = fixedFromInt(120);
        ship->y = fixedFromInt(340);
        ship->lifeState = PlayerState::Normal;
        system.testInvincible = 1;
        shot.setup(system);

        for (uint32_t f = 0; f <= shot.frame; ++f) {
            if (shot.act) shot.act(system, f);
            host.run(1);
        }
        pictures.take(shot.name, system.playField);
    }

    fs::path package_;
};

TEST_F(GoldenEnemiesTest, KindsLookAsStored) {
    GoldenPictures pictures(kHashFile, fs::path(VG_BINARY_DIR) / "enemy_shots");
    for (const Shot& shot : shots()) {
        SCOPED_TRACE(shot.name);
        take(shot, pictures);
    }
    pictures.check();
}

}  // namespace
}  // namespace vg::testing
