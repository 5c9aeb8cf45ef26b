#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "math/Math_Matrix3.h"
#include "math/Math_Vector2D.h"
#include "physics/Physics_Forces.h"
#include "physics/Physics_MassProperties.h"
#include "physics/Physics_ODESolver.h"

#include <cstdint>
#include <vector>

namespace Physics2D
{

class RigidBody;

// Called with the body and its user word when the body has moved.
using BodyCallback = void (*)(RigidBody* body, void* userData);

// One simulated 2D body. Two integrators of one kind advance it: one over
// (vx, vy, w), driven by the accumulated force and torque (plus the solver's
// acceleration while one is attached), one over (x, y, orientation), driven
// by the velocity. Angles are radians inside and degrees at every interface.
// The user word holds the owner (a pointer); it is never stored.
class RigidBody : public Core::Object
{
    CORE_DECLARE_OBJECT(RigidBody)

public:
    enum IntegratorKind : std::uint32_t
    {
        Euler = 0,
        Heun = 1,
        RungeKutta = 2,
        // No integrators: stepping leaves the body where it is, and the
        // setters change the body's fields alone. Any other value is Euler.
        None = 3,
    };

    enum class TransformUpdate
    {
        // After integration: the move callback, or else the post-collision one.
        Move,
        // After position correction: the post-collision callback.
        PostCollision,
    };

    // For reading: no integrators, no callbacks.
    RigidBody();
    RigidBody(const MassProperties& massProperties, std::uint32_t integratorKind, BodyCallback moveCallback,
              BodyCallback postCollisionCallback, void* userData);
    // A copy owned by `userData`: mass properties, kind, velocities, position,
    // orientation and callbacks, fresh integrators seeded with those values
    // (Euler for kind None too), and a clone of each force in slot order.
    // Accumulators are zero and the matrices identity until the next
    // transform update.
    RigidBody(const RigidBody& source, void* userData);
    // The same with the source's user word.
    RigidBody(const RigidBody& source);
    ~RigidBody() override;

    // Copies all five values as they stand (no inverse is derived).
    void SetMassProperties(const MassProperties& massProperties)
    {
        massProperties_ = massProperties;
        transformCurrent_ = false;
    }
    const MassProperties& GetMassProperties() const { return massProperties_; }
    std::uint32_t GetIntegratorKind() const { return integratorKind_; }

    // The setters keep the integrators' states in step with the body and call
    // no callback.
    void SetVelocity(const Math::Vector2D& velocity);
    const Math::Vector2D& GetVelocity() const { return velocity_; }
    void SetAngularVelocity(float degreesPerSecond);
    float GetAngularVelocity() const;
    // Also recomputes the matrices and the world centre of mass.
    void SetPosition(const Math::Vector2D& position);
    // World position of the centre of mass.
    const Math::Vector2D& GetPosition() const { return position_; }
    // Also recomputes the matrices and the world centre of mass.
    void SetOrientation(float degrees);
    float GetOrientation() const;
    // The raw values, in radians.
    float GetAngularVelocityRadians() const { return angularVelocity_; }
    float GetOrientationRadians() const { return orientation_; }

    const Math::Matrix3& GetRotationMatrix() const { return rotation_; }
    // Body coordinates to world: a body point q lands on p + R (q - c).
    const Math::Matrix3& GetMatrix() const { return transform_; }
    const Math::Matrix3& GetInverseMatrix() const { return inverseTransform_; }
    // World position of the centre of mass, as the transform places it.
    const Math::Vector2D& GetCenterOfMass() const { return worldCenterOfMass_; }

    void SetMoveCallback(BodyCallback callback) { moveCallback_ = callback; }
    BodyCallback GetMoveCallback() const { return moveCallback_; }
    void SetPostCollisionCallback(BodyCallback callback) { postCollisionCallback_ = callback; }
    BodyCallback GetPostCollisionCallback() const { return postCollisionCallback_; }
    void SetData(void* userData) { userData_ = userData; }
    void* GetData() const { return userData_; }

    // A negative time to live becomes 0 (for ever). Answers the force's id,
    // or Forces::InvalidId for null.
    std::uint32_t AddForce(Force* force);
    bool RemoveForce(std::uint32_t id);
    bool RemoveAllForces();
    Forces& GetForces() { return forces_; }
    const Forces& GetForces() const { return forces_; }

    // Sums the forces for the step into the force and torque accumulators,
    // then scales both by the simulation scale.
    void AccumulateForces(float step);
    const Math::Vector2D& GetForce() const { return force_; }
    float GetTorque() const { return torque_; }
    void SetForce(const Math::Vector2D& force) { force_ = force; }
    void SetTorque(float torque) { torque_ = torque; }

    // Three floats (ax, ay, angular) the constraint solver adds to the
    // velocity derivative while attached; null detaches.
    void SetSolverAccumulator(float* accumulator) { solverAccumulator_ = accumulator; }
    float* GetSolverAccumulator() const { return solverAccumulator_; }

    // Moves the position and orientation fields by a correction without
    // touching the integrators; the owner writes the corrected values back
    // through the setters if the next step is to start from them.
    void CorrectPosition(const Math::Vector2D& offset, float radians);

    // Rebuilds the rotation, the transform, its inverse and the world centre
    // of mass (unless nothing they follow from changed since they were last
    // built), then calls the callback the flag selects.
    void UpdateTransform(TransformUpdate flag);

    const ODESolver* GetVelocityIntegrator() const { return velocityIntegrator_.Get(); }
    const ODESolver* GetPositionIntegrator() const { return positionIntegrator_.Get(); }

    // Angular speed limit in radians per second for every body (before the
    // simulation scale). Every body written stores it; every body read
    // replaces it.
    static float GetMaximumAngularVelocity() { return maximumAngularVelocity_; }
    static void SetMaximumAngularVelocity(float radiansPerSecond)
    {
        maximumAngularVelocity_ = radiansPerSecond;
    }

    // Record: mass properties; forces; force, torque; velocity, angular
    // velocity; position, orientation; rotation, transform, inverse transform;
    // world centre of mass; the maximum angular velocity; u32 integrator
    // kind; the velocity and position integrators as objects. Callbacks and
    // the user word are not stored: the owner installs them again.
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;

    // One step: velocities from the velocity integrator (components at most
    // the simulation epsilon in size become 0, the angular velocity is
    // clamped to the limit), then position and orientation from the position
    // integrator, then the transform update with the move callback.
    virtual void Integrate(float step);

    // The integrators' derivative functions. They read the body's fields, not
    // the state they are handed (which the integrators may reuse for output).
    static void VelocityDerivative(float time, const std::vector<float>& state,
                                   std::vector<float>& derivative, void* body);
    static void PositionDerivative(float time, const std::vector<float>& state,
                                   std::vector<float>& derivative, void* body);

private:
    void CreateIntegrators(std::uint32_t kind);
    void RebuildTransform();

    friend class PhysicsEngine;

    static inline float maximumAngularVelocity_ = 6.2831855f;

    Core::RefPtr<ODESolver> velocityIntegrator_;
    Core::RefPtr<ODESolver> positionIntegrator_;
    MassProperties massProperties_;
    std::uint32_t integratorKind_ = Euler;
    Forces forces_;
    Math::Vector2D force_;
    float torque_ = 0.0f;
    float* solverAccumulator_ = nullptr;
    Math::Vector2D velocity_;
    float angularVelocity_ = 0.0f;
    Math::Vector2D position_;
    float orientation_ = 0.0f;
    Math::Matrix3 rotation_;
    Math::Matrix3 transform_;
    Math::Matrix3 inverseTransform_;
    Math::Vector2D worldCenterOfMass_;
    // The matrices and world centre of mass were rebuilt from the position,
    // orientation and mass properties as they stand. Not stored, not copied.
    bool transformCurrent_ = false;
    BodyCallback moveCallback_ = nullptr;
    BodyCallback postCollisionCallback_ = nullptr;
    void* userData_ = nullptr;
    // Engine scratch: the body's place in the engine's step bodies, so
    // membership is one comparison. Valid only where the list holds the body
    // at that place; not stored, not copied.
    std::uint32_t stepIndex_ = 0;
    // Engine scratch: the pass in which the body was last held at the spin
    // limit. Not stored, not copied.
    std::uint32_t heldSpinStamp_ = 0;
    // Engine scratch: the body's place in the post-collision pass's contact
    // bodies, as the step index above; and the pass that last corrected its
    // position. Not stored, not copied.
    std::uint32_t contactIndex_ = 0;
    std::uint32_t correctedStamp_ = 0;
    // Engine scratch: the group of the last pass's contacts with this body
    // as body 1 while new contacts are seeded, as the step index above.
    std::uint32_t seedGroup_ = 0;
    // Engine scratch: the same for keeping the last pass's contacts.
    std::uint32_t keepGroup_ = 0;
};

} // namespace Physics2D
