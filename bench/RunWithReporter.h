#pragma once

// The main() of a benchmark program that prints its ratios through a reporter of its own.
#include <benchmark/benchmark.h>

namespace fenu::bench {

inline int RunWithReporter(int& argc, char** argv, benchmark::BenchmarkReporter& reporter) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace fenu::bench
