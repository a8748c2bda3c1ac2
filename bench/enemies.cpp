// A busy play field: 200 enemies of the first stages' kinds and 1000 enemy bullets, updated and
// drawn each frame as the game does (the update pass, then layers 0..29 into the play field),
// with the shadows and the ship they aim at. Enemies and bullets that leave are replaced at the
// start of each frame, so every frame holds the full load. Reports the time of a frame as a
// share of the 16.7 ms a frame may take at 60 frames per second.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <utility>
#include <vector>

#include "core/GameRandom.h"
#include "core/Layers.h"
#include "core/System.h"
#include "enemy/Bullet.h"
#include "enemy/EnemyBase.h"
#include "enemy/EnemyKeywords.h"
#include "enemy/EnemySpawner.h"
#include "enemy/ShadowRender.h"
#include "player/PlayerBase.h"
#include "render/Blit.h"
#include "resources/ImageSlots.h"
#include "resources/Package.h"
#include "resources/Png.h"

namespace {

using namespace vg;

constexpr int kEnemies = 200;
constexpr int kBullets = 1000;

struct Ground : Task {
    void draw(DIB& surface) override {
        fillRect(&surface, 0, 0, surface.width, surface.height, 0x3c4a30, 0, 255);
    }
};

// A ship that stays put and is drawn as its hit box.
struct Target : PlayerBase {
    using PlayerBase::PlayerBase;
    void update() override {}
};

int liveTasks(const System& system, int layer) {
    int count = 0;
    for (Task* t = system.firstOfLayer(layer); t && t->layer == layer; t = t->next) {
        if (t->isLive()) ++count;
    }
    return count;
}

int enemies(const System& system) {
    int count = 0;
    for (const int l : layer::kEnemyLayers) count += liveTasks(system, l);
    return count;
}

// The next enemy of a round of the kinds, placed on a grid over the upper field.
void addEnemy(System& system, uint32_t n) {
    const int32_t x = numberField(8 + (n * 37) % 256);
    const int32_t y = numberField(16 + (n * 53) % 200);
    const int32_t down = numberField(90);
    const int32_t slow = numberField(0.3);
    switch (n % 8) {
        case 0:
            placeEnemy(system, enemyEvent(kEnemyTankSmall,
                                          {x, y, down, slow, integerField(60), integerField(2)}));
            break;
        case 1:
            placeEnemy(system, enemyEvent(kEnemyTankSmall2,
                                          {x, y, down, slow, integerField(60), integerField(2)}));
            break;
        case 2:
            placeEnemy(system, enemyEvent(kEnemyFlySmall, {x, y, down, slow, integerField(2)}));
            break;
        case 3:
            placeEnemy(system, enemyEvent(kEnemyTinyPlane, {x, y, down, slow, integerField(2)}));
            break;
        case 4:
            placeEnemy(system, enemyEvent(kEnemyFlyGun, {x, y, down, slow, integerField(1)}));
            break;
        case 5:
            placeEnemy(system, enemyEvent(kEnemyCannon, {x, y, integerField(0)}));
            break;
        case 6:
            placeEnemy(system, enemyEvent(kEnemyHeliPower, {x, y}));
            break;
        default:
            placeEnemy(system, enemyEvent(kEnemyFlyMediumB, {x, y, integerField(0)}));
            break;
    }
}

void BM_Enemies200Bullets1000(benchmark::State& state) {
    System system;
    const std::filesystem::path package = std::filesystem::path(VG_GAME_DIR) / "data.pck";
    PackageReader reader;
    reader.openPackage(package.c_str());
    for (const auto& [name, slot] :
         {std::pair{"bullet.png", kSlotBullet}, std::pair{"enemy.png", kSlotEnemy},
          std::pair{"item.png", kSlotItem}, std::pair{"exp.png", kSlotExplosion}}) {
        if (!loadImage(name, reader, system.scratchArena, system.imageSlots[slot])) {
            state.SkipWithError("no data.pck: build the data first");
            return;
        }
    }
    reader.closePackage();
    gameRandom().randomSeed(GameRandom::kDefaultSeed);
    system.fieldView = 1;
    system.spawnBack<Ground>(layer::kScreens);
    system.spawnBack<ShadowRender>(layer::kShadow);
    Target* ship = system.spawnFront<Target>(layer::kPlayer, uint8_t{0});
    ship->x = 120 * kFixedOne;
    ship->y = 340 * kFixedOne;
    ship->lifeState = PlayerState::Normal;

    uint32_t nextEnemy = 0;
    uint32_t nextBullet = 0;
    int64_t enemySum = 0;
    int64_t bulletSum = 0;
    std::vector<double> frameMs;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        while (enemies(system) < kEnemies) addEnemy(system, nextEnemy++);
        for (int b = liveTasks(system, layer::kBullet); b < kBullets; ++b, ++nextBullet) {
            fireAngled(system, static_cast<int32_t>((nextBullet * 97) % 272) * kFixedOne,
                       static_cast<int32_t>((nextBullet * 31) % 400) * kFixedOne,
                       static_cast<int32_t>(nextBullet % 360) * kFixedOne, kFixedOne,
                       static_cast<uint8_t>(nextBullet % 7), -1);
        }
        enemySum += enemies(system);
        bulletSum += liveTasks(system, layer::kBullet);
        system.updatePass();
        system.drawRange(system.playField, 0, System::kFieldLayerTop);
        benchmark::DoNotOptimize(system.playField.pixels);
        frameMs.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    const double frames = static_cast<double>(state.iterations());
    // The median wall time of a frame, so that a busy machine's hiccups do not count; and the
    // CPU time of the average frame. Both also as a share of the 16.7 ms frame.
    std::nth_element(frameMs.begin(), frameMs.begin() + frameMs.size() / 2, frameMs.end());
    const double median = frameMs[frameMs.size() / 2];
    state.counters["median_ms"] = median;
    state.counters["median_percent_of_frame"] = median / 16.7 * 100;
    state.counters["cpu_percent_of_frame"] = benchmark::Counter(
        frames * 0.0167 / 100, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["enemies"] = static_cast<double>(enemySum) / frames;
    state.counters["bullets"] = static_cast<double>(bulletSum) / frames;
}
BENCHMARK(BM_Enemies200Bullets1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
