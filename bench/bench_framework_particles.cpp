#include "bench_framework_particles.h"

#include "Demo_FrameworkFountain.h"

#include "core/Core_Random.h"
#include "engine/Engine_ParticleSystem.h"
#include "framework/Velkor_ParticleSystem.h"

#include <cmath>
#include <string>
#include <vector>

namespace
{

constexpr float FrameStep = 1.0f / 60.0f;

// A full pool that recycles: every particle lives 2 to 4 s, so about one in
// 180 is emitted again each frame. Range 1 selects world coordinates.
void BM_ParticleSystemUpdate(benchmark::State& state)
{
    const auto count = static_cast<std::uint32_t>(state.range(0));
    Core::RefPtr<Velkor::ParticleSystem> system = MakeDemoFountain(count);
    system->SetUseLocalCoordinates(state.range(1) == 0);
    system->SetParticleLifeTime(2.0f, 4.0f);
    system->SetParticleDirection(Velkor::ParticleSystem::FaceDirection);
    system->SetEmissionRate(static_cast<float>(count) * 60.0f, static_cast<float>(count) * 60.0f);
    Core::SeedRandom(7);
    system->UpdateEngineSide(FrameStep);
    system->SetEmissionRate(static_cast<float>(count) / 3.0f, static_cast<float>(count) / 3.0f);
    float x = 0.0f;
    for (auto _ : state)
    {
        // A moving object, so world coordinates carry its displacement.
        x = x > 100.0f ? 0.0f : x + 1.0f;
        system->SetPosition(x, 0.0f);
        system->UpdateEngineSide(FrameStep);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The reference: the same closed-form motion, facing, death test and
// interpolation over separate arrays, with the 40-byte records written the
// same way; no emission.
struct ParticleArrays
{
    explicit ParticleArrays(std::size_t n)
        : originX(n), originY(n), velocityX(n), velocityY(n), startScaleX(n), startScaleY(n), endScaleX(n),
          endScaleY(n), startColour(4 * n), endColour(4 * n), lifeTime(n), age(n), alive(n, 1), records(n)
    {
        Core::SeedRandom(7);
        for (std::size_t i = 0; i < n; ++i)
        {
            const float a = static_cast<float>(Core::Random()) / 32767.0f * 6.2831855f;
            velocityX[i] = std::cos(a) * 150.0f;
            velocityY[i] = std::sin(a) * 150.0f;
            startScaleX[i] = startScaleY[i] = 1.0f;
            endScaleX[i] = endScaleY[i] = 0.2f;
            for (int c = 0; c < 4; ++c)
            {
                startColour[4 * i + c] = 1.0f;
                endColour[4 * i + c] = 0.5f;
            }
            lifeTime[i] = 2.0f + static_cast<float>(Core::Random()) / 32767.0f * 2.0f;
            age[i] = lifeTime[i] * 0.5f;
        }
    }

    std::vector<float> originX, originY, velocityX, velocityY;
    std::vector<float> startScaleX, startScaleY, endScaleX, endScaleY;
    std::vector<float> startColour, endColour;
    std::vector<float> lifeTime, age;
    std::vector<std::uint8_t> alive;
    std::vector<Engine::Particle> records;
};

void BM_PlainParticleArrays(benchmark::State& state)
{
    const auto n = static_cast<std::size_t>(state.range(0));
    ParticleArrays p(n);
    const float gravityX = 0.0f;
    const float gravityY = -210.0f;
    for (auto _ : state)
    {
        for (std::size_t i = 0; i < n; ++i)
        {
            Engine::Particle& record = p.records[i];
            if (p.alive[i] == 0)
            {
                record.scaleX = record.scaleY = 0.0f;
                continue;
            }
            float a = p.age[i] + FrameStep;
            if (p.lifeTime[i] < a)
            {
                // Born again at once: the reference keeps every slot busy.
                a = 0.0f;
            }
            p.age[i] = a;
            const float t = a / p.lifeTime[i];
            record.x = p.originX[i] + p.velocityX[i] * a + (0.5f * gravityX * a) * a;
            record.y = p.originY[i] + p.velocityY[i] * a + (0.5f * gravityY * a) * a;
            record.z = 0.0f;
            record.rotation =
                std::atan2(p.velocityY[i] + gravityY * a, p.velocityX[i] + gravityX * a) * 57.29578f;
            record.scaleX = p.startScaleX[i] + (p.endScaleX[i] - p.startScaleX[i]) * t;
            record.scaleY = p.startScaleY[i] + (p.endScaleY[i] - p.startScaleY[i]) * t;
            const float* from = &p.startColour[4 * i];
            const float* to = &p.endColour[4 * i];
            record.red = from[0] + (to[0] - from[0]) * t;
            record.green = from[1] + (to[1] - from[1]) * t;
            record.blue = from[2] + (to[2] - from[2]) * t;
            record.alpha = from[3] + (to[3] - from[3]) * t;
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_ParticleSystemUpdate)->ArgsProduct({{1000, 10000, 100000}, {0, 1}});
BENCHMARK(BM_PlainParticleArrays)->Arg(1000)->Arg(10000)->Arg(100000);

} // namespace

namespace bench
{

void CompareParticleUpdates(RatioReporter& reporter)
{
    for (const char* count : {"1000", "10000", "100000"})
    {
        const std::string reference = std::string("BM_PlainParticleArrays/") + count;
        reporter.Compare(std::string("particle system update vs plain arrays, local, ") + count +
                             " particles",
                         std::string("BM_ParticleSystemUpdate/") + count + "/0", reference);
        reporter.Compare(std::string("particle system update vs plain arrays, world, ") + count +
                             " particles",
                         std::string("BM_ParticleSystemUpdate/") + count + "/1", reference);
    }
}

} // namespace bench
