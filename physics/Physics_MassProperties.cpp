#include "physics/Physics_MassProperties.h"

#include "core/Core_File.h"
#include "core/Core_ScriptBridge.h"

namespace Physics2D
{

MassProperties::MassProperties(float mass, float inertia, const Math::Vector2D& centerOfMass)
    : mass_(mass), inverseMass_(Inverse(mass)), inertia_(inertia), inverseInertia_(Inverse(inertia)),
      centerOfMass_(centerOfMass)
{
}

MassProperties::MassProperties(const MassProperties& other)
    : MassProperties(other.mass_, other.inertia_, other.centerOfMass_)
{
}

void MassProperties::PushToScript(lua_State* state)
{
    Core::PushUserdata(state, this, ScriptTypeName);
}

void MassProperties::SetMass(float mass)
{
    mass_ = mass;
    inverseMass_ = Inverse(mass);
}

void MassProperties::SetInertia(float inertia)
{
    inertia_ = inertia;
    inverseInertia_ = Inverse(inertia);
}

void MassProperties::Write(Core::File& file) const
{
    file << mass_ << inverseMass_ << inertia_ << inverseInertia_ << centerOfMass_.x << centerOfMass_.y;
}

void MassProperties::Read(Core::File& file)
{
    float values[6];
    if (!file.ReadExact(values, sizeof values))
    {
        return;
    }
    mass_ = values[0];
    inverseMass_ = values[1];
    inertia_ = values[2];
    inverseInertia_ = values[3];
    centerOfMass_ = {values[4], values[5]};
}

} // namespace Physics2D
