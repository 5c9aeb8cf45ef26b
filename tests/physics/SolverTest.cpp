#include "physics/Physics_ConstraintSolver.h"
#include "physics/Physics_Joint.h"
#include "physics/Physics_RigidBody.h"
#include "physics/Physics_Simulation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

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

// A crowd of rows over three bodies and the ground: rows between every pair
// and with the ground, friction rows following a normal row before or after
// them, rows between the ground and itself, a body held in place that spins.
// The solver may run rows that share no moving body side by side; the result
// must be the row-by-row one bit for bit, in both phases, warm started.
class SolverCrowdTest : public SolverTest
{
protected:
    static constexpr std::uint32_t Rows = 60;

    // Fills and solves the crowd; `selfRow` puts a row of zeros binding a
    // body to itself first, which the solver cannot run beside others (one
    // lane would update the body twice from the same start), so the whole
    // solve goes row by row, while the row itself changes nothing (it runs
    // before anything can be infinite). Answers the multipliers, the
    // accumulators and the bounds.
    std::vector<float> Solve(bool velocityPhase, bool selfRow)
    {
        RigidBody* bodies[4] = {body_.Get(), spinner_.Get(), pinned_.Get(), ground_.Get()};
        const std::uint32_t rows = Rows + (selfRow ? 1 : 0);
        solver_.SetPositionCorrectionPhase(!velocityPhase);
        solver_.SetWarmStart(true);
        solver_.SetAccuracy(25);
        // Four bodies fill few lanes; the comparison needs the batched sweeps.
        solver_.SetBatchedSweepsAlways(true);
        solver_.Prepare(rows, 4);
        const std::uint32_t first = selfRow ? 1 : 0;
        const RowWindow window = solver_.GetRowWindow(first, Rows);
        // Values from a fixed sequence, so every solve is the same.
        std::uint32_t k = 0;
        const auto next = [&k]
        { return static_cast<float>(static_cast<int>((++k * 37u) % 17u) - 8) * 0.25f; };
        float* lambda = solver_.GetMultipliers() + first;
        for (std::uint32_t r = 0; r < Rows; ++r)
        {
            const std::uint32_t b1 = r % 4;
            const std::uint32_t b2 = (b1 + 1 + (r / 4) % 3) % 4;
            const bool groundOnly = r % 13 == 5;
            window.records[r].body1 = bodies[groundOnly ? 3 : b1];
            window.records[r].body2 = bodies[groundOnly ? 3 : b2];
            window.SetJacobian(r, next(), next(), next(), next(), next(), next());
            const bool friction = r % 3 == 1;
            window.SetRow(r, next(), r % 7 == 0 ? 0.5f : 0.0f, friction ? -1.0f : 0.0f,
                          friction ? 1.0f : Simulation::plusInfinity);
            if (friction)
            {
                // Rows 1, 4, 7, ... follow the row before them; every fifth
                // one the row after it instead, and rows 7 and 37 themselves.
                const std::uint32_t followed = r % 5 == 0 ? r + 1 : (r % 10 == 7 ? r : r - 1);
                window.records[r].linkedRow = static_cast<std::int32_t>(first + followed);
                window.records[r].coefficient = 0.5f;
            }
            lambda[r] = r % 2 == 0 ? 0.25f * static_cast<float>(r % 5) : 0.0f;
        }
        if (selfRow)
        {
            const RowWindow self = solver_.GetRowWindow(0, 1);
            self.records[0].body1 = self.records[0].body2 = bodies[1];
            self.SetRow(0, 0.0f, 0.0f, 0.0f, 0.0f);
            solver_.GetMultipliers()[0] = 0.0f;
        }
        for (std::uint32_t b = 0; b < 4; ++b)
        {
            bodies[b]->SetSolverAccumulator(solver_.GetBodyAccumulator(b));
        }
        // The pinned body's rows never move it, yet they see its spin.
        solver_.FixSpin(2);
        solver_.GetBodyAccumulator(2)[2] = PinnedSpin;
        solver_.Solve();

        std::vector<float> result(lambda, lambda + Rows);
        for (std::uint32_t b = 0; b < 4; ++b)
        {
            result.insert(result.end(), solver_.GetBodyAccumulator(b), solver_.GetBodyAccumulator(b) + 3);
        }
        for (std::uint32_t r = 0; r < Rows; ++r)
        {
            result.push_back(solver_.GetLowerBound(first + r));
            result.push_back(solver_.GetUpperBound(first + r));
        }
        return result;
    }

    static void ExpectSameBits(const std::vector<float>& a, const std::vector<float>& b)
    {
        ASSERT_EQ(a.size(), b.size());
        for (std::size_t i = 0; i < a.size(); ++i)
        {
            std::uint32_t x = 0, y = 0;
            std::memcpy(&x, &a[i], sizeof x);
            std::memcpy(&y, &b[i], sizeof y);
            EXPECT_EQ(x, y) << "value " << i << ": " << a[i] << " against " << b[i];
        }
    }

    void SetUp() override
    {
        SolverTest::SetUp();
        spinner_->SetVelocity({1.0f, -2.0f});
        spinner_->SetAngularVelocity(30.0f);
        pinned_->SetAngularVelocity(-45.0f);
    }

    static constexpr float PinnedSpin = 40.0f;
    Core::RefPtr<RigidBody> spinner_ =
        new RigidBody(MassProperties(2.0f, 0.5f, {}), RigidBody::Euler, nullptr, nullptr, nullptr);
    Core::RefPtr<RigidBody> pinned_ =
        new RigidBody(MassProperties(0.0f, 3.0f, {}), RigidBody::Euler, nullptr, nullptr, nullptr);
};

TEST_F(SolverCrowdTest, SolveMatchesRowByRowBitForBit)
{
    // Every batched kernel the processor runs.
    using Kernel = ConstraintSolver::SweepKernel;
    for (const Kernel kernel : {Kernel::Baseline, Kernel::Avx, Kernel::Avx2})
    {
        SCOPED_TRACE("kernel " + std::to_string(static_cast<int>(kernel)));
        ConstraintSolver::LimitSweepKernel(kernel);
        for (const bool velocityPhase : {false, true})
        {
            SCOPED_TRACE(velocityPhase ? "velocity phase" : "position-correction phase");
            const std::vector<float> together = Solve(velocityPhase, false);
            ExpectSameBits(together, Solve(velocityPhase, true));
            // The crowd does move its bodies.
            EXPECT_NE(together[Rows + 3], 0.0f);
        }
    }
    ConstraintSolver::LimitSweepKernel(Kernel::Avx2);
}

TEST_F(SolverCrowdTest, ChangeThatIsNotFiniteReachesLaterRowsThroughTheGround)
{
    // Two bodies, each touching only the ground; the first row's target is
    // NaN. Row by row, its change turns the ground's accumulator NaN and the
    // second row, later in the same sweep, reads it. (An infinite target is
    // clamped to a finite bound and spreads nothing.)
    solver_.SetAccuracy(1);
    solver_.SetBatchedSweepsAlways(true);
    solver_.Prepare(2, 3);
    const RowWindow rows = solver_.GetRowWindow(0, 2);
    RigidBody* bodies[3] = {body_.Get(), spinner_.Get(), ground_.Get()};
    for (std::uint32_t r = 0; r < 2; ++r)
    {
        rows.SetJacobian(r, 0.0f, 1.0f, 0.0f, 0.0f, -1.0f, 0.0f);
        rows.SetRow(r, r == 0 ? std::numeric_limits<float>::quiet_NaN() : 1.0f, 0.0f, 0.0f,
                    Simulation::plusInfinity);
        rows.records[r].body1 = bodies[r];
        rows.records[r].body2 = ground_.Get();
    }
    for (std::uint32_t b = 0; b < 3; ++b)
    {
        bodies[b]->SetSolverAccumulator(solver_.GetBodyAccumulator(b));
    }
    solver_.Solve();
    EXPECT_TRUE(std::isnan(solver_.GetBodyAccumulator(1)[1]));
}

} // namespace
