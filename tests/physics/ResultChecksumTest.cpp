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
        {"pile of 50", [] { return bench::MakeOurPile(50); }, 0x1F1648DFBD400967ull},
        {"pile of 200", [] { return bench::MakeOurPile(200); }, 0x8C8C3D20E23A8626ull},
        {"pile of 1000", [] { return bench::MakeOurPile(1000); }, 0x10A00AD5856935D8ull},
        {"chain", [] { return bench::MakeOurChain(); }, 0xF678F9F7A2A3E2B5ull},
        {"stack of 10", [] { return bench::MakeOurStack(10); }, 0xB9421F08D1D21A0Bull},
        {"stack of 20", [] { return bench::MakeOurStack(20); }, 0x5C16BE346426DC7Full},
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
