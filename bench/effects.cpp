// The heaviest effect load the game makes, drawn into the play field: the final step of a boss
// destruction (bench/BossFinale.h) over 1000 enemy bullets and the background, through the
// game's own task list and drawing; and pixman compositing the same sprites (same cells, sizes,
// places and operations) into the same field. Both are timed interleaved in short batches, as
// bench/blit.cpp does (this machine changes speed every few seconds), in this thread's CPU time;
// the medians, their ratio and our frame's share of a 60 Hz frame (16.7 ms) are reported.

#include <benchmark/benchmark.h>
#include <pixman.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "AtlasCells.h"
#include "BossFinale.h"
#include "ThreadTime.h"
#include "core/GameRandom.h"
#include "core/PlayField.h"
#include "core/TaskQuery.h"
#include "enemy/Bullet.h"
#include "render/Blit.h"
#include "resources/ImageSlots.h"
#include "resources/Package.h"
#include "resources/Png.h"

namespace {

using namespace vg;
using bench::median;
using bench::threadNanoseconds;

constexpr int kFieldW = System::kFieldWidth, kFieldH = System::kFieldHeight;
constexpr double kFrameBudgetNs = 1e9 / 60.0;

using PixmanImage = std::shared_ptr<pixman_image_t>;
PixmanImage own(pixman_image_t* image) {
    return PixmanImage(image, pixman_image_unref);
}

// A picture as pixman sees it: top-down rows; with `keyed` the key colour becomes transparent
// and everything else opaque (premultiplied), for OVER; otherwise the plain colours, for ADD.
struct PixmanPicture {
    std::vector<uint32_t> pixels;
    PixmanImage image;
    PixmanPicture(const DIB& dib, bool keyed) {
        pixels.resize(static_cast<size_t>(dib.width) * dib.height);
        const uint32_t key = dib.empty() ? 0 : (*dib.pixelAt(0, 0) & 0xFFFFFF);
        for (int32_t y = 0; y < dib.height; ++y) {
            for (int32_t x = 0; x < dib.width; ++x) {
                const uint32_t p = *dib.pixelAt(x, y) & 0xFFFFFF;
                pixels[static_cast<size_t>(y) * dib.width + x] =
                    keyed ? (p == key ? 0 : p | 0xFF000000u) : p;
            }
        }
        image = own(pixman_image_create_bits(keyed ? PIXMAN_a8r8g8b8 : PIXMAN_x8r8g8b8, dib.width,
                                             dib.height, pixels.data(), dib.width * 4));
    }
};

// One sprite of the frame, as pixman draws it.
struct Sprite {
    pixman_image_t* source;
    pixman_image_t* mask;
    pixman_op_t op;
    int32_t sx, sy, dx, dy, w, h;
};

struct Scene {
    System system;
    DIB background;
    std::unique_ptr<PixmanPicture> pixBackground, pixExplosions, pixBullets;
    std::vector<uint32_t> fieldPixels;
    PixmanImage pixField;
    std::vector<PixmanImage> fills;
    std::vector<Sprite> sprites;
    int explosions = 0, bullets = 0, flashes = 0;
    bool realArt = false;

    Scene() {
        loadSheets();
        background.create(kFieldW, kFieldH);
        for (int32_t y = 0; y < kFieldH; ++y) {
            for (int32_t x = 0; x < kFieldW; ++x) {
                *background.pixelAt(x, y) = 0x203040 + ((x / 16 + y / 16) % 2) * 0x101010;
            }
        }
        gameRandom().randomSeed(GameRandom::kDefaultSeed);
        uint32_t seed = 0x9E3779B9u;
        auto next = [&seed] {
            seed ^= seed << 13;
            seed ^= seed >> 17;
            seed ^= seed << 5;
            return seed;
        };
        for (int i = 0; i < 1000; ++i) {
            const int32_t x = static_cast<int32_t>(next() % 232) + 8;
            const int32_t y = static_cast<int32_t>(next() % 368) + 8;
            // The round and spinning kinds (the pointed ones pick a picture by heading).
            static constexpr uint8_t kTypes[] = {0, 2, 3, 6};
            fireAngled(system, fixedFromInt(x), fixedFromInt(y), 90 << 16, 0, kTypes[i % 4], -1);
        }
        bench::spawnBossFinale(system, fixedFromInt(124), fixedFromInt(150));
        // Twelve frames on, every chain of the six large explosions has all its puffs.
        for (int i = 0; i < 12; ++i) system.updatePass();
        makePixmanScene();
    }

    void loadSheets() {
        const std::string package = std::string(VG_GAME_DIR) + "/data.pck";
        PackageReader reader;
        if (std::filesystem::exists(package) && reader.openPackage(package.c_str())) {
            realArt = loadImage("exp.png", reader, system.scratchArena,
                                system.imageSlots[kSlotExplosion]) &&
                      loadImage("bullet.png", reader, system.scratchArena,
                                system.imageSlots[kSlotBullet]);
        }
        if (realArt) return;
        // Without the data: sheets of the real sizes, a round blob in every cell.
        for (const auto& [slot, image] : {std::pair{kSlotExplosion, atlas::exp::kImage},
                                          std::pair{kSlotBullet, atlas::bullet::kImage}}) {
            DIB& dib = system.imageSlots[slot];
            dib.create(image.width, image.height);
            for (int32_t y = 0; y < image.height; ++y) {
                for (int32_t x = 0; x < image.width; ++x) {
                    const int32_t cx = x % 16 - 8, cy = y % 16 - 8;
                    *dib.pixelAt(x, y) = cx * cx + cy * cy < 40 && (x | y) ? 0x806040 : 0;
                }
            }
        }
    }

    void makePixmanScene() {
        pixBackground = std::make_unique<PixmanPicture>(background, false);
        pixExplosions = std::make_unique<PixmanPicture>(system.imageSlots[kSlotExplosion], false);
        pixBullets = std::make_unique<PixmanPicture>(system.imageSlots[kSlotBullet], true);
        fieldPixels.assign(static_cast<size_t>(kFieldW) * kFieldH, 0);
        pixField = own(pixman_image_create_bits(PIXMAN_x8r8g8b8, kFieldW, kFieldH,
                                                fieldPixels.data(), kFieldW * 4));
        // The same tasks in the same (drawing) order.
        for (Task* task = system.head()->next; task != system.tail(); task = task->next) {
            if (!task->isLive() || task->layer > System::kFieldLayerTop) continue;
            if (auto* e = dynamic_cast<Explosion*>(task)) {
                const atlas::Cell* cell = Explosion::strip(e->kind);
                if (!cell || e->kind == Explosion::kSmoke) continue;
                const int32_t frame = std::min(e->age / 2, cell->frames - 1);
                sprites.push_back({pixExplosions->image.get(), nullptr, PIXMAN_OP_ADD,
                                   cell->frameX(frame), cell->frameY(frame),
                                   screenX(system, e->x) - cell->w / 2,
                                   screenY(system, e->y) - cell->h / 2, cell->w, cell->h});
                ++explosions;
            } else if (auto* b = dynamic_cast<Bullet*>(task)) {
                static constexpr const atlas::Cell* kCells[] = {
                    &atlas::bullet::kBullet0, &atlas::bullet::kBullet1, &atlas::bullet::kBullet2,
                    &atlas::bullet::kBullet3, &atlas::bullet::kBullet4, &atlas::bullet::kBullet5,
                    &atlas::bullet::kBullet6, &atlas::bullet::kBullet7};
                const atlas::Cell& cell = *kCells[std::min<int>(b->type, 7)];
                sprites.push_back({pixBullets->image.get(), nullptr, PIXMAN_OP_OVER, cell.x, cell.y,
                                   screenX(system, b->x) - cell.w / 2,
                                   screenY(system, b->y) - cell.h / 2, cell.w, cell.h});
                ++bullets;
            } else if (auto* f = dynamic_cast<Flash*>(task)) {
                const uint16_t alpha =
                    static_cast<uint16_t>(f->remaining * 128 / f->duration * 257);
                const pixman_color_t white{alpha, alpha, alpha, alpha};
                fills.push_back(own(pixman_image_create_solid_fill(&white)));
                sprites.push_back(
                    {fills.back().get(), nullptr, PIXMAN_OP_OVER, 0, 0, 0, 0, kFieldW, kFieldH});
                ++flashes;
            }
        }
    }

    void drawOurs() {
        blit(&background, &system.playField, 0, 0, kFieldW, kFieldH, 0, 0, 0, 128);
        system.drawRange(system.playField, 0, System::kFieldLayerTop);
    }
    void drawPixman() {
        pixman_image_composite32(PIXMAN_OP_SRC, pixBackground->image.get(), nullptr, pixField.get(),
                                 0, 0, 0, 0, 0, 0, kFieldW, kFieldH);
        for (const Sprite& s : sprites) {
            pixman_image_composite32(s.op, s.source, s.mask, pixField.get(), s.sx, s.sy, 0, 0, s.dx,
                                     s.dy, s.w, s.h);
        }
    }
};

Scene* scene = nullptr;
double oursNs = 0, pixmanNs = 0;

void BossFinaleOverBullets(benchmark::State& state) {
    std::vector<double> ours, pixman;
    scene->drawOurs();
    scene->drawPixman();
    bool oursFirst = true;
    for (auto _ : state) {
        double took[2];
        for (int k = 0; k < 2; ++k) {
            const bool doOurs = (k == 0) == oursFirst;
            const double start = threadNanoseconds();
            if (doOurs) {
                scene->drawOurs();
            } else {
                scene->drawPixman();
            }
            took[doOurs ? 0 : 1] = threadNanoseconds() - start;
        }
        oursFirst = !oursFirst;
        ours.push_back(took[0]);
        pixman.push_back(took[1]);
        state.SetIterationTime(took[0] * 1e-9);
    }
    oursNs = median(ours);
    pixmanNs = median(pixman);
    state.counters["ours_ms"] = oursNs * 1e-6;
    state.counters["pixman_ms"] = pixmanNs * 1e-6;
    state.counters["x_pixman"] = oursNs / pixmanNs;
    state.counters["share_of_frame"] = oursNs / kFrameBudgetNs;
}
BENCHMARK(BossFinaleOverBullets)->UseManualTime()->Iterations(600)->Unit(benchmark::kMillisecond);

}  // namespace

// How closely the two pictures agree (each channel within 8: the add and mix arithmetic of
// the two differ in their lowest bits): a check that both draw the same scene.
void compareOutputs(Scene& s) {
    s.drawOurs();
    s.drawPixman();
    int close = 0;
    for (int32_t y = 0; y < kFieldH; ++y) {
        for (int32_t x = 0; x < kFieldW; ++x) {
            const uint32_t o = *s.system.playField.pixelAt(x, y);
            const uint32_t p = s.fieldPixels[static_cast<size_t>(y) * kFieldW + x];
            bool near = true;
            for (int shift = 0; shift < 24; shift += 8) {
                const int d =
                    static_cast<int>((o >> shift) & 0xFF) - static_cast<int>((p >> shift) & 0xFF);
                near = near && d >= -8 && d <= 8;
            }
            close += near;
        }
    }
    std::printf("pictures agree (every channel within 8) on %.1f %% of the field\n",
                100.0 * close / (kFieldW * kFieldH));
}

int main(int argc, char** argv) {
    Scene s;
    scene = &s;
    compareOutputs(s);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf(
        "\nboss finale over 1000 bullets (%s art): %d explosions, %d bullets, %d flash, "
        "%d tasks\n",
        s.realArt ? "real" : "stand-in", s.explosions, s.bullets, s.flashes, s.system.taskCount);
    std::printf("  ours   %7.3f ms per frame = %5.1f %% of 16.7 ms\n", oursNs * 1e-6,
                100.0 * oursNs / kFrameBudgetNs);
    std::printf("  pixman %7.3f ms per frame (same sprites)\n", pixmanNs * 1e-6);
    std::printf("  ours / pixman = %.2f\n", oursNs / pixmanNs);
    scene = nullptr;
    return 0;
}
