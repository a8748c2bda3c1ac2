// Task passes and the task arena beside a reference, timed interleaved inside one benchmark
// (ours, reference, ours, reference ...) so that the machine's speed changes hit both alike:
// the update and draw passes over 1000 tasks on layers 0..31 against the same virtual calls
// over a vector of heap objects, and arena alloc + free against the general heap. Each
// benchmark reports ns per task of both and the ratio of their medians.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <new>
#include <vector>

#include "core/System.h"
#include "core/TaskArena.h"

namespace {

constexpr int kTasks = 1000;

struct Mover : vg::Task {
    void update() override { x += dx; }
    void draw(vg::DIB& surface) override { benchmark::DoNotOptimize(surface.pixels + (x & 7)); }
    int32_t x = 0;
    int32_t dx = 1;
};

struct HeapObject {
    virtual ~HeapObject() = default;
    virtual void update() = 0;
    virtual void draw(vg::DIB& surface) = 0;
};
struct HeapMover : HeapObject {
    void update() override { x += dx; }
    void draw(vg::DIB& surface) override { benchmark::DoNotOptimize(surface.pixels + (x & 7)); }
    int32_t x = 0;
    int32_t dx = 1;
};

double median(std::vector<double>& values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

template <class Ours, class Reference>
void interleaved(benchmark::State& state, Ours ours, Reference reference) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> oursNs, referenceNs;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        ours();
        const auto t1 = Clock::now();
        reference();
        const auto t2 = Clock::now();
        oursNs.push_back(std::chrono::duration<double, std::nano>(t1 - t0).count());
        referenceNs.push_back(std::chrono::duration<double, std::nano>(t2 - t1).count());
    }
    const double a = median(oursNs) / kTasks;
    const double b = median(referenceNs) / kTasks;
    state.counters["ours_ns_per_task"] = a;
    state.counters["reference_ns_per_task"] = b;
    state.counters["ratio"] = a / b;
}

void fill(vg::System& system) {
    for (int i = 0; i < kTasks; ++i) system.spawnBack<Mover>(i % 32);
}

std::vector<std::unique_ptr<HeapObject>> heapObjects() {
    std::vector<std::unique_ptr<HeapObject>> objects;
    for (int i = 0; i < kTasks; ++i) objects.push_back(std::make_unique<HeapMover>());
    return objects;
}

void BM_UpdatePassVsVector(benchmark::State& state) {
    vg::System system;
    fill(system);
    auto objects = heapObjects();
    interleaved(
        state, [&] { system.updatePass(); },
        [&] {
            for (auto& object : objects) object->update();
            benchmark::ClobberMemory();
        });
}
BENCHMARK(BM_UpdatePassVsVector)->Iterations(20000);

void BM_DrawAllVsVector(benchmark::State& state) {
    vg::System system;
    vg::DIB screen;
    screen.create(512, 384);
    fill(system);
    auto objects = heapObjects();
    interleaved(
        state, [&] { system.drawAll(screen); },
        [&] {
            for (auto& object : objects) object->draw(screen);
        });
}
BENCHMARK(BM_DrawAllVsVector)->Iterations(20000);

// Creating 1000 tasks at their layers and removing them in the next pass, against making and
// deleting the same number of heap objects in a vector.
void BM_SpawnAndRemoveVsHeap(benchmark::State& state) {
    vg::System system;
    std::vector<std::unique_ptr<HeapObject>> objects;
    objects.reserve(kTasks);
    interleaved(
        state,
        [&] {
            fill(system);
            system.endAll();
            system.updatePass();
        },
        [&] {
            for (int i = 0; i < kTasks; ++i) objects.push_back(std::make_unique<HeapMover>());
            objects.clear();
        });
}
BENCHMARK(BM_SpawnAndRemoveVsHeap)->Iterations(5000);

void BM_ArenaVsHeapAllocFree(benchmark::State& state) {
    vg::TaskArena arena(vg::TaskArena::kTaskManagerCapacity);
    std::vector<void*> blocks(kTasks);
    auto size = [](int i) { return static_cast<size_t>(48 + (i & 3) * 16); };
    interleaved(
        state,
        [&] {
            for (int i = 0; i < kTasks; ++i) blocks[i] = arena.arenaAlloc(size(i));
            for (int i = 0; i < kTasks; i += 2) arena.arenaFree(blocks[i]);
            for (int i = 1; i < kTasks; i += 2) arena.arenaFree(blocks[i]);
            benchmark::DoNotOptimize(blocks.data());
        },
        [&] {
            for (int i = 0; i < kTasks; ++i) blocks[i] = ::operator new(size(i));
            for (int i = 0; i < kTasks; i += 2) ::operator delete(blocks[i]);
            for (int i = 1; i < kTasks; i += 2) ::operator delete(blocks[i]);
            benchmark::DoNotOptimize(blocks.data());
        });
}
BENCHMARK(BM_ArenaVsHeapAllocFree)->Iterations(20000);

}  // namespace

BENCHMARK_MAIN();
