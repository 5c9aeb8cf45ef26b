#pragma once

#include "GameTestSupport.h"

#include "collision/Collision_CollisionEngine.h"
#include "collision/Collision_DynamicObject.h"
#include "core/Core_DamagedCopies.h"
#include "core/Core_MemoryFile.h"
#include "engine/Engine_TransformationGroup.h"
#include "framework/Velkor_Camera.h"
#include "framework/Velkor_GameObject.h"
#include "framework/Velkor_Layer.h"
#include "framework/Velkor_Viewport.h"
#include "math/Math_Matrix4.h"
#include "math/Math_Vector3.h"
#include "physics/Physics_MassProperties.h"
#include "physics/Physics_PhysicsEngine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace WorldTest
{

// A game object that records its hooks as "<name>.<hook>".
class Probe : public Velkor::GameObject
{
public:
    explicit Probe(const std::string& name = "probe") { SetName(name); }

    void OnStart() override
    {
        GameTest::Record(GetName() + ".OnStart");
        if (onStart)
        {
            onStart(*this);
        }
    }
    void OnEnd() override
    {
        GameTest::Record(GetName() + ".OnEnd");
        if (onEnd)
        {
            onEnd(*this);
        }
    }
    void Update(float) override
    {
        GameTest::Record(GetName() + ".Update");
        if (onUpdate)
        {
            onUpdate(*this);
        }
    }
    void PushVisualProperties(float) override { GameTest::Record(GetName() + ".Push"); }
    void ExtraUpdate1(float) override { GameTest::Record(GetName() + ".Extra1"); }
    void Detach() override
    {
        if (!IsDetached())
        {
            GameTest::Record(GetName() + ".Detach");
        }
        Velkor::GameObject::Detach();
    }

    std::function<void(Probe&)> onStart;
    std::function<void(Probe&)> onEnd;
    std::function<void(Probe&)> onUpdate;
};

// A started game (level 0 current), its log cleared.
class WorldDisplayTest : public GameTest::GameDisplayTest
{
protected:
    void SetUp() override
    {
        GameTest::GameDisplayTest::SetUp();
        if (IsSkipped())
        {
            return;
        }
        MakeGame();
        Tick();
        GameTest::Log().clear();
    }

    Velkor::Level& Level() { return *game->GetCurrentLevel(); }
    Collision2D::CollisionEngine& Collision() { return *game->GetCollisionEngine(); }
    Physics2D::PhysicsEngine& Physics() { return *game->GetPhysicsEngine(); }

    // A layer with its own collision layer, added to the current level.
    Velkor::Layer& AddLayer(float z = 0.0f, const std::string& name = "")
    {
        Core::RefPtr<Velkor::Layer> layer(new Velkor::Layer(z));
        layer->SetName(name);
        Level().AddLayer(layer.Get());
        return *layer;
    }

    // A dynamic collision object for `object` in `layer`'s collision layer.
    static bool AddDynamic(Velkor::GameObject& object, const Velkor::Layer& layer)
    {
        return object.AddCollision(new Collision2D::DynamicObject(), layer.GetCollisionLayerIndex());
    }

    static void AddBody(Velkor::GameObject& object)
    {
        object.AddPhysicalProperties(Physics2D::MassProperties(1.0f, 1.0f, {}), 0);
    }

    // Where the object's node puts the local point.
    static Math::Vector3 Place(const Velkor::GameObject& object, float x, float y)
    {
        return object.GetNode()->GetTransformation() * Math::Vector3(x, y, 0.0f);
    }
};

inline std::vector<std::uint8_t> Bytes(const Core::MemoryFile& file)
{
    return std::vector<std::uint8_t>(file.GetData(), file.GetData() + file.GetSize());
}

// Loads damaged copies of the `good` save into `game`: every third prefix
// (every load tears the whole world down and brings it back; every 97th
// under the sanitizers) and flipped copies drawn from `seed`. A copy that is
// refused must leave the running game saving `good` again (`saveNow`); a
// flip the format cannot tell (a coordinate) loads, and the good save brings
// the game back for the next copy. Fails the test at the first copy that
// breaks this.
template <class Game, class SaveNow>
void ExpectDamagedSavesLeaveTheGame(Game& game, const std::vector<std::uint8_t>& good, SaveNow saveNow,
                                    std::uint32_t seed)
{
    ASSERT_FALSE(good.empty());
    Core::Testing::DamagePlan plan = Core::Testing::PlanForThisBuild(97, 40, 3);
    plan.seed = seed;
    std::string error;
    for (const auto& [damaged, prefix] : Core::Testing::DamagedCopies(good, plan))
    {
        if (prefix)
        {
            ASSERT_FALSE(game.LoadGame(damaged, error)) << damaged.size();
            EXPECT_FALSE(error.empty());
            ASSERT_EQ(saveNow(), good) << "prefix of " << damaged.size();
        }
        else if (!game.LoadGame(damaged, error))
        {
            ASSERT_EQ(saveNow(), good) << "a flipped copy";
        }
        else
        {
            ASSERT_TRUE(game.LoadGame(good, error)) << error;
        }
    }
}

} // namespace WorldTest
