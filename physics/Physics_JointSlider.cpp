#include "physics/Physics_JointSlider.h"
#include "physics/Physics_ReadChecks.h"

#include "core/Core_File.h"
#include "math/Math_Constants.h"
#include "physics/Physics_Simulation.h"

namespace Physics2D
{

CORE_DEFINE_OBJECT(JointSlider, "Physics2D::JointSlider", "JointSlider", "Physics_JointSlider", __LINE__)

JointSlider::JointSlider() : Joint(KindGeneric, 2, false) {}

JointSlider::JointSlider(const Math::Vector2D& worldAxis, float correctionFactor)
    : Joint(KindGeneric, 2, false), worldAxis_(worldAxis)
{
    SetCorrectionFactor(correctionFactor);
}

void JointSlider::Prepare()
{
    if (!body1_ || !body2_)
    {
        return;
    }
    const Math::Matrix3& inverse = body1_->GetInverseMatrix();
    localAxis_ = inverse.TransformPointBottomRow(worldAxis_);
    localAxis_.Normalize();
    separation_ = body2_->GetCenterOfMass() - body1_->GetCenterOfMass();
    offset_ = inverse.TransformPointBottomRow(separation_);
    referenceAngle_ = body2_->GetOrientation() - body1_->GetOrientation();
}

void JointSlider::FillRows(const RowWindow& window)
{
    if (!body1_ || !body2_)
    {
        return;
    }
    const Math::Vector2D centers = body2_->GetCenterOfMass() - body1_->GetCenterOfMass();
    const Math::Vector2D half = centers * 0.5f;
    const Math::Matrix3& rotation = body1_->GetRotationMatrix();
    worldAxis_ = rotation * localAxis_;
    const Math::Vector2D p{-worldAxis_.y, worldAxis_.x};
    drift_ = centers - rotation * offset_;

    const float infinity = Simulation::plusInfinity;
    const float k = Simulation::inverseStep * correctionFactor_;
    if (window.rows > 0)
    {
        window.SetJacobian(0, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, -1.0f);
        const float angle = body2_->GetOrientation() - body1_->GetOrientation() - referenceAngle_;
        window.SetRow(0, angle * k * Math::DegreesToRadians, 0.0f, -infinity, infinity);
    }
    if (window.rows > 1)
    {
        // The rows act at the midpoint between the centres, where the two
        // bodies' velocities across the axis must agree.
        const float angular = Math::CrossZ(half, p);
        window.SetJacobian(1, p.x, p.y, angular, -p.x, -p.y, angular);
        window.SetRow(1, k * p.Dot(drift_), 0.0f, -infinity, infinity);
    }
}

void JointSlider::Write(Core::File& file) const
{
    Joint::Write(file);
    file << localAxis_ << worldAxis_ << offset_ << separation_ << drift_ << referenceAngle_;
}

void JointSlider::Read(Core::File& file)
{
    BaseRecord base;
    if (!ReadBase(file, base))
    {
        return;
    }
    Math::Vector2D localAxis, worldAxis, offset, separation, drift;
    float referenceAngle = 0.0f;
    if (!ReadFinite(file, localAxis, worldAxis, offset, separation, drift, referenceAngle))
    {
        return;
    }
    CommitBase(file, base);
    localAxis_ = localAxis;
    worldAxis_ = worldAxis;
    offset_ = offset;
    separation_ = separation;
    drift_ = drift;
    referenceAngle_ = referenceAngle;
}

} // namespace Physics2D
