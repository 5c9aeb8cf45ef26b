#include "PhysicsScene.h"
#include "bench_physics_scenes.h"
#include "physics/Physics_JointNail.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace
{

using namespace physics_test;

struct ChainFigures
{
    float widestGap = 0.0f; // between the two anchors of any joint, in link lengths
    float reach = 0.0f;     // largest |x| or |y| of any link end
};

// Links one unit long, nailed end to end and to a pivot at the origin,
// released level to swing under gravity for 10 s.
ChainFigures SwingChain(int links, float inertia, std::uint32_t iterations, bool warmStart)
{
    Scene scene;
    scene.ground = false;
    scene.Engine().SetAccuracy(iterations);
    scene.Engine().GetSolver().SetWarmStart(warmStart);
    std::vector<std::uint32_t> ids;
    for (int i = 0; i < links; ++i)
    {
        Scene::Shape none;
        none.solid = false;
        const float x = static_cast<float>(i);
        const std::uint32_t id = scene.Add({x + 0.5f, 0.0f}, MassProperties(1.0f, inertia, {}), none, true);
        scene.Engine().AddJoint(ids.empty() ? 0 : ids.back(), id, new JointNail({x, 0.0f}, {x, 0.0f}, 0.5f));
        ids.push_back(id);
    }
    ChainFigures figures;
    for (int frame = 0; frame < 600; ++frame)
    {
        scene.Step();
        Vector2D previous{0.0f, 0.0f};
        for (const std::uint32_t id : ids)
        {
            const Math::Matrix3& m = scene.Body(id).GetMatrix();
            const Vector2D start = m * Vector2D{-0.5f, 0.0f};
            const Vector2D end = m * Vector2D{0.5f, 0.0f};
            figures.widestGap = std::max(figures.widestGap, (start - previous).Length());
            figures.reach = std::max({figures.reach, std::fabs(end.x), std::fabs(end.y)});
            previous = end;
        }
    }
    return figures;
}

TEST(StabilityTest, LightChainHoldsAtTheDefaultSpinLimit)
{
    // Links this light would have to spin faster than the limit allows to
    // follow their joints; the rows must hold them at the limit instead of
    // being undone by the clamp.
    ASSERT_FLOAT_EQ(RigidBody::GetMaximumAngularVelocity(), 6.2831855f);
    for (const bool warmStart : {false, true})
    {
        SCOPED_TRACE(warmStart);
        const ChainFigures chain = SwingChain(10, 0.005f, ConstraintSolver::DefaultIterations, warmStart);
        EXPECT_LT(chain.widestGap, 0.05f);
        EXPECT_LE(chain.reach, 10.05f);
    }
}

TEST(StabilityTest, RodChainsKeepTheirJointsClosed)
{
    // Joints get their position correction with or without contacts; more
    // sweeps only solve the same rows more closely.
    for (const int links : {2, 3, 10})
    {
        float fewer = 1.0f;
        for (const std::uint32_t iterations : {75u, 150u, 300u})
        {
            SCOPED_TRACE(testing::Message() << links << " links, " << iterations << " sweeps");
            const ChainFigures chain = SwingChain(links, 0.084f, iterations, false);
            EXPECT_LT(chain.widestGap, 0.05f);
            EXPECT_LE(chain.widestGap, fewer * 1.05f);
            EXPECT_LE(chain.reach, static_cast<float>(links) + 0.05f);
            fewer = chain.widestGap;
        }
    }
}

TEST(StabilityTest, StackFedThroughAddContactStands)
{
    // The contact-list callback adds every corner contact of both sides of
    // each pair each step, as the framework's bridge does.
    for (const bool warmStart : {false, true})
    {
        SCOPED_TRACE(warmStart);
        Scene scene(0.3f, 0.5f);
        scene.Engine().GetSolver().SetWarmStart(warmStart);
        std::uint32_t top = 0;
        for (int i = 0; i < 10; ++i)
        {
            top = scene.AddBox({0.0f, 0.5f + static_cast<float>(i)}, {0.5f, 0.5f}, 1.0f);
        }
        const Vector2D start = scene.Body(top).GetPosition();
        float moved = 0.0f;
        for (int frame = 0; frame < 600; ++frame)
        {
            scene.Step();
            moved = std::max(moved, (scene.Body(top).GetPosition() - start).Length());
        }
        EXPECT_LT(moved, 0.05f);
        EXPECT_LT(scene.Penetration(), 0.01f);
    }
}

TEST(StabilityTest, PileOfCirclesComesToRest)
{
    std::unique_ptr<bench::World> pile = bench::MakeOurPile(200, false);
    float peak = 0.0f;
    float resting = 0.0f;
    for (int step = 0; step < bench::Steps; ++step)
    {
        pile->Step();
        peak = std::max(peak, pile->KineticEnergy());
        // The last second: the pile lies still.
        if (step >= bench::Steps - 60)
        {
            resting = std::max(resting, pile->Quality());
        }
    }
    EXPECT_LT(pile->KineticEnergy(), 0.01f * peak);
    EXPECT_LT(resting, 0.1f * bench::Radius);
}

TEST(StabilityTest, DeepPileSinksNoDeeperThanBox2D)
{
    // The fall and the collapse of the pile, where it sinks deepest, take
    // its first few seconds.
    constexpr int Steps = 300;
    const bench::Figures ours = bench::Measure(*bench::MakeOurPile(1000, false), Steps);
    const bench::Figures box2d = bench::Measure(*bench::MakeBox2DPile(1000), Steps);
    EXPECT_LE(ours.worst, box2d.worst);
    EXPECT_LT(ours.worst, 0.5f * bench::Radius);
}

} // namespace
