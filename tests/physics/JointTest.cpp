#include "PhysicsScene.h"
#include "core/Core_MemoryFile.h"
#include "physics/Physics_JointAngularMotor.h"
#include "physics/Physics_JointFixed.h"
#include "physics/Physics_JointNail.h"
#include "physics/Physics_JointSlider.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace
{

using namespace physics_test;

Core::RefPtr<RigidBody> MakeBody(const Vector2D& position)
{
    Core::RefPtr<RigidBody> body =
        new RigidBody(MassProperties(1.0f, 0.5f, {}), RigidBody::Euler, nullptr, nullptr, nullptr);
    body->SetPosition(position);
    return body;
}

TEST(JointTest, JointsMadeByNameCountTheRowsTheyFillAndNoMore)
{
    struct Case
    {
        const char* name;
        std::uint32_t rows;
    };
    Core::RefPtr<PhysicsEngine> engine = new PhysicsEngine();
    const std::uint32_t a = engine->AddRigidBody(MakeBody({0.0f, 0.0f}).Get());
    const std::uint32_t b = engine->AddRigidBody(MakeBody({1.0f, 0.0f}).Get());
    // A nail made by name has limit 0, so its limit row always counts.
    for (const Case& c : {Case{"Physics2D::JointNail", 3}, Case{"Physics2D::JointHinge", 3},
                          Case{"Physics2D::JointSpring", 3}, Case{"Physics2D::JointSlider", 2},
                          Case{"Physics2D::JointFixed", 3}, Case{"Physics2D::JointAngularMotor", 1}})
    {
        SCOPED_TRACE(c.name);
        Core::RefPtr<Joint> joint = dynamic_cast<Joint*>(Core::CreateObject(c.name));
        ASSERT_TRUE(joint);
        ASSERT_EQ(engine->AddJoint(a, b, joint.Get()), joint.Get());
        EXPECT_EQ(joint->CountRows(), c.rows);

        // Rows past the window keep what they hold.
        ConstraintSolver solver;
        solver.Prepare(4, 0);
        RowWindow window = solver.GetRowWindow(0, 4);
        for (std::uint32_t r = 0; r < 4; ++r)
        {
            window.SetJacobian(r, 7.0f, 7.0f, 7.0f, 7.0f, 7.0f, 7.0f);
            window.SetRow(r, 7.0f, 7.0f, 7.0f, 7.0f);
        }
        window.rows = c.rows;
        joint->FillRows(window);
        for (std::uint32_t r = 0; r < 4; ++r)
        {
            const bool filled = r < c.rows;
            EXPECT_EQ(solver.GetTarget(r) == 7.0f && solver.GetLowerBound(r) == 7.0f, !filled) << r;
        }
        engine->RemoveJoint(joint.Get());
    }
}

TEST(JointTest, FixedJointClampsItsCorrectionFactor)
{
    EXPECT_EQ(JointFixed(1.5f).GetCorrectionFactor(), 1.0f);
    EXPECT_EQ(JointFixed(-0.2f).GetCorrectionFactor(), 0.0f);
    EXPECT_EQ(JointFixed().GetCorrectionFactor(), 0.7f);
    EXPECT_EQ(JointFixed().GetKindCode(), std::uint32_t{Joint::KindFixed});
    EXPECT_FALSE(JointFixed().IsContact());
}

TEST(JointTest, NailCountsItsLimitRowOnlyAtTheLimit)
{
    Core::RefPtr<PhysicsEngine> engine = new PhysicsEngine();
    const std::uint32_t a = engine->AddRigidBody(MakeBody({0.0f, 0.0f}).Get());
    const std::uint32_t b = engine->AddRigidBody(MakeBody({1.0f, 0.0f}).Get());
    Core::RefPtr<JointNail> free = new JointNail({0.5f, 0.0f}, {0.5f, 0.0f}, 0.2f);
    Core::RefPtr<JointNail> limited = new JointNail({0.5f, 0.0f}, {0.5f, 0.0f}, 0.2f, 30.0f);
    engine->AddJoint(a, b, free.Get());
    engine->AddJoint(a, b, limited.Get());
    EXPECT_EQ(free->CountRows(), 2u);
    EXPECT_EQ(limited->CountRows(), 2u);
    engine->SetRigidBodyOrientation(b, 45.0f);
    EXPECT_EQ(free->CountRows(), 2u);
    EXPECT_EQ(limited->CountRows(), 3u);
    float error = 0.0f;
    bool lower = true;
    ASSERT_TRUE(limited->IsLimitReached(error, lower));
    EXPECT_FALSE(lower);
    EXPECT_NEAR(error, 15.0f, 1e-3f);
}

TEST(JointTest, InactiveJointsContributeNoRows)
{
    Scene scene;
    scene.ground = false;
    const std::uint32_t ball = scene.AddCircle({0.0f, 5.0f}, 0.5f, 1.0f);
    Joint* joint = scene.Engine().AddJoint(0, ball, new JointFixed(0.5f));
    joint->SetActive(false);
    scene.Engine().Update(1.0f / 60.0f);
    EXPECT_EQ(scene.Engine().GetSolver().GetRowCount(), 0u);
    EXPECT_LT(scene.Body(ball).GetVelocity().y, 0.0f);
    joint->SetActive(true);
    scene.Engine().Update(1.0f / 60.0f);
    EXPECT_EQ(scene.Engine().GetSolver().GetRowCount(), 3u);
    // Welded to the ground again: the fall stops and the drift is pulled back.
    EXPECT_GT(scene.Body(ball).GetVelocity().y, 0.0f);
}

TEST(JointTest, PendulumOnANailKeepsItsLength)
{
    Scene scene;
    scene.ground = false;
    const std::uint32_t bob = scene.AddCircle({1.0f, 0.0f}, 0.1f, 1.0f);
    // The correction factor pulls the drift of each step back within the
    // next few: the bob stays within a fraction of a percent of its length.
    scene.Engine().AddJoint(0, bob, new JointNail({0.0f, 0.0f}, {0.0f, 0.0f}, 0.8f));
    float lowest = 0.0f;
    for (int frame = 0; frame < 600; ++frame)
    {
        scene.Step();
        const Vector2D p = scene.Body(bob).GetPosition();
        ASSERT_NEAR(p.Length(), 1.0f, 0.01f) << frame;
        lowest = std::min(lowest, p.y);
    }
    // It swings: it passes below the pivot by about its length.
    EXPECT_LT(lowest, -0.99f);
}

TEST(JointTest, SliderKeepsTheBodiesOnItsAxis)
{
    Scene scene;
    scene.ground = false;
    const std::uint32_t base = scene.AddBox({0.0f, 0.0f}, {0.5f, 0.5f}, 1.0f, false);
    const std::uint32_t slide = scene.AddBox({1.0f, 0.0f}, {0.5f, 0.5f}, 1.0f, false);
    scene.Engine().AddJoint(base, slide, new JointSlider({1.0f, 0.0f}, 0.5f));
    scene.Body(slide).SetVelocity({1.0f, 1.0f});
    for (int frame = 0; frame < 60; ++frame)
    {
        scene.Step();
    }
    // The kick across the axis turns the pair as a whole; in the base's
    // frame the slide stays on the axis and keeps its angle, moving away
    // along it.
    const RigidBody& a = scene.Body(base);
    const RigidBody& b = scene.Body(slide);
    const Vector2D local = a.GetInverseMatrix() * b.GetPosition();
    EXPECT_GT(std::fabs(a.GetOrientation()), 1.0f);
    EXPECT_NEAR(local.y, 0.0f, 0.01f);
    EXPECT_GT(local.x, 1.5f);
    EXPECT_NEAR(b.GetOrientation() - a.GetOrientation(), 0.0f, 0.1f);
}

TEST(JointTest, MotorDrivesTheRelativeSpinToItsTarget)
{
    Scene scene;
    scene.ground = false;
    const std::uint32_t wheel = scene.AddCircle({0.0f, 0.0f}, 0.5f, 1.0f, false);
    // Body 1 is the wheel, body 2 the ground: w1 - w2 = 90 degrees/s.
    scene.Engine().AddJoint(wheel, 0, new JointAngularMotor(90.0f, 1000.0f));
    scene.Step();
    EXPECT_NEAR(scene.Body(wheel).GetAngularVelocity(), 90.0f, 1e-3f);
    // A weak motor only gets part of the way per step.
    Scene weak;
    weak.ground = false;
    const std::uint32_t other = weak.AddCircle({0.0f, 0.0f}, 0.5f, 1.0f, false);
    weak.Engine().AddJoint(other, 0, new JointAngularMotor(90.0f, 1.0f));
    weak.Step();
    EXPECT_LT(weak.Body(other).GetAngularVelocity(), 10.0f);
    EXPECT_GT(weak.Body(other).GetAngularVelocity(), 0.0f);
    // Over a second the wheel turns by the target: the joints' position
    // correction leaves a motor out, whatever correction factor it carries.
    Scene turning;
    turning.ground = false;
    const std::uint32_t turned = turning.AddCircle({0.0f, 0.0f}, 0.5f, 1.0f, false);
    turning.Engine().AddJoint(turned, 0, new JointAngularMotor(90.0f, 1000.0f))->SetCorrectionFactor(1.0f);
    for (int frame = 0; frame < 60; ++frame)
    {
        turning.Step();
    }
    EXPECT_NEAR(turning.Body(turned).GetOrientation(), 90.0f, 1.0f);
}

TEST(JointTest, ReadJointRestoresBodiesAndThePhaseFlag)
{
    Core::RefPtr<PhysicsEngine> engine = new PhysicsEngine();
    const std::uint32_t a = engine->AddRigidBody(MakeBody({0.0f, 0.0f}).Get());
    const std::uint32_t b = engine->AddRigidBody(MakeBody({2.0f, 0.0f}).Get());
    Core::RefPtr<JointNail> nail = new JointSpring({1.0f, 0.0f}, {1.0f, 0.0f}, 0.3f, 45.0f);
    nail->SetSpring(20.0f, 1.0f);
    engine->AddJoint(a, b, nail.Get());

    Joint::PositionCorrectionPhase = 1;
    Core::MemoryFile file;
    file.WriteObject(nail.Get());
    Joint::PositionCorrectionPhase = 0;

    Core::MemoryFile in(file.GetData(), file.GetSize());
    Core::RefPtr<JointSpring> read = dynamic_cast<JointSpring*>(in.ReadObject());
    ASSERT_TRUE(read);
    EXPECT_EQ(Joint::PositionCorrectionPhase, 1);
    Joint::PositionCorrectionPhase = 0;
    ASSERT_TRUE(read->GetBody1() && read->GetBody2());
    EXPECT_EQ(read->GetBody2()->GetPosition(), Vector2D(2.0f, 0.0f));
    EXPECT_EQ(read->GetLocalAnchor2(), nail->GetLocalAnchor2());
    EXPECT_EQ(read->GetStiffness(), 20.0f);
    EXPECT_EQ(read->GetAngularLimit(), 45.0f);

    // A record asking for more rows than the kind fills is refused.
    std::vector<std::uint8_t> bytes = file.GetBuffer();
    const std::string name = "Physics2D::JointSpring";
    const std::size_t maximumRows = 1 + 4 + name.size() + 4 + 4;
    bytes[maximumRows] = 9;
    Core::MemoryFile bad(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    Core::RefPtr<Core::Object> refused = bad.ReadObject();
    EXPECT_TRUE(bad.Failed());
    EXPECT_EQ(bad.GetError(), Core::FileError::BadData);
    EXPECT_EQ(static_cast<Joint*>(refused.Get())->GetMaximumRows(), 2u);
}

} // namespace
