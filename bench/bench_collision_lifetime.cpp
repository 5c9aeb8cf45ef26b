// Creating and removing moving objects, in batches of 64: collision objects
// with one circle stored in a layer and removed again, against Box2D 2.4
// bodies with one circle fixture created in a world and destroyed again. The
// world takes a step of no time after each batch, as a game's next step
// would: Box2D's broad phase scans a buffer of the proxies moved since the
// last step on every removal, which otherwise grows without end.

#include "bench_collision.h"

#include "collision/Collision_CollisionActor.h"
#include "collision/Collision_CollisionLayer.h"
#include "collision/Collision_DynamicObject.h"

#include <benchmark/benchmark.h>
#include <box2d/b2_body.h>
#include <box2d/b2_circle_shape.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_world.h>

#include <memory>

namespace
{

constexpr float Radius = 4.0f;
constexpr int BatchSize = 64;

void BM_CollisionObjectCreateRemove(benchmark::State& state)
{
    Collision2D::CollisionActor actor;
    auto* animation = new ("bench", __LINE__) Collision2D::CollisionAnimation;
    auto* frame = new ("bench", __LINE__) Collision2D::CollisionFrame;
    frame->SetBoundingRectangle({Radius, -Radius, Radius, -Radius}, false);
    frame->AddCircle({0, 0}, Radius, 1, false);
    animation->AddCollisionFrame(frame);
    actor.AddCollisionAnimation(animation);
    Collision2D::CollisionLayer layer;
    layer.InitializeGrid({}, 1024, 768, 16, 21, 50);
    Collision2D::CollisionId ids[BatchSize];
    for (auto _ : state)
    {
        for (Collision2D::CollisionId& id : ids)
        {
            auto* object = new ("bench", __LINE__) Collision2D::DynamicObject;
            object->AddCollisionData(&actor, 0, 0);
            object->SetCanCollid(0, true);
            id = layer.AddCollisionObject(object, {100.0f, 100.0f});
        }
        benchmark::DoNotOptimize(ids);
        for (const Collision2D::CollisionId id : ids)
        {
            layer.RemoveDynamicObject(Collision2D::IndexOf(id) - Collision2D::DynamicObjectBase);
        }
    }
    state.SetItemsProcessed(state.iterations() * BatchSize);
}
BENCHMARK(BM_CollisionObjectCreateRemove);

void BM_Box2DBodyCreateDestroy(benchmark::State& state)
{
    b2World world(b2Vec2(0.0f, -10.0f));
    b2CircleShape circle;
    circle.m_radius = Radius;
    b2FixtureDef fixture;
    fixture.shape = &circle;
    fixture.density = 1.0f;
    b2BodyDef def;
    def.type = b2_dynamicBody;
    def.position.Set(100.0f, 100.0f);
    b2Body* bodies[BatchSize];
    for (auto _ : state)
    {
        for (b2Body*& body : bodies)
        {
            body = world.CreateBody(&def);
            body->CreateFixture(&fixture);
        }
        benchmark::DoNotOptimize(bodies);
        for (b2Body* body : bodies)
        {
            world.DestroyBody(body);
        }
        world.Step(0.0f, 8, 3);
    }
    state.SetItemsProcessed(state.iterations() * BatchSize);
}
BENCHMARK(BM_Box2DBodyCreateDestroy);

const bench::RegisterCollisionRatio ratio{"collision object create+remove vs Box2D body",
                                          "BM_CollisionObjectCreateRemove", "BM_Box2DBodyCreateDestroy"};

} // namespace
