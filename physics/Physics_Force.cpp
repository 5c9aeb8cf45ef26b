#include "physics/Physics_Force.h"
#include "physics/Physics_ReadChecks.h"

#include "core/Core_File.h"
#include "math/Math_Matrix3.h"
#include "physics/Physics_RigidBody.h"

namespace Physics2D
{

// --- Force ---------------------------------------------------------------------

Force::Force(const Math::Vector2D& position, const Math::Vector2D& vector, float timeToLive, Kind kind)
    : position_(position), vector_(vector), timeToLive_(timeToLive), kind_(kind)
{
}

Force::Force(const Force& other)
    : Core::Object(other), position_(other.position_), vector_(other.vector_), time_(other.time_),
      timeToLive_(other.timeToLive_), kind_(other.kind_)
{
}

void Force::SetBody(RigidBody* body)
{
    body_ = body;
    localPosition_ = body != nullptr ? body->GetInverseMatrix() * position_ : position_;
}

bool Force::Update(float step)
{
    time_ += step;
    if (body_ != nullptr)
    {
        position_ = body_->GetMatrix() * localPosition_;
        arm_ = position_ - body_->GetCenterOfMass();
    }
    Evaluate(step);
    return timeToLive_ <= 0.0f || time_ < timeToLive_;
}

void Force::Write(Core::File& file) const
{
    file << position_ << vector_ << localPosition_ << arm_ << time_ << timeToLive_ << evaluatedForce_
         << evaluatedTorque_;
}

bool Force::ReadRecord(Core::File& file, Record& record)
{
    return ReadFinite(file, record.position, record.vector, record.localPosition, record.arm, record.time,
                      record.timeToLive, record.evaluatedForce, record.evaluatedTorque);
}

void Force::ApplyRecord(const Record& record)
{
    position_ = record.position;
    vector_ = record.vector;
    localPosition_ = record.localPosition;
    arm_ = record.arm;
    time_ = record.time;
    timeToLive_ = record.timeToLive;
    evaluatedForce_ = record.evaluatedForce;
    evaluatedTorque_ = record.evaluatedTorque;
}

void Force::Read(Core::File& file)
{
    Record record;
    if (ReadRecord(file, record))
    {
        ApplyRecord(record);
    }
}

// --- ConstantForce -------------------------------------------------------------

CORE_DEFINE_OBJECT(ConstantForce, "Physics2D::ConstantForce", "ConstantForce", "Physics_Force", __LINE__)

ConstantForce::ConstantForce() : Force({}, {}, 0.0f, KindConstant) {}

ConstantForce::ConstantForce(const Math::Vector2D& position, const Math::Vector2D& vector, float timeToLive,
                             std::uint32_t mode)
    : Force(position, vector, timeToLive, KindConstant), mode_(mode)
{
}

ConstantForce::ConstantForce(const ConstantForce& other) : Force(other), mode_(other.mode_) {}

void ConstantForce::Write(Core::File& file) const
{
    Force::Write(file);
    file << mode_;
}

void ConstantForce::Read(Core::File& file)
{
    Record record;
    std::uint32_t mode = 0;
    if (ReadRecord(file, record) && file.ReadExact(&mode, sizeof mode))
    {
        ApplyRecord(record);
        mode_ = mode;
    }
}

void ConstantForce::Evaluate(float)
{
    switch (mode_)
    {
    case ModeForce:
        evaluatedForce_ = vector_;
        evaluatedTorque_ = 0.0f;
        break;
    case ModeTorque:
        evaluatedForce_ = {};
        evaluatedTorque_ = vector_.x;
        break;
    case ModeForceAtPoint:
        evaluatedForce_ = vector_;
        evaluatedTorque_ = Math::CrossZ(arm_, vector_);
        break;
    default:
        break;
    }
}

// --- GravityForce --------------------------------------------------------------

CORE_DEFINE_OBJECT(GravityForce, "Physics2D::GravityForce", "GravityForce", "Physics_Force", __LINE__)

GravityForce::GravityForce() : GravityForce({0.0f, -1.0f}, 9.8f) {}

GravityForce::GravityForce(const Math::Vector2D& direction, float magnitude)
    : Force({}, {}, 0.0f, KindGravity), direction_(direction), magnitude_(magnitude)
{
    direction_.Normalize();
}

GravityForce::GravityForce(const GravityForce& other)
    : Force(other), direction_(other.direction_), magnitude_(other.magnitude_)
{
}

void GravityForce::Write(Core::File& file) const
{
    Force::Write(file);
    file << direction_ << magnitude_;
}

void GravityForce::Read(Core::File& file)
{
    Record record;
    Math::Vector2D direction;
    float magnitude = 0.0f;
    if (ReadRecord(file, record) && !(file >> direction >> magnitude).Failed())
    {
        ApplyRecord(record);
        direction_ = direction;
        magnitude_ = magnitude;
    }
}

void GravityForce::Evaluate(float)
{
    if (body_ == nullptr)
    {
        return;
    }
    const float mass = body_->GetMassProperties().GetMass();
    evaluatedForce_ = {mass * direction_.x * magnitude_, mass * direction_.y * magnitude_};
    evaluatedTorque_ = 0.0f;
}

// --- DragForce -----------------------------------------------------------------

CORE_DEFINE_OBJECT(DragForce, "Physics2D::DragForce", "DragForce", "Physics_Force", __LINE__)

DragForce::DragForce() : Force({}, {}, 0.0f, KindDrag) {}

DragForce::DragForce(float linearCoefficient, float angularCoefficient, float timeToLive)
    : Force({}, {}, timeToLive, KindDrag), linearCoefficient_(linearCoefficient),
      angularCoefficient_(angularCoefficient)
{
}

DragForce::DragForce(const DragForce& other)
    : Force(other), linearCoefficient_(other.linearCoefficient_),
      angularCoefficient_(other.angularCoefficient_)
{
}

void DragForce::Write(Core::File& file) const
{
    Force::Write(file);
    file << linearCoefficient_ << angularCoefficient_;
}

void DragForce::Read(Core::File& file)
{
    Record record;
    float coefficients[2];
    if (ReadRecord(file, record) && file.ReadExact(coefficients, sizeof coefficients))
    {
        ApplyRecord(record);
        linearCoefficient_ = coefficients[0];
        angularCoefficient_ = coefficients[1];
    }
}

void DragForce::Evaluate(float)
{
    if (body_ == nullptr)
    {
        return;
    }
    evaluatedForce_ = body_->GetVelocity() * -linearCoefficient_;
    evaluatedTorque_ = -angularCoefficient_ * body_->GetAngularVelocity();
}

} // namespace Physics2D
