#include "BenchRatio.h"

#include "core/Core_MemoryFile.h"
#include "core/Core_MemoryManager.h"
#include "core/Core_Object.h"
#include "core/Core_Startup.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{

constexpr int BatchSize = 64;

// The same allocation patterns run against the pool entry points and against
// malloc/free. Every engine run holds the start guard, so main() holds one
// too: the pool then has its allocator mutex, as it has in the game.
struct PoolAllocator
{
    static void* New(std::size_t size) { return Core::PoolNew(size); }
    static void Delete(void* block, std::size_t size) { Core::PoolDelete(block, size); }
};

struct SystemAllocator
{
    static void* New(std::size_t size) { return std::malloc(size); }
    static void Delete(void* block, std::size_t) { std::free(block); }
};

// A batch allocated, then released newest first.
template <class Allocator>
void BM_Lifo(benchmark::State& state)
{
    const auto size = static_cast<std::size_t>(state.range(0));
    void* blocks[BatchSize];
    for (auto _ : state)
    {
        for (void*& block : blocks)
        {
            block = Allocator::New(size);
        }
        benchmark::DoNotOptimize(blocks);
        for (int i = BatchSize - 1; i >= 0; --i)
        {
            Allocator::Delete(blocks[i], size);
        }
    }
    state.SetItemsProcessed(state.iterations() * BatchSize);
}

// A batch allocated, then released oldest first.
template <class Allocator>
void BM_Fifo(benchmark::State& state)
{
    const auto size = static_cast<std::size_t>(state.range(0));
    void* blocks[BatchSize];
    for (auto _ : state)
    {
        for (void*& block : blocks)
        {
            block = Allocator::New(size);
        }
        benchmark::DoNotOptimize(blocks);
        for (void* block : blocks)
        {
            Allocator::Delete(block, size);
        }
    }
    state.SetItemsProcessed(state.iterations() * BatchSize);
}

// A fixed pseudo-random walk over 256 slots: an empty slot gets a block of
// 16 to 256 bytes, a full one is released, so sizes and lifetimes mix.
struct RandomStep
{
    std::uint16_t slot;
    std::uint16_t size;
};

const std::vector<RandomStep>& RandomSteps()
{
    static const std::vector<RandomStep> steps = [] {
        std::vector<RandomStep> made(4096);
        std::uint32_t state = 12345;
        for (RandomStep& step : made)
        {
            state = state * 214013u + 2531011u;
            step.slot = static_cast<std::uint16_t>((state >> 16) & 0xFF);
            state = state * 214013u + 2531011u;
            step.size = static_cast<std::uint16_t>(16 + ((state >> 16) & 0x7FFF) % 241);
        }
        return made;
    }();
    return steps;
}

template <class Allocator>
void BM_Random(benchmark::State& state)
{
    const std::vector<RandomStep>& steps = RandomSteps();
    void* blocks[256] = {};
    std::size_t sizes[256] = {};
    for (auto _ : state)
    {
        for (const RandomStep& step : steps)
        {
            void*& block = blocks[step.slot];
            if (block == nullptr)
            {
                sizes[step.slot] = step.size;
                block = Allocator::New(step.size);
            }
            else
            {
                Allocator::Delete(block, sizes[step.slot]);
                block = nullptr;
            }
        }
        benchmark::DoNotOptimize(blocks);
    }
    for (int slot = 0; slot < 256; ++slot)
    {
        Allocator::Delete(blocks[slot], sizes[slot]);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(steps.size()));
}

BENCHMARK(BM_Lifo<PoolAllocator>)->Name("BM_PoolLifo")->Arg(16)->Arg(64)->Arg(256);
BENCHMARK(BM_Lifo<SystemAllocator>)->Name("BM_MallocLifo")->Arg(16)->Arg(64)->Arg(256);
BENCHMARK(BM_Fifo<PoolAllocator>)->Name("BM_PoolFifo")->Arg(16)->Arg(64)->Arg(256);
BENCHMARK(BM_Fifo<SystemAllocator>)->Name("BM_MallocFifo")->Arg(16)->Arg(64)->Arg(256);
BENCHMARK(BM_Random<PoolAllocator>)->Name("BM_PoolRandom");
BENCHMARK(BM_Random<SystemAllocator>)->Name("BM_MallocRandom");

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
    const Core::Startup guard;
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter;
    for (const char* pattern : {"Lifo", "Fifo"})
    {
        for (const int size : {16, 64, 256})
        {
            const std::string arg = std::to_string(size);
            reporter.Compare(std::string("pool / malloc, ") + pattern + ", " + arg + " bytes",
                             std::string("BM_Pool") + pattern + "/" + arg, std::string("BM_Malloc") + pattern + "/" + arg);
        }
    }
    reporter.Compare("pool / malloc, random 16-256 bytes", "BM_PoolRandom", "BM_MallocRandom");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
