#include "PhysicsScene.h"
#include "physics/Physics_JointFixed.h"
#include "physics/Physics_JointNail.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace
{

using namespace physics_test;

Core::RefPtr<RigidBody> MakeBody(float mass = 1.0f)
{
    return new RigidBody(MassProperties(mass, mass, {}), RigidBody::Euler, nullptr, nullptr, nullptr);
}

TEST(EngineTest, IdsStartAtOneAndRemovedOnesAreReusedLastFirst)
{
    Core::RefPtr<PhysicsEngine> engine = new PhysicsEngine();
    EXPECT_EQ(engine->AddRigidBody(nullptr), 0u);
    for (std::uint32_t expected = 1; expected <= 6; ++expected)
    {
        EXPECT_EQ(engine->AddRigidBody(MakeBody().Get()), expected);
    }
    EXPECT_TRUE(engine->RemoveRigidBody(3));
    EXPECT_TRUE(engine->RemoveRigidBody(5));
    for (const std::uint32_t invalid : {0u, 3u, 5u, 7u})
    {
        EXPECT_FALSE(engine->RemoveRigidBody(invalid)) << invalid;
        EXPECT_FALSE(engine->GetRigidBody(invalid)) << invalid;
        EXPECT_FALSE(engine->SetRigidBodyPosition(invalid, {1.0f, 1.0f})) << invalid;
    }
    EXPECT_EQ(engine->AddRigidBody(MakeBody().Get()), 5u);
    EXPECT_EQ(engine->AddRigidBody(MakeBody().Get()), 3u);
    EXPECT_EQ(engine->AddRigidBody(MakeBody().Get()), 7u);

    // After a reset ids start again at 1; the ground body stays.
    RigidBody* ground = engine->GetGroundBody();
    engine->Reset();
    EXPECT_TRUE(engine->GetRigidBodies().empty());
    EXPECT_EQ(engine->AddRigidBody(MakeBody().Get()), 1u);
    EXPECT_EQ(engine->GetGroundBody(), ground);
}

TEST(EngineTest, AddingABodyRunsItsMoveCallback)
{
    int moves = 0;
    Core::RefPtr<PhysicsEngine> engine = new PhysicsEngine();
    Core::RefPtr<RigidBody> body = new RigidBody(
        MassProperties(1.0f, 1.0f, {}), RigidBody::Euler,
        [](RigidBody*, void* data) { ++*static_cast<int*>(data); }, nullptr, &moves);
    body->SetPosition({2.0f, 3.0f});
    EXPECT_EQ(moves, 0);
    engine->AddRigidBody(body.Get());
    EXPECT_EQ(moves, 1);
}

TEST(EngineTest, StepIsClampedAndAZeroStepMovesNothing)
{
    Scene scene;
    scene.ground = false;
    const std::uint32_t ball = scene.AddCircle({0.0f, 10.0f}, 0.5f, 1.0f);
    const std::uint32_t free = scene.AddCircle({5.0f, 10.0f}, 0.5f, 1.0f, false);
    scene.Body(ball).SetVelocity({1.0f, 0.0f});
    scene.Body(free).SetVelocity({1.0f, 0.0f});
    // A spring without damping divides by the step: a step of 0 must not
    // turn it into NaN.
    Core::RefPtr<JointNail> spring = new JointSpring({0.0f, 10.0f}, {0.0f, 10.0f}, 0.5f);
    spring->SetSpring(50.0f, 0.0f);
    scene.Engine().AddJoint(0, ball, spring.Get());

    scene.Engine().Update(0.05f);
    EXPECT_EQ(PhysicsEngine::GetSimulationStep(), 0.02f);
    EXPECT_EQ(PhysicsEngine::GetSimulationInverseStep(), 50.0f);
    EXPECT_EQ(scene.Body(free).GetPosition(), Vector2D(5.02f, 10.0f));

    // A step that is no number (a broken frame timer) moves nothing either.
    for (const float dt : {0.0f, std::numeric_limits<float>::quiet_NaN()})
    {
        SCOPED_TRACE(dt);
        const Vector2D position = scene.Body(ball).GetPosition();
        const Vector2D velocity = scene.Body(ball).GetVelocity();
        scene.Step(dt);
        EXPECT_EQ(PhysicsEngine::GetSimulationStep(), 0.0f);
        EXPECT_EQ(PhysicsEngine::GetSimulationInverseStep(), 0.0f);
        EXPECT_EQ(scene.Body(ball).GetPosition(), position);
        EXPECT_EQ(scene.Body(ball).GetVelocity(), velocity);
    }
}

TEST(EngineTest, RemovingABodyRebindsItsJointsAndDropsItsContacts)
{
    Core::RefPtr<PhysicsEngine> engine = new PhysicsEngine();
    const std::uint32_t a = engine->AddRigidBody(MakeBody().Get());
    const std::uint32_t b = engine->AddRigidBody(MakeBody().Get());
    engine->SetRigidBodyPosition(b, {1.0f, 0.0f});
    Joint* joint = engine->AddJoint(a, b, new JointNail({0.5f, 0.0f}, {0.5f, 0.0f}, 0.2f));
    Contact* contact = engine->AddContact(b, a, new Contact({}, {1.0f, 0.0f}, {}, {}, 0.0f, 0.3f, 0.5f, 1));
    ASSERT_NE(joint, nullptr);
    ASSERT_NE(contact, nullptr);

    ASSERT_TRUE(engine->RemoveRigidBody(a));
    EXPECT_EQ(joint->GetBody1(), engine->GetGroundBody());
    EXPECT_EQ(joint->GetBody2(), engine->GetRigidBody(b).Get());
    // Prepared again: body 2's anchor is unchanged in its own frame.
    EXPECT_EQ(static_cast<JointNail*>(joint)->GetLocalAnchor2(), Vector2D(-0.5f, 0.0f));
    EXPECT_TRUE(engine->GetContacts().empty());
}

TEST(EngineTest, JointsAndContactsBindTheGroundBodyForInvalidIds)
{
    Core::RefPtr<PhysicsEngine> engine = new PhysicsEngine();
    for (int i = 0; i < 7; ++i)
    {
        engine->AddRigidBody(MakeBody().Get());
    }
    engine->SetRigidBodyPosition(7, {3.0f, 4.0f});
    EXPECT_EQ(engine->AddContact(0, 0, new Contact()), nullptr);
    EXPECT_EQ(engine->AddContact(0, 99, new Contact()), nullptr);
    EXPECT_EQ(engine->AddJoint(0, 0, new JointFixed()), nullptr);
    EXPECT_EQ(engine->AddJoint(1, 2, nullptr), nullptr);
    EXPECT_TRUE(engine->GetContacts().empty());
    EXPECT_TRUE(engine->GetJoints().empty());

    Contact* contact = engine->AddContact(
        7, 0, new Contact({3.0f, 3.5f}, {0.0f, 1.0f}, {3.0f, 4.0f}, {9.0f, 9.0f}, 0.0f, 0.3f, 0.5f, 0));
    ASSERT_NE(contact, nullptr);
    EXPECT_EQ(contact->GetBody2(), engine->GetGroundBody());
    EXPECT_EQ(contact->GetContactPosition2(), Vector2D());
    EXPECT_EQ(contact->GetDisplacement1(), Vector2D());
}

TEST(EngineTest, ByIdSettersScaleVelocitiesAndTakeDegrees)
{
    Core::RefPtr<PhysicsEngine> engine = new PhysicsEngine();
    const std::uint32_t id = engine->AddRigidBody(MakeBody(2.0f).Get());
    for (const float refused :
         {0.0f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()})
    {
        engine->SetScale(refused);
        EXPECT_EQ(PhysicsEngine::GetScale(), 1.0f);
    }
    engine->SetScale(2.0f);
    ASSERT_TRUE(engine->SetRigidBodyVelocity(id, {1.0f, -1.0f}));
    EXPECT_EQ(engine->GetRigidBody(id)->GetVelocity(), Vector2D(2.0f, -2.0f));
    Vector2D velocity;
    ASSERT_TRUE(engine->GetRigidBodyVelocity(id, velocity));
    EXPECT_EQ(velocity, Vector2D(1.0f, -1.0f));
    engine->SetScale(1.0f);

    ASSERT_TRUE(engine->SetRigidBodyAngularVelocity(id, 90.0f));
    float degrees = 0.0f;
    ASSERT_TRUE(engine->GetRigidBodyAngularVelocity(id, degrees));
    EXPECT_NEAR(degrees, 90.0f, 1e-4f);

    // Mass properties cross as they stand: the inverses are not derived.
    MassProperties odd(4.0f, 8.0f, {0.5f, 0.0f});
    odd.SetMass(4.0f);
    ASSERT_TRUE(engine->SetMassProperties(id, odd));
    MassProperties read;
    ASSERT_TRUE(engine->GetMassProperties(id, read));
    EXPECT_EQ(read.GetInverseMass(), 0.25f);
    EXPECT_EQ(read.GetCenterOfMass(), Vector2D(0.5f, 0.0f));
    EXPECT_FALSE(engine->GetMassProperties(2, read));

    engine->SetAccuracy(3);
    EXPECT_EQ(engine->GetAccuracy(), 10u);
    engine->SetAccuracy(40);
    EXPECT_EQ(engine->GetAccuracy(), 40u);

    // A force for a missing body is refused, and released when nobody else
    // holds it; the body's first force has id 0.
    EXPECT_EQ(engine->AddRigidBodyForce(5, new GravityForce({0.0f, -1.0f}, 9.8f)), Forces::InvalidId);
    EXPECT_EQ(engine->AddRigidBodyForce(id, new GravityForce({0.0f, -1.0f}, 9.8f)), 0u);
    EXPECT_TRUE(engine->RemoveRigidBodyForce(id, 0));
    EXPECT_FALSE(engine->RemoveRigidBodyForce(id, 0));
    EXPECT_TRUE(engine->RemoveAllRigidBodyForces(id));
    EXPECT_FALSE(engine->RemoveAllRigidBodyForces(9));
}

TEST(EngineTest, CloneAddsACopyOwnedByTheNewUserWord)
{
    Core::RefPtr<PhysicsEngine> engine = new PhysicsEngine();
    const std::uint32_t id = engine->AddRigidBody(MakeBody().Get());
    engine->SetRigidBodyPosition(id, {1.0f, 2.0f});
    int owner = 0;
    const std::uint32_t copy = engine->CloneRigidBody(id, &owner);
    ASSERT_EQ(copy, 2u);
    EXPECT_EQ(engine->GetRigidBody(copy)->GetPosition(), Vector2D(1.0f, 2.0f));
    EXPECT_EQ(engine->GetRigidBody(copy)->GetData(), &owner);
    EXPECT_EQ(engine->CloneRigidBody(9, nullptr), 0u);
}

// The contact-list callback of the carry-over test: one new contact on body 1.
void OneNewContact(PhysicsEngine* engine, void*)
{
    engine->AddContact(1, 2, new Contact({}, {0.0f, 1.0f}, {}, {}, 0.0f, 0.3f, 0.5f, 1));
}

TEST(EngineTest, EarlierContactsCarryOverWithinTheLimits)
{
    Core::RefPtr<PhysicsEngine> engine = new PhysicsEngine();
    for (int i = 0; i < 3; ++i)
    {
        engine->AddRigidBody(MakeBody().Get());
    }
    // 30 earlier contacts share body 1 with the new one; 5 touch only the
    // ground body in common with it, which does not count.
    for (int i = 0; i < 30; ++i)
    {
        engine->AddContact(1, 3, new Contact({}, {0.0f, 1.0f}, {}, {}, 0.0f, 0.3f, 0.5f, 1));
    }
    for (int i = 0; i < 5; ++i)
    {
        engine->AddContact(3, 0, new Contact({}, {0.0f, 1.0f}, {}, {}, 0.0f, 0.3f, 0.5f, 0));
    }
    const Contact* first = engine->GetContacts()[0].Get();
    engine->SetContactListUpdate(&OneNewContact);
    engine->PostCollisionUpdate(0.02f);
    ASSERT_EQ(engine->GetContacts().size(), 26u);
    // The new contact first, then the earlier ones in their order.
    EXPECT_EQ(engine->GetContacts()[0]->GetBody2(), engine->GetRigidBody(2).Get());
    EXPECT_EQ(engine->GetContacts()[1].Get(), first);

    // A contact that shares only the ground body is not carried over.
    engine->SetContactListUpdate(
        [](PhysicsEngine* e, void*) {
            e->AddContact(2, 0, new Contact({}, {0.0f, 1.0f}, {}, {}, 0.0f, 0.3f, 0.5f, 0));
        });
    engine->PostCollisionUpdate(0.02f);
    EXPECT_EQ(engine->GetContacts().size(), 1u);
}

TEST(EngineTest, CarriedOverContactsKeepTheirOrderWhicheverSideTheyShare)
{
    Core::RefPtr<PhysicsEngine> engine = new PhysicsEngine();
    for (int i = 0; i < 5; ++i)
    {
        engine->AddRigidBody(MakeBody().Get());
    }
    // Earlier contacts sharing the new one's body 1, its body 2, both, or
    // neither (the pairs 3-5 and 2-1 share no side in its place).
    const std::uint32_t pairs[][2] = {{1, 3}, {4, 2}, {3, 5}, {1, 2}, {2, 1}, {5, 2}, {1, 4}};
    for (const auto& pair : pairs)
    {
        engine->AddContact(pair[0], pair[1], new Contact({}, {0.0f, 1.0f}, {}, {}, 0.0f, 0.3f, 0.5f, 1));
    }
    std::vector<const Contact*> earlier;
    for (const auto& contact : engine->GetContacts())
    {
        earlier.push_back(contact.Get());
    }
    engine->SetContactListUpdate(&OneNewContact);
    engine->PostCollisionUpdate(0.02f);
    const auto& contacts = engine->GetContacts();
    ASSERT_EQ(contacts.size(), 6u);
    const std::size_t keptInOrder[] = {0, 1, 3, 5, 6};
    for (std::size_t k = 0; k < 5; ++k)
    {
        EXPECT_EQ(contacts[k + 1].Get(), earlier[keptInOrder[k]]) << "kept contact " << k;
    }
}

TEST(EngineTest, WarmStartedContactsKeepTheirLoadFromPassToPass)
{
    // A body resting on the ground; the bridge reports the same touch anew
    // every pass, and once a touch facing another way.
    Core::RefPtr<PhysicsEngine> engine = new PhysicsEngine();
    engine->GetSolver().SetWarmStart(true);
    const std::uint32_t id = engine->AddRigidBody(MakeBody().Get());
    engine->AddRigidBodyForce(id, new GravityForce({0.0f, -1.0f}, 10.0f));
    static bool sideways = false;
    engine->SetContactListUpdate(
        [](PhysicsEngine* e, void*)
        {
            const Math::Vector2D normal = sideways ? Math::Vector2D{1.0f, 0.0f} : Math::Vector2D{0.0f, 1.0f};
            e->AddContact(1, 0, new Contact({0.0f, 0.0f}, normal, {}, {}, 0.0f, 0.0f, 0.5f, 0));
        });
    engine->PostCollisionUpdate(1.0f / 60.0f);
    engine->Update(1.0f / 60.0f);
    // The velocity pass held the body's weight over the step.
    Contact* first = engine->GetContacts()[0].Get();
    const float load = first->GetKeptMultipliers(false)[0];
    EXPECT_GT(load, 0.0f);

    // The new report of the same touch takes the load over; the carried-over
    // contact gives it up, so the touch is not pushed twice.
    engine->PostCollisionUpdate(1.0f / 60.0f);
    ASSERT_EQ(engine->GetContacts().size(), 2u);
    EXPECT_EQ(engine->GetContacts()[1].Get(), first);
    EXPECT_EQ(engine->GetContacts()[0]->GetKeptMultipliers(false)[0], load);
    EXPECT_EQ(first->GetKeptMultipliers(false)[0], 0.0f);

    // A touch facing another way is a different touch: it starts from
    // nothing.
    engine->Update(1.0f / 60.0f);
    sideways = true;
    engine->PostCollisionUpdate(1.0f / 60.0f);
    EXPECT_EQ(engine->GetContacts()[0]->GetKeptMultipliers(false)[0], 0.0f);
    sideways = false;
}

TEST(EngineTest, PositionPassListsContactJointsAndClosesEveryJoint)
{
    Core::RefPtr<PhysicsEngine> engine = new PhysicsEngine();
    std::uint32_t ids[7];
    for (std::uint32_t& id : ids)
    {
        id = engine->AddRigidBody(MakeBody().Get());
    }
    // ground - 1 - 2 chained, 3 - 4 and 5 - 6 apart, 6 - 7 inactive; the
    // only contact is body 4's with the ground. 5 - 6 are nailed at x = 1
    // and 6 has drifted 0.2 away from the nail.
    engine->AddJoint(0, ids[0], new JointFixed());
    engine->AddJoint(ids[0], ids[1], new JointFixed());
    engine->AddJoint(ids[2], ids[3], new JointFixed());
    engine->SetRigidBodyPosition(ids[5], {2.0f, 0.0f});
    engine->AddJoint(ids[4], ids[5], new JointNail({1.0f, 0.0f}, {1.0f, 0.0f}, 0.5f));
    engine->AddJoint(ids[5], ids[6], new JointFixed())->SetActive(false);
    engine->SetRigidBodyPosition(ids[5], {2.2f, 0.0f});
    engine->SetRigidBodyPosition(ids[6], {5.0f, 0.0f});
    engine->SetContactListUpdate(
        [](PhysicsEngine* e, void*) {
            e->AddContact(4, 0, new Contact({}, {0.0f, 1.0f}, {}, {}, 0.0f, 0.3f, 0.5f, 0));
        });
    engine->PostCollisionUpdate(0.02f);
    // The pass's step bodies: those of the contact (4, ground), then those
    // reached through joints: body 1 through the ground joint, body 2
    // through it, body 3 through 4.
    const auto& step = engine->GetStepBodies();
    const std::vector<RigidBody*> expected = {engine->GetRigidBody(4).Get(), engine->GetGroundBody(),
                                              engine->GetRigidBody(1).Get(), engine->GetRigidBody(2).Get(),
                                              engine->GetRigidBody(3).Get()};
    ASSERT_EQ(step.size(), expected.size());
    for (std::size_t k = 0; k < step.size(); ++k)
    {
        EXPECT_EQ(step[k].Get(), expected[k]) << k;
    }
    // Every active joint is closed afterwards, touched by a contact or not:
    // each round takes its correction factor's share of what
    // is left. The inactive joint moves nothing.
    const float gap =
        (engine->GetRigidBody(6)->GetPosition() - engine->GetRigidBody(5)->GetPosition()).x - 2.0f;
    EXPECT_NEAR(gap, 0.2f * std::pow(0.5f, PhysicsEngine::JointCorrectionRounds), 1e-4f);
    EXPECT_EQ(engine->GetRigidBody(7)->GetPosition().x, 5.0f);
}

TEST(EngineTest, JointCorrectionMovesOnlyJointsThatAreOpen)
{
    // Two bodies nailed at x = 1 with correction factor `factor`, body 2
    // pulled away from the nail by `drift` before the pass. A joint closed
    // to within the tolerance is left alone: nothing moves and no body is
    // called back; one open wider is closed and both bodies hear of it. The
    // drift is measured, not the share of it one round takes out, so a
    // joint with a small factor is closed as far as one with factor 1.
    struct Case
    {
        float drift;
        float factor;
        int callbacks;
    };
    const float tolerance = PhysicsEngine::JointCorrectionTolerance;
    for (const Case& c : {Case{0.0f, 1.0f, 0}, Case{0.5f * tolerance, 1.0f, 0}, Case{0.2f, 1.0f, 2},
                          Case{2.0f * tolerance, 0.25f, 2}})
    {
        SCOPED_TRACE(c.drift);
        Core::RefPtr<PhysicsEngine> engine = new PhysicsEngine();
        int callbacks = 0;
        const auto count = [](RigidBody*, void* counter) { ++*static_cast<int*>(counter); };
        const std::uint32_t a = engine->AddRigidBody(
            new RigidBody(MassProperties(1.0f, 1.0f, {}), RigidBody::Euler, nullptr, count, &callbacks));
        const std::uint32_t b = engine->AddRigidBody(
            new RigidBody(MassProperties(1.0f, 1.0f, {}), RigidBody::Euler, nullptr, count, &callbacks));
        engine->SetRigidBodyPosition(b, {2.0f, 0.0f});
        engine->AddJoint(a, b, new JointNail({1.0f, 0.0f}, {1.0f, 0.0f}, c.factor));
        engine->SetRigidBodyPosition(b, {2.0f + c.drift, 0.0f});
        callbacks = 0;
        engine->PostCollisionUpdate(1.0f / 60.0f);
        EXPECT_EQ(callbacks, c.callbacks);
        const float a1 = engine->GetRigidBody(a)->GetPosition().x;
        const float b1 = engine->GetRigidBody(b)->GetPosition().x;
        if (c.callbacks == 0)
        {
            EXPECT_EQ(a1, 0.0f);
            EXPECT_EQ(b1, 2.0f + c.drift);
        }
        else
        {
            EXPECT_LT(std::fabs(b1 - a1 - 2.0f), tolerance);
        }
    }
}

TEST(EngineTest, StackOfTenBoxesStaysStanding)
{
    Scene scene(0.3f, 0.5f);
    scene.Engine().SetAccuracy(10);
    // Ten sweeps carry support only a few boxes up; each pass starts from
    // its own phase's last multipliers instead.
    scene.Engine().GetSolver().SetWarmStart(true);
    std::vector<std::uint32_t> boxes;
    for (int i = 0; i < 10; ++i)
    {
        boxes.push_back(scene.AddBox({0.0f, 0.5f + static_cast<float>(i)}, {0.5f, 0.5f}, 1.0f));
    }
    for (int frame = 0; frame < 600; ++frame)
    {
        scene.Step();
    }
    for (int i = 0; i < 10; ++i)
    {
        SCOPED_TRACE(i);
        const RigidBody& box = scene.Body(boxes[i]);
        EXPECT_NEAR(box.GetPosition().x, 0.0f, 0.05f);
        EXPECT_NEAR(box.GetPosition().y, 0.5f + static_cast<float>(i), 0.05f);
        EXPECT_NEAR(box.GetOrientation(), 0.0f, 2.0f);
        EXPECT_LT(box.GetVelocity().Length(), 0.1f);
    }
    EXPECT_LT(scene.Penetration(), 0.02f);
}

} // namespace
