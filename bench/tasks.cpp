// Task passes and the task arena, each beside a reference in the same run: the update and draw
// passes over 1000 tasks against a plain vector of the same objects, and arena alloc + free
// against the general heap.
#include <benchmark/benchmark.h>

#include <memory>
#include <new>
#include <vector>

#include "core/System.h"
#include "core/TaskArena.h"

namespace {

struct Mover : vg::Task {
    void update() override { x += dx; }
    void draw(vg::DIB& surface) override { benchmark::DoNotOptimize(surface.pixels + (x & 7)); }
    int32_t x = 0;
    int32_t dx = 1;
};

constexpr int kTasks = 1000;

void fill(vg::System& system) {
    for (int i = 0; i < kTasks; ++i) system.spawnBack<Mover>(i % 32);
}

void BM_UpdatePass(benchmark::State& state) {
    vg::System system;
    fill(system);
    for (auto _ : state) system.updatePass();
    state.SetItemsProcessed(state.iterations() * kTasks);
}
BENCHMARK(BM_UpdatePass);

void BM_DrawAll(benchmark::State& state) {
    vg::System system;
    vg::DIB screen;
    screen.create(512, 384);
    fill(system);
    for (auto _ : state) system.drawAll(screen);
    state.SetItemsProcessed(state.iterations() * kTasks);
}
BENCHMARK(BM_DrawAll);

// Reference: the same virtual calls over a vector of heap objects.
struct HeapObject {
    virtual ~HeapObject() = default;
    virtual void update() = 0;
};
struct HeapMover : HeapObject {
    void update() override { x += dx; }
    int32_t x = 0;
    int32_t dx = 1;
};

void BM_UpdateVectorReference(benchmark::State& state) {
    std::vector<std::unique_ptr<HeapObject>> tasks;
    for (int i = 0; i < kTasks; ++i) tasks.push_back(std::make_unique<HeapMover>());
    for (auto _ : state) {
        for (auto& t : tasks) t->update();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kTasks);
}
BENCHMARK(BM_UpdateVectorReference);

// Creating and ending 1000 tasks: arena allocation, insertion at the layer, removal by the pass.
void BM_SpawnAndRemove(benchmark::State& state) {
    vg::System system;
    for (auto _ : state) {
        fill(system);
        system.endAll();
        system.updatePass();
    }
    state.SetItemsProcessed(state.iterations() * kTasks);
}
BENCHMARK(BM_SpawnAndRemove);

void BM_ArenaAllocFree(benchmark::State& state) {
    vg::TaskArena arena(vg::TaskArena::kTaskManagerCapacity);
    std::vector<void*> blocks(kTasks);
    for (auto _ : state) {
        for (int i = 0; i < kTasks; ++i) blocks[i] = arena.arenaAlloc(48 + (i & 3) * 16);
        for (int i = 0; i < kTasks; i += 2) arena.arenaFree(blocks[i]);
        for (int i = 1; i < kTasks; i += 2) arena.arenaFree(blocks[i]);
        benchmark::DoNotOptimize(blocks.data());
    }
    state.SetItemsProcessed(state.iterations() * kTasks);
}
BENCHMARK(BM_ArenaAllocFree);

void BM_HeapAllocFreeReference(benchmark::State& state) {
    std::vector<void*> blocks(kTasks);
    for (auto _ : state) {
        for (int i = 0; i < kTasks; ++i) blocks[i] = ::operator new(48 + (i & 3) * 16);
        for (int i = 0; i < kTasks; i += 2) ::operator delete(blocks[i]);
        for (int i = 1; i < kTasks; i += 2) ::operator delete(blocks[i]);
        benchmark::DoNotOptimize(blocks.data());
    }
    state.SetItemsProcessed(state.iterations() * kTasks);
}
BENCHMARK(BM_HeapAllocFreeReference);

}  // namespace

BENCHMARK_MAIN();
