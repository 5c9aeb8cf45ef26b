#include "physics/Physics_RigidBody.h"
#include "physics/Physics_Simulation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using namespace Physics2D;
using Math::Vector2D;

// Records which callbacks ran, and with which body and user word.
struct CallbackLog
{
    std::vector<std::string> calls;
};

void OnMove(RigidBody* body, void* user)
{
    static_cast<CallbackLog*>(user)->calls.push_back("move");
    EXPECT_NE(body, nullptr);
}

void OnPostCollision(RigidBody*, void* user)
{
    static_cast<CallbackLog*>(user)->calls.push_back("post");
}

Core::RefPtr<RigidBody> MakeBody(const MassProperties& mass, std::uint32_t kind = RigidBody::Euler)
{
    return new RigidBody(mass, kind, nullptr, nullptr, nullptr);
}

// Restores the process-wide values a test changes.
class RigidBodyTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        Simulation::scale = 1.0f;
        RigidBody::SetMaximumAngularVelocity(6.2831855f);
    }
};

TEST_F(RigidBodyTest, MassPropertiesDeriveTheirInverses)
{
    const MassProperties zero(0.0f, 0.0f, {});
    EXPECT_EQ(zero.GetInverseMass(), 0.0f);
    EXPECT_EQ(zero.GetInverseInertia(), 0.0f);

    MassProperties m(4.0f, 0.5f, {1.0f, 2.0f});
    EXPECT_EQ(m.GetInverseMass(), 0.25f);
    EXPECT_EQ(m.GetInverseInertia(), 2.0f);
    EXPECT_EQ(m.GetCenterOfMass(), Vector2D(1.0f, 2.0f));
    m.SetMass(0.0f);
    m.SetInertia(8.0f);
    EXPECT_EQ(m.GetInverseMass(), 0.0f);
    EXPECT_EQ(m.GetInverseInertia(), 0.125f);
}

TEST_F(RigidBodyTest, MassZeroKeepsItsVelocityUnderAnyForce)
{
    for (const std::uint32_t kind : {RigidBody::Euler, RigidBody::Heun, RigidBody::RungeKutta})
    {
        SCOPED_TRACE(kind);
        Core::RefPtr<RigidBody> body = MakeBody(MassProperties(0.0f, 0.0f, {}), kind);
        body->AddForce(new ConstantForce({}, {100.0f, -50.0f}, 0.0f));
        body->AddForce(new ConstantForce({}, {30.0f, 0.0f}, 0.0f, ConstantForce::ModeTorque));
        body->SetVelocity({3.0f, 4.0f});
        body->SetAngularVelocity(90.0f);
        for (int i = 0; i < 10; ++i)
        {
            body->AccumulateForces(0.5f);
            body->Integrate(0.5f);
        }
        EXPECT_EQ(body->GetForce(), Vector2D(100.0f, -50.0f));
        EXPECT_EQ(body->GetVelocity(), Vector2D(3.0f, 4.0f));
        EXPECT_FLOAT_EQ(body->GetAngularVelocity(), 90.0f);
        // Runge-Kutta's weights sum to 1.000002.
        EXPECT_NEAR(body->GetPosition().x, 15.0f, 1e-4f);
        EXPECT_NEAR(body->GetPosition().y, 20.0f, 1e-4f);
        EXPECT_NEAR(body->GetOrientation(), 450.0f, 1e-3f);
    }
}

TEST_F(RigidBodyTest, ForcesAccelerateByTheScaledForceOverTheMass)
{
    Simulation::scale = 2.0f;
    Core::RefPtr<RigidBody> body = MakeBody(MassProperties(4.0f, 0.5f, {}));
    body->AddForce(new ConstantForce({}, {8.0f, 0.0f}, 0.0f));
    body->AddForce(new ConstantForce({}, {0.25f, 0.0f}, 0.0f, ConstantForce::ModeTorque));
    body->AccumulateForces(0.5f);
    EXPECT_EQ(body->GetForce(), Vector2D(16.0f, 0.0f));
    EXPECT_EQ(body->GetTorque(), 0.5f);
    body->Integrate(0.5f);
    EXPECT_EQ(body->GetVelocity(), Vector2D(2.0f, 0.0f));
    EXPECT_EQ(body->GetAngularVelocityRadians(), 0.5f);
    // The position step reads the body's velocity, which the velocity step has
    // just updated.
    EXPECT_EQ(body->GetPosition(), Vector2D(1.0f, 0.0f));

    // The solver's acceleration adds to the derivative while attached.
    float accumulator[3] = {1.0f, -2.0f, 4.0f};
    body->RemoveAllForces();
    body->AccumulateForces(0.5f);
    body->SetSolverAccumulator(accumulator);
    body->Integrate(0.5f);
    body->SetSolverAccumulator(nullptr);
    EXPECT_EQ(body->GetVelocity(), Vector2D(2.5f, -1.0f));
    EXPECT_EQ(body->GetAngularVelocityRadians(), 2.5f);
}

TEST_F(RigidBodyTest, AngularVelocityIsClampedToTheScaledLimit)
{
    const struct
    {
        float scale;
        float degreesPerSecond;
        float expected;
    } cases[] = {
        {1.0f, 720.0f, 360.0f}, {1.0f, -720.0f, -360.0f}, {1.0f, 300.0f, 300.0f},
        {2.0f, 700.0f, 700.0f}, {2.0f, 1000.0f, 720.0f},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.degreesPerSecond);
        Simulation::scale = c.scale;
        Core::RefPtr<RigidBody> body = MakeBody(MassProperties(1.0f, 1.0f, {}));
        body->SetAngularVelocity(c.degreesPerSecond);
        body->Integrate(0.02f);
        EXPECT_NEAR(body->GetAngularVelocity(), c.expected, 1e-3f);
        // The clamp reaches the integrator, so the next step starts from it.
        EXPECT_EQ(body->GetVelocityIntegrator()->GetState()[2], body->GetAngularVelocityRadians());
        EXPECT_NEAR(body->GetOrientation(), c.expected * 0.02f, 1e-3f);
    }
}

TEST_F(RigidBodyTest, TinyVelocitiesBecomeZeroInTheBodyOnly)
{
    Core::RefPtr<RigidBody> body = MakeBody(MassProperties(0.0f, 0.0f, {}));
    body->SetVelocity({5e-11f, 1.0f});
    body->SetAngularVelocity(-5e-11f * 57.29578f);
    body->Integrate(1.0f);
    EXPECT_EQ(body->GetVelocity(), Vector2D(0.0f, 1.0f));
    EXPECT_EQ(body->GetAngularVelocityRadians(), 0.0f);
    EXPECT_EQ(body->GetVelocityIntegrator()->GetState()[0], 5e-11f);
    // The position step already sees the zero.
    EXPECT_EQ(body->GetPosition(), Vector2D(0.0f, 1.0f));
    EXPECT_EQ(body->GetOrientationRadians(), 0.0f);
}

TEST_F(RigidBodyTest, TransformTurnsAboutTheCentreOfMass)
{
    Core::RefPtr<RigidBody> body = MakeBody(MassProperties(1.0f, 1.0f, {1.0f, 0.0f}));
    body->SetPosition({5.0f, 5.0f});
    body->SetOrientation(90.0f);

    // Body point q lands on p + R (q - c).
    const Vector2D world = body->GetMatrix() * Vector2D(2.0f, 0.0f);
    EXPECT_NEAR(world.x, 5.0f, 1e-5f);
    EXPECT_NEAR(world.y, 6.0f, 1e-5f);
    const Vector2D back = body->GetInverseMatrix() * world;
    EXPECT_NEAR(back.x, 2.0f, 1e-5f);
    EXPECT_NEAR(back.y, 0.0f, 1e-5f);
    EXPECT_NEAR(body->GetCenterOfMass().x, 5.0f, 1e-5f);
    EXPECT_NEAR(body->GetCenterOfMass().y, 5.0f, 1e-5f);
    const Vector2D turned = body->GetRotationMatrix() * Vector2D(1.0f, 0.0f);
    EXPECT_NEAR(turned.x, 0.0f, 1e-6f);
    EXPECT_NEAR(turned.y, 1.0f, 1e-6f);

    // The setters reach the position integrator: the next step starts there.
    body->SetVelocity({1.0f, 0.0f});
    body->Integrate(0.5f);
    EXPECT_EQ(body->GetPosition(), Vector2D(5.5f, 5.0f));
    EXPECT_NEAR(body->GetOrientation(), 90.0f, 1e-4f);
}

TEST_F(RigidBodyTest, CallbacksRunOnlyOnTransformUpdates)
{
    const struct
    {
        bool move, post;
        RigidBody::TransformUpdate flag;
        const char* expected;
    } cases[] = {
        {true, true, RigidBody::TransformUpdate::Move, "move"},
        {false, true, RigidBody::TransformUpdate::Move, "post"},
        {true, true, RigidBody::TransformUpdate::PostCollision, "post"},
        {true, false, RigidBody::TransformUpdate::PostCollision, ""},
        {false, false, RigidBody::TransformUpdate::Move, ""},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.expected);
        CallbackLog log;
        Core::RefPtr<RigidBody> body =
            new RigidBody(MassProperties(1.0f, 1.0f, {}), RigidBody::Euler, c.move ? &OnMove : nullptr,
                          c.post ? &OnPostCollision : nullptr, &log);
        body->SetPosition({1.0f, 2.0f});
        body->SetOrientation(30.0f);
        body->SetVelocity({1.0f, 1.0f});
        body->SetAngularVelocity(10.0f);
        EXPECT_TRUE(log.calls.empty());
        body->UpdateTransform(c.flag);
        EXPECT_EQ(log.calls, std::string(c.expected).empty() ? std::vector<std::string>{}
                                                             : std::vector<std::string>{c.expected});
    }

    // Integrating ends with the move update.
    CallbackLog log;
    Core::RefPtr<RigidBody> body =
        new RigidBody(MassProperties(1.0f, 1.0f, {}), RigidBody::Heun, &OnMove, &OnPostCollision, &log);
    body->Integrate(0.02f);
    EXPECT_EQ(log.calls, std::vector<std::string>{"move"});
}

TEST_F(RigidBodyTest, BodyWithoutIntegratorsStaysPut)
{
    Core::RefPtr<RigidBody> body = MakeBody(MassProperties(1.0f, 1.0f, {}), RigidBody::None);
    EXPECT_EQ(body->GetVelocityIntegrator(), nullptr);
    body->SetVelocity({1.0f, 2.0f});
    body->SetAngularVelocity(45.0f);
    body->SetPosition({3.0f, 4.0f});
    body->SetOrientation(90.0f);
    body->AddForce(new ConstantForce({}, {10.0f, 0.0f}, 0.0f));
    body->AccumulateForces(0.1f);
    body->Integrate(0.1f);
    EXPECT_EQ(body->GetVelocity(), Vector2D(1.0f, 2.0f));
    EXPECT_EQ(body->GetPosition(), Vector2D(3.0f, 4.0f));
    EXPECT_FLOAT_EQ(body->GetOrientation(), 90.0f);
}

TEST_F(RigidBodyTest, CopyTakesStateCallbacksAndForcesWithItsOwnOwner)
{
    CallbackLog sourceLog, copyLog;
    Core::RefPtr<RigidBody> source = new RigidBody(MassProperties(2.0f, 1.0f, {0.5f, 0.0f}), RigidBody::None,
                                                   &OnMove, nullptr, &sourceLog);
    source->SetPosition({10.0f, 0.0f});
    source->SetOrientation(90.0f);
    source->SetVelocity({1.0f, -1.0f});
    source->SetAngularVelocity(30.0f);
    // Slots 0 and 2 hold forces, slot 1 is empty.
    Core::RefPtr<ConstantForce> atPoint =
        new ConstantForce({10.0f, 1.0f}, {2.0f, 0.0f}, 0.0f, ConstantForce::ModeForceAtPoint);
    source->AddForce(atPoint.Get());
    source->AddForce(new ConstantForce());
    source->AddForce(new DragForce(1.0f, 0.0f));
    source->RemoveForce(1);
    source->GetForces().GetForce(2)->SetTimeToLive(-3.0f);

    Core::RefPtr<RigidBody> copy = new RigidBody(*source, &copyLog);
    EXPECT_EQ(copy->GetData(), &copyLog);
    EXPECT_EQ(copy->GetIntegratorKind(), std::uint32_t{RigidBody::None});
    ASSERT_NE(copy->GetVelocityIntegrator(), nullptr);
    EXPECT_STREQ(copy->GetVelocityIntegrator()->GetClassName(), "Physics2D::ODESolverEuler");
    EXPECT_EQ(copy->GetVelocityIntegrator()->GetState(),
              (std::vector<float>{1.0f, -1.0f, 30.0f * 0.017453292f}));
    EXPECT_EQ(copy->GetPositionIntegrator()->GetState(),
              (std::vector<float>{10.0f, 0.0f, source->GetOrientationRadians()}));
    EXPECT_EQ(copy->GetForce(), Vector2D());
    EXPECT_EQ(copy->GetMatrix().m[2], 0.0f); // identity until the first transform update

    ASSERT_EQ(copy->GetForces().GetSlotCount(), 2u);
    const auto* copiedPoint = dynamic_cast<const ConstantForce*>(copy->GetForces().GetForce(0));
    const auto* copiedDrag = dynamic_cast<const DragForce*>(copy->GetForces().GetForce(1));
    ASSERT_NE(copiedPoint, nullptr);
    ASSERT_NE(copiedDrag, nullptr);
    EXPECT_NE(copiedPoint, atPoint.Get());
    EXPECT_EQ(copiedPoint->GetBody(), copy.Get());
    EXPECT_EQ(copiedPoint->GetMode(), std::uint32_t{ConstantForce::ModeForceAtPoint});
    EXPECT_EQ(copiedDrag->GetTimeToLive(), 0.0f);

    // The copy moves on its own and reports to its own owner; its force acts
    // at the same body point as the source's.
    copy->UpdateTransform(RigidBody::TransformUpdate::Move);
    copy->Integrate(0.5f);
    EXPECT_EQ(copyLog.calls.size(), 2u);
    EXPECT_TRUE(sourceLog.calls.empty());
    EXPECT_EQ(copy->GetPosition(), Vector2D(10.5f, -0.5f));
    EXPECT_EQ(source->GetPosition(), Vector2D(10.0f, 0.0f));
    copy->SetPosition(source->GetPosition());
    copy->SetOrientation(source->GetOrientation());
    source->AccumulateForces(0.02f);
    copy->AccumulateForces(0.02f);
    EXPECT_NEAR(source->GetTorque(), -2.0f, 1e-5f);
    EXPECT_NEAR(copy->GetTorque(), source->GetTorque(), 1e-5f);
}

} // namespace
