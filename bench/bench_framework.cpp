#include "BenchRatio.h"
#include "bench_framework_bridge.h"
#include "bench_framework_particles.h"
#include "bench_framework_saves.h"
#include "bench_framework_sprites.h"

#include "engine/Engine_TransformationGroup.h"
#include "framework/Velkor_GameObject.h"
#include "framework/Velkor_Layer.h"
#include "math/Math_Matrix4.h"

#include <memory>
#include <vector>

namespace
{

constexpr float FrameStep = 1.0f / 60.0f;

// A game object with a per-frame update of its own, as game classes have.
class Spinner : public Velkor::GameObject
{
public:
    void Update(float dt) override { turned_ += dt; }

private:
    float turned_ = 0.0f;
};

// The frame update of a layer without drawing: the walk (queues, ageing,
// every object's update) and the transformation pass.
void BM_LayerFrameUpdate(benchmark::State& state)
{
    Core::RefPtr<Velkor::Layer> layer(new Velkor::Layer());
    std::vector<Core::RefPtr<Spinner>> objects;
    for (std::int64_t i = 0; i < state.range(0); ++i)
    {
        Core::RefPtr<Spinner> object(new Spinner());
        object->SetPosition(static_cast<float>(i % 100), static_cast<float>(i / 100));
        object->SetRotationAngle(static_cast<float>(i % 360));
        object->SetLifeTime(1.0e9f);
        layer->AddGameObject(object.Get());
        objects.push_back(object);
    }
    layer->FrameUpdate(FrameStep);
    for (auto _ : state)
    {
        layer->FrameUpdate(FrameStep);
        layer->UpdateObjectTransformations();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    layer->Clear();
}

// The same per-object work over a plain array: the age test, one virtual
// update call, and the five-factor transformation written to a node.
struct PlainObject
{
    virtual ~PlainObject() = default;
    virtual void Update(float dt) { turned += dt; }

    Core::RefPtr<Engine::TransformationGroup> node{new Engine::TransformationGroup()};
    Math::Vector2D position;
    Math::Vector2D center;
    float rotation = 0.0f;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    float z = 0.0f;
    float age = 0.0f;
    float lifeTime = 1.0e9f;
    float turned = 0.0f;
};

void BM_PlainArray(benchmark::State& state)
{
    std::vector<std::unique_ptr<PlainObject>> objects;
    for (std::int64_t i = 0; i < state.range(0); ++i)
    {
        auto object = std::make_unique<PlainObject>();
        object->position = Math::Vector2D(static_cast<float>(i % 100), static_cast<float>(i / 100));
        object->rotation = static_cast<float>(i % 360);
        objects.push_back(std::move(object));
    }
    for (auto _ : state)
    {
        for (const auto& object : objects)
        {
            object->age += FrameStep;
            if (object->age > object->lifeTime)
            {
                continue;
            }
            object->Update(FrameStep);
        }
        for (const auto& object : objects)
        {
            const Math::Vector2D& p = object->position;
            const Math::Vector2D& c = object->center;
            object->node->SetTransformation(Math::Matrix4::Translation(p.x - c.x, p.y - c.y, object->z) *
                                            Math::Matrix4::Translation(c.x, c.y, 0.0f) *
                                            Math::Matrix4::RotationZ(object->rotation) *
                                            Math::Matrix4::Translation(-c.x, -c.y, 0.0f) *
                                            Math::Matrix4::Scale(object->scaleX, object->scaleY, 1.0f));
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_LayerFrameUpdate)->Arg(1000)->Arg(10000);
BENCHMARK(BM_PlainArray)->Arg(1000)->Arg(10000);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter;
    reporter.Compare("layer frame update vs plain array, 1000 objects", "BM_LayerFrameUpdate/1000",
                     "BM_PlainArray/1000");
    reporter.Compare("layer frame update vs plain array, 10000 objects", "BM_LayerFrameUpdate/10000",
                     "BM_PlainArray/10000");
    bench::CompareContactBridge(reporter);
    bench::CompareSpriteFrames(reporter);
    bench::CompareParticleUpdates(reporter);
    bench::CompareSaves(reporter);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    bench::PrintReplayBytes();
    benchmark::Shutdown();
    return 0;
}
