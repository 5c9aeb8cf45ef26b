#pragma once

// Script method tables of the bodies and forces: the method names, in table
// order, beside the native operation each one calls. The names and their
// order are fixed; the Lua functions that bind them (each takes the script
// state, reads its arguments by position and returns how many values it
// pushed) are written with the script glue, over the public operations of
// RigidBody, MassProperties, Force and Forces. Points and vectors cross as
// tables with "X" and "Y" ("CreatePoint", "CreateVector"); matrices as tables
// made by "CreateMatrix" with "Ma00" to "Ma22", row by row; angles in degrees.

#include <iterator>

namespace Physics2D::ScriptTables
{

// "RigidBody" userdata.
inline constexpr const char* RigidBodyMethods[] = {
    "SetMassProperties",  // (mass properties) SetMassProperties
    "GetMassProperties",  // pushes a copy as "MassProperties" userdata
    "SetVelocity",        // (table X, Y) SetVelocity; ignored unless a table
    "GetVelocity",        // pushes a vector table
    "SetAngularVelocity", // (degrees per second)
    "GetAngularVelocity", // pushes degrees per second
    "SetPosition",        // (table X, Y) SetPosition; ignored unless a table
    "GetPosition",        // pushes a point table
    "SetOrientation",     // (degrees)
    "GetOrientation",     // pushes degrees
    "GetMatrix",          // pushes a matrix table
    "GetRotationMatrix",  // pushes a matrix table
    "GetInverseMatrix",   // pushes a matrix table
    "GetCenterOfMass",    // pushes the world centre of mass as a point table
    "SetData",            // does nothing: the user word is the owner's
    "GetData",            // does nothing
    "AddForce",           // (force) pushes the id
    "RemoveForce",        // (id) pushes 1 or 0
    "RemoveAllForces",    // pushes 1
};
static_assert(std::size(RigidBodyMethods) == 19);

// "MassProperties" userdata.
inline constexpr const char* MassPropertiesMethods[] = {
    "SetMass",           // SetMass (inverse derived)
    "GetMass",           //
    "GetInverseMass",    //
    "SetInertia",        // SetInertia (inverse derived)
    "GetInertia",        //
    "GetInverseInertia", //
    "SetCenterOfMass",   // (table X, Y)
    "GetCenterOfMass",   // pushes a point table
};

// "Force" userdata and its kinds ("ConstantForce", "GravityForce",
// "DragForce").
inline constexpr const char* ForceMethods[] = {
    "Initialize",         // (body) SetBody
    "Evaluate",           // (step)
    "Update",             // (step); pushes nothing
    "SetPosition",        // (table X, Y) the world application point
    "GetPosition",        // pushes a point table
    "GetVector",          // pushes a vector table
    "GetBody",            // pushes the body (nil when unbound)
    "GetTime",            //
    "GetTimeToLive",      //
    "GetEvaluatedTorque", //
    "SetTimeToLive",      // (seconds)
    "GetEvaluatedForce",  // pushes a vector table
};
static_assert(std::size(ForceMethods) == 12);

// "Forces" userdata (a body's container, RigidBody::GetForces).
inline constexpr const char* ForcesMethods[] = {
    "SetBody",         // (body)
    "GetBody",         // pushes the body (nil when unbound)
    "AddForce",        // (force) pushes the id
    "RemoveForce",     // (id) pushes 1 or 0
    "RemoveAllForces", // pushes 1
    "UpdateForces",    // does nothing
};

} // namespace Physics2D::ScriptTables
