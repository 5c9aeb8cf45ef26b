#include "physics/Physics_JointFixed.h"
#include "physics/Physics_ReadChecks.h"

#include "core/Core_File.h"
#include "math/Math_Constants.h"
#include "physics/Physics_Simulation.h"

namespace Physics2D
{

CORE_DEFINE_OBJECT(JointFixed, "Physics2D::JointFixed", "JointFixed", "Physics_JointFixed", __LINE__)

JointFixed::JointFixed() : JointFixed(DefaultCorrectionFactor) {}

JointFixed::JointFixed(float correctionFactor) : Joint(KindFixed, 3, false)
{
    SetCorrectionFactor(correctionFactor);
}

void JointFixed::Prepare()
{
    if (!body1_ || !body2_)
    {
        return;
    }
    separation_ = body2_->GetCenterOfMass() - body1_->GetCenterOfMass();
    offset_ = body1_->GetInverseMatrix().TransformPointBottomRow(separation_);
    referenceAngle_ = body2_->GetOrientation() - body1_->GetOrientation();
}

void JointFixed::FillRows(const RowWindow& window)
{
    if (!body1_ || !body2_)
    {
        return;
    }
    // w is the offset turned with body 1: the rows hold the point of body 2
    // that lies on body 1's centre to that centre, and the angle.
    const Math::Vector2D w = body1_->GetRotationMatrix() * offset_;
    rotatedOffset_ = w;
    const Math::Vector2D drift = (body2_->GetCenterOfMass() - body1_->GetCenterOfMass()) - w;

    const float infinity = Simulation::plusInfinity;
    const float k = Simulation::inverseStep * correctionFactor_;
    const float angle = body2_->GetOrientation() - body1_->GetOrientation() - referenceAngle_;
    const float targets[3] = {k * drift.x, k * drift.y, angle * k * Math::DegreesToRadians};
    const float rows[3][6] = {
        {1.0f, 0.0f, 0.0f, -1.0f, 0.0f, -w.y},
        {0.0f, 1.0f, 0.0f, 0.0f, -1.0f, w.x},
        {0.0f, 0.0f, 1.0f, 0.0f, 0.0f, -1.0f},
    };
    for (std::uint32_t r = 0; r < 3 && r < window.rows; ++r)
    {
        window.SetJacobian(r, rows[r][0], rows[r][1], rows[r][2], rows[r][3], rows[r][4], rows[r][5]);
        window.SetRow(r, targets[r], 0.0f, -infinity, infinity);
    }
}

void JointFixed::Write(Core::File& file) const
{
    Joint::Write(file);
    file << offset_ << separation_ << rotatedOffset_ << referenceAngle_;
}

void JointFixed::Read(Core::File& file)
{
    BaseRecord base;
    if (!ReadBase(file, base))
    {
        return;
    }
    Math::Vector2D offset, separation, rotatedOffset;
    float referenceAngle = 0.0f;
    if (!ReadFinite(file, offset, separation, rotatedOffset, referenceAngle))
    {
        return;
    }
    CommitBase(file, base);
    offset_ = offset;
    separation_ = separation;
    rotatedOffset_ = rotatedOffset;
    referenceAngle_ = referenceAngle;
}

} // namespace Physics2D
