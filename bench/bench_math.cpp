// Matrix product and inverse beside GLM in the same run, and the shape tests
// the collision world calls in its inner loops.

#include "BenchRatio.h"

#include "math/Math_Frustum.h"
#include "math/Math_LineSegment2D.h"
#include "math/Math_Matrix4.h"

#include <glm/glm.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <cstring>
#include <random>
#include <vector>

namespace
{

// Each run works through a batch of different inputs, so neither side can
// keep one result in registers.
constexpr std::size_t BatchSize = 256;

std::vector<Math::Matrix4> RandomMatrices(unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> value(-1.0f, 1.0f);
    std::vector<Math::Matrix4> matrices(BatchSize);
    for (Math::Matrix4& m : matrices)
    {
        for (float& element : m.m)
        {
            element = value(random);
        }
        for (int i = 0; i < 4; ++i)
        {
            m.m[5 * i] += 4.0f;
        }
    }
    return matrices;
}

std::vector<glm::mat4> ToGlm(const std::vector<Math::Matrix4>& matrices)
{
    std::vector<glm::mat4> out(matrices.size());
    for (std::size_t i = 0; i < matrices.size(); ++i)
    {
        out[i] = glm::make_mat4(matrices[i].m);
    }
    return out;
}

void BM_Matrix4Product(benchmark::State& state)
{
    const std::vector<Math::Matrix4> a = RandomMatrices(1);
    const std::vector<Math::Matrix4> b = RandomMatrices(2);
    std::vector<Math::Matrix4> out(BatchSize);
    for (auto _ : state)
    {
        for (std::size_t i = 0; i < BatchSize; ++i)
        {
            out[i] = a[i] * b[i];
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * BatchSize);
}

void BM_GlmProduct(benchmark::State& state)
{
    const std::vector<glm::mat4> a = ToGlm(RandomMatrices(1));
    const std::vector<glm::mat4> b = ToGlm(RandomMatrices(2));
    std::vector<glm::mat4> out(BatchSize);
    for (auto _ : state)
    {
        for (std::size_t i = 0; i < BatchSize; ++i)
        {
            out[i] = a[i] * b[i];
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * BatchSize);
}

void BM_Matrix4Inverse(benchmark::State& state)
{
    const std::vector<Math::Matrix4> a = RandomMatrices(3);
    std::vector<Math::Matrix4> out(BatchSize);
    for (auto _ : state)
    {
        for (std::size_t i = 0; i < BatchSize; ++i)
        {
            out[i] = Math::Inverse(a[i]);
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * BatchSize);
}

void BM_GlmInverse(benchmark::State& state)
{
    const std::vector<glm::mat4> a = ToGlm(RandomMatrices(3));
    std::vector<glm::mat4> out(BatchSize);
    for (auto _ : state)
    {
        for (std::size_t i = 0; i < BatchSize; ++i)
        {
            out[i] = glm::inverse(a[i]);
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * BatchSize);
}

BENCHMARK(BM_Matrix4Product);
BENCHMARK(BM_GlmProduct);
BENCHMARK(BM_Matrix4Inverse);
BENCHMARK(BM_GlmInverse);

// A camera's frustum against boxes scattered in and around it: a mix of
// inside, straddling and outside answers, as a scene walk sees them.
void BM_FrustumClassifyBox(benchmark::State& state)
{
    Math::Frustum frustum;
    frustum.SetProjection(Math::Matrix4::Perspective(45.0f, 4.0f / 3.0f, 1.0f, 10000.0f));
    frustum.Update(Math::Matrix4::Translation(512.0f, 384.0f, 900.0f));

    std::mt19937 random(4);
    std::uniform_real_distribution<float> x(-600.0f, 1600.0f);
    std::uniform_real_distribution<float> y(-400.0f, 1200.0f);
    std::uniform_real_distribution<float> size(8.0f, 128.0f);
    std::vector<Math::BoundingBox> boxes(BatchSize);
    for (Math::BoundingBox& box : boxes)
    {
        Math::BoundingBox seed;
        const float left = x(random);
        const float bottom = y(random);
        seed.corners[0] = Math::Vector3(left, bottom, -1.0f);
        for (int i = 1; i < 8; ++i)
        {
            seed.corners[i] = Math::Vector3(left + size(random), bottom + size(random), 0.0f);
        }
        Math::BoundingBox::FromList(box, {&seed, 1}, 0.0f);
    }
    int outside = 0;
    for (auto _ : state)
    {
        for (const Math::BoundingBox& box : boxes)
        {
            outside += frustum.Classify(box) == Math::ClassifyResult::Outside;
        }
        benchmark::DoNotOptimize(outside);
    }
    state.SetItemsProcessed(state.iterations() * BatchSize);
}
BENCHMARK(BM_FrustumClassifyBox);

std::vector<Math::LineSegment2D> RandomSegments(unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> coordinate(-10.0f, 10.0f);
    std::vector<Math::LineSegment2D> segments(BatchSize);
    for (Math::LineSegment2D& s : segments)
    {
        s = Math::LineSegment2D({coordinate(random), coordinate(random)},
                                {coordinate(random), coordinate(random)});
    }
    return segments;
}

void BM_SegmentCircle(benchmark::State& state)
{
    const std::vector<Math::LineSegment2D> segments = RandomSegments(5);
    std::mt19937 random(6);
    std::uniform_real_distribution<float> coordinate(-10.0f, 10.0f);
    std::uniform_real_distribution<float> radius(0.5f, 5.0f);
    std::vector<Math::Circle2D> circles(BatchSize);
    for (Math::Circle2D& c : circles)
    {
        c = Math::Circle2D({coordinate(random), coordinate(random)}, radius(random));
    }
    Math::Vector2D first;
    Math::Vector2D second;
    int hits = 0;
    for (auto _ : state)
    {
        for (std::size_t i = 0; i < BatchSize; ++i)
        {
            hits += segments[i].IntersectCircle(circles[i], first, second) !=
                    Math::ClassifyResult::NoIntersection;
        }
        benchmark::DoNotOptimize(hits);
        benchmark::DoNotOptimize(first);
        benchmark::DoNotOptimize(second);
    }
    state.SetItemsProcessed(state.iterations() * BatchSize);
}
BENCHMARK(BM_SegmentCircle);

void BM_SegmentSegment(benchmark::State& state)
{
    const std::vector<Math::LineSegment2D> a = RandomSegments(7);
    const std::vector<Math::LineSegment2D> b = RandomSegments(8);
    Math::Vector2D crossing;
    Math::LineSegment2D overlap;
    int hits = 0;
    for (auto _ : state)
    {
        for (std::size_t i = 0; i < BatchSize; ++i)
        {
            hits += a[i].IntersectLineSegment(b[i], crossing, overlap) == Math::ClassifyResult::Intersecting;
        }
        benchmark::DoNotOptimize(hits);
        benchmark::DoNotOptimize(crossing);
        benchmark::DoNotOptimize(overlap);
    }
    state.SetItemsProcessed(state.iterations() * BatchSize);
}
BENCHMARK(BM_SegmentSegment);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter;
    reporter.Compare("Matrix4 product vs GLM", "BM_Matrix4Product", "BM_GlmProduct");
    reporter.Compare("Matrix4 inverse vs GLM", "BM_Matrix4Inverse", "BM_GlmInverse");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
