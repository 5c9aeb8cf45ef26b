#include "physics/Physics_ConstraintSolver.h"
#include "physics/Physics_Joint.h"
#include "physics/Physics_RigidBody.h"
#include "physics/Physics_Simulation.h"

#include <gtest/gtest.h>

namespace
{

using namespace Physics2D;

// A body of mass 1 that cannot turn, and a static one, coupled by a normal
// row along y and a friction row along x linked to it. The correction phase
// makes the right-hand side h x target, so the multipliers are easy to read.
class SolverTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Simulation::inverseStep = 1.0f;
        solver_.SetPositionCorrectionPhase(true);
        solver_.SetAccuracy(10);
    }
    void TearDown() override
    {
        solver_.SetPositionCorrectionPhase(false);
        Simulation::inverseStep = 0.0f;
    }

    void Pass(float normalTarget, float frictionTarget, float friction = 0.5f)
    {
        solver_.Prepare(2, 2);
        const RowWindow rows = solver_.GetRowWindow(0, 2);
        rows.SetJacobian(0, 0.0f, 1.0f, 0.0f, 0.0f, -1.0f, 0.0f);
        rows.SetRow(0, normalTarget, 0.0f, 0.0f, Simulation::plusInfinity);
        rows.SetJacobian(1, 1.0f, 0.0f, 0.0f, -1.0f, 0.0f, 0.0f);
        rows.SetRow(1, frictionTarget, 0.0f, -friction, friction);
        for (std::uint32_t r = 0; r < 2; ++r)
        {
            rows.records[r].body1 = body_.Get();
            rows.records[r].body2 = ground_.Get();
        }
        rows.records[1].linkedRow = 0;
        rows.records[1].coefficient = friction;
        body_->SetSolverAccumulator(solver_.GetBodyAccumulator(0));
        ground_->SetSolverAccumulator(solver_.GetBodyAccumulator(1));
        solver_.Solve();
    }

    ConstraintSolver solver_;
    Core::RefPtr<RigidBody> body_ =
        new RigidBody(MassProperties(1.0f, 0.0f, {}), RigidBody::Euler, nullptr, nullptr, nullptr);
    Core::RefPtr<RigidBody> ground_ =
        new RigidBody(MassProperties(0.0f, 0.0f, {}), RigidBody::Euler, nullptr, nullptr, nullptr);
};

TEST_F(SolverTest, FrictionStaysWithinItsShareOfTheNormalMultiplier)
{
    struct Case
    {
        float normalTarget, frictionTarget, normal, friction;
    };
    for (const Case& c : {Case{4.0f, 1000.0f, 4.0f, 2.0f}, Case{4.0f, -1000.0f, 4.0f, -2.0f},
                          Case{4.0f, 1.0f, 4.0f, 1.0f}, Case{-4.0f, 1000.0f, 0.0f, 0.0f}})
    {
        SCOPED_TRACE(testing::Message() << c.normalTarget << " " << c.frictionTarget);
        Pass(c.normalTarget, c.frictionTarget);
        // A normal row only pushes; friction follows its multiplier.
        EXPECT_FLOAT_EQ(solver_.GetMultiplier(0), c.normal);
        EXPECT_FLOAT_EQ(solver_.GetMultiplier(1), c.friction);
        const float* a = body_->GetSolverAccumulator();
        EXPECT_FLOAT_EQ(a[1], c.normal);
        EXPECT_FLOAT_EQ(a[0], c.friction);
        // The static body takes nothing.
        const float* g = ground_->GetSolverAccumulator();
        EXPECT_EQ(g[0], 0.0f);
        EXPECT_EQ(g[1], 0.0f);
    }
}

TEST_F(SolverTest, SolvesRepeatUnlessWarmStarted)
{
    Pass(4.0f, 1.0f);
    const float first[2] = {solver_.GetMultiplier(0), solver_.GetMultiplier(1)};
    Pass(4.0f, 1.0f);
    EXPECT_EQ(solver_.GetMultiplier(0), first[0]);
    EXPECT_EQ(solver_.GetMultiplier(1), first[1]);

    // Warm started, the accumulators begin from the last multipliers
    // of the same phase; the result is the same solution.
    solver_.SetWarmStart(true);
    Pass(4.0f, 1.0f);
    EXPECT_FLOAT_EQ(solver_.GetMultiplier(0), 4.0f);
    // The velocity phase keeps its own multipliers, untouched so far.
    solver_.SetPositionCorrectionPhase(false);
    EXPECT_EQ(solver_.GetMultiplier(0), 0.0f);
    EXPECT_EQ(Joint::PositionCorrectionPhase, 0);
}

TEST_F(SolverTest, PassWithoutRowsLeavesZeroAccumulators)
{
    Pass(4.0f, 1.0f);
    solver_.Prepare(0, 2);
    solver_.Solve();
    for (std::uint32_t k = 0; k < 2; ++k)
    {
        const float* a = solver_.GetBodyAccumulator(k);
        EXPECT_EQ(a[0], 0.0f);
        EXPECT_EQ(a[1], 0.0f);
        EXPECT_EQ(a[2], 0.0f);
    }
    // Storage only grows.
    EXPECT_EQ(solver_.GetRowCapacity(), 2u);
    EXPECT_EQ(solver_.GetRowCount(), 0u);
}

TEST_F(SolverTest, RowWithZeroDiagonalNeverChanges)
{
    body_->SetMassProperties(MassProperties(0.0f, 0.0f, {}));
    Pass(4.0f, 1.0f);
    EXPECT_EQ(solver_.GetMultiplier(0), 0.0f);
    EXPECT_EQ(solver_.GetMultiplier(1), 0.0f);
}

} // namespace
