// The benchmark scenes stepped 600 times end in exactly the recorded states.
// A change made only for speed (storage layout, loop order of independent
// work) must not change a single bit of any body's state; a change meant to
// alter results records the new checksums with it.

#include "bench_physics_scenes.h"
#include "physics/Physics_ConstraintSolver.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

namespace
{

struct RecordedScene
{
    const char* name;
    std::function<std::unique_ptr<bench::World>()> make;
    std::uint64_t checksum;
};

// Test names and messages show the scene's name, not its bytes.
void PrintTo(const RecordedScene& scene, std::ostream* out)
{
    *out << scene.name;
}

const RecordedScene Scenes[] = {
    {"PileOf50", [] { return bench::MakeOurPile(50); }, 0x1F1648DFBD400967ull},
    {"PileOf200", [] { return bench::MakeOurPile(200); }, 0x8C8C3D20E23A8626ull},
    {"PileOf1000", [] { return bench::MakeOurPile(1000); }, 0x10A00AD5856935D8ull},
    {"Chain", [] { return bench::MakeOurChain(); }, 0xF223F37DA0D2B2B9ull},
    {"StackOf10", [] { return bench::MakeOurStack(10); }, 0xB9421F08D1D21A0Bull},
    {"StackOf20", [] { return bench::MakeOurStack(20); }, 0x5C16BE346426DC7Full},
};

// One test per scene: each runs on its own (and within its own time limit
// in the sanitizer tree, where a scene takes a minute or more).
class ResultChecksum : public testing::TestWithParam<RecordedScene>
{
};

TEST_P(ResultChecksum, SceneEndsBitForBitAsRecorded)
{
    const std::unique_ptr<bench::World> world = GetParam().make();
    for (int step = 0; step < bench::Steps; ++step)
    {
        world->Step();
    }
    EXPECT_EQ(world->StateChecksum(), GetParam().checksum);
}

// The piles run the batched sweeps; every kernel the processor has ends
// them the same.
TEST(ResultChecksumOnEachKernel, PilesEndBitForBitAsRecorded)
{
    using Kernel = Physics2D::ConstraintSolver::SweepKernel;
    for (const Kernel kernel : {Kernel::Baseline, Kernel::Avx})
    {
        Physics2D::ConstraintSolver::LimitSweepKernel(kernel);
        for (const RecordedScene& scene : {Scenes[0], Scenes[1]})
        {
            SCOPED_TRACE(std::string(scene.name) + ", kernel " + std::to_string(static_cast<int>(kernel)));
            const std::unique_ptr<bench::World> world = scene.make();
            for (int step = 0; step < bench::Steps; ++step)
            {
                world->Step();
            }
            EXPECT_EQ(world->StateChecksum(), scene.checksum);
        }
    }
    Physics2D::ConstraintSolver::LimitSweepKernel(Kernel::Avx2);
}

INSTANTIATE_TEST_SUITE_P(BenchmarkScenes, ResultChecksum, testing::ValuesIn(Scenes),
                         [](const testing::TestParamInfo<RecordedScene>& info) { return info.param.name; });

} // namespace
