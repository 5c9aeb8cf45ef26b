#pragma once

#include "math/Math_Vector2D.h"
#include "physics/Physics_Joint.h"

namespace Physics2D
{

// Welds body 2 to body 1 as they stand when the joint is prepared: three rows
// hold the offset between the centres of mass (in body 1's frame) and the
// relative angle.
class JointFixed : public Joint
{
    CORE_DECLARE_OBJECT(JointFixed)

public:
    // The correction factor of a joint made by name.
    static constexpr float DefaultCorrectionFactor = 0.7f;

    JointFixed();
    // The factor is clamped to [0, 1].
    explicit JointFixed(float correctionFactor);

    const Math::Vector2D& GetOffset() const { return offset_; }
    float GetReferenceAngle() const { return referenceAngle_; }

    void Prepare() override;
    void FillRows(const RowWindow& window) override;

    // Record after the base: offset in body 1 coordinates, separation of the
    // centres of mass, rotated offset; reference angle.
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;

protected:
    std::uint32_t GetRowCapacity() const override { return 3; }

private:
    Math::Vector2D offset_;
    Math::Vector2D separation_;
    Math::Vector2D rotatedOffset_;
    float referenceAngle_ = 0.0f;
};

} // namespace Physics2D
