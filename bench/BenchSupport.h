#pragma once

// What the benchmark programs share: one-shot manually timed benchmarks and the run itself.

#include <benchmark/benchmark.h>

namespace bench {

// A benchmark that measures its own time in one iteration, in milliseconds.
template <class Fn, class... Args>
benchmark::internal::Benchmark* manualOnce(const std::string& name, Fn fn, Args&&... args) {
    return benchmark::RegisterBenchmark(name.c_str(), fn, std::forward<Args>(args)...)
        ->UseManualTime()
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
}

inline int runBenchmarks(int& argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace bench
