#pragma once

#include "math/Math_Circle2D.h"
#include "math/Math_Constants.h"
#include "math/Math_LineSegment2D.h"
#include "math/Math_Vector2D.h"

#include <cmath>
#include <cstdint>

// The sub-step frame that every swept test of a dynamic object shares: where
// a shape is at a moment of the step, the chord a point follows through one
// sub-step, and how a point is carried on to the end of the step. Used only
// by the swept and overlap members of DynamicObject.
namespace Collision2D::Swept
{

// Initial in/out fraction of a sub-step: no contact yet.
inline constexpr float NoContact = 2.0f;
// Fraction of a contact made at the very end of a sub-step.
inline constexpr float EndOfSubStep = 1.0f;
// Two ends of one segment whose distances to the other shape differ by at
// most this reach it together: one record with both points.
inline constexpr float SimultaneousDistance = 0.0005f;

// A copy normalised by Vector2D::Normalize: vectors shorter than the math
// tolerance are returned as they are.
inline Math::Vector2D Unit(Math::Vector2D v)
{
    v.Normalize();
    return v;
}

// Front normal of the segment A -> B: n = (-d.y, d.x), d = normalise(B - A).
// Only the front side of a segment reports contacts in a swept test.
inline Math::Vector2D FrontNormal(const Math::LineSegment2D& segment)
{
    const Math::Vector2D d = Unit(segment.pointB - segment.pointA);
    return {-d.y, d.x};
}

// The turn by an angle in degrees, with the same numbers as the step
// preparation's placement (the 32-bit degree factor, float cos and sin), so
// shapes placed here at t = 0 equal the old-pose world shapes bit for bit.
// An angle of exactly 0 is the identity, without calling cos and sin: most
// objects never turn.
class Turn
{
public:
    Turn() = default;
    explicit Turn(float degrees)
    {
        if (degrees != 0.0f)
        {
            const float radians = degrees * Math::DegreesToRadians;
            cos_ = std::cos(radians);
            sin_ = std::sin(radians);
        }
    }

    Math::Vector2D Apply(const Math::Vector2D& p) const
    {
        return {p.x * cos_ - p.y * sin_, p.x * sin_ + p.y * cos_};
    }

private:
    float cos_ = 1.0f;
    float sin_ = 0.0f;
};

// The whole-step motion of one object: collision position and orientation
// (degrees) at the start, their change over the step, and the offset that
// makes position + offset the turning point of the shapes.
struct StepMotion
{
    Math::Vector2D oldPosition;
    Math::Vector2D displacement;
    float oldOrientation = 0.0f;
    float angularChange = 0.0f;
    Math::Vector2D offset;

    // Collision position and orientation at time t of the step.
    Math::Vector2D PositionAt(float t) const { return oldPosition + displacement * t; }
    float OrientationAt(float t) const { return oldOrientation + angularChange * t; }

    // A point of the object's own coordinates placed in the world at time t:
    // turned by the orientation at t about the turning point, which moves
    // with the position. At t = 0 this is exactly the step preparation's
    // old-pose placement.
    Math::Vector2D Place(const Math::Vector2D& local, float t) const
    {
        const Math::Vector2D pivot = PositionAt(t) + offset;
        return pivot + Turn(OrientationAt(t)).Apply(local - offset);
    }
};

// One sub-step k of N of an object's motion, [t0, t1] with t0 = (k - 1) dt
// and t1 = k dt. The body's motion inside a sub-step is the rigid map M from
// its t0 placement to its t1 placement: a turn by the angular change times
// dt about the turning point, then the shift by the displacement times dt.
class SubStep
{
public:
    SubStep(const StepMotion& motion, float dt, float k);

    const StepMotion& Motion() const { return *motion_; }
    float Start() const { return t0_; }
    float End() const { return t1_; }
    float Length() const { return dt_; }

    // Collision position at the start and at the end of the sub-step (the
    // latter is the sub-step end origin).
    const Math::Vector2D& StartOrigin() const { return position0_; }
    const Math::Vector2D& EndOrigin() const { return position1_; }

    // A point of the object's own coordinates placed at t0 and at t1.
    Math::Vector2D PlaceAtStart(const Math::Vector2D& local) const
    {
        return pivot0_ + rotation0_.Apply(local - motion_->offset);
    }
    Math::Vector2D PlaceAtEnd(const Math::Vector2D& local) const
    {
        return pivot1_ + rotation1_.Apply(local - motion_->offset);
    }

    // M^-1: where the body point that is at p at t1 was at t0.
    Math::Vector2D Back(const Math::Vector2D& p) const { return pivot0_ + backward_.Apply(p - pivot1_); }

    // Where the body point that is at p at t0 (at t1) lies at the end of the
    // whole step.
    Math::Vector2D CarryFromStart(const Math::Vector2D& p) const
    {
        return pivot0_ + remainingShift0_ + remainingTurn0_.Apply(p - pivot0_);
    }
    Math::Vector2D CarryFromEnd(const Math::Vector2D& p) const
    {
        return pivot1_ + remainingShift1_ + remainingTurn1_.Apply(p - pivot1_);
    }

private:
    const StepMotion* motion_;
    float dt_;
    float t0_;
    float t1_;
    Math::Vector2D position0_;
    Math::Vector2D position1_;
    Math::Vector2D pivot0_;
    Math::Vector2D pivot1_;
    Turn rotation0_;
    Turn rotation1_;
    Turn backward_;
    Math::Vector2D remainingShift0_;
    Math::Vector2D remainingShift1_;
    Turn remainingTurn0_;
    Turn remainingTurn1_;
};

// The straight path of a point through one sub-step. A chord shorter than
// the math tolerance is a point that does not move: it has no direction and
// is never divided by.
struct Chord
{
    Chord(const Math::Vector2D& from, const Math::Vector2D& to);

    Math::Vector2D start;
    Math::Vector2D end;
    Math::Vector2D direction; // unit, or (0, 0) for a still point
    float length;
    bool still;
};

// The running depth threshold of one call: it starts at the moving object's
// collision thickness; a contact that already penetrates at the start of its
// sub-step is kept only when its depth is below the threshold (segments
// against segments: not above it), and each one kept lowers the threshold to
// its depth, so every further one must be shallower.
class Threshold
{
public:
    explicit Threshold(float thickness) : value_(thickness) {}

    bool Admits(float depth) const { return depth < value_; }
    bool AdmitsAtMost(float depth) const { return depth <= value_; }
    void Lower(float depth) { value_ = depth; }
    // Admits (AdmitsAtMost), then lowers.
    bool Accept(float depth) { return Keep(Admits(depth), depth); }
    bool AcceptAtMost(float depth) { return Keep(AdmitsAtMost(depth), depth); }
    float Value() const { return value_; }

private:
    bool Keep(bool admitted, float depth)
    {
        if (admitted)
        {
            value_ = depth;
        }
        return admitted;
    }

    float value_;
};

// One contact found by a feature test: one point, or two for both ends of a
// segment reaching the other segment together. Points lie on the other
// party's shape; normals point from the other party's shape towards the
// moving one.
struct FeatureContact
{
    float fraction = NoContact; // of the sub-step
    float distance = 0.0f;      // along the chord; 0 for a contact that already penetrates
    bool penetrating = false;
    float depth = 0.0f; // of a contact that already penetrates
    int count = 1;
    Math::Vector2D point[2];
    Math::Vector2D normal[2];
    float penetration = 0.0f; // depth reached at the end of the whole step
};

// penetrationDistance: how far the moving feature, carried on to the end of
// the step, lies behind the contact point along the normal; 0 when in front.
float PenetrationAtStepEnd(const Math::Vector2D& contactPoint, const Math::Vector2D& normal,
                           const Math::Vector2D& featureAtStepEnd);

} // namespace Collision2D::Swept
