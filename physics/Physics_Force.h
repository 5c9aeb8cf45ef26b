#pragma once

#include "core/Core_Object.h"
#include "math/Math_Vector2D.h"

#include <cstdint>

namespace Physics2D
{

class RigidBody;

// A force attached to one body that yields a force and a torque every step,
// for a limited time or for ever. The application point is kept in body
// coordinates, so it follows the body as it moves and turns.
class Force : public Core::Object
{
public:
    static constexpr const char* ScriptTypeName = "Force";

    enum Kind : std::uint32_t
    {
        KindConstant = 0,
        KindGravity = 1,
        KindDrag = 2,
    };

    // Binds the force (or unbinds it, with null) and takes its world position
    // into the body's coordinates.
    void SetBody(RigidBody* body);
    RigidBody* GetBody() const { return body_; }
    // Binds the force to the body it was read with: the stored local position
    // is already in that body's coordinates and stays as it is.
    void RestoreBody(RigidBody* body) { body_ = body; }

    // Advances the force's clock by `step`, moves the application point with
    // the body and evaluates. True while the force is alive: it is alive for
    // ever with a time to live of 0 or less, otherwise while its time is below
    // the time to live (a force still counts in the step in which it expires).
    bool Update(float step);

    const Math::Vector2D& GetPosition() const { return position_; }
    void SetPosition(const Math::Vector2D& position) { position_ = position; }
    const Math::Vector2D& GetVector() const { return vector_; }
    void SetVector(const Math::Vector2D& vector) { vector_ = vector; }
    const Math::Vector2D& GetLocalPosition() const { return localPosition_; }
    void SetLocalPosition(const Math::Vector2D& localPosition) { localPosition_ = localPosition; }
    // Application point minus the body's world centre of mass.
    const Math::Vector2D& GetArm() const { return arm_; }
    float GetTime() const { return time_; }
    void SetTime(float time) { time_ = time; }
    float GetTimeToLive() const { return timeToLive_; }
    void SetTimeToLive(float timeToLive) { timeToLive_ = timeToLive; }
    const Math::Vector2D& GetEvaluatedForce() const { return evaluatedForce_; }
    void SetEvaluatedForce(const Math::Vector2D& force) { evaluatedForce_ = force; }
    float GetEvaluatedTorque() const { return evaluatedTorque_; }
    void SetEvaluatedTorque(float torque) { evaluatedTorque_ = torque; }
    Kind GetKind() const { return kind_; }

    // Base record: position, vector, local position, arm, f32 time, f32 time
    // to live, evaluated force, f32 evaluated torque. A read force is bound
    // to no body.
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;

    // Sets the evaluated force and torque for this step. Kinds that need a
    // body change nothing without one.
    virtual void Evaluate(float step) = 0;

protected:
    // A time to live of 0 or less means for ever.
    Force(const Math::Vector2D& position, const Math::Vector2D& vector, float timeToLive, Kind kind);
    // Position, vector, time, time to live and kind; unbound, nothing
    // evaluated.
    Force(const Force& other);

    struct Record
    {
        Math::Vector2D position, vector, localPosition, arm;
        float time, timeToLive;
        Math::Vector2D evaluatedForce;
        float evaluatedTorque;
    };
    // A kind reads the whole of its record before it changes anything.
    static bool ReadRecord(Core::File& file, Record& record);
    void ApplyRecord(const Record& record);

    Math::Vector2D position_;
    Math::Vector2D vector_;
    RigidBody* body_ = nullptr;
    Math::Vector2D localPosition_;
    Math::Vector2D arm_;
    float time_ = 0.0f;
    float timeToLive_ = 0.0f;
    Math::Vector2D evaluatedForce_;
    float evaluatedTorque_ = 0.0f;
    Kind kind_ = KindConstant;
};

// The force vector as it stands, in one of three modes.
class ConstantForce : public Force
{
    CORE_DECLARE_OBJECT(ConstantForce)

public:
    enum Mode : std::uint32_t
    {
        // The vector as a force through the centre of mass, no torque.
        ModeForce = 0,
        // No force; the vector's x as a torque.
        ModeTorque = 1,
        // The vector as a force at the application point, with its torque
        // arm x vector about the centre of mass.
        ModeForceAtPoint = 2,
    };

    ConstantForce();
    ConstantForce(const Math::Vector2D& position, const Math::Vector2D& vector, float timeToLive,
                  std::uint32_t mode = ModeForce);
    ConstantForce(const ConstantForce& other);

    std::uint32_t GetMode() const { return mode_; }
    void SetMode(std::uint32_t mode) { mode_ = mode; }

    // The base record, then the u32 mode.
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;

    // Another mode leaves the evaluated values as they were.
    void Evaluate(float step) override;

private:
    std::uint32_t mode_ = ModeForce;
};

// Weight: mass x magnitude along a unit direction, no torque.
class GravityForce : public Force
{
    CORE_DECLARE_OBJECT(GravityForce)

public:
    // Downwards at 9.8.
    GravityForce();
    // The direction is normalised (a direction shorter than the math
    // tolerance is kept as it is).
    GravityForce(const Math::Vector2D& direction, float magnitude);
    GravityForce(const GravityForce& other);

    const Math::Vector2D& GetDirection() const { return direction_; }
    float GetMagnitude() const { return magnitude_; }

    // The base record, then the direction and the f32 magnitude.
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;

    void Evaluate(float step) override;

private:
    Math::Vector2D direction_;
    float magnitude_ = 0.0f;
};

// Linear and angular damping: -linear x velocity, and -angular x angular
// velocity in degrees per second.
class DragForce : public Force
{
    CORE_DECLARE_OBJECT(DragForce)

public:
    DragForce();
    DragForce(float linearCoefficient, float angularCoefficient, float timeToLive = 0.0f);
    DragForce(const DragForce& other);

    float GetLinearCoefficient() const { return linearCoefficient_; }
    void SetLinearCoefficient(float value) { linearCoefficient_ = value; }
    float GetAngularCoefficient() const { return angularCoefficient_; }
    void SetAngularCoefficient(float value) { angularCoefficient_ = value; }

    // The base record, then the f32 linear and angular coefficients.
    void Write(Core::File& file) const override;
    void Read(Core::File& file) override;

    void Evaluate(float step) override;

private:
    float linearCoefficient_ = 0.0f;
    float angularCoefficient_ = 0.0f;
};

} // namespace Physics2D
