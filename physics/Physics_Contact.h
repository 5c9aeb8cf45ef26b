#pragma once

#include "math/Math_Vector2D.h"
#include "physics/Physics_Joint.h"

namespace Physics2D
{

// One point where body 1 touches body 2 or static geometry (then body 2 is
// the static ground body). The normal points from body 2 towards body 1.
// Row 0 keeps the bodies from approaching along the normal, with
// restitution; row 1 limits sliding along the tangent to +-friction x row 0's
// multiplier. In the position-correction pass row 0 pushes the bodies apart
// by a share of the penetration instead.
//
// The contact point was reported at the moment of contact, when the bodies
// stood at their contact-time positions; their movement since then
// (displacements, taken by Prepare) carries each body's contact point along.
// Once the contact has filled rows, each body's point is the one fixed in
// that body (its local point), so a contact kept for later passes follows
// the bodies' turning as well as their translation.
class Contact : public Joint
{
    CORE_DECLARE_OBJECT(Contact)

public:
    static constexpr float DefaultRestitution = 0.3f;
    static constexpr float DefaultFriction = 0.5f;
    // The share of the penetration one position-correction pass removes.
    // Removing all of it at once overshoots wherever contacts meet in a
    // crowd (a pile gains energy and bodies sink into each other); the rest
    // goes in the following passes.
    static constexpr float PositionCorrectionShare = 0.5f;

    Contact();
    // The normal is normalised (left as it is when shorter than the math
    // tolerance); the tangent is the normal turned by +90 degrees.
    Contact(const Math::Vector2D& point, const Math::Vector2D& normal, const Math::Vector2D& contactPosition1,
            const Math::Vector2D& contactPosition2, float penetration, float restitution, float friction,
            std::uint8_t bodyBody);

    const Math::Vector2D& GetPoint() const { return point_; }
    const Math::Vector2D& GetNormal() const { return normal_; }
    const Math::Vector2D& GetTangent() const { return tangent_; }
    const Math::Vector2D& GetContactPosition1() const { return contactPosition1_; }
    const Math::Vector2D& GetContactPosition2() const { return contactPosition2_; }
    // The engine zeroes it for a side bound to the static ground body.
    void SetContactPosition2(const Math::Vector2D& position) { contactPosition2_ = position; }
    void SetContactPosition1(const Math::Vector2D& position) { contactPosition1_ = position; }
    const Math::Vector2D& GetDisplacement1() const { return displacement1_; }
    const Math::Vector2D& GetDisplacement2() const { return displacement2_; }
    const Math::Vector2D& GetWorldPoint1() const { return worldPoint1_; }
    const Math::Vector2D& GetWorldPoint2() const { return worldPoint2_; }
    const Math::Vector2D& GetRowTimeSeparation() const { return rowTimeSeparation_; }
    const Math::Vector2D& GetCurrentSeparation() const { return currentSeparation_; }
    float GetPenetration() const { return penetration_; }
    void SetPenetration(float penetration) { penetration_ = penetration; }
    float GetRestitution() const { return restitution_; }
    float GetFriction() const { return friction_; }
    bool IsBodyBody() const { return bodyBody_ != 0; }

    // Displacements := each body's position - its contact-time position;
    // once rows were filled, each body's local point in its current
    // placement - the contact point (the same for a body that only moved).
    void Prepare() override;
    void FillRows(const RowWindow& window) override;
    // After the engine's position correction: the depth still to remove
    // along the normal, measured between the contact points carried by the
    // corrected bodies; 0 once they have passed each other. Stored and
    // answered.
    float UpdatePenetration();

    // Record after the base: point, normal, tangent, contact-time positions
    // 1 and 2, displacements 1 and 2, row-time separation, current
    // separation, a reserved vector; two reserved f32; local points 1 and 2,
    // world points 1 and 2, corrected points 1 and 2, arms 1 and 2; f32
    // penetration, restitution, friction; u8 body-body flag.
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;

protected:
    std::uint32_t GetRowCapacity() const override { return 2; }

private:
    Math::Vector2D point_;
    Math::Vector2D normal_;
    Math::Vector2D tangent_;
    Math::Vector2D contactPosition1_;
    Math::Vector2D contactPosition2_;
    Math::Vector2D displacement1_;
    Math::Vector2D displacement2_;
    Math::Vector2D rowTimeSeparation_;
    Math::Vector2D currentSeparation_;
    // Carried in the record, never computed: zero in a new contact.
    Math::Vector2D reservedVector_;
    float reserved_[2] = {0.0f, 0.0f};
    Math::Vector2D localPoint1_;
    Math::Vector2D localPoint2_;
    Math::Vector2D worldPoint1_;
    Math::Vector2D worldPoint2_;
    Math::Vector2D correctedPoint1_;
    Math::Vector2D correctedPoint2_;
    Math::Vector2D arm1_;
    Math::Vector2D arm2_;
    float penetration_ = 0.0f;
    float restitution_ = 0.0f;
    float friction_ = 0.0f;
    std::uint8_t bodyBody_ = 0;
    // The local points hold the contact's points on the bodies: rows were
    // filled since it was made or read. Not stored.
    bool anchored_ = false;
};

} // namespace Physics2D
