#include "physics/Physics_Force.h"
#include "physics/Physics_Forces.h"
#include "physics/Physics_RigidBody.h"

#include <gtest/gtest.h>

#include <numbers>

namespace
{

using namespace Physics2D;
using Math::Vector2D;

Core::RefPtr<RigidBody> MakeBody(float mass = 1.0f)
{
    return new RigidBody(MassProperties(mass, 1.0f, {}), RigidBody::Euler, nullptr, nullptr, nullptr);
}

TEST(ForceTest, LifetimeCountsTheStepInWhichTheForceExpires)
{
    const struct
    {
        float timeToLive;
        int contributingSteps;
    } cases[] = {
        {0.0f, 50},  // for ever
        {-1.0f, 50}, // made for ever when added
        {0.05f, 3},  // alive at 0.02 and 0.04, counted and removed at 0.06
        {0.04f, 2},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.timeToLive);
        Core::RefPtr<RigidBody> body = MakeBody();
        const std::uint32_t id = body->AddForce(new ConstantForce({}, {1.0f, 0.0f}, c.timeToLive));
        int contributed = 0;
        for (int step = 0; step < 50; ++step)
        {
            body->AccumulateForces(0.02f);
            contributed += body->GetForce().x == 1.0f ? 1 : 0;
            const bool alive = c.timeToLive <= 0.0f || step + 1 < c.contributingSteps;
            EXPECT_EQ(body->GetForces().GetForce(id) != nullptr, alive);
        }
        EXPECT_EQ(contributed, c.contributingSteps);
    }
}

TEST(ForceTest, RemovedIdsAreReusedLastRemovedFirst)
{
    Core::RefPtr<RigidBody> body = MakeBody();
    for (std::uint32_t i = 0; i < 4; ++i)
    {
        EXPECT_EQ(body->AddForce(new ConstantForce()), i);
    }
    EXPECT_TRUE(body->RemoveForce(1));
    EXPECT_TRUE(body->RemoveForce(2));
    EXPECT_FALSE(body->RemoveForce(2)); // already empty
    EXPECT_FALSE(body->RemoveForce(4)); // never issued
    EXPECT_EQ(body->AddForce(new ConstantForce()), 2u);
    EXPECT_EQ(body->AddForce(new ConstantForce()), 1u);
    EXPECT_EQ(body->AddForce(new ConstantForce()), 4u);
    EXPECT_EQ(body->AddForce(nullptr), Forces::InvalidId);

    // Removing all goes in ascending order, so the highest id comes back first.
    EXPECT_TRUE(body->RemoveAllForces());
    EXPECT_EQ(body->AddForce(new ConstantForce()), 4u);
    EXPECT_EQ(body->AddForce(new ConstantForce()), 3u);
}

TEST(ForceTest, KindsEvaluateAgainstTheirBody)
{
    Core::RefPtr<RigidBody> body = MakeBody(2.0f);
    body->SetVelocity({2.0f, -4.0f});
    body->SetAngularVelocity(180.0f); // pi radians per second

    Core::RefPtr<Force> gravity = static_cast<Force*>(Core::CreateObject("Physics2D::GravityForce"));
    ASSERT_TRUE(gravity);
    body->AddForce(gravity.Get());
    gravity->Update(0.02f);
    EXPECT_EQ(gravity->GetEvaluatedForce(), Vector2D(0.0f, -19.6f));
    EXPECT_EQ(gravity->GetEvaluatedTorque(), 0.0f);

    Core::RefPtr<DragForce> drag = new DragForce(0.5f, 1.0f);
    body->AddForce(drag.Get());
    drag->Update(0.02f);
    EXPECT_EQ(drag->GetEvaluatedForce(), Vector2D(-1.0f, 2.0f));
    EXPECT_NEAR(drag->GetEvaluatedTorque(), -180.0f, 1e-4f);

    // Constant force in its three modes, applied at (1, 0) on a body whose
    // centre of mass sits at the origin; an unknown mode keeps what it had.
    const struct
    {
        std::uint32_t mode;
        Vector2D force;
        float torque;
    } cases[] = {
        {ConstantForce::ModeForce, {3.0f, 5.0f}, 0.0f},
        {ConstantForce::ModeTorque, {0.0f, 0.0f}, 3.0f},
        {ConstantForce::ModeForceAtPoint, {3.0f, 5.0f}, 5.0f},
        {7, {0.0f, 0.0f}, 0.0f},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.mode);
        Core::RefPtr<ConstantForce> force = new ConstantForce({1.0f, 0.0f}, {3.0f, 5.0f}, 0.0f, c.mode);
        body->AddForce(force.Get());
        force->Update(0.02f);
        EXPECT_EQ(force->GetArm(), Vector2D(1.0f, 0.0f));
        EXPECT_EQ(force->GetEvaluatedForce(), c.force);
        EXPECT_EQ(force->GetEvaluatedTorque(), c.torque);
    }
}

TEST(ForceTest, KindsNeedingABodyChangeNothingWithoutOne)
{
    Core::RefPtr<GravityForce> gravity = new GravityForce({0.0f, -3.0f}, 10.0f);
    EXPECT_EQ(gravity->GetDirection(), Vector2D(0.0f, -1.0f));
    Core::RefPtr<DragForce> drag = new DragForce(1.0f, 1.0f);
    for (Force* force : {static_cast<Force*>(gravity.Get()), static_cast<Force*>(drag.Get())})
    {
        force->SetEvaluatedForce({7.0f, 8.0f});
        force->SetEvaluatedTorque(9.0f);
        EXPECT_TRUE(force->Update(0.5f));
        EXPECT_EQ(force->GetEvaluatedForce(), Vector2D(7.0f, 8.0f));
        EXPECT_EQ(force->GetEvaluatedTorque(), 9.0f);
        EXPECT_EQ(force->GetTime(), 0.5f);
    }
}

TEST(ForceTest, ApplicationPointFollowsTheBody)
{
    Core::RefPtr<RigidBody> body = MakeBody();
    Core::RefPtr<ConstantForce> force =
        new ConstantForce({1.0f, 0.0f}, {5.0f, 0.0f}, 0.0f, ConstantForce::ModeForceAtPoint);
    body->AddForce(force.Get());
    body->SetPosition({5.0f, 5.0f});
    body->SetOrientation(90.0f);

    body->AccumulateForces(0.02f);
    EXPECT_NEAR(force->GetPosition().x, 5.0f, 1e-5f);
    EXPECT_NEAR(force->GetPosition().y, 6.0f, 1e-5f);
    EXPECT_NEAR(body->GetTorque(), -5.0f, 1e-5f);
    EXPECT_EQ(body->GetForce(), Vector2D(5.0f, 0.0f));
}

TEST(ForceTest, ForcesDroppedByTheirBodyNoLongerReferToIt)
{
    Core::RefPtr<ConstantForce> removed = new ConstantForce();
    Core::RefPtr<ConstantForce> survivor = new ConstantForce();
    {
        Core::RefPtr<RigidBody> body = MakeBody();
        const std::uint32_t id = body->AddForce(removed.Get());
        body->AddForce(survivor.Get());
        EXPECT_EQ(removed->GetBody(), body.Get());
        body->RemoveForce(id);
        EXPECT_EQ(removed->GetBody(), nullptr);
        EXPECT_EQ(survivor->GetBody(), body.Get());
    }
    EXPECT_EQ(survivor->GetBody(), nullptr);
    survivor->Update(0.02f);
}

} // namespace
