#include "physics/Physics_ConstraintSolver.h"

#include "core/Core_File.h"
#include "physics/Physics_Joint.h"
#include "physics/Physics_RigidBody.h"
#include "physics/Physics_Simulation.h"

#include <algorithm>

namespace Physics2D
{

void ConstraintSolver::Prepare(std::uint32_t rows, std::uint32_t bodies)
{
    rowCount_ = rows;
    bool grew = false;
    if (rows > rowCapacity_)
    {
        rowCapacity_ = rows;
        // Allocated anew: nothing of the old rows is worth keeping.
        jacobian_.assign(6 * std::size_t{rows}, 0.0f);
        weighted_.assign(6 * std::size_t{rows}, 0.0f);
        records_.assign(rows, RowRecord{});
        for (std::vector<float>* row :
             {&target_, &softness_, &scratch_, &rhs_, &lower_, &upper_, &multipliers_[0], &multipliers_[1]})
        {
            row->assign(rows, 0.0f);
        }
        accumulator1_.assign(rows, 0);
        accumulator2_.assign(rows, 0);
        grew = true;
    }

    bodyCount_ = bodies;
    if (bodies > bodyCapacity_)
    {
        bodyCapacity_ = bodies;
        accumulators_.assign(3 * (std::size_t{bodies} + 1), 0.0f);
        fixedSpin_.assign(std::size_t{bodies} + 1, 0);
    }
    else if (accumulators_.empty())
    {
        accumulators_.assign(3, 0.0f);
        fixedSpin_.assign(1, 0);
    }

    if (rows > 0)
    {
        std::fill_n(jacobian_.begin(), 6 * std::size_t{rows}, 0.0f);
        std::fill_n(weighted_.begin(), 6 * std::size_t{rows}, 0.0f);
        for (std::vector<float>* row : {&target_, &softness_, &lower_, &upper_})
        {
            std::fill_n(row->begin(), rows, 0.0f);
        }
        if (grew)
        {
            std::fill_n(multipliers_[0].begin(), rows, 0.0f);
            std::fill_n(multipliers_[1].begin(), rows, 0.0f);
        }
        for (std::uint32_t i = 0; i < rows; ++i)
        {
            records_[i].linkedRow = -1;
            records_[i].coefficient = 0.0f;
        }
    }
    if (bodies > 0)
    {
        std::fill(accumulators_.begin(), accumulators_.end(), 0.0f);
    }
    std::fill(fixedSpin_.begin(), fixedSpin_.end(), 0);
}

void ConstraintSolver::SetPositionCorrectionPhase(bool on)
{
    positionCorrectionPhase_ = on;
    Joint::PositionCorrectionPhase = on ? 1 : 0;
}

RowWindow ConstraintSolver::GetRowWindow(std::uint32_t first, std::uint32_t rows)
{
    ENGINE_ASSERT(first <= rowCount_ && rows <= rowCount_ - first);
    RowWindow window;
    window.jacobian = jacobian_.data() + 6 * std::size_t{first};
    window.target = target_.data() + first;
    window.softness = softness_.data() + first;
    window.lower = lower_.data() + first;
    window.upper = upper_.data() + first;
    window.records = records_.data() + first;
    window.rows = rows;
    return window;
}

void ConstraintSolver::ResolveAccumulators()
{
    // The sink lies past the last body; a side pointing there has its
    // weighted row cleared, so it neither moves nor disturbs the others.
    const float* base = accumulators_.data();
    const std::uint32_t sink = 3 * bodyCapacity_;
    const auto offsetOf = [&](const RigidBody* body)
    {
        const float* accumulator = body != nullptr ? body->GetSolverAccumulator() : nullptr;
        if (accumulator == nullptr || accumulator < base || accumulator >= base + sink)
        {
            return sink;
        }
        return static_cast<std::uint32_t>(accumulator - base);
    };
    for (std::uint32_t i = 0; i < rowCount_; ++i)
    {
        accumulator1_[i] = offsetOf(records_[i].body1);
        accumulator2_[i] = offsetOf(records_[i].body2);
    }
}

void ConstraintSolver::ComputeRightHandSide(float h)
{
    if (positionCorrectionPhase_)
    {
        for (std::uint32_t i = 0; i < rowCount_; ++i)
        {
            rhs_[i] = h * target_[i];
        }
        return;
    }
    // b = h c - J a, where a = M^-1 F + h v is the acceleration that would
    // bring each body to rest within the step: the row then drives the
    // constrained velocity after the step to c.
    const auto acceleration = [h](const RigidBody* body, float* a)
    {
        if (body == nullptr)
        {
            a[0] = a[1] = a[2] = 0.0f;
            return;
        }
        const MassProperties& mass = body->GetMassProperties();
        const float m = mass.GetInverseMass();
        const float inertia = mass.GetInverseInertia();
        const Math::Vector2D& force = body->GetForce();
        const Math::Vector2D& velocity = body->GetVelocity();
        a[0] = m * force.x + h * velocity.x;
        a[1] = m * force.y + h * velocity.y;
        a[2] = inertia * body->GetTorque() + h * body->GetAngularVelocityRadians();
    };
    for (std::uint32_t i = 0; i < rowCount_; ++i)
    {
        float a[6];
        acceleration(records_[i].body1, a);
        acceleration(records_[i].body2, a + 3);
        const float* j = &jacobian_[6 * std::size_t{i}];
        float sum = 0.0f;
        for (int k = 0; k < 6; ++k)
        {
            sum += j[k] * a[k];
        }
        rhs_[i] = h * target_[i] - sum;
    }
}

void ConstraintSolver::Solve()
{
    Solve(settings_.iterations, settings_.warmStart);
}

void ConstraintSolver::Solve(std::uint32_t sweeps, bool warmStart)
{
    const std::uint32_t rows = rowCount_;
    if (rows == 0)
    {
        return;
    }
    const float h = Simulation::inverseStep;
    ResolveAccumulators();
    ComputeRightHandSide(h);

    float* const acc = accumulators_.data();
    const std::uint32_t sink = 3 * bodyCapacity_;
    float* const J = jacobian_.data();
    float* const B = weighted_.data();
    // Each phase warm starts from its own last solve: a velocity pass's
    // multipliers hold weight, a correction pass's remove penetration.
    float* const lambda = multipliers_[positionCorrectionPhase_ ? 1 : 0].data();
    float* const b = rhs_.data();
    float* const s = softness_.data();
    float* const t = scratch_.data();

    for (std::uint32_t i = 0; i < rows; ++i)
    {
        // A friction row's bounds follow a multiplier of this pass.
        ENGINE_ASSERT(records_[i].linkedRow < static_cast<std::int32_t>(rows));
        s[i] *= h;
        const RigidBody* body1 = records_[i].body1;
        const RigidBody* body2 = records_[i].body2;
        const float* j = J + 6 * std::size_t{i};
        float* w = B + 6 * std::size_t{i};
        const float m1 =
            body1 != nullptr && accumulator1_[i] != sink ? body1->GetMassProperties().GetInverseMass() : 0.0f;
        const float i1 = body1 != nullptr && accumulator1_[i] != sink && fixedSpin_[accumulator1_[i] / 3] == 0
                             ? body1->GetMassProperties().GetInverseInertia()
                             : 0.0f;
        const float m2 =
            body2 != nullptr && accumulator2_[i] != sink ? body2->GetMassProperties().GetInverseMass() : 0.0f;
        const float i2 = body2 != nullptr && accumulator2_[i] != sink && fixedSpin_[accumulator2_[i] / 3] == 0
                             ? body2->GetMassProperties().GetInverseInertia()
                             : 0.0f;
        w[0] = m1 * j[0];
        w[1] = m1 * j[1];
        w[2] = i1 * j[2];
        w[3] = m2 * j[3];
        w[4] = m2 * j[4];
        w[5] = i2 * j[5];
    }

    // A warm start begins every row from the multiplier it holds, whole:
    // a resting stack's contacts carry nearly the same load each step, and
    // any share of it dropped must be rebuilt by the sweeps, from the bottom
    // of the stack up.
    if (warmStart)
    {
        for (std::uint32_t i = 0; i < rows; ++i)
        {
            const float* w = B + 6 * std::size_t{i};
            float* a1 = acc + accumulator1_[i];
            float* a2 = acc + accumulator2_[i];
            a1[0] += w[0] * lambda[i];
            a1[1] += w[1] * lambda[i];
            a1[2] += w[2] * lambda[i];
            a2[0] += w[3] * lambda[i];
            a2[1] += w[4] * lambda[i];
            a2[2] += w[5] * lambda[i];
        }
    }
    else
    {
        std::fill_n(lambda, rows, 0.0f);
    }

    // Each row is scaled by its factor relaxation / d, d = J B + s, so a
    // sweep's update is a plain dot product.
    const float relaxation = settings_.relaxation;
    for (std::uint32_t i = 0; i < rows; ++i)
    {
        float* j = J + 6 * std::size_t{i};
        const float* w = B + 6 * std::size_t{i};
        float d = 0.0f;
        for (int k = 0; k < 6; ++k)
        {
            d += j[k] * w[k];
        }
        d += s[i];
        const float f = d != 0.0f ? relaxation / d : 0.0f;
        for (int k = 0; k < 6; ++k)
        {
            j[k] *= f;
        }
        b[i] *= f;
        t[i] = s[i] * f;
    }

    const RowRecord* const records = records_.data();
    const std::uint32_t* const offset1 = accumulator1_.data();
    const std::uint32_t* const offset2 = accumulator2_.data();
    float* const lower = lower_.data();
    float* const upper = upper_.data();
    for (std::uint32_t sweep = 0; sweep < sweeps; ++sweep)
    {
        for (std::uint32_t i = 0; i < rows; ++i)
        {
            const float* j = J + 6 * std::size_t{i};
            const float* w = B + 6 * std::size_t{i};
            float* a1 = acc + offset1[i];
            float* a2 = acc + offset2[i];
            float dot = 0.0f;
            dot += j[0] * a1[0];
            dot += j[1] * a1[1];
            dot += j[2] * a1[2];
            dot += j[3] * a2[0];
            dot += j[4] * a2[1];
            dot += j[5] * a2[2];
            float delta = (b[i] - lambda[i] * t[i]) - dot;

            const std::int32_t link = records[i].linkedRow;
            if (link >= 0)
            {
                upper[i] = lambda[link] * records[i].coefficient;
                lower[i] = -upper[i];
            }
            const float old = lambda[i];
            const float next = old + delta;
            if (lower[i] > next)
            {
                lambda[i] = lower[i];
                delta = lower[i] - old;
            }
            else if (next > upper[i])
            {
                lambda[i] = upper[i];
                delta = upper[i] - old;
            }
            else
            {
                lambda[i] = next;
            }

            a1[0] += w[0] * delta;
            a1[1] += w[1] * delta;
            a1[2] += w[2] * delta;
            a2[0] += w[3] * delta;
            a2[1] += w[4] * delta;
            a2[2] += w[5] * delta;
        }
    }
    // The sink took what the immovable sides were given; it is no body's.
    acc[sink] = acc[sink + 1] = acc[sink + 2] = 0.0f;
}

void ConstraintSolver::WriteSettings(Core::File& file) const
{
    file << settings_.iterations << settings_.warmStart << settings_.relaxation;
}

bool ConstraintSolver::ReadSettings(Core::File& file, Settings& settings)
{
    Settings read;
    file >> read.iterations >> read.warmStart >> read.relaxation;
    if (file.Failed())
    {
        return false;
    }
    settings = read;
    return true;
}

} // namespace Physics2D
