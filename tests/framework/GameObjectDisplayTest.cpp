#include "WorldTestSupport.h"
#include "framework/Velkor_ZibNetTestAccess.h"

#include "framework/Velkor_Network.h"
#include "physics/Physics_Force.h"

#include <cmath>

namespace
{

using GameTest::Log;
using WorldTest::Probe;
using WorldTest::WorldDisplayTest;

using Strings = std::vector<std::string>;

void ExpectNear(const Math::Vector3& actual, float x, float y)
{
    EXPECT_NEAR(actual.x, x, 1e-4f);
    EXPECT_NEAR(actual.y, y, 1e-4f);
}

void ExpectNear(const Math::Vector2D& actual, float x, float y)
{
    EXPECT_NEAR(actual.x, x, 1e-4f);
    EXPECT_NEAR(actual.y, y, 1e-4f);
}

class GameObjectDisplayTest : public WorldDisplayTest
{
};

TEST_F(GameObjectDisplayTest, TheCentreLandsOnThePositionAndTheObjectTurnsAboutIt)
{
    Core::RefPtr<Probe> object(new Probe());
    object->SetScale(2.0f, 4.0f);
    object->SetCenter(Math::Vector2D(6.0f, 8.0f));
    object->SetPosition(Math::Vector2D(100.0f, 50.0f));
    object->SetZOrder(3.0f);
    object->SetRotationAngle(90.0f);
    // The centre in scaled units is (3, 2) in the object's own.
    const Math::Vector3 centre = Place(*object, 3.0f, 2.0f);
    ExpectNear(centre, 100.0f, 50.0f);
    EXPECT_FLOAT_EQ(centre.z, 3.0f);
    // One scaled unit to the right of the centre turns a quarter about it.
    ExpectNear(Place(*object, 3.5f, 2.0f), 100.0f, 51.0f);
}

TEST_F(GameObjectDisplayTest, AMountedTreeMovesAndTurnsWithItsSupport)
{
    Core::RefPtr<Probe> root(new Probe("root"));
    Core::RefPtr<Probe> middle(new Probe("middle"));
    Core::RefPtr<Probe> leaf(new Probe("leaf"));
    middle->SetPosition(10.0f, 0.0f);
    leaf->SetPosition(20.0f, 0.0f);
    ASSERT_TRUE(root->Mount(middle.Get()));
    ASSERT_TRUE(middle->Mount(leaf.Get()));

    root->SetPosition(5.0f, 5.0f);
    ExpectNear(middle->GetPosition(), 15.0f, 5.0f);
    ExpectNear(leaf->GetPosition(), 25.0f, 5.0f);

    // A quarter turn about the root's position (5, 5).
    root->SetRotationAngle(90.0f);
    ExpectNear(middle->GetPosition(), 5.0f, 15.0f);
    ExpectNear(leaf->GetPosition(), 5.0f, 25.0f);
    EXPECT_FLOAT_EQ(leaf->GetRotationAngle(), 90.0f);
    ExpectNear(Place(*leaf, 0.0f, 0.0f), 5.0f, 25.0f);

    // Refused: a second support, a cycle, the same child twice, itself.
    Core::RefPtr<Probe> other(new Probe("other"));
    EXPECT_FALSE(other->Mount(leaf.Get()));
    EXPECT_FALSE(leaf->Mount(root.Get()));
    EXPECT_FALSE(middle->Mount(leaf.Get()));
    EXPECT_FALSE(root->Mount(root.Get()));
    EXPECT_FALSE(root->Mount(nullptr));
    EXPECT_EQ(leaf->GetMountSupport(), middle.Get());
    EXPECT_EQ(root->GetMountSupport(), nullptr);
    EXPECT_EQ(middle->GetMountedChildren().size(), 1u);
    EXPECT_TRUE(other->GetMountedChildren().empty());

    // A detached support lets its children go.
    middle->Detach();
    EXPECT_EQ(leaf->GetMountSupport(), nullptr);
    EXPECT_TRUE(root->GetMountedChildren().empty());
    root->SetPosition(0.0f, 0.0f);
    ExpectNear(leaf->GetPosition(), 5.0f, 25.0f);
}

TEST_F(GameObjectDisplayTest, ALifeTimeEndsTheObjectStrictlyAfterIt)
{
    Velkor::Layer& layer = AddLayer();
    Core::RefPtr<Probe> object(new Probe("p"));
    object->SetLifeTime(1.0f);
    layer.AddGameObject(object.Get());
    layer.FrameUpdate(0.5f); // age 0.5
    layer.FrameUpdate(0.5f); // age 1.0: not past it
    EXPECT_EQ(Log(), (Strings{"p.OnStart", "p.Update", "p.Push", "p.Update", "p.Push"}));
    Log().clear();
    layer.FrameUpdate(0.5f); // age 1.5
    EXPECT_TRUE(Log().empty()) << "neither Update nor PushVisualProperties";
    EXPECT_TRUE(object->IsBeingDestroyed());
    EXPECT_EQ(layer.GetGameObjectsCount(), 1u) << "it leaves at the next walk";
    layer.FrameUpdate(0.5f);
    EXPECT_EQ(Log(), (Strings{"p.OnEnd", "p.Detach"}));
    EXPECT_EQ(layer.GetGameObjectsCount(), 0u);

    // Life time 0 never expires.
    Core::RefPtr<Probe> forever(new Probe("f"));
    layer.AddGameObject(forever.Get());
    for (int i = 0; i < 100; ++i)
    {
        layer.FrameUpdate(1000.0f);
    }
    EXPECT_FALSE(forever->IsBeingDestroyed());
}

TEST_F(GameObjectDisplayTest, ANetworkedObjectOnAClientFollowsTheHostHalfwayEachFrame)
{
    Core::RefPtr<Probe> object(new Probe("n"));
    object->SetNetworkID(new Velkor::NetObjectID(2, 9));
    object->SetNetworkTarget(Math::Vector2D(10.0f, 0.0f), 40.0f);
    Velkor::ZibNet& network = *game->GetNetworkEngine();

    Velkor::ZibNetTestAccess::Pretend(network, Velkor::ZibNetTestAccess::Session::Host);
    EXPECT_FALSE(object->IsNetworkClientObject());
    Velkor::ZibNetTestAccess::Pretend(network, Velkor::ZibNetTestAccess::Session::Client);
    EXPECT_TRUE(object->IsNetworkClientObject());

    object->UpdateEngineSide(0.5f);
    ExpectNear(object->GetPosition(), 5.0f, 0.0f);
    EXPECT_FLOAT_EQ(object->GetRotationAngle(), 20.0f);
    EXPECT_EQ(Log(), (Strings{"n.Push"})) << "no Update on a client";
    object->UpdateEngineSide(0.5f);
    ExpectNear(object->GetPosition(), 7.5f, 0.0f);

    // On the host the same object is the game's own.
    Velkor::ZibNetTestAccess::Pretend(network, Velkor::ZibNetTestAccess::Session::Host);
    Log().clear();
    object->UpdateEngineSide(0.5f);
    EXPECT_EQ(Log(), (Strings{"n.Update", "n.Push"}));
}

TEST_F(GameObjectDisplayTest, SecondAndSelfCallsChangeNothing)
{
    Velkor::Layer& layer = AddLayer();
    Core::RefPtr<Probe> object(new Probe("p"));
    layer.AddGameObject(object.Get());
    layer.FrameUpdate(0.1f);
    Log().clear();

    object->SetName("p");
    EXPECT_EQ(layer.GetNameIndex().at("p").size(), 1u);
    object->Destroy();
    object->Destroy();
    layer.FrameUpdate(0.1f);
    EXPECT_EQ(Log(), (Strings{"p.OnEnd", "p.Detach"}));
    Log().clear();
    object->Detach();
    object->Destroy();
    layer.FrameUpdate(0.1f);
    EXPECT_TRUE(Log().empty());
    EXPECT_FALSE(object->Mount(object.Get()));
}

TEST_F(GameObjectDisplayTest, ACloneHasNewIdsAndNoPlaceInTheWorld)
{
    Velkor::Layer& layer = AddLayer();
    Core::RefPtr<Probe> source(new Probe("s"));
    source->SetPosition(3.0f, 4.0f);
    ASSERT_TRUE(AddDynamic(*source, layer));
    AddBody(*source);
    Core::RefPtr<Probe> child(new Probe("c"));
    source->Mount(child.Get());
    source->SetNetworkID(new Velkor::NetObjectID(1, 1));
    layer.AddGameObject(source.Get());

    Core::RefPtr<Velkor::GameObject> copy(static_cast<Velkor::GameObject*>(source->Clone()));
    EXPECT_NE(copy->GetID(), source->GetID());
    EXPECT_NE(copy->GetCollisionId(), 0u);
    EXPECT_NE(copy->GetCollisionId(), source->GetCollisionId());
    EXPECT_NE(copy->GetPhysicsId(), 0u);
    EXPECT_NE(copy->GetPhysicsId(), source->GetPhysicsId());
    EXPECT_EQ(copy->GetLayer(), nullptr);
    EXPECT_TRUE(copy->GetMountedChildren().empty());
    EXPECT_FALSE(copy->IsNetworkObject());
    EXPECT_EQ(copy->GetName(), "s");
    ExpectNear(copy->GetPosition(), 3.0f, 4.0f);
    // The copy owns its collision object and body.
    EXPECT_EQ(Collision().GetDynamicObject(copy->GetCollisionId())->GetOwner(),
              reinterpret_cast<Collision2D::OwnerWord>(copy.Get()));
    EXPECT_EQ(Physics().GetRigidBody(copy->GetPhysicsId())->GetData(), copy.Get());
}

TEST_F(GameObjectDisplayTest, AfterDetachTheOldIdTouchesNoOtherObject)
{
    Velkor::Layer& layer = AddLayer();
    Core::RefPtr<Probe> first(new Probe("first"));
    ASSERT_TRUE(AddDynamic(*first, layer));
    AddBody(*first);
    const Collision2D::CollisionId id = first->GetCollisionId();
    first->Detach();
    EXPECT_EQ(first->GetCollisionId(), id) << "the value stays";
    EXPECT_EQ(first->GetPhysicsId(), 0u);
    EXPECT_EQ(Collision().GetDynamicObject(id), nullptr);

    // The slot goes to the next object.
    Core::RefPtr<Probe> second(new Probe("second"));
    second->SetPosition(50.0f, 60.0f);
    ASSERT_TRUE(AddDynamic(*second, layer));
    ASSERT_EQ(second->GetCollisionId(), id);

    first->SetPosition(1.0f, 2.0f);
    first->SetRotationAngle(30.0f);
    first->SetCenter(Math::Vector2D(1.0f, 1.0f));
    first->RemoveCollision();
    Core::RefPtr<Velkor::GameObject> copy(static_cast<Velkor::GameObject*>(first->Clone()));
    first = nullptr;

    Collision2D::DynamicObject* taken = Collision().GetDynamicObject(id);
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(taken->GetOwner(), reinterpret_cast<Collision2D::OwnerWord>(second.Get()));
    ExpectNear(taken->GetPosition(), 50.0f, 60.0f);
    EXPECT_EQ(taken->GetOrientation(), 0.0f);
    EXPECT_EQ(copy->GetCollisionId(), 0u) << "nothing of the other object is cloned";
}

TEST_F(GameObjectDisplayTest, DirectionComponentsTurnTheObject)
{
    const struct
    {
        const char* name;
        void (Velkor::GameObject::*set)(float);
        float value;
        float degrees;
    } cases[] = {
        {"x 0", &Velkor::GameObject::SetDirectionX, 0.0f, 0.0f},
        {"y 1", &Velkor::GameObject::SetDirectionY, 1.0f, 45.0f},
        {"x -1", &Velkor::GameObject::SetDirectionX, -1.0f, 180.0f},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        Core::RefPtr<Probe> object(new Probe());
        (object.Get()->*c.set)(c.value);
        EXPECT_NEAR(object->GetRotationAngle(), c.degrees, 1e-4f);
    }
}

TEST_F(GameObjectDisplayTest, AFallingBodyCarriesItsObjectCollisionObjectAndNode)
{
    Velkor::Layer& layer = AddLayer();
    Core::RefPtr<Probe> object(new Probe("ball"));
    object->SetPosition(0.0f, 100.0f);
    ASSERT_TRUE(AddDynamic(*object, layer));
    AddBody(*object);
    object->AddForce(new Physics2D::GravityForce(Math::Vector2D(0.0f, -1.0f), 100.0f));
    layer.AddGameObject(object.Get());

    float lastY = object->GetPositionY();
    for (int frame = 0; frame < 10; ++frame)
    {
        SCOPED_TRACE(frame);
        Tick();
        const float y = object->GetPositionY();
        EXPECT_LT(y, lastY);
        lastY = y;
        ExpectNear(Collision().GetDynamicObject(object->GetCollisionId())->GetPosition(), 0.0f, y);
        ExpectNear(Place(*object, 0.0f, 0.0f), 0.0f, y);
        Math::Vector2D bodyPosition = Physics().GetRigidBody(object->GetPhysicsId())->GetPosition();
        ExpectNear(bodyPosition, 0.0f, y);
    }
}

} // namespace
