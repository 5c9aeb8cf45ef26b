#include "physics/Physics_MassProperties.h"
#include "physics/Physics_ReadChecks.h"

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
    // What the setters make: no negative mass or inertia, each inverse the
    // one they compute (0 for an immovable body).
    if (!CheckFinite(file, values) ||
        !CheckRead(file, values[0] >= 0.0f && values[2] >= 0.0f && values[1] == Inverse(values[0]) &&
                             values[3] == Inverse(values[2])))
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
