#pragma once

#include "math/Math_Vector2D.h"
#include "physics/Physics_Joint.h"

namespace Physics2D
{

// Pins a point of body 2 to a point of body 1 with two rows: one along an
// axis, one across it. The axis turns with body 1, or stays fixed in the
// world when either body is the static ground body. With a stiffness the row
// along the axis becomes a damped spring; an angular limit L (degrees) adds a
// third row that keeps the relative angle within +-L of the angle at the
// time the joint was prepared.
//
// Set the anchors (world points, normally the same point) and the axis
// before the joint is added: adding prepares it, taking them into the
// bodies' coordinates.
class JointNail : public Joint
{
    CORE_DECLARE_OBJECT(JointNail)

public:
    // An angular limit that the relative angle (kept within +-360 degrees)
    // never reaches.
    static constexpr float NoAngularLimit = 361.0f;

    // As made by name: no limit field set (L = 0 locks the relative angle
    // with the extra row), no correction, the world x axis.
    JointNail();
    JointNail(const Math::Vector2D& worldAnchor1, const Math::Vector2D& worldAnchor2, float correctionFactor,
              float angularLimitDegrees = NoAngularLimit);

    void SetAnchors(const Math::Vector2D& worldAnchor1, const Math::Vector2D& worldAnchor2);
    // The axis in world coordinates at the time the joint is prepared.
    void SetAxis(const Math::Vector2D& worldAxis) { worldAxis_ = worldAxis; }
    // A stiffness of 0 makes the row along the axis rigid.
    void SetSpring(float stiffness, float damping);
    void SetAngularLimit(float degrees) { angularLimit_ = degrees; }

    float GetStiffness() const { return stiffness_; }
    float GetDamping() const { return damping_; }
    float GetAngularLimit() const { return angularLimit_; }
    float GetReferenceAngle() const { return referenceAngle_; }
    const Math::Vector2D& GetWorldAxis() const { return worldAxis_; }
    const Math::Vector2D& GetLocalAxis() const { return localAxis_; }
    const Math::Vector2D& GetWorldAnchor1() const { return worldAnchor1_; }
    const Math::Vector2D& GetWorldAnchor2() const { return worldAnchor2_; }
    const Math::Vector2D& GetLocalAnchor1() const { return localAnchor1_; }
    const Math::Vector2D& GetLocalAnchor2() const { return localAnchor2_; }

    // True when the relative angle is at or past a limit; `error` receives
    // the overshoot in degrees (negative on the lower side).
    bool IsLimitReached(float& error, bool& lowerSide) const;

    void Prepare() override;
    // The maximum rows, plus the limit row while a limit is reached.
    std::uint32_t CountRows() override;
    void FillRows(const RowWindow& window) override;

    // Record after the base: axis, perpendicular, axis in body 1
    // coordinates, world axis; stiffness, damping, angular limit; local
    // anchors 1 and 2, world anchors 1 and 2, arms 1 and 2; reference angle.
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;

protected:
    std::uint32_t GetRowCapacity() const override { return 3; }

private:
    Math::Vector2D axis_;
    Math::Vector2D perpendicular_;
    Math::Vector2D localAxis_;
    Math::Vector2D worldAxis_{1.0f, 0.0f};
    float stiffness_ = 0.0f;
    float damping_ = 0.0f;
    float angularLimit_ = 0.0f;
    Math::Vector2D localAnchor1_;
    Math::Vector2D localAnchor2_;
    Math::Vector2D worldAnchor1_;
    Math::Vector2D worldAnchor2_;
    // After a fill, arm 1 holds the anchors' separation (anchor 2 - anchor 1).
    Math::Vector2D arm1_;
    Math::Vector2D arm2_;
    float referenceAngle_ = 0.0f;
};

// A nail under another name: the same rows, the same record.
class JointHinge : public JointNail
{
    CORE_DECLARE_OBJECT(JointHinge)

public:
    using JointNail::JointNail;
    JointHinge() = default;
};

// A nail meant to be given a stiffness: the same rows, the same record.
class JointSpring : public JointNail
{
    CORE_DECLARE_OBJECT(JointSpring)

public:
    using JointNail::JointNail;
    JointSpring() = default;
};

} // namespace Physics2D
