#pragma once

#include "support/TestEnvironment.h"

#include <benchmark/benchmark.h>

namespace nolvea::bench {

// Runs the benchmarks on an application of type `App`, in a fresh temporary home that is
// removed afterwards.
template <class App> int runInTestEnvironment(int argc, char** argv) {
    test::prepareEnvironment();
    App app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    test::cleanEnvironment();
    return 0;
}

} // namespace nolvea::bench
