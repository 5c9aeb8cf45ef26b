#include "physics/Physics_JointNail.h"
#include "physics/Physics_ReadChecks.h"

#include "core/Core_File.h"
#include "math/Math_Constants.h"
#include "physics/Physics_Simulation.h"

#include <cmath>

namespace Physics2D
{

CORE_DEFINE_OBJECT(JointNail, "Physics2D::JointNail", "JointNail", "Physics_JointNail", __LINE__)
CORE_DEFINE_OBJECT(JointHinge, "Physics2D::JointHinge", "JointHinge", "Physics_JointNail", __LINE__)
CORE_DEFINE_OBJECT(JointSpring, "Physics2D::JointSpring", "JointSpring", "Physics_JointNail", __LINE__)

namespace
{
// Rows along and across the axis; the limit row comes after them.
constexpr std::uint32_t PinRows = 2;
} // namespace

JointNail::JointNail() : Joint(KindGeneric, PinRows, false) {}

JointNail::JointNail(const Math::Vector2D& worldAnchor1, const Math::Vector2D& worldAnchor2,
                     float correctionFactor, float angularLimitDegrees)
    : Joint(KindGeneric, PinRows, false), angularLimit_(angularLimitDegrees), worldAnchor1_(worldAnchor1),
      worldAnchor2_(worldAnchor2)
{
    SetCorrectionFactor(correctionFactor);
}

void JointNail::SetAnchors(const Math::Vector2D& worldAnchor1, const Math::Vector2D& worldAnchor2)
{
    worldAnchor1_ = worldAnchor1;
    worldAnchor2_ = worldAnchor2;
}

void JointNail::SetSpring(float stiffness, float damping)
{
    stiffness_ = stiffness;
    damping_ = damping;
}

void JointNail::Prepare()
{
    if (!body1_ || !body2_)
    {
        return;
    }
    // Against the static body the axis stays in the world; otherwise it is
    // kept in body 1's frame (the rotation part of the inverse transform).
    localAxis_ =
        NeitherIsStatic() ? body1_->GetInverseMatrix().TransformPointBottomRow(worldAxis_) : worldAxis_;
    localAxis_.Normalize();
    localAnchor1_ = body1_->GetInverseMatrix() * worldAnchor1_;
    localAnchor2_ = body2_->GetInverseMatrix() * worldAnchor2_;
    referenceAngle_ = body2_->GetOrientation() - body1_->GetOrientation();
}

bool JointNail::IsLimitReached(float& error, bool& lowerSide) const
{
    if (!body1_ || !body2_)
    {
        return false;
    }
    const float angle =
        std::fmod(body2_->GetOrientation() - body1_->GetOrientation() - referenceAngle_, 360.0f);
    if (angle < 0.01f - angularLimit_)
    {
        error = angle + angularLimit_;
        lowerSide = true;
        return true;
    }
    if (angle > angularLimit_ - 0.01f)
    {
        error = angle - angularLimit_;
        lowerSide = false;
        return true;
    }
    return false;
}

std::uint32_t JointNail::CountRows()
{
    float error = 0.0f;
    bool lowerSide = false;
    rows_ = maximumRows_ + (IsLimitReached(error, lowerSide) ? 1 : 0);
    return rows_;
}

void JointNail::FillRows(const RowWindow& window)
{
    if (!body1_ || !body2_)
    {
        return;
    }
    worldAxis_ = NeitherIsStatic() ? body1_->GetRotationMatrix() * localAxis_ : localAxis_;
    axis_ = worldAxis_;
    perpendicular_ = {-axis_.y, axis_.x};
    worldAnchor1_ = body1_->GetMatrix() * localAnchor1_;
    worldAnchor2_ = body2_->GetMatrix() * localAnchor2_;
    arm1_ = worldAnchor1_ - body1_->GetCenterOfMass();
    arm2_ = worldAnchor2_ - body2_->GetCenterOfMass();

    const float infinity = Simulation::plusInfinity;
    const float k = Simulation::inverseStep * correctionFactor_;
    // A spring turns the axis row soft: softness 1 / (h k + c) and a drift
    // factor (h k / (h k + c)) / h, with h the step, k the stiffness and c
    // the damping. With nothing to divide by the row stays rigid.
    float axisFactor = k;
    float axisSoftness = 0.0f;
    if (stiffness_ != 0.0f)
    {
        const float t = Simulation::step * stiffness_;
        const float u = t + damping_;
        if (u != 0.0f)
        {
            axisFactor = (t / u) * Simulation::inverseStep;
            axisSoftness = 1.0f / u;
        }
        else
        {
            axisFactor = 0.0f;
        }
    }

    const Math::Vector2D separation = worldAnchor2_ - worldAnchor1_;
    std::uint32_t row = 0;
    // A stored joint may fill fewer than both pin rows; they come first.
    const auto pinRow = [&](const Math::Vector2D& direction, float factor, float softness)
    {
        window.SetJacobian(row, direction.x, direction.y, Math::CrossZ(arm1_, direction), -direction.x,
                           -direction.y, -Math::CrossZ(arm2_, direction));
        window.SetRow(row, factor * separation.Dot(direction), softness, -infinity, infinity);
        ++row;
    };
    if (row < window.rows && row < maximumRows_)
    {
        pinRow(axis_, axisFactor, axisSoftness);
    }
    if (row < window.rows && row < maximumRows_)
    {
        pinRow(perpendicular_, k, 0.0f);
    }
    arm1_ = separation;

    float error = 0.0f;
    bool lowerSide = false;
    if (row < window.rows && IsLimitReached(error, lowerSide))
    {
        window.SetJacobian(row, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, -1.0f);
        window.SetRow(row, k * error * Math::DegreesToRadians, 0.0f, lowerSide ? -infinity : 0.0f,
                      lowerSide ? 0.0f : infinity);
    }
}

void JointNail::Write(Core::File& file) const
{
    Joint::Write(file);
    file << axis_ << perpendicular_ << localAxis_ << worldAxis_;
    file << stiffness_ << damping_ << angularLimit_;
    file << localAnchor1_ << localAnchor2_ << worldAnchor1_ << worldAnchor2_ << arm1_ << arm2_;
    file << referenceAngle_;
}

void JointNail::Read(Core::File& file)
{
    BaseRecord base;
    if (!ReadBase(file, base))
    {
        return;
    }
    Math::Vector2D axis, perpendicular, localAxis, worldAxis, localAnchor1, localAnchor2, worldAnchor1,
        worldAnchor2, arm1, arm2;
    float stiffness = 0.0f, damping = 0.0f, angularLimit = 0.0f, referenceAngle = 0.0f;
    if (!ReadFinite(file, axis, perpendicular, localAxis, worldAxis, stiffness, damping, angularLimit,
                    localAnchor1, localAnchor2, worldAnchor1, worldAnchor2, arm1, arm2, referenceAngle))
    {
        return;
    }
    CommitBase(file, base);
    axis_ = axis;
    perpendicular_ = perpendicular;
    localAxis_ = localAxis;
    worldAxis_ = worldAxis;
    stiffness_ = stiffness;
    damping_ = damping;
    angularLimit_ = angularLimit;
    localAnchor1_ = localAnchor1;
    localAnchor2_ = localAnchor2;
    worldAnchor1_ = worldAnchor1;
    worldAnchor2_ = worldAnchor2;
    arm1_ = arm1;
    arm2_ = arm2;
    referenceAngle_ = referenceAngle;
}

} // namespace Physics2D
