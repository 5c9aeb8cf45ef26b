#include "physics/Physics_RigidBody.h"
#include "physics/Physics_ReadChecks.h"

#include "core/Core_Assert.h"
#include "core/Core_File.h"
#include "math/Math_Constants.h"
#include "physics/Physics_Simulation.h"

#include <cmath>

namespace Physics2D
{

CORE_DEFINE_OBJECT(RigidBody, "Physics2D::RigidBody", "RigidBody", "Physics_RigidBody", __LINE__)

namespace
{

// The state every integrator of a body carries: (vx, vy, w) or (x, y, angle).
constexpr std::size_t BodyStateLength = 3;

Core::RefPtr<ODESolver> MakeIntegrator(std::uint32_t kind, DerivativeFunction function,
                                       const std::vector<float>& state, void* body)
{
    switch (kind)
    {
    case RigidBody::Heun:
        return new ("Physics_RigidBody", __LINE__) ODESolverHeun(function, state, body);
    case RigidBody::RungeKutta:
        return new ("Physics_RigidBody", __LINE__) ODESolverRungeKuttaN4(function, state, body);
    default:
        return new ("Physics_RigidBody", __LINE__) ODESolverEuler(function, state, body);
    }
}

} // namespace

RigidBody::RigidBody()
{
    forces_.SetBody(this);
}

RigidBody::RigidBody(const MassProperties& massProperties, std::uint32_t integratorKind,
                     BodyCallback moveCallback, BodyCallback postCollisionCallback, void* userData)
    : massProperties_(massProperties), integratorKind_(integratorKind), moveCallback_(moveCallback),
      postCollisionCallback_(postCollisionCallback), userData_(userData)
{
    forces_.SetBody(this);
    if (integratorKind != None)
    {
        const std::vector<float> zero(BodyStateLength, 0.0f);
        velocityIntegrator_ = MakeIntegrator(integratorKind, &VelocityDerivative, zero, this);
        positionIntegrator_ = MakeIntegrator(integratorKind, &PositionDerivative, zero, this);
    }
}

RigidBody::RigidBody(const RigidBody& source, void* userData)
    : Core::Object(source), massProperties_(source.massProperties_), integratorKind_(source.integratorKind_),
      velocity_(source.velocity_), angularVelocity_(source.angularVelocity_), position_(source.position_),
      orientation_(source.orientation_), moveCallback_(source.moveCallback_),
      postCollisionCallback_(source.postCollisionCallback_), userData_(userData)
{
    forces_.SetBody(this);
    // A copy always integrates, kind None included.
    velocityIntegrator_ = MakeIntegrator(integratorKind_, &VelocityDerivative,
                                         {velocity_.x, velocity_.y, angularVelocity_}, this);
    positionIntegrator_ =
        MakeIntegrator(integratorKind_, &PositionDerivative, {position_.x, position_.y, orientation_}, this);

    const Forces& sourceForces = source.GetForces();
    for (std::uint32_t id = 0; id < sourceForces.GetSlotCount(); ++id)
    {
        const Force* force = sourceForces.GetForce(id);
        if (force == nullptr)
        {
            continue;
        }
        Force* clone = static_cast<Force*>(force->Clone());
        AddForce(clone);
        // The copy's matrices are identity until its first transform update,
        // so binding took the world point for a body point; the copy sits where
        // the source does, so the source's body point is the right one.
        clone->SetLocalPosition(force->GetLocalPosition());
    }
}

RigidBody::RigidBody(const RigidBody& source) : RigidBody(source, source.userData_) {}

RigidBody::~RigidBody()
{
    // An integrator held elsewhere must not call back into this body.
    for (ODESolver* integrator : {velocityIntegrator_.Get(), positionIntegrator_.Get()})
    {
        if (integrator)
        {
            integrator->SetDerivativeFunction(nullptr);
            integrator->SetUserData(nullptr);
        }
    }
}

void RigidBody::SetVelocity(const Math::Vector2D& velocity)
{
    velocity_ = velocity;
    if (velocityIntegrator_)
    {
        std::vector<float>& state = velocityIntegrator_->GetState();
        state[0] = velocity.x;
        state[1] = velocity.y;
    }
}

void RigidBody::SetAngularVelocity(float degreesPerSecond)
{
    angularVelocity_ = degreesPerSecond * Math::DegreesToRadians;
    if (velocityIntegrator_)
    {
        velocityIntegrator_->GetState()[2] = angularVelocity_;
    }
}

float RigidBody::GetAngularVelocity() const
{
    return angularVelocity_ * Math::RadiansToDegrees;
}

void RigidBody::SetPosition(const Math::Vector2D& position)
{
    position_ = position;
    if (positionIntegrator_)
    {
        std::vector<float>& state = positionIntegrator_->GetState();
        state[0] = position.x;
        state[1] = position.y;
    }
    RebuildTransform();
}

void RigidBody::SetOrientation(float degrees)
{
    orientation_ = degrees * Math::DegreesToRadians;
    if (positionIntegrator_)
    {
        positionIntegrator_->GetState()[2] = orientation_;
    }
    RebuildTransform();
}

float RigidBody::GetOrientation() const
{
    return orientation_ * Math::RadiansToDegrees;
}

std::uint32_t RigidBody::AddForce(Force* force)
{
    if (force == nullptr)
    {
        return Forces::InvalidId;
    }
    if (force->GetTimeToLive() < 0.0f)
    {
        force->SetTimeToLive(0.0f);
    }
    return forces_.Add(force);
}

bool RigidBody::RemoveForce(std::uint32_t id)
{
    return forces_.RemoveForce(id);
}

bool RigidBody::RemoveAllForces()
{
    return forces_.RemoveAllForces();
}

void RigidBody::AccumulateForces(float step)
{
    force_ = {};
    torque_ = 0.0f;
    forces_.Accumulate(step, force_, torque_);
    force_.x *= Simulation::scale;
    force_.y *= Simulation::scale;
    torque_ *= Simulation::scale;
}

void RigidBody::CorrectPosition(const Math::Vector2D& offset, float radians)
{
    // A correction that is not finite is no correction.
    const Math::Vector2D position = position_ + offset;
    const float orientation = orientation_ + radians;
    if (IsFinite(position) && IsFinite(orientation))
    {
        position_ = position;
        orientation_ = orientation;
        transformCurrent_ = false;
    }
}

void RigidBody::RebuildTransform()
{
    rotation_ = Math::Matrix3::Rotation(orientation_ * Math::RadiansToDegrees);
    const Math::Vector2D& c = massProperties_.GetCenterOfMass();
    transform_ = Math::Matrix3::Translation(position_ - c) * Math::Matrix3::Translation(c) * rotation_ *
                 Math::Matrix3::Translation(-c);
    Math::Matrix3::Inverse(transform_, inverseTransform_);
    worldCenterOfMass_ = transform_ * c;
    transformCurrent_ = true;
}

void RigidBody::UpdateTransform(TransformUpdate flag)
{
    // The transform follows from position, orientation and centre of mass
    // alone: unchanged since the last rebuild, it is rebuilt bit for bit.
    if (!transformCurrent_)
    {
        RebuildTransform();
    }
    if (flag == TransformUpdate::Move && moveCallback_ != nullptr)
    {
        moveCallback_(this, userData_);
    }
    else if (postCollisionCallback_ != nullptr)
    {
        postCollisionCallback_(this, userData_);
    }
}

void RigidBody::Integrate(float step)
{
    if (!velocityIntegrator_ || !positionIntegrator_)
    {
        return;
    }
    transformCurrent_ = false;

    // Where the step starts. A step whose result is not finite (values past
    // the float range, from a world read or set from outside) leaves the body
    // there, at rest, instead of spreading NaN through its joints.
    std::vector<float>& startState = positionIntegrator_->GetState();
    const float start[3] = {startState[0], startState[1], startState[2]};

    velocityIntegrator_->Step(step);
    std::vector<float>& velocityState = velocityIntegrator_->GetState();
    velocity_ = {velocityState[0], velocityState[1]};
    angularVelocity_ = velocityState[2];

    // Resting bodies come to rest exactly; the integrator keeps the tiny value.
    const float epsilon = Simulation::epsilon;
    for (float* component : {&velocity_.x, &velocity_.y, &angularVelocity_})
    {
        if (std::fabs(*component) <= epsilon)
        {
            *component = 0.0f;
        }
    }

    // The limit passes through degrees and back, as every angular value that
    // crosses an interface does.
    const float limit = maximumAngularVelocity_ * Simulation::scale;
    const float limitDegrees = limit * Math::RadiansToDegrees;
    if (angularVelocity_ < -limit)
    {
        angularVelocity_ = -limitDegrees * Math::DegreesToRadians;
        velocityState[2] = angularVelocity_;
    }
    else if (angularVelocity_ > limit)
    {
        angularVelocity_ = limitDegrees * Math::DegreesToRadians;
        velocityState[2] = angularVelocity_;
    }

    positionIntegrator_->Step(step);
    const std::vector<float>& positionState = positionIntegrator_->GetState();
    position_ = {positionState[0], positionState[1]};
    orientation_ = positionState[2];

    if (!IsFinite(velocity_) || !IsFinite(angularVelocity_) || !IsFinite(position_) ||
        !IsFinite(orientation_))
    {
        velocity_ = {};
        angularVelocity_ = 0.0f;
        position_ = {start[0], start[1]};
        orientation_ = start[2];
        std::vector<float>& restartVelocity = velocityIntegrator_->GetState();
        std::vector<float>& restartPosition = positionIntegrator_->GetState();
        for (std::size_t i = 0; i < 3; ++i)
        {
            restartVelocity[i] = 0.0f;
            restartPosition[i] = start[i];
        }
    }

    UpdateTransform(TransformUpdate::Move);
}

void RigidBody::VelocityDerivative(float, const std::vector<float>&, std::vector<float>& derivative,
                                   void* body)
{
    const RigidBody& self = *static_cast<const RigidBody*>(body);
    ENGINE_ASSERT(derivative.size() >= BodyStateLength);
    const float inverseMass = self.massProperties_.GetInverseMass();
    derivative[0] = inverseMass * self.force_.x;
    derivative[1] = inverseMass * self.force_.y;
    derivative[2] = self.massProperties_.GetInverseInertia() * self.torque_;
    if (const float* accumulator = self.solverAccumulator_)
    {
        derivative[0] += accumulator[0];
        derivative[1] += accumulator[1];
        derivative[2] += accumulator[2];
    }
}

void RigidBody::PositionDerivative(float, const std::vector<float>&, std::vector<float>& derivative,
                                   void* body)
{
    const RigidBody& self = *static_cast<const RigidBody*>(body);
    ENGINE_ASSERT(derivative.size() >= BodyStateLength);
    derivative[0] = self.velocity_.x;
    derivative[1] = self.velocity_.y;
    derivative[2] = self.angularVelocity_;
}

void RigidBody::Write(Core::File& file) const
{
    massProperties_.Write(file);
    forces_.Write(file);
    file << force_ << torque_;
    file << velocity_ << angularVelocity_;
    file << position_ << orientation_;
    file << rotation_ << transform_ << inverseTransform_;
    file << worldCenterOfMass_;
    file << maximumAngularVelocity_;
    file << integratorKind_;
    file.WriteObject(velocityIntegrator_.Get());
    file.WriteObject(positionIntegrator_.Get());
}

void RigidBody::Read(Core::File& file)
{
    MassProperties massProperties;
    massProperties.Read(file);
    Forces forces;
    forces.SetBody(this);
    forces.Read(file);
    Math::Vector2D force, velocity, position, worldCenterOfMass;
    float torque = 0.0f, angularVelocity = 0.0f, orientation = 0.0f, maximumAngularVelocity = 0.0f;
    Math::Matrix3 rotation, transform, inverseTransform;
    std::uint32_t integratorKind = 0;
    ReadFinite(file, force, torque, velocity, angularVelocity, position, orientation, rotation, transform,
               inverseTransform, worldCenterOfMass, maximumAngularVelocity);
    CheckRead(file, maximumAngularVelocity >= 0.0f);
    file >> integratorKind;
    Core::RefPtr<ODESolver> velocityIntegrator, positionIntegrator;
    Core::ReadRefPtr(file, velocityIntegrator);
    Core::ReadRefPtr(file, positionIntegrator);
    if (file.Failed())
    {
        return;
    }
    // Both integrators or neither, each over the body's three values (the
    // setters and the derivative functions index them so), and each this
    // body's alone: an integrator already held elsewhere would call back into
    // the wrong body.
    const auto ownIntegrator = [&file](const Core::RefPtr<ODESolver>& integrator)
    {
        return file.GetOutsideReferenceCount(*integrator) == 1 &&
               integrator->GetState().size() == BodyStateLength;
    };
    const bool both = velocityIntegrator && positionIntegrator;
    const bool neither = !velocityIntegrator && !positionIntegrator;
    if (!(neither || (both && velocityIntegrator != positionIntegrator && ownIntegrator(velocityIntegrator) &&
                      ownIntegrator(positionIntegrator))))
    {
        file.SetError(Core::FileError::BadData);
        return;
    }

    massProperties_ = massProperties;
    forces_.Swap(forces);
    force_ = force;
    torque_ = torque;
    velocity_ = velocity;
    angularVelocity_ = angularVelocity;
    position_ = position;
    orientation_ = orientation;
    rotation_ = rotation;
    transform_ = transform;
    inverseTransform_ = inverseTransform;
    worldCenterOfMass_ = worldCenterOfMass;
    transformCurrent_ = false;
    // Every body of a world stores the class-wide limit; it changes only
    // once the whole archive has read without fault.
    file.AtEndOfRead(
        [&file, maximumAngularVelocity]
        {
            if (!file.Failed())
            {
                maximumAngularVelocity_ = maximumAngularVelocity;
            }
        });
    integratorKind_ = integratorKind;
    velocityIntegrator_ = velocityIntegrator;
    positionIntegrator_ = positionIntegrator;
    if (both)
    {
        velocityIntegrator_->SetDerivativeFunction(&VelocityDerivative);
        velocityIntegrator_->SetUserData(this);
        positionIntegrator_->SetDerivativeFunction(&PositionDerivative);
        positionIntegrator_->SetUserData(this);
    }
}

} // namespace Physics2D
