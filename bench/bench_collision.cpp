// Entry of the collision benchmarks; the benchmark functions live in the
// bench_collision_*.cpp files beside it, which name their ratio lines with
// bench::RegisterCollisionRatio (bench_collision.h).

#include "bench_collision.h"

#include "BenchRatio.h"

namespace bench
{

std::vector<CollisionRatio>& CollisionRatios()
{
    static std::vector<CollisionRatio> ratios;
    return ratios;
}

} // namespace bench

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter;
    for (const bench::CollisionRatio& ratio : bench::CollisionRatios())
    {
        reporter.Compare(ratio.what, ratio.ours, ratio.reference);
    }
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
