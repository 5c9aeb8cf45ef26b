#include "BenchRatio.h"

#include "core/Core_MemoryFile.h"
#include "core/Core_MemoryManager.h"
#include "core/Core_Object.h"

#include <cstdlib>
#include <vector>

namespace
{

constexpr int BatchSize = 64;

// Pairs of allocation and release of one size, in batches so the free lists
// are exercised rather than one block bouncing.
void BM_PoolNewDelete(benchmark::State& state)
{
    const auto size = static_cast<std::size_t>(state.range(0));
    void* blocks[BatchSize];
    for (auto _ : state)
    {
        for (void*& block : blocks)
        {
            block = Core::PoolNew(size);
        }
        benchmark::DoNotOptimize(blocks);
        for (void* block : blocks)
        {
            Core::PoolDelete(block, size);
        }
    }
    state.SetItemsProcessed(state.iterations() * BatchSize);
}

void BM_MallocFree(benchmark::State& state)
{
    const auto size = static_cast<std::size_t>(state.range(0));
    void* blocks[BatchSize];
    for (auto _ : state)
    {
        for (void*& block : blocks)
        {
            block = std::malloc(size);
        }
        benchmark::DoNotOptimize(blocks);
        for (void* block : blocks)
        {
            std::free(block);
        }
    }
    state.SetItemsProcessed(state.iterations() * BatchSize);
}

BENCHMARK(BM_PoolNewDelete)->Arg(16)->Arg(64)->Arg(256);
BENCHMARK(BM_MallocFree)->Arg(16)->Arg(64)->Arg(256);

class Shared : public Core::Object
{
    CORE_DECLARE_OBJECT(Shared)
public:
    void Write(Core::File& file) const override { file << value; }
    std::int32_t value = 7;
};
CORE_DEFINE_OBJECT(Shared, "Bench::Shared", "Object", "bench_core", __LINE__)

// Every object written twice: the second time only its id. The table lookup
// is by address, so the cost grows linearly with the object count.
void BM_WriteSharedObjects(benchmark::State& state)
{
    const auto count = static_cast<std::size_t>(state.range(0));
    std::vector<Core::RefPtr<Shared>> objects;
    for (std::size_t i = 0; i < count; ++i)
    {
        objects.emplace_back(new Shared());
    }
    for (auto _ : state)
    {
        Core::MemoryFile file;
        for (int pass = 0; pass < 2; ++pass)
        {
            for (const auto& object : objects)
            {
                file.WriteObject(object.Get());
            }
        }
        benchmark::DoNotOptimize(file.GetSize());
    }
    state.SetComplexityN(static_cast<benchmark::IterationCount>(count));
}
BENCHMARK(BM_WriteSharedObjects)->Arg(1000)->Arg(10000)->Complexity(benchmark::oN);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter;
    for (const int size : {16, 64, 256})
    {
        const std::string arg = std::to_string(size);
        reporter.Compare("PoolNew/PoolDelete vs malloc/free, " + arg + " bytes", "BM_PoolNewDelete/" + arg,
                         "BM_MallocFree/" + arg);
    }
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
