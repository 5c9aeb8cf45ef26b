#include "physics/Physics_Contact.h"
#include "physics/Physics_ReadChecks.h"

#include "core/Core_File.h"
#include "math/Math_Constants.h"
#include "physics/Physics_Simulation.h"

#include <cmath>

namespace Physics2D
{

CORE_DEFINE_OBJECT(Contact, "Physics2D::Contact", "Contact", "Physics_Contact", __LINE__)

namespace
{
constexpr std::uint32_t ContactRows = 2;
} // namespace

Contact::Contact() : Joint(KindContact, ContactRows, true) {}

Contact::Contact(const Math::Vector2D& point, const Math::Vector2D& normal,
                 const Math::Vector2D& contactPosition1, const Math::Vector2D& contactPosition2,
                 float penetration, float restitution, float friction, std::uint8_t bodyBody)
    : Joint(KindContact, ContactRows, true), point_(point), normal_(normal),
      contactPosition1_(contactPosition1), contactPosition2_(contactPosition2), penetration_(penetration),
      restitution_(restitution), friction_(friction), bodyBody_(bodyBody)
{
    normal_.Normalize();
    tangent_ = {-normal_.y, normal_.x};
}

void Contact::Prepare()
{
    if (!body1_ || !body2_)
    {
        return;
    }
    if (anchored_)
    {
        displacement1_ = body1_->GetMatrix() * localPoint1_ - point_;
        displacement2_ = body2_->GetMatrix() * localPoint2_ - point_;
        return;
    }
    displacement1_ = body1_->GetPosition() - contactPosition1_;
    displacement2_ = body2_->GetPosition() - contactPosition2_;
}

void Contact::FillRows(const RowWindow& window)
{
    if (!body1_ || !body2_)
    {
        return;
    }
    worldPoint1_ = point_ + displacement1_;
    worldPoint2_ = point_ + displacement2_;
    arm1_ = worldPoint1_ - body1_->GetCenterOfMass();
    arm2_ = worldPoint2_ - body2_->GetCenterOfMass();
    localPoint1_ = body1_->GetInverseMatrix() * worldPoint1_;
    localPoint2_ = body2_->GetInverseMatrix() * worldPoint2_;
    anchored_ = true;

    const Math::Vector2D& n = normal_;
    const Math::Vector2D& t = tangent_;
    // Scalars, not arrays: the sum below must not read back values just
    // stored.
    const float normalRow0 = n.x, normalRow1 = n.y, normalRow2 = Math::CrossZ(arm1_, n);
    const float normalRow3 = -n.x, normalRow4 = -n.y, normalRow5 = -Math::CrossZ(arm2_, n);

    // The relative velocity along the normal, negative while approaching.
    const Math::Vector2D& v1 = body1_->GetVelocity();
    const Math::Vector2D& v2 = body2_->GetVelocity();
    // Through degrees, as GetAngularVelocity answers them.
    const float spin1 = body1_->GetAngularVelocityRadians() * Math::RadiansToDegrees * Math::DegreesToRadians;
    const float spin2 = body2_->GetAngularVelocityRadians() * Math::RadiansToDegrees * Math::DegreesToRadians;
    float normalVelocity = 0.0f;
    normalVelocity += normalRow0 * v1.x;
    normalVelocity += normalRow1 * v1.y;
    normalVelocity += normalRow2 * spin1;
    normalVelocity += normalRow3 * v2.x;
    normalVelocity += normalRow4 * v2.y;
    normalVelocity += normalRow5 * spin2;

    const float infinity = Simulation::plusInfinity;
    if (window.rows > 0)
    {
        window.SetJacobian(0, normalRow0, normalRow1, normalRow2, normalRow3, normalRow4, normalRow5);
        const float target = PositionCorrectionPhase != 0
                                 ? PositionCorrectionShare * Simulation::inverseStep * penetration_
                                 : -restitution_ * normalVelocity;
        window.SetRow(0, target, 0.0f, 0.0f, infinity);
    }
    if (window.rows > 1)
    {
        window.SetJacobian(1, t.x, t.y, Math::CrossZ(arm1_, t), -t.x, -t.y, -Math::CrossZ(arm2_, t));
        window.SetRow(1, 0.0f, 0.0f, -friction_, friction_);
        window.records[1].linkedRow = 0;
        window.records[1].coefficient = std::fabs(friction_);
    }
}

float Contact::UpdatePenetration()
{
    if (!body1_ || !body2_)
    {
        return penetration_;
    }
    correctedPoint1_ = body1_->GetMatrix() * localPoint1_;
    correctedPoint2_ = body2_->GetMatrix() * localPoint2_;
    currentSeparation_ = correctedPoint2_ - correctedPoint1_;
    rowTimeSeparation_ = worldPoint2_ - worldPoint1_;
    // Still on the same side as when the rows were made: what remains along
    // the normal; passed through or touching: nothing.
    if (rowTimeSeparation_.Dot(currentSeparation_) > 0.0f)
    {
        const float depth = currentSeparation_.Dot(normal_);
        penetration_ = depth >= 0.0f ? depth : 0.0f;
    }
    else
    {
        penetration_ = 0.0f;
    }
    return penetration_;
}

void Contact::Write(Core::File& file) const
{
    Joint::Write(file);
    file << point_ << normal_ << tangent_ << contactPosition1_ << contactPosition2_ << displacement1_
         << displacement2_ << rowTimeSeparation_ << currentSeparation_ << reservedVector_;
    file << reserved_[0] << reserved_[1];
    file << localPoint1_ << localPoint2_ << worldPoint1_ << worldPoint2_ << correctedPoint1_
         << correctedPoint2_ << arm1_ << arm2_;
    file << penetration_ << restitution_ << friction_ << bodyBody_;
}

void Contact::Read(Core::File& file)
{
    BaseRecord base;
    if (!ReadBase(file, base))
    {
        return;
    }
    Math::Vector2D first[10];
    float reserved[2] = {0.0f, 0.0f};
    Math::Vector2D second[8];
    float penetration = 0.0f, restitution = 0.0f, friction = 0.0f;
    std::uint8_t bodyBody = 0;
    for (Math::Vector2D& v : first)
    {
        file >> v;
    }
    file >> reserved[0] >> reserved[1];
    for (Math::Vector2D& v : second)
    {
        file >> v;
    }
    file >> penetration >> restitution >> friction >> bodyBody;
    if (!CheckFinite(file, first, reserved, second, penetration, restitution, friction))
    {
        return;
    }
    CommitBase(file, base);
    point_ = first[0];
    normal_ = first[1];
    tangent_ = first[2];
    contactPosition1_ = first[3];
    contactPosition2_ = first[4];
    displacement1_ = first[5];
    displacement2_ = first[6];
    rowTimeSeparation_ = first[7];
    currentSeparation_ = first[8];
    reservedVector_ = first[9];
    reserved_[0] = reserved[0];
    reserved_[1] = reserved[1];
    localPoint1_ = second[0];
    localPoint2_ = second[1];
    worldPoint1_ = second[2];
    worldPoint2_ = second[3];
    correctedPoint1_ = second[4];
    correctedPoint2_ = second[5];
    arm1_ = second[6];
    arm2_ = second[7];
    penetration_ = penetration;
    restitution_ = restitution;
    friction_ = friction;
    bodyBody_ = bodyBody;
}

} // namespace Physics2D
