#include "collision/Collision_SweptFrame.h"

namespace Collision2D::Swept
{

SubStep::SubStep(const StepMotion& motion, float dt, float k)
    : motion_(&motion), dt_(dt), t0_((k - 1.0f) * dt), t1_(k * dt), position0_(motion.PositionAt(t0_)),
      position1_(motion.PositionAt(t1_)), pivot0_(position0_ + motion.offset),
      pivot1_(position1_ + motion.offset), rotation0_(motion.OrientationAt(t0_)),
      remainingShift0_(motion.displacement * (1.0f - t0_)),
      remainingShift1_(motion.displacement * (1.0f - t1_))
{
    if (motion.angularChange == 0.0f)
    {
        rotation1_ = rotation0_;
        return;
    }
    rotation1_ = Turn(motion.OrientationAt(t1_));
    backward_ = Turn(-motion.angularChange * dt);
    remainingTurn0_ = Turn(motion.angularChange * (1.0f - t0_));
    remainingTurn1_ = Turn(motion.angularChange * (1.0f - t1_));
}

Chord::Chord(const Math::Vector2D& from, const Math::Vector2D& to) : start(from), end(to)
{
    const Math::Vector2D path = to - from;
    length = path.Length();
    still = length < Math::Tolerance;
    direction = still ? Math::Vector2D() : path / length;
}

float PenetrationAtStepEnd(const Math::Vector2D& contactPoint, const Math::Vector2D& normal,
                           const Math::Vector2D& featureAtStepEnd)
{
    const float depth = (contactPoint - featureAtStepEnd).Dot(normal);
    return depth > 0.0f ? depth : 0.0f;
}

} // namespace Collision2D::Swept
