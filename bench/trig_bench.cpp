// The trigonometry of the velocity exchange, one call at a time, against the C
// library's long double functions it must agree with bit for bit. Every bullet
// contact pays for one exchange, and a field crowded with bullets has tens of
// thousands of contacts per frame.
//   build/bench/trig_bench
#include "game/ExtendedTrig.h"
#include "game/Vector.h"

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

using fenu::TExtendedSinCos;
using fenu::TVector;
using Real = long double;
constexpr Real pi = std::numbers::pi_v<long double>;

// Arguments as contacts produce them, cycled through so the branch predictor
// cannot learn them.
struct Inputs {
    std::vector<double> Angles;
    std::vector<TVector> Velocities;
    Inputs() {
        std::mt19937_64 random(1);
        std::uniform_real_distribution<double> angle(-std::numbers::pi / 2, std::numbers::pi / 2);
        std::uniform_real_distribution<double> speed(-8, 8);
        for (int i = 0; i < 4096; ++i) {
            Angles.push_back(angle(random));
            Velocities.emplace_back(speed(random), speed(random));
        }
    }
};

const Inputs& TheInputs() {
    static const Inputs inputs;
    return inputs;
}

void BM_SinCos_Library(benchmark::State& state) {
    const auto& angles = TheInputs().Angles;
    size_t i = 0;
    for (auto _ : state) {
        const Real x = angles[i++ & 4095];
        benchmark::DoNotOptimize(static_cast<double>(std::cos(x) * 3.0));
        benchmark::DoNotOptimize(static_cast<double>(std::sin(x) * 3.0));
    }
}
BENCHMARK(BM_SinCos_Library);

void BM_SinCos_Fast(benchmark::State& state) {
    const auto& angles = TheInputs().Angles;
    size_t i = 0;
    for (auto _ : state) {
        const TExtendedSinCos sc(angles[i++ & 4095]);
        benchmark::DoNotOptimize(sc.CosTimes(3.0));
        benchmark::DoNotOptimize(sc.SinTimes(3.0));
    }
}
BENCHMARK(BM_SinCos_Fast);

void BM_SinCos_CarriedFromNeighbour(benchmark::State& state) {
    const auto& angles = TheInputs().Angles;
    std::vector<TExtendedSinCos> bases;
    for (double a : angles)
        bases.emplace_back(a);
    size_t i = 0;
    for (auto _ : state) {
        const size_t k = i++ & 4095;
        const TExtendedSinCos sc(static_cast<Real>(angles[k]) + pi / 2, bases[k]);
        benchmark::DoNotOptimize(sc.CosTimes(3.0));
        benchmark::DoNotOptimize(sc.SinTimes(3.0));
    }
}
BENCHMARK(BM_SinCos_CarriedFromNeighbour);

void BM_Atan_Library(benchmark::State& state) {
    const auto& v = TheInputs().Velocities;
    size_t i = 0;
    for (auto _ : state) {
        const TVector& w = v[i++ & 4095];
        benchmark::DoNotOptimize(static_cast<double>(std::atan(static_cast<Real>(w.Y) / w.X)));
    }
}
BENCHMARK(BM_Atan_Library);

void BM_Exchange(benchmark::State& state) {
    const auto& in = TheInputs();
    size_t i = 0;
    TVector along1, along2;
    for (auto _ : state) {
        const size_t k = i++ & 4095;
        TVector first = in.Velocities[k], second = in.Velocities[(k + 1) & 4095];
        TVector::Exchange(first, second, in.Angles[k], along1, along2);
        benchmark::DoNotOptimize(first);
        benchmark::DoNotOptimize(second);
    }
}
BENCHMARK(BM_Exchange);

} // namespace

BENCHMARK_MAIN();
