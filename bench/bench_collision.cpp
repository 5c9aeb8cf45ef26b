// Entry of the collision benchmarks; the benchmark functions live in the
// bench_collision_*.cpp files beside it.

#include "BenchRatio.h"

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
