#include "physics/Physics_JointAngularMotor.h"
#include "physics/Physics_ReadChecks.h"

#include "core/Core_File.h"
#include "math/Math_Constants.h"

namespace Physics2D
{

CORE_DEFINE_OBJECT(JointAngularMotor, "Physics2D::JointAngularMotor", "JointAngularMotor",
                   "Physics_JointAngularMotor", __LINE__)

JointAngularMotor::JointAngularMotor() : Joint(KindGeneric, 1, false) {}

JointAngularMotor::JointAngularMotor(float targetDegreesPerSecond, float maximumMultiplier)
    : Joint(KindGeneric, 1, false), maximumMultiplier_(maximumMultiplier)
{
    SetTarget(targetDegreesPerSecond);
}

void JointAngularMotor::SetTarget(float degreesPerSecond)
{
    target_ = degreesPerSecond * Math::DegreesToRadians;
}

float JointAngularMotor::GetTarget() const
{
    return target_ * Math::RadiansToDegrees;
}

void JointAngularMotor::FillRows(const RowWindow& window)
{
    if (window.rows == 0)
    {
        return;
    }
    window.SetJacobian(0, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, -1.0f);
    const float target = PositionCorrectionPhase != 0 ? 0.0f : target_;
    window.SetRow(0, target, 0.0f, -maximumMultiplier_, maximumMultiplier_);
}

void JointAngularMotor::Write(Core::File& file) const
{
    Joint::Write(file);
    file << target_ << maximumMultiplier_;
}

void JointAngularMotor::Read(Core::File& file)
{
    BaseRecord base;
    if (!ReadBase(file, base))
    {
        return;
    }
    float target = 0.0f, maximumMultiplier = 0.0f;
    if (!ReadFinite(file, target, maximumMultiplier))
    {
        return;
    }
    CommitBase(file, base);
    target_ = target;
    maximumMultiplier_ = maximumMultiplier;
}

} // namespace Physics2D
