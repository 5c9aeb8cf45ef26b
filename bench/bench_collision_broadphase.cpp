// Broad phase of a collision layer step against Box2D 2.4's dynamic AABB
// tree: n circles of radius 4 drift through a 1024 x 768 field, bouncing off
// its edges, and both sides find the pairs whose swept boxes (the union of
// the box at the old and at the new position) overlap, every step.

#include "bench_collision.h"

#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_CollisionLayer.h"
#include "collision/Collision_DynamicObject.h"

#include <benchmark/benchmark.h>
#include <box2d/b2_collision.h>
#include <box2d/b2_dynamic_tree.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace
{

constexpr float FieldWidth = 1024.0f;
constexpr float FieldHeight = 768.0f;
constexpr float Radius = 4.0f;
constexpr float MaximumSpeed = 3.0f; // units per step
constexpr std::int32_t CellSize = 50;

// The same circles on both sides: positions from a fixed seed, then
// straight motion with bounces at the field's edges.
class Field
{
public:
    explicit Field(int count)
    {
        std::uint32_t state = 12345;
        auto next = [&state]
        {
            state = state * 214013u + 2531011u;
            return static_cast<float>((state >> 16) & 0x7FFF) / 32767.0f;
        };
        for (int i = 0; i < count; ++i)
        {
            positions.push_back(
                {Radius + next() * (FieldWidth - 2 * Radius), Radius + next() * (FieldHeight - 2 * Radius)});
            velocities.push_back({(next() * 2 - 1) * MaximumSpeed, (next() * 2 - 1) * MaximumSpeed});
        }
        previous = positions;
    }

    void Advance()
    {
        previous = positions;
        for (std::size_t i = 0; i < positions.size(); ++i)
        {
            Math::Vector2D& p = positions[i];
            Math::Vector2D& v = velocities[i];
            p += v;
            if (p.x < Radius || p.x > FieldWidth - Radius)
            {
                v.x = -v.x;
            }
            if (p.y < Radius || p.y > FieldHeight - Radius)
            {
                v.y = -v.y;
            }
        }
    }

    std::vector<Math::Vector2D> previous;
    std::vector<Math::Vector2D> positions;
    std::vector<Math::Vector2D> velocities;
};

std::unique_ptr<Collision2D::CollisionActor> MakeCircleActor()
{
    auto actor = std::make_unique<Collision2D::CollisionActor>();
    auto* animation = new ("bench", __LINE__) Collision2D::CollisionAnimation;
    auto* frame = new ("bench", __LINE__) Collision2D::CollisionFrame;
    frame->SetBoundingRectangle({Radius, -Radius, Radius, -Radius}, false);
    frame->AddCircle({0, 0}, Radius, 1, false);
    animation->AddCollisionFrame(frame);
    actor->AddCollisionAnimation(animation);
    return actor;
}

// A layer over the field with a grid of 50-unit cells (the engine's
// smallest). Circles of collision type 2 are paired and tested no further;
// circles of type 1 also run the swept circle tests of every pair.
void RunLayer(benchmark::State& state, std::uint8_t collisionType)
{
    const int count = static_cast<int>(state.range(0));
    Field field(count);
    std::unique_ptr<Collision2D::CollisionActor> actor = MakeCircleActor();
    Collision2D::CollisionLayer layer;
    layer.InitializeGrid({}, static_cast<std::int32_t>(FieldWidth), static_cast<std::int32_t>(FieldHeight),
                         static_cast<std::int32_t>(FieldHeight) / CellSize + 1,
                         static_cast<std::int32_t>(FieldWidth) / CellSize + 1, CellSize);
    std::vector<Collision2D::DynamicObject*> objects;
    for (const Math::Vector2D& p : field.positions)
    {
        auto* object = new ("bench", __LINE__) Collision2D::DynamicObject;
        object->AddCollisionData(actor.get(), 0, 0);
        object->SetCanCollid(0, true);
        object->SetCollisionType(collisionType);
        object->SetOldPosition(p);
        layer.AddCollisionObject(object, p);
        objects.push_back(object);
    }
    std::int64_t pairs = 0;
    for (auto _ : state)
    {
        field.Advance();
        for (std::size_t i = 0; i < objects.size(); ++i)
        {
            objects[i]->SetPosition(field.positions[i]);
        }
        layer.Step(1.0f / 60.0f);
        pairs = 0;
        for (const Collision2D::DynamicObject* object : objects)
        {
            pairs += object->GetCandidateCount();
        }
        benchmark::DoNotOptimize(pairs);
    }
    state.counters["pairs"] = static_cast<double>(pairs);
}

void BM_LayerBroadPhase(benchmark::State& state)
{
    RunLayer(state, 2);
}
BENCHMARK(BM_LayerBroadPhase)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);

void BM_LayerStepWithSweptTests(benchmark::State& state)
{
    RunLayer(state, 1);
}
BENCHMARK(BM_LayerStepWithSweptTests)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);

// Collects the pairs a tree query finds for one circle: each pair once (the
// other circle's index above the querying one) and only when the exact
// boxes overlap.
struct PairCollector
{
    const b2DynamicTree* tree = nullptr;
    const std::vector<b2AABB>* boxes = nullptr;
    std::uintptr_t query = 0;
    std::int64_t pairs = 0;

    bool QueryCallback(std::int32_t proxyId)
    {
        const auto other = reinterpret_cast<std::uintptr_t>(tree->GetUserData(proxyId));
        if (other > query && b2TestOverlap((*boxes)[query], (*boxes)[other]))
        {
            ++pairs;
        }
        return true;
    }
};

b2AABB SweptBox(const Math::Vector2D& from, const Math::Vector2D& to)
{
    b2AABB box;
    box.lowerBound.Set(std::min(from.x, to.x) - Radius, std::min(from.y, to.y) - Radius);
    box.upperBound.Set(std::max(from.x, to.x) + Radius, std::max(from.y, to.y) + Radius);
    return box;
}

// Box2D's broad phase as its world uses it: every proxy moved with its swept
// box and displacement (re-inserted when it leaves its fattened box), then
// every proxy queried, as UpdatePairs does when all proxies moved.
void BM_Box2DBroadPhase(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    Field field(count);
    b2DynamicTree tree;
    std::vector<b2AABB> boxes;
    std::vector<std::int32_t> proxies;
    for (const Math::Vector2D& p : field.positions)
    {
        proxies.push_back(tree.CreateProxy(SweptBox(p, p), reinterpret_cast<void*>(boxes.size())));
        boxes.push_back(SweptBox(p, p));
    }
    PairCollector collector;
    collector.tree = &tree;
    collector.boxes = &boxes;
    for (auto _ : state)
    {
        field.Advance();
        for (std::size_t i = 0; i < proxies.size(); ++i)
        {
            boxes[i] = SweptBox(field.previous[i], field.positions[i]);
            const Math::Vector2D d = field.positions[i] - field.previous[i];
            tree.MoveProxy(proxies[i], boxes[i], b2Vec2(d.x, d.y));
        }
        collector.pairs = 0;
        for (std::size_t i = 0; i < proxies.size(); ++i)
        {
            collector.query = i;
            tree.Query(&collector, boxes[i]);
        }
        benchmark::DoNotOptimize(collector.pairs);
    }
    state.counters["pairs"] = static_cast<double>(collector.pairs);
}
BENCHMARK(BM_Box2DBroadPhase)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);

const bench::RegisterCollisionRatio ratio100{"layer broad phase vs Box2D, 100 circles",
                                             "BM_LayerBroadPhase/100", "BM_Box2DBroadPhase/100"};
const bench::RegisterCollisionRatio ratio1000{"layer broad phase vs Box2D, 1000 circles",
                                              "BM_LayerBroadPhase/1000", "BM_Box2DBroadPhase/1000"};
const bench::RegisterCollisionRatio ratio5000{"layer broad phase vs Box2D, 5000 circles",
                                              "BM_LayerBroadPhase/5000", "BM_Box2DBroadPhase/5000"};

} // namespace
