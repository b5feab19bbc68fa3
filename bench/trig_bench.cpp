// The velocity exchange of a contact, from the two balls' corners on, against the
// same formulas evaluated plainly in long double with the processor's own x87
// instructions (fpatan, fsincos), side by side in one run; the last line gives the
// ratio of the two medians. Every bullet contact pays for one exchange, and a field
// crowded with bullets has tens of thousands of contacts per frame.
//   build/bench/trig_bench
#include "PlainVectorFormulas.h"
#include "RunWithReporter.h"
#include "game/Vector.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

using fenu::TVector;
using Real = long double;

// Contacts as the game meets them: the two balls' corners anywhere on the field,
// velocities up to 8 in each component, cycled through so the branch predictor
// cannot learn them.
struct Inputs {
    struct Contact {
        double X, Y, OtherX, OtherY;
    };
    std::vector<Contact> Contacts;
    std::vector<TVector> Velocities;
    Inputs() {
        std::mt19937_64 random(1);
        std::uniform_real_distribution<double> x(0, 625), y(0, 500), speed(-8, 8);
        for (int i = 0; i < 4096; ++i) {
            Contacts.push_back({x(random), y(random), x(random), y(random)});
            Velocities.emplace_back(speed(random), speed(random));
        }
    }
};

const Inputs& TheInputs() {
    static const Inputs inputs;
    return inputs;
}

#if defined(__x86_64__) || defined(__i386__)
/// The x87 instructions themselves: atan(x / 1), and sine and cosine in one.
struct X87Trig {
    static Real Atan(Real x) {
        Real result;
        asm("fpatan" : "=t"(result) : "0"(1.0L), "u"(x) : "st(1)");
        return result;
    }
    static void SinCos(Real x, Real& s, Real& c) { asm("fsincos" : "=t"(c), "=u"(s) : "0"(x)); }
};
#else
using X87Trig = fenu::test::LibraryTrig;
#endif

template <class Exchange> void RunExchanges(benchmark::State& state, Exchange exchange) {
    const auto& in = TheInputs();
    size_t i = 0;
    TVector along1, along2;
    for (auto _ : state) {
        const size_t k = i++ & 4095;
        TVector first = in.Velocities[k], second = in.Velocities[(k + 1) & 4095];
        exchange(in.Contacts[k], first, second, along1, along2);
        benchmark::DoNotOptimize(first);
        benchmark::DoNotOptimize(second);
    }
}

/// What a contact pays: the line between the corners and the exchange along it.
void BM_Exchange(benchmark::State& state) {
    RunExchanges(state, [](const Inputs::Contact& c, TVector& first, TVector& second,
                           TVector& along1, TVector& along2) {
        TVector::Exchange(first, second, c.OtherX - c.X, c.OtherY - c.Y, along1, along2);
    });
}

/// The same with the line's angle and the exchange evaluated as the formulas read.
void BM_Exchange_PlainX87(benchmark::State& state) {
    RunExchanges(state, [](const Inputs::Contact& c, TVector& first, TVector& second,
                           TVector& along1, TVector& along2) {
        fenu::test::PlainExchange<X87Trig>(first, second, c.X, c.Y, c.OtherX, c.OtherY, along1,
                                           along2);
    });
}

constexpr int Repetitions = 9;
BENCHMARK(BM_Exchange)->Repetitions(Repetitions)->ReportAggregatesOnly(true);
BENCHMARK(BM_Exchange_PlainX87)->Repetitions(Repetitions)->ReportAggregatesOnly(true);

/// The console output as usual, then the exchange's median as a multiple of the
/// plain evaluation's.
class RatioReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.aggregate_name == "median" && !run.error_occurred)
                medians_[run.run_name.function_name] = run.GetAdjustedRealTime();
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto exchange = medians_.find("BM_Exchange");
        const auto plain = medians_.find("BM_Exchange_PlainX87");
        if (exchange != medians_.end() && plain != medians_.end())
            std::printf("\nexchange / plain x87 evaluation (medians): %.2f\n",
                        exchange->second / plain->second);
    }

private:
    std::map<std::string, double> medians_;
};

} // namespace

int main(int argc, char** argv) {
    RatioReporter reporter;
    return fenu::bench::RunWithReporter(argc, argv, reporter);
}
