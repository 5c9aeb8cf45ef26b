// The benchmark scenes stepped 600 times end in exactly the recorded states.
// A change made only for speed (storage layout, loop order of independent
// work) must not change a single bit of any body's state; a change meant to
// alter results records the new checksums with it.

#include "bench_physics_scenes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace
{

struct RecordedScene
{
    std::string name;
    std::function<std::unique_ptr<bench::World>()> make;
    std::uint64_t checksum;
};

TEST(ResultChecksum, BenchmarkScenesEndBitForBitAsRecorded)
{
    const RecordedScene scenes[] = {
        {"pile of 50", [] { return bench::MakeOurPile(50); }, 0xB86482253287BFE1ull},
        {"pile of 200", [] { return bench::MakeOurPile(200); }, 0xAF493971FE6D5A1Full},
        {"pile of 1000", [] { return bench::MakeOurPile(1000); }, 0xC6A6917229590377ull},
        {"chain", [] { return bench::MakeOurChain(); }, 0xD3076FF36871E203ull},
        {"stack of 10", [] { return bench::MakeOurStack(10); }, 0x3082AE11A6699114ull},
        {"stack of 20", [] { return bench::MakeOurStack(20); }, 0x5223A246ABC7D36Eull},
    };
    for (const RecordedScene& scene : scenes)
    {
        const std::unique_ptr<bench::World> world = scene.make();
        for (int step = 0; step < bench::Steps; ++step)
        {
            world->Step();
        }
        EXPECT_EQ(world->StateChecksum(), scene.checksum) << scene.name;
    }
}

} // namespace
