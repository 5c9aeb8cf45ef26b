#pragma once

#include "math/Math_Vector2D.h"
#include "physics/Physics_Joint.h"

namespace Physics2D
{

// Lets body 2 slide along an axis fixed in body 1 and nothing else: one row
// locks the relative angle, one locks the motion across the axis. Set the
// axis (world coordinates) before the joint is added.
class JointSlider : public Joint
{
    CORE_DECLARE_OBJECT(JointSlider)

public:
    JointSlider();
    JointSlider(const Math::Vector2D& worldAxis, float correctionFactor);

    void SetAxis(const Math::Vector2D& worldAxis) { worldAxis_ = worldAxis; }
    const Math::Vector2D& GetWorldAxis() const { return worldAxis_; }
    const Math::Vector2D& GetLocalAxis() const { return localAxis_; }
    const Math::Vector2D& GetOffset() const { return offset_; }
    const Math::Vector2D& GetDrift() const { return drift_; }
    float GetReferenceAngle() const { return referenceAngle_; }

    void Prepare() override;
    void FillRows(const RowWindow& window) override;

    // Record after the base: axis in body 1 coordinates, world axis, offset
    // in body 1 coordinates, separation of the centres of mass, drift;
    // reference angle.
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;

protected:
    std::uint32_t GetRowCapacity() const override { return 2; }

private:
    Math::Vector2D localAxis_;
    Math::Vector2D worldAxis_{1.0f, 0.0f};
    Math::Vector2D offset_;
    Math::Vector2D separation_;
    Math::Vector2D drift_;
    float referenceAngle_ = 0.0f;
};

} // namespace Physics2D
