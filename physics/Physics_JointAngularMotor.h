#pragma once

#include "physics/Physics_Joint.h"

namespace Physics2D
{

// Drives body 1's angular velocity to exceed body 2's by a target, with a
// bounded multiplier (the most the motor can push per pass).
class JointAngularMotor : public Joint
{
    CORE_DECLARE_OBJECT(JointAngularMotor)

public:
    JointAngularMotor();
    // The target in degrees per second (kept in radians per second).
    JointAngularMotor(float targetDegreesPerSecond, float maximumMultiplier);

    void SetTarget(float degreesPerSecond);
    float GetTarget() const;
    void SetMaximumMultiplier(float maximum) { maximumMultiplier_ = maximum; }
    float GetMaximumMultiplier() const { return maximumMultiplier_; }

    // One row: w1 - w2 driven to the target. The motor drives velocities
    // only: while positions are corrected its target is 0, so the
    // correction does not turn the bodies by a further step of the motor.
    void FillRows(const RowWindow& window) override;

    // Record after the base: f32 target (radians per second), f32 maximum
    // multiplier.
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;

protected:
    std::uint32_t GetRowCapacity() const override { return 1; }

private:
    float target_ = 0.0f;
    float maximumMultiplier_ = 0.0f;
};

} // namespace Physics2D
