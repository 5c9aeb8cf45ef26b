#pragma once

#include "math/Math_Vector2D.h"

namespace Core
{
class File;
}

struct lua_State;
class LuaScript;

namespace Physics2D
{

// Mass and moment of inertia of a body, with their inverses: a zero mass or
// inertia has a zero inverse, so such a body neither accelerates nor turns
// under any force or constraint.
class MassProperties
{
public:
    static constexpr const char* ScriptTypeName = "MassProperties";

    MassProperties() = default;
    MassProperties(float mass, float inertia, const Math::Vector2D& centerOfMass);
    // Derives both inverses again from mass and inertia.
    MassProperties(const MassProperties& other);
    // Copies all five values as they stand, inverses included: the engine hands
    // mass properties in and out this way without deriving anything.
    MassProperties& operator=(const MassProperties& other) = default;
    virtual ~MassProperties() = default;

    // These values never carry a script.
    virtual LuaScript* GetScript() { return nullptr; }
    virtual void PushToScript(lua_State* state);

    float GetMass() const { return mass_; }
    float GetInverseMass() const { return inverseMass_; }
    float GetInertia() const { return inertia_; }
    float GetInverseInertia() const { return inverseInertia_; }
    const Math::Vector2D& GetCenterOfMass() const { return centerOfMass_; }

    // Each stores the value and derives its inverse.
    void SetMass(float mass);
    void SetInertia(float inertia);
    void SetCenterOfMass(const Math::Vector2D& centerOfMass) { centerOfMass_ = centerOfMass; }

    // Record: mass, inverse mass, inertia, inverse inertia, centre x, centre y
    // (six f32). Read takes the values as stored, or changes nothing when the
    // archive runs short.
    void Write(Core::File& file) const;
    void Read(Core::File& file);

private:
    static float Inverse(float value) { return value == 0.0f ? 0.0f : 1.0f / value; }

    float mass_ = 0.0f;
    float inverseMass_ = 0.0f;
    float inertia_ = 0.0f;
    float inverseInertia_ = 0.0f;
    // In body coordinates.
    Math::Vector2D centerOfMass_;
};

} // namespace Physics2D
