#include "PhysicsScene.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

using namespace physics_test;

TEST(ContactTest, NormalIsUnitAndTangentTurnedLeft)
{
    Core::RefPtr<Contact> contact = new Contact({1.0f, 1.0f}, {0.0f, 2.0f}, {}, {}, 0.1f, 0.3f, 0.5f, 1);
    EXPECT_EQ(contact->GetNormal(), Vector2D(0.0f, 1.0f));
    EXPECT_EQ(contact->GetTangent(), Vector2D(-1.0f, 0.0f));
    EXPECT_EQ(contact->GetKindCode(), std::uint32_t{Joint::KindContact});
    EXPECT_EQ(contact->GetMaximumRows(), 2u);
    EXPECT_TRUE(contact->IsContact());
}

TEST(ContactTest, DroppedBallBouncesWithItsRestitutionAndComesToRest)
{
    Scene scene(0.3f, 0.5f);
    const float radius = 0.5f;
    const float drop = 5.0f;
    const std::uint32_t ball = scene.AddCircle({0.0f, drop + radius}, radius, 1.0f);

    enum
    {
        Falling,
        Rising,
        Done
    } phase = Falling;
    float impactSpeed = 0.0f;
    float reboundSpeed = 0.0f;
    float peak = 0.0f;
    for (int frame = 0; frame < 600; ++frame)
    {
        const float before = scene.Body(ball).GetVelocity().y;
        scene.Step();
        const float after = scene.Body(ball).GetVelocity().y;
        if (phase == Falling && after > 0.0f)
        {
            phase = Rising;
            impactSpeed = -before;
            reboundSpeed = after;
        }
        else if (phase == Rising)
        {
            peak = std::max(peak, scene.Body(ball).GetPosition().y - radius);
            phase = after > 0.0f ? Rising : Done;
        }
    }
    ASSERT_GT(impactSpeed, 9.0f);
    // The contact's velocity row drives the normal speed after the step to
    // restitution x the speed before it, gravity included.
    EXPECT_NEAR(reboundSpeed, 0.3f * impactSpeed, 1e-4f);
    // So the bounce reaches (e v)^2 / 2g: about e^2 of the drop height.
    EXPECT_NEAR(peak, 0.09f * drop, 0.1f * 0.09f * drop);

    const RigidBody& body = scene.Body(ball);
    EXPECT_NEAR(body.GetPosition().y, radius, 0.01f);
    EXPECT_LT(std::fabs(body.GetVelocity().y), 0.2f);
    EXPECT_LT(scene.Penetration(), 0.01f);
}

TEST(ContactTest, ReboundSpeedIsRestitutionTimesImpactSpeed)
{
    for (const float restitution : {0.3f, 1.0f})
    {
        SCOPED_TRACE(restitution);
        Scene scene(restitution, 0.0f);
        const std::uint32_t ball = scene.AddCircle({0.0f, 0.505f}, 0.5f, 1.0f, false);
        scene.Body(ball).SetVelocity({2.0f, -3.0f});
        scene.Step(); // into the ground: the contact is made and the ball pushed out
        const Vector2D before = scene.Body(ball).GetVelocity();
        ASSERT_EQ(before, Vector2D(2.0f, -3.0f));
        ASSERT_EQ(scene.Engine().GetContacts().size(), 1u);
        scene.Engine().Update(1.0f / 60.0f);
        const Vector2D after = scene.Body(ball).GetVelocity();
        EXPECT_NEAR(after.y, restitution * 3.0f, 1e-5f);
        // No friction: the tangential speed is kept.
        EXPECT_FLOAT_EQ(after.x, 2.0f);
    }
}

TEST(ContactTest, PenetrationIsRemovedAndUpdated)
{
    Scene scene;
    scene.ground = true;
    const std::uint32_t ball = scene.AddCircle({0.0f, 0.4f}, 0.5f, 1.0f, false);
    scene.Engine().PostCollisionUpdate(1.0f / 60.0f);
    ASSERT_EQ(scene.Engine().GetContacts().size(), 1u);
    const Contact& contact = *scene.Engine().GetContacts()[0];
    // Against static geometry body 2 is the ground body, its contact-time
    // position zeroed.
    EXPECT_EQ(contact.GetBody2(), scene.Engine().GetGroundBody());
    EXPECT_EQ(contact.GetContactPosition2(), Vector2D());
    // One pass removes its share of the 0.1 of penetration.
    EXPECT_NEAR(scene.Body(ball).GetPosition().y, 0.4f + Contact::PositionCorrectionShare * 0.1f, 1e-5f);
    // Neither body moved since the contact time: nothing is left to remove.
    EXPECT_EQ(contact.GetRowTimeSeparation(), Vector2D());
    EXPECT_EQ(contact.GetPenetration(), 0.0f);
}

TEST(ContactTest, KeptContactPointTurnsWithItsBody)
{
    struct Case
    {
        float degrees;
        Vector2D displacement;
    };
    // A body at (0, 1) touches the ground with its corner (0.5, 0.5); then
    // it moves one unit along x and turns. The point follows the corner.
    for (const Case& c : {Case{0.0f, {1.0f, 0.0f}}, Case{90.0f, {1.0f, 1.0f}}, Case{180.0f, {0.0f, 1.0f}}})
    {
        SCOPED_TRACE(c.degrees);
        Core::RefPtr<PhysicsEngine> engine = new PhysicsEngine();
        const std::uint32_t id = engine->AddRigidBody(
            new RigidBody(MassProperties(1.0f, 1.0f, {}), RigidBody::Euler, nullptr, nullptr, nullptr));
        engine->SetRigidBodyPosition(id, {0.0f, 1.0f});
        Contact* contact = engine->AddContact(
            id, 0, new Contact({0.5f, 0.5f}, {0.0f, 1.0f}, {0.0f, 1.0f}, {}, 0.0f, 0.3f, 0.5f, 0));
        ASSERT_NE(contact, nullptr);
        engine->SetRigidBodyPosition(id, {1.0f, 1.0f});
        engine->SetRigidBodyOrientation(id, c.degrees);
        // Before it filled rows, a contact knows only the contact-time
        // positions: it follows the move alone.
        contact->Prepare();
        EXPECT_EQ(contact->GetDisplacement1(), Vector2D(1.0f, 0.0f));

        engine->SetRigidBodyPosition(id, {0.0f, 1.0f});
        engine->SetRigidBodyOrientation(id, 0.0f);
        contact->Prepare();
        ConstraintSolver solver;
        solver.Prepare(2, 0);
        contact->FillRows(solver.GetRowWindow(0, 2));
        engine->SetRigidBodyPosition(id, {1.0f, 1.0f});
        engine->SetRigidBodyOrientation(id, c.degrees);
        contact->Prepare();
        EXPECT_NEAR(contact->GetDisplacement1().x, c.displacement.x, 1e-5f);
        EXPECT_NEAR(contact->GetDisplacement1().y, c.displacement.y, 1e-5f);
        EXPECT_EQ(contact->GetDisplacement2(), Vector2D());
    }
}

} // namespace
