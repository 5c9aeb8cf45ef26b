// The contact bridge's cost per contact point beside adding the same
// contacts to the physics engine directly. Both sides allocate one contact
// per point and add it; the bridge also walks the bodies, reads the
// collision records, finds the other objects and asks the game's hook.
//
// The Game opens a window, so these runs need a display (xvfb-run).

#include "bench_framework_bridge.h"

#include "collision/Collision_CollisionEngine.h"
#include "collision/Collision_CollisionResults.h"
#include "collision/Collision_DynamicObject.h"
#include "framework/Velkor_Game.h"
#include "framework/Velkor_GameObject.h"
#include "framework/Velkor_Layer.h"
#include "physics/Physics_MassProperties.h"
#include "physics/Physics_PhysicsEngine.h"

#include <cstdlib>
#include <memory>
#include <vector>

namespace
{

constexpr int ObjectCount = 100;

// One contact as the bridge would make it, for the direct side.
struct DirectContact
{
    std::uint32_t id1;
    std::uint32_t id2;
    Math::Vector2D point;
    Math::Vector2D normal;
    Math::Vector2D position1;
    Math::Vector2D position2;
    float penetration;
    std::uint8_t bodyBody;
};

// A game with a row of objects touching their neighbours: each holds a
// record about the object on either side (one circle contact of two
// points) and one contact with a static segment (one point).
class BridgeWorld
{
public:
    BridgeWorld()
    {
        game_ = new Velkor::Game(new Velkor::LevelFactory(),
                                 Engine::DisplayRequest{64, 48, 60, 0, false, false}, 0);
        layer_ = new Velkor::Layer(0.0f);
        for (int i = 0; i < ObjectCount; ++i)
        {
            Core::RefPtr<Velkor::GameObject> object(new Velkor::GameObject());
            object->SetPosition(static_cast<float>(i) * 20.0f, 0.0f);
            object->AddCollision(new Collision2D::DynamicObject(), layer_->GetCollisionLayerIndex());
            object->AddPhysicalProperties(Physics2D::MassProperties(1.0f, 1.0f, {}), 0);
            layer_->AddGameObject(object.Get());
            objects_.push_back(object);
        }
        layer_->FrameUpdate(0.0f);
        for (int i = 0; i < ObjectCount; ++i)
        {
            for (int other : {i - 1, i + 1})
            {
                if (other >= 0 && other < ObjectCount)
                {
                    AddPair(i, other);
                }
            }
            AddStatic(i);
        }
    }

    ~BridgeWorld()
    {
        Clear();
        layer_->Clear();
        objects_.clear();
        layer_.Reset();
        game_.Reset();
    }

    Physics2D::PhysicsEngine& Physics() { return *game_->GetPhysicsEngine(); }
    const std::vector<DirectContact>& Direct() const { return direct_; }

    void RunBridge() { Physics().GetContactListUpdate()(&Physics(), Physics().GetContactListUpdateData()); }

    void RunDirect()
    {
        for (const DirectContact& c : direct_)
        {
            Physics().AddContact(c.id1, c.id2,
                                 new ("bench", __LINE__)
                                     Physics2D::Contact(c.point, c.normal, c.position1, c.position2,
                                                        c.penetration, Physics2D::Contact::DefaultRestitution,
                                                        Physics2D::Contact::DefaultFriction, c.bodyBody));
        }
    }

    // Drops the contacts the last run added.
    void Clear()
    {
        const std::vector<Core::RefPtr<Physics2D::Contact>> added = Physics().GetContacts();
        for (auto it = added.rbegin(); it != added.rend(); ++it)
        {
            Physics().RemoveContact(it->Get());
        }
    }

private:
    Collision2D::CollisionResults& Results(int i)
    {
        return *game_->GetCollisionEngine()->GetCollisionResults(
            objects_[static_cast<std::size_t>(i)]->GetCollisionId());
    }

    void AddPair(int i, int other)
    {
        const Velkor::GameObject& self = *objects_[static_cast<std::size_t>(i)];
        const Velkor::GameObject& them = *objects_[static_cast<std::size_t>(other)];
        Collision2D::CollisionResults& results = Results(i);
        Collision2D::DGEO_C& record = results.CurrentDynamicContact();
        record.id = them.GetCollisionId();
        record.contactPosition = self.GetPosition();
        Collision2D::CIR_C& circle = record.CurrentCircle();
        circle.numberOfIntersectedPoints = 2;
        circle.penetrationDistance = 0.5f;
        const Math::Vector2D middle = (self.GetPosition() + them.GetPosition()) * 0.5f;
        const Math::Vector2D normal(other < i ? 1.0f : -1.0f, 0.0f);
        for (int m = 0; m < 2; ++m)
        {
            circle.contactPoint[m] = middle + Math::Vector2D(0.0f, m == 0 ? 1.0f : -1.0f);
            circle.normal[m] = normal;
            direct_.push_back({self.GetPhysicsId(), them.GetPhysicsId(), circle.contactPoint[m], normal,
                               record.contactPosition, them.GetPosition(), 0.5f, 1});
        }
        record.NextCircle();
        results.NextDynamicContact();
    }

    void AddStatic(int i)
    {
        const Velkor::GameObject& self = *objects_[static_cast<std::size_t>(i)];
        Collision2D::CollisionResults& results = Results(i);
        Collision2D::LNS_C& segment = results.CurrentStaticLineSegmentContact();
        segment.numberOfIntersectedPoints = 1;
        segment.penetrationDistance = 0.25f;
        segment.contactPosition = self.GetPosition();
        segment.contactPoint[0] = self.GetPosition() + Math::Vector2D(0.0f, -5.0f);
        segment.normal[0] = Math::Vector2D(0.0f, 1.0f);
        direct_.push_back({self.GetPhysicsId(),
                           0,
                           segment.contactPoint[0],
                           segment.normal[0],
                           segment.contactPosition,
                           {},
                           0.25f,
                           0});
        results.NextStaticLineSegmentContact();
    }

    Core::RefPtr<Velkor::Game> game_;
    Core::RefPtr<Velkor::Layer> layer_;
    std::vector<Core::RefPtr<Velkor::GameObject>> objects_;
    std::vector<DirectContact> direct_;
};

// Times `run` alone; the contacts it added are dropped outside the timing.
template <class Run> void TimeRuns(benchmark::State& state, BridgeWorld& world, Run run)
{
    for (auto _ : state)
    {
        run();
        state.PauseTiming();
        world.Clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(world.Direct().size()));
}

std::unique_ptr<BridgeWorld> MakeWorld(benchmark::State& state)
{
    if (std::getenv("DISPLAY") == nullptr)
    {
        state.SkipWithError("the game's window needs a display (run under xvfb-run)");
        return nullptr;
    }
    return std::make_unique<BridgeWorld>();
}

void BM_ContactBridge(benchmark::State& state)
{
    std::unique_ptr<BridgeWorld> world = MakeWorld(state);
    if (world)
    {
        TimeRuns(state, *world, [&] { world->RunBridge(); });
    }
}

void BM_ContactsAddedDirectly(benchmark::State& state)
{
    std::unique_ptr<BridgeWorld> world = MakeWorld(state);
    if (world)
    {
        TimeRuns(state, *world, [&] { world->RunDirect(); });
    }
}

BENCHMARK(BM_ContactBridge);
BENCHMARK(BM_ContactsAddedDirectly);

} // namespace

void bench::CompareContactBridge(RatioReporter& reporter)
{
    // Quiet and windowed the way the tests run the game.
    setenv("ENGINE_HEADLESS", "1", 0);
    setenv("ALSOFT_DRIVERS", "null", 0);
    reporter.Compare("contact bridge vs contacts added directly, per contact point", "BM_ContactBridge",
                     "BM_ContactsAddedDirectly");
}
