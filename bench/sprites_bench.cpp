// One frame of sprite work: the move pass, one collision pass per ball and the
// TouchingBefore update, for growing numbers of balls. A counting operator new
// shows whether the frame allocates.
#include "game/Circle.h"
#include "support/GameFixture.h"

#include <atomic>
#include <cstdlib>
#include <new>

#include <benchmark/benchmark.h>

namespace {
std::atomic<long long> allocations{0};
}

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using fenu::TCircle;

constexpr uint32_t BallRadius = 15;

void SpriteFrame(benchmark::State& state) {
    fenu::test::GameFixture fixture(1234567);
    fixture.State.Sounds = nullptr; // the recorder would allocate a string per contact
    fixture.State.CurrentConfig.MaxStartSpeed = 7;
    auto& balls = fixture.State.Balls;
    for (int64_t i = 0; i < state.range(0); ++i) {
        auto* ball = new TCircle(fixture.State);
        ball->SetRadius(BallRadius);
        balls.push_back(ball);
    }
    fenu::TSpriteEngine& engine = *fixture.Engine;

    const long long before = allocations.load();
    for (auto _ : state) {
        for (TCircle* ball : balls)
            ball->Touching = 0;
        engine.Move(1);
        for (TCircle* ball : balls) {
            benchmark::DoNotOptimize(ball->CheckCollisions());
            ball->TouchingBefore = ball->Touching;
        }
    }
    const long long after = allocations.load();
    state.counters["allocs_per_frame"] =
        benchmark::Counter(static_cast<double>(after - before), benchmark::Counter::kAvgIterations);
    state.counters["balls"] = static_cast<double>(state.range(0));
}

BENCHMARK(SpriteFrame)
    ->Arg(4)
    ->Arg(21)
    ->Arg(100)
    ->Arg(1000)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
