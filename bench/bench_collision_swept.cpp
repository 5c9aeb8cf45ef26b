// Cost of the swept tests per pair and step: the sub-step loop of a pair
// test (one object moving, both moving), the sweep against one static shape
// and the overlap tests, for 1 to 20 sub-steps and 1 to 8 shapes per object.
// The shapes pass close by without touching, so every sub-step runs.

#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_DynamicObject.h"
#include "collision/Collision_GeometricCollision.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

namespace
{

using Collision2D::DynamicObject;
using Math::Vector2D;

// `shapes` shapes in a row, alternately a segment (facing up) and a circle
// of radius 2 resting on the row's line, 6 units apart; a circle first.
class BenchBody
{
public:
    BenchBody(int shapes, std::uint32_t slot) : actor_(std::make_unique<Collision2D::CollisionActor>())
    {
        auto* frame = new ("bench", __LINE__) Collision2D::CollisionFrame;
        frame->SetBoundingRectangle({10, -10, 10, -10}, false);
        for (int i = 0; i < shapes; ++i)
        {
            const float x = 6.0f * static_cast<float>(i);
            if (i % 2 == 0)
            {
                frame->AddCircle({x, 2}, 2, static_cast<std::uint32_t>(i), false);
            }
            else
            {
                frame->AddLineSegment({x - 2, 0}, {x + 2, 0}, static_cast<std::uint32_t>(i), false);
            }
        }
        auto* animation = new ("bench", __LINE__) Collision2D::CollisionAnimation;
        animation->AddCollisionFrame(frame);
        actor_->AddCollisionAnimation(animation);
        object.AddCollisionData(actor_.get(), 0, 0);
        object.SetCollisionType(1);
        object.SetSlot(static_cast<std::int32_t>(slot));
    }

    void Pose(const Vector2D& from, const Vector2D& to)
    {
        object.SetOldPosition(from);
        object.SetPosition(to);
        object.PreUpdate();
    }

    DynamicObject object;

private:
    std::unique_ptr<Collision2D::CollisionActor> actor_;
};

// The moving row passes 1.5 below the resting one, shifted by half a pitch.
constexpr float RowGap = 5.5f;

void BM_SweptPairOneMoving(benchmark::State& state)
{
    const auto subSteps = static_cast<float>(state.range(0));
    const int shapes = static_cast<int>(state.range(1));
    BenchBody mover(shapes, 1);
    BenchBody rest(shapes, 2);
    mover.Pose({0, 0}, {subSteps, 0});
    rest.Pose({3, RowGap}, {3, RowGap});
    const std::int32_t n = mover.object.GetSubSteps();
    const float dt = 1.0f / static_cast<float>(n);
    for (auto _ : state)
    {
        bool any = false;
        for (std::int32_t k = 1; k <= n && !any; ++k)
        {
            const float kf = static_cast<float>(k);
            float fraction = 2.0f;
            any = mover.object.SweptSegmentsSegmentsOneMoving(rest.object, 0, dt, kf, fraction);
            any = mover.object.SweptSegmentsCirclesOneMoving(rest.object, 0, dt, kf, fraction) || any;
            any = mover.object.SweptCirclesSegmentsOneMoving(rest.object, 0, dt, kf, fraction) || any;
            any = mover.object.SweptCirclesCirclesOneMoving(rest.object, 0, dt, kf, fraction) || any;
        }
        benchmark::DoNotOptimize(any);
    }
    if (mover.object.GetCollisionResults().CurrentDynamicContact().currentCirclesNumber != 0)
    {
        state.SkipWithError("the rows touched");
    }
}
BENCHMARK(BM_SweptPairOneMoving)->ArgsProduct({{1, 5, 10, 20}, {1, 2, 4, 8}});

void BM_SweptPairBothMoving(benchmark::State& state)
{
    const auto subSteps = static_cast<float>(state.range(0));
    const int shapes = static_cast<int>(state.range(1));
    BenchBody first(shapes, 1);
    BenchBody second(shapes, 2);
    first.Pose({0, 0}, {subSteps, 0});
    second.Pose({3, RowGap}, {3 + subSteps, RowGap});
    std::int32_t n = first.object.GetSubSteps();
    const float dt = 1.0f / static_cast<float>(n);
    for (auto _ : state)
    {
        bool any = false;
        for (std::int32_t k = 1; k <= n && !any; ++k)
        {
            const float kf = static_cast<float>(k);
            float fraction = 2.0f;
            float otherFraction = 2.0f;
            bool hit = false;
            bool otherHit = false;
            first.object.SweptSegmentsSegments(second.object, 0, dt, kf, fraction, otherFraction, n, hit,
                                               otherHit);
            first.object.SweptSegmentsCircles(second.object, 0, dt, kf, fraction, otherFraction, n, hit,
                                              otherHit);
            second.object.SweptSegmentsCircles(first.object, 0, dt, kf, otherFraction, fraction, n, otherHit,
                                               hit);
            first.object.SweptCirclesCircles(second.object, 0, dt, kf, fraction, otherFraction, hit,
                                             otherHit);
            any = hit || otherHit;
        }
        benchmark::DoNotOptimize(any);
    }
}
BENCHMARK(BM_SweptPairBothMoving)->ArgsProduct({{1, 5, 10, 20}, {1, 2, 4, 8}});

// A mover of range(1) shapes per kind sweeps range(0) sub-steps against one
// static shape.
template <auto Sweep, auto Count, class Shape> void SweepAgainstStatic(benchmark::State& state, Shape& shape)
{
    const auto subSteps = static_cast<float>(state.range(0));
    BenchBody mover(static_cast<int>(state.range(1)), 1);
    mover.Pose({0, 0}, {subSteps, 0});
    shape.SetSlot(1);
    for (auto _ : state)
    {
        (mover.object.*Sweep)(shape, 0);
        benchmark::DoNotOptimize((mover.object.GetCollisionResults().*Count)());
    }
}

void BM_SweptAgainstStaticCircle(benchmark::State& state)
{
    Collision2D::StaticCollisionCircle circle;
    circle.SetCircle(new ("bench", __LINE__) Math::Circle2D({3, RowGap + 2}, 2));
    SweepAgainstStatic<&Collision2D::DynamicObject::SweptAgainstStaticCircle,
                       &Collision2D::CollisionResults::GetStaticCircleContactCount>(state, circle);
}
BENCHMARK(BM_SweptAgainstStaticCircle)->ArgsProduct({{1, 5, 10, 20}, {1, 2, 4, 8}});

void BM_SweptAgainstStaticLineSegment(benchmark::State& state)
{
    Collision2D::StaticCollisionLineSegment segment;
    segment.SetLineSegment(new ("bench", __LINE__) Math::LineSegment2D({-5, RowGap}, {55, RowGap}));
    SweepAgainstStatic<&Collision2D::DynamicObject::SweptAgainstStaticLineSegment,
                       &Collision2D::CollisionResults::GetStaticLineSegmentContactCount>(state, segment);
}
BENCHMARK(BM_SweptAgainstStaticLineSegment)->ArgsProduct({{1, 5, 10, 20}, {1, 2, 4, 8}});

void BM_OverlapPair(benchmark::State& state)
{
    const int shapes = static_cast<int>(state.range(0));
    BenchBody first(shapes, 1);
    BenchBody second(shapes, 2);
    first.object.SetUpdateOnIdle(true);
    first.Pose({0, 0}, {0, 0});
    second.Pose({3, RowGap}, {3, RowGap});
    for (auto _ : state)
    {
        bool any = first.object.OverlapSegmentsSegments(second.object, 0);
        any = first.object.OverlapSegmentsCircles(second.object, 0) || any;
        any = first.object.OverlapCirclesSegments(second.object, 0) || any;
        any = first.object.OverlapCirclesCircles(second.object, 0) || any;
        benchmark::DoNotOptimize(any);
    }
}
BENCHMARK(BM_OverlapPair)->Arg(1)->Arg(2)->Arg(4)->Arg(8);

} // namespace
