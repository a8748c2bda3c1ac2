// Our blitter against the nearest equivalents in pixman, SDL2's software blitter and memcpy.
//
// This machine changes speed every few seconds, so two benchmarks run one after the other
// compare different machines. Each benchmark here therefore times every contender in turn
// (ours, reference, ours, reference ...) in short batches, and reports the median of each and
// their ratio. Times are nanoseconds per destination pixel (per call for the 1 x 1 case), in
// this thread's CPU time: the machine is shared, and wall time would count other processes.

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <pixman.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ThreadTime.h"
#include "render/Blit.h"
#include "render/ScaledBlit.h"
#include "resources/DIB.h"

namespace {

using vg::bench::median;
using vg::bench::threadNanoseconds;

using vg::DIB;

constexpr int kFieldW = 240, kFieldH = 384, kScreenW = 512, kScreenH = 384;
constexpr uint32_t kKey = 0x00FF00FF;

uint64_t rngState = 0x1234567887654321ull;
uint32_t nextRandom() {
    rngState ^= rngState << 13;
    rngState ^= rngState >> 7;
    rngState ^= rngState << 17;
    return static_cast<uint32_t>(rngState >> 20);
}

// A sprite as our blitter sees it (bottom-up, key in the top-left corner) and, row for row, the
// same picture top-down for the references.
struct Sprite {
    int size = 0;
    DIB dib;
    std::vector<uint32_t> plain;          // x8r8g8b8, key colour kept
    std::vector<uint32_t> premultiplied;  // a8r8g8b8: key -> transparent, else opaque
    pixman_image_t* pixPlain = nullptr;
    pixman_image_t* pixPremultiplied = nullptr;
    SDL_Surface* sdl = nullptr;
};

// A round sprite on the key colour, as bullets and explosions are.
std::unique_ptr<Sprite> makeSprite(int size) {
    auto s = std::make_unique<Sprite>();
    s->size = size;
    s->dib.create(size, size);
    s->plain.resize(static_cast<size_t>(size) * size);
    s->premultiplied.resize(s->plain.size());
    const int r = size / 2;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int ex = 2 * x - size + 1, ey = 2 * y - size + 1;
            const bool inside = ex * ex + ey * ey < 4 * r * r && !(x == 0 && y == 0);
            const uint32_t colour = inside ? (nextRandom() & 0x00FFFFFF) | 0x00101010 : kKey;
            *s->dib.pixelAt(x, y) = colour;
            s->plain[static_cast<size_t>(y) * size + x] = colour;
            s->premultiplied[static_cast<size_t>(y) * size + x] = inside ? colour | 0xFF000000 : 0;
        }
    }
    s->pixPlain = pixman_image_create_bits(PIXMAN_x8r8g8b8, size, size, s->plain.data(), size * 4);
    s->pixPremultiplied =
        pixman_image_create_bits(PIXMAN_a8r8g8b8, size, size, s->premultiplied.data(), size * 4);
    s->sdl = SDL_CreateRGBSurfaceWithFormatFrom(s->plain.data(), size, size, 32, size * 4,
                                                SDL_PIXELFORMAT_RGB888);
    return s;
}

// A destination as all three contenders see it.
struct Target {
    int w = 0, h = 0;
    DIB dib;
    std::vector<uint32_t> pixels;
    pixman_image_t* pix = nullptr;
    SDL_Surface* sdl = nullptr;
    Target(int width, int height) : w(width), h(height) {
        dib.create(w, h);
        pixels.assign(static_cast<size_t>(w) * h, 0x00204060);
        for (int i = 0; i < w * h; ++i) dib.pixels[i] = 0x00204060;
        pix = pixman_image_create_bits(PIXMAN_x8r8g8b8, w, h, pixels.data(), w * 4);
        sdl = SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), w, h, 32, w * 4,
                                                 SDL_PIXELFORMAT_RGB888);
    }
};

struct Position {
    int x, y;
};

std::vector<Position> positionsFor(int size, int count) {
    std::vector<Position> out;
    for (int i = 0; i < count; ++i) {
        out.push_back({static_cast<int>(nextRandom() % (kFieldW - size + 1)),
                       static_cast<int>(nextRandom() % (kFieldH - size + 1))});
    }
    return out;
}

// One contender: a name and a batch of work covering `units` pixels (or calls).
struct Contender {
    std::string name;
    std::function<void()> batch;
};

struct Row {
    std::string name;
    std::map<std::string, double> nsPerUnit;  // contender -> median
};
std::vector<Row> summary;

// Times the contenders interleaved, one batch each per round, and reports the medians and the
// ratio of ours (the first) to each of the others.
void runInterleaved(benchmark::State& state, const std::string& name,
                    const std::vector<Contender>& contenders, double unitsPerBatch) {
    std::vector<std::vector<double>> samples(contenders.size());
    for (const Contender& c : contenders) c.batch();  // warm caches
    size_t round = 0;
    for (auto _ : state) {
        double ours = 0;
        // Rotate who goes first, so that no contender always follows the same one (and inherits
        // the caches it left).
        for (size_t k = 0; k < contenders.size(); ++k) {
            const size_t i = (k + round) % contenders.size();
            const double start = threadNanoseconds();
            contenders[i].batch();
            const double nanoseconds = threadNanoseconds() - start;
            samples[i].push_back(nanoseconds / unitsPerBatch);
            if (i == 0) ours = nanoseconds * 1e-9;
        }
        ++round;
        state.SetIterationTime(ours);
    }
    Row row{name, {}};
    const double oursMedian = median(samples[0]);
    state.counters[contenders[0].name] = oursMedian;
    row.nsPerUnit[contenders[0].name] = oursMedian;
    for (size_t i = 1; i < contenders.size(); ++i) {
        const double m = median(samples[i]);
        state.counters[contenders[i].name] = m;
        state.counters["x_" + contenders[i].name] = oursMedian / m;
        row.nsPerUnit[contenders[i].name] = m;
    }
    summary.push_back(row);
}

void registerInterleaved(const std::string& name, std::function<std::vector<Contender>()> setup,
                         double unitsPerBatch) {
    benchmark::RegisterBenchmark(name.c_str(),
                                 [=](benchmark::State& state) {
                                     const std::vector<Contender> contenders = setup();
                                     runInterleaved(state, name, contenders, unitsPerBatch);
                                 })
        ->UseManualTime()
        ->Iterations(1500)
        ->Unit(benchmark::kMicrosecond);
}

// Shared pictures, made once.
struct World {
    std::map<int, std::unique_ptr<Sprite>> sprites;
    Target field{kFieldW, kFieldH};
    Target screen{kScreenW, kScreenH};
    Target background{kFieldW, kFieldH};
    Target panel{136, kScreenH};
    Sprite& sprite(int size) {
        auto& s = sprites[size];
        if (!s) s = makeSprite(size);
        return *s;
    }
};
World* world = nullptr;

struct Mode {
    const char* name;
    uint32_t word;
    uint32_t parameter;
    pixman_op_t pixOp;
    int pixAlpha;  // 0: no mask
    SDL_BlendMode sdlBlend;
    int sdlAlpha;  // 255: no alpha modulation
    bool key;
};

const Mode kModes[] = {
    {"copy", 0, 128, PIXMAN_OP_SRC, 0, SDL_BLENDMODE_NONE, 255, false},
    {"key", vg::ColorKey, 0, PIXMAN_OP_OVER, 0, SDL_BLENDMODE_NONE, 255, true},
    {"key+alpha128", vg::ColorKey | vg::Alpha, 128, PIXMAN_OP_OVER, 128, SDL_BLENDMODE_BLEND, 128,
     true},
    {"key+alpha100", vg::ColorKey | vg::Alpha, 100, PIXMAN_OP_OVER, 100, SDL_BLENDMODE_BLEND, 100,
     true},
    {"key+add", vg::ColorKey | vg::Add, 0, PIXMAN_OP_ADD, 0, SDL_BLENDMODE_ADD, 255, true},
    // Neither reference subtracts; their add is the nearest cost.
    {"key+sub", vg::ColorKey | vg::Subtract, 0, PIXMAN_OP_ADD, 0, SDL_BLENDMODE_ADD, 255, true},
    {"key+alpha+add", vg::ColorKey | vg::Alpha | vg::Add, 100, PIXMAN_OP_ADD, 100,
     SDL_BLENDMODE_ADD, 100, true},
};

using PixmanImage = std::shared_ptr<pixman_image_t>;
PixmanImage own(pixman_image_t* image) {
    return PixmanImage(image, pixman_image_unref);
}

PixmanImage solidAlpha(int alpha) {
    const pixman_color_t colour{0, 0, 0, static_cast<uint16_t>(alpha * 257)};
    return own(pixman_image_create_solid_fill(&colour));
}

void registerSprites() {
    for (const Mode& mode : kModes) {
        for (int size : {16, 32, 64, 128}) {
            const int calls = std::max(1, 32768 / (size * size));
            const std::string name = std::string("blit/") + mode.name + "/" + std::to_string(size) +
                                     "x" + std::to_string(size);
            registerInterleaved(
                name,
                [mode, size, calls] {
                    Sprite& s = world->sprite(size);
                    Target& f = world->field;
                    const auto positions = positionsFor(size, calls);
                    pixman_image_t* src = mode.key ? s.pixPremultiplied : s.pixPlain;
                    PixmanImage mask = mode.pixAlpha != 0 ? solidAlpha(mode.pixAlpha) : nullptr;
                    return std::vector<Contender>{
                        {"ours",
                         [=, &s, &f] {
                             for (const Position& p : positions) {
                                 vg::blit(&s.dib, &f.dib, p.x, p.y, size, size, 0, 0, mode.word,
                                          mode.parameter);
                             }
                         }},
                        {"pixman",
                         [=, &f] {
                             for (const Position& p : positions) {
                                 pixman_image_composite32(mode.pixOp, src, mask.get(), f.pix, 0, 0,
                                                          0, 0, p.x, p.y, size, size);
                             }
                         }},
                        {"sdl",
                         [=, &s, &f] {
                             SDL_SetColorKey(s.sdl, mode.key ? SDL_TRUE : SDL_FALSE, kKey);
                             SDL_SetSurfaceBlendMode(s.sdl, mode.sdlBlend);
                             SDL_SetSurfaceAlphaMod(s.sdl, static_cast<Uint8>(mode.sdlAlpha));
                             for (const Position& p : positions) {
                                 SDL_Rect d{p.x, p.y, size, size};
                                 SDL_BlitSurface(s.sdl, nullptr, f.sdl, &d);
                             }
                         }},
                    };
                },
                static_cast<double>(calls) * size * size);
        }
    }
}

void registerFieldCopy() {
    // The frame's copy of the play field into the middle of the screen.
    registerInterleaved(
        "field-to-screen/copy",
        [] {
            Target& f = world->field;
            Target& s = world->screen;
            auto flat = std::make_shared<std::vector<uint32_t>>(kFieldW * kFieldH);
            return std::vector<Contender>{
                {"ours",
                 [&f, &s] { vg::blit(&f.dib, &s.dib, 136, 0, kFieldW, kFieldH, 0, 0, 0, 128); }},
                {"memcpy",
                 [&f, flat] {
                     std::memcpy(flat->data(), f.pixels.data(), kFieldW * kFieldH * 4);
                     benchmark::DoNotOptimize(flat->data());
                 }},
                {"pixman",
                 [&f, &s] {
                     pixman_image_composite32(PIXMAN_OP_SRC, f.pix, nullptr, s.pix, 0, 0, 0, 0, 136,
                                              0, kFieldW, kFieldH);
                 }},
                {"sdl",
                 [&f, &s] {
                     SDL_Rect d{136, 0, kFieldW, kFieldH};
                     SDL_BlitSurface(f.sdl, nullptr, s.sdl, &d);
                 }},
            };
        },
        static_cast<double>(kFieldW) * kFieldH);
}

void registerTinyCall() {
    // The fixed cost of one call: a 1 x 1 keyed sprite, per call.
    constexpr int kCalls = 256;
    registerInterleaved(
        "one-pixel-call/key",
        [] {
            Sprite& s = world->sprite(16);
            Target& f = world->field;
            const auto positions = positionsFor(1, kCalls);
            return std::vector<Contender>{
                {"ours",
                 [=, &s, &f] {
                     for (const Position& p : positions) {
                         vg::blit(&s.dib, &f.dib, p.x, p.y, 1, 1, 8, 8, vg::ColorKey, 0);
                     }
                 }},
                {"pixman",
                 [=, &s, &f] {
                     for (const Position& p : positions) {
                         pixman_image_composite32(PIXMAN_OP_OVER, s.pixPremultiplied, nullptr,
                                                  f.pix, 8, 8, 0, 0, p.x, p.y, 1, 1);
                     }
                 }},
                {"sdl",
                 [=, &s, &f] {
                     SDL_SetColorKey(s.sdl, SDL_TRUE, kKey);
                     SDL_SetSurfaceBlendMode(s.sdl, SDL_BLENDMODE_NONE);
                     SDL_SetSurfaceAlphaMod(s.sdl, 255);
                     for (const Position& p : positions) {
                         SDL_Rect src{8, 8, 1, 1};
                         SDL_Rect d{p.x, p.y, 1, 1};
                         SDL_BlitSurface(s.sdl, &src, f.sdl, &d);
                     }
                 }},
            };
        },
        kCalls);
}

void registerScaledAndFill() {
    constexpr int kCalls = 32;
    registerInterleaved(
        "blitScaled/key+add/16x16-to-32x32",
        [] {
            Sprite& s = world->sprite(16);
            Target& f = world->field;
            const auto positions = positionsFor(32, kCalls);
            PixmanImage scaled =
                own(pixman_image_create_bits(PIXMAN_a8r8g8b8, 16, 16, s.premultiplied.data(), 64));
            pixman_transform_t half;
            pixman_transform_init_scale(&half, pixman_double_to_fixed(0.5),
                                        pixman_double_to_fixed(0.5));
            pixman_image_set_transform(scaled.get(), &half);
            pixman_image_set_filter(scaled.get(), PIXMAN_FILTER_NEAREST, nullptr, 0);
            return std::vector<Contender>{
                {"ours",
                 [=, &s, &f] {
                     for (const Position& p : positions) {
                         vg::blitScaled(&f.dib, &s.dib, p.x, p.y, 32, 32, 0, 0, 16, 16,
                                        vg::ColorKey | vg::Add, 0);
                     }
                 }},
                {"pixman",
                 [=, &f] {
                     for (const Position& p : positions) {
                         pixman_image_composite32(PIXMAN_OP_OVER, scaled.get(), nullptr, f.pix, 0,
                                                  0, 0, 0, p.x, p.y, 32, 32);
                     }
                 }},
                {"sdl",
                 [=, &s, &f] {
                     SDL_SetColorKey(s.sdl, SDL_TRUE, kKey);
                     SDL_SetSurfaceBlendMode(s.sdl, SDL_BLENDMODE_ADD);
                     SDL_SetSurfaceAlphaMod(s.sdl, 255);
                     for (const Position& p : positions) {
                         SDL_Rect d{p.x, p.y, 32, 32};
                         SDL_BlitScaled(s.sdl, nullptr, f.sdl, &d);
                     }
                 }},
            };
        },
        kCalls * 32.0 * 32.0);

    registerInterleaved(
        "fillRect/alpha/field",
        [] {
            Target& f = world->field;
            const pixman_color_t dark{0, 0, 0, 100 * 257};
            PixmanImage fade = own(pixman_image_create_solid_fill(&dark));
            return std::vector<Contender>{
                {"ours", [&f] { vg::fillRect(&f.dib, 0, 0, kFieldW, kFieldH, 0, vg::Alpha, 100); }},
                {"pixman",
                 [&f, fade] {
                     pixman_image_composite32(PIXMAN_OP_OVER, fade.get(), nullptr, f.pix, 0, 0, 0,
                                              0, 0, 0, kFieldW, kFieldH);
                 }},
            };
        },
        static_cast<double>(kFieldW) * kFieldH);
}

void registerHeavyScene() {
    // A busy frame: background, 1000 bullets, 300 explosions, 40 large sprites, the field onto
    // the screen and both side panels. Reported per frame pixel drawn.
    struct Scene {
        std::vector<Position> bullets = positionsFor(16, 1000);
        std::vector<Position> explosions = positionsFor(64, 300);
        std::vector<Position> large = positionsFor(128, 40);
    };
    const double pixels =
        kFieldW * kFieldH * 2.0 + 1000 * 256 + 300 * 4096 + 40 * 16384 + 2 * 136 * kScreenH;
    registerInterleaved(
        "heavy-scene/frame",
        [] {
            auto scene = std::make_shared<Scene>();
            World& w = *world;
            return std::vector<Contender>{
                {"ours",
                 [scene, &w] {
                     DIB* field = &w.field.dib;
                     vg::blit(&w.background.dib, field, 0, 0, kFieldW, kFieldH, 0, 0, 0, 128);
                     for (const Position& p : scene->bullets) {
                         vg::blit(&w.sprite(16).dib, field, p.x, p.y, 16, 16, 0, 0, vg::ColorKey,
                                  0);
                     }
                     for (const Position& p : scene->explosions) {
                         vg::blit(&w.sprite(64).dib, field, p.x, p.y, 64, 64, 0, 0,
                                  vg::ColorKey | vg::Add, 0);
                     }
                     for (const Position& p : scene->large) {
                         vg::blit(&w.sprite(128).dib, field, p.x, p.y, 128, 128, 0, 0, vg::ColorKey,
                                  0);
                     }
                     vg::blit(field, &w.screen.dib, 136, 0, kFieldW, kFieldH, 0, 0, 0, 128);
                     vg::blit(&w.panel.dib, &w.screen.dib, 0, 0, 136, kScreenH, 0, 0, 0, 128);
                     vg::blit(&w.panel.dib, &w.screen.dib, 376, 0, 136, kScreenH, 0, 0, 0, 128);
                 }},
                {"pixman",
                 [scene, &w] {
                     pixman_image_t* field = w.field.pix;
                     pixman_image_composite32(PIXMAN_OP_SRC, w.background.pix, nullptr, field, 0, 0,
                                              0, 0, 0, 0, kFieldW, kFieldH);
                     for (const Position& p : scene->bullets) {
                         pixman_image_composite32(PIXMAN_OP_OVER, w.sprite(16).pixPremultiplied,
                                                  nullptr, field, 0, 0, 0, 0, p.x, p.y, 16, 16);
                     }
                     for (const Position& p : scene->explosions) {
                         pixman_image_composite32(PIXMAN_OP_ADD, w.sprite(64).pixPremultiplied,
                                                  nullptr, field, 0, 0, 0, 0, p.x, p.y, 64, 64);
                     }
                     for (const Position& p : scene->large) {
                         pixman_image_composite32(PIXMAN_OP_OVER, w.sprite(128).pixPremultiplied,
                                                  nullptr, field, 0, 0, 0, 0, p.x, p.y, 128, 128);
                     }
                     pixman_image_composite32(PIXMAN_OP_SRC, field, nullptr, w.screen.pix, 0, 0, 0,
                                              0, 136, 0, kFieldW, kFieldH);
                     pixman_image_composite32(PIXMAN_OP_SRC, w.panel.pix, nullptr, w.screen.pix, 0,
                                              0, 0, 0, 0, 0, 136, kScreenH);
                     pixman_image_composite32(PIXMAN_OP_SRC, w.panel.pix, nullptr, w.screen.pix, 0,
                                              0, 0, 0, 376, 0, 136, kScreenH);
                 }},
            };
        },
        pixels);
}

void printSummary() {
    std::printf("\n%-36s %9s %9s %9s %9s   %s\n", "ns per pixel (median)", "ours", "pixman", "sdl",
                "memcpy", "ours / reference");
    for (const Row& row : summary) {
        const auto get = [&](const char* k) {
            const auto it = row.nsPerUnit.find(k);
            return it == row.nsPerUnit.end() ? -1.0 : it->second;
        };
        const double ours = get("ours");
        std::printf("%-36s %9.3f", row.name.c_str(), ours);
        std::string ratios;
        double best = 0;
        for (const char* k : {"pixman", "sdl", "memcpy"}) {
            const double v = get(k);
            if (v < 0) {
                std::printf(" %9s", "-");
                continue;
            }
            std::printf(" %9.3f", v);
            char part[48];
            std::snprintf(part, sizeof part, "%s %.2f  ", k, ours / v);
            ratios += part;
            if (std::string(k) != "memcpy" && (best == 0 || v < best)) best = v;
        }
        if (best > 0) {
            char part[48];
            std::snprintf(part, sizeof part, "| vs fastest ref %.2f", ours / best);
            ratios += part;
        }
        std::printf("   %s\n", ratios.c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    World w;
    world = &w;
    for (int size : {16, 32, 64, 128}) w.sprite(size);
    registerSprites();
    registerFieldCopy();
    registerTinyCall();
    registerScaledAndFill();
    registerHeavyScene();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    world = nullptr;
    return 0;
}
