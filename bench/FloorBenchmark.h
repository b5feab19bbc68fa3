#pragma once

// The floor every frame figure is compared with: clearing a 625 x 500 x 4 buffer and
// copying it once, the least a frame of the field can cost. Each benchmark program
// registers it, so the ratios come from one run.
#include <cstddef>
#include <cstring>
#include <vector>

#include <benchmark/benchmark.h>

namespace fenu::bench {

inline constexpr size_t FloorFieldBytes = size_t{625} * 500 * 4;

inline void BM_Floor_MemsetAndMemcpy(benchmark::State& state) {
    std::vector<unsigned char> buffer(FloorFieldBytes), copy(FloorFieldBytes);
    for (auto _ : state) {
        std::memset(buffer.data(), 0, FloorFieldBytes);
        benchmark::ClobberMemory();
        std::memcpy(copy.data(), buffer.data(), FloorFieldBytes);
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
}

} // namespace fenu::bench
