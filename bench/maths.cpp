// The table-driven sine and arc tangent beside the standard library's, and the shared generator
// beside std::mt19937, in the same run. Each loop walks 1024 varied arguments.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "core/FixedMath.h"
#include "core/GameRandom.h"

namespace {

constexpr int kCount = 1024;

std::vector<int32_t> fixedArguments() {
    std::vector<int32_t> values(kCount);
    std::mt19937 source(12345);
    for (int32_t& v : values) v = static_cast<int32_t>(source() % (720u * 65536u)) - 360 * 65536;
    return values;
}

void BM_SinFixed(benchmark::State& state) {
    const auto angles = fixedArguments();
    for (auto _ : state) {
        for (int32_t a : angles) benchmark::DoNotOptimize(vg::sinFixed(a));
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_SinFixed);

void BM_StdSin(benchmark::State& state) {
    const auto angles = fixedArguments();
    for (auto _ : state) {
        for (int32_t a : angles) benchmark::DoNotOptimize(std::sin(a / 65536.0 * M_PI / 180.0));
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_StdSin);

void BM_Atan2Fixed(benchmark::State& state) {
    const auto values = fixedArguments();
    for (auto _ : state) {
        for (int i = 0; i + 1 < kCount; ++i) {
            benchmark::DoNotOptimize(vg::atan2Fixed(values[i], values[i + 1]));
        }
    }
    state.SetItemsProcessed(state.iterations() * (kCount - 1));
}
BENCHMARK(BM_Atan2Fixed);

void BM_StdAtan2(benchmark::State& state) {
    const auto values = fixedArguments();
    for (auto _ : state) {
        for (int i = 0; i + 1 < kCount; ++i) {
            benchmark::DoNotOptimize(std::atan2(static_cast<double>(values[i]), values[i + 1]));
        }
    }
    state.SetItemsProcessed(state.iterations() * (kCount - 1));
}
BENCHMARK(BM_StdAtan2);

void BM_RandomNext(benchmark::State& state) {
    vg::GameRandom random;
    for (auto _ : state) {
        for (int i = 0; i < kCount; ++i) benchmark::DoNotOptimize(random.randomNext());
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_RandomNext);

void BM_StdMt19937(benchmark::State& state) {
    std::mt19937 random(4357);
    for (auto _ : state) {
        for (int i = 0; i < kCount; ++i) benchmark::DoNotOptimize(random());
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_StdMt19937);

}  // namespace

BENCHMARK_MAIN();
