#pragma once

// Script method tables of the physics classes: the method names, in table
// order, beside the native operation each one calls. The names and their
// order are fixed; the Lua functions that bind them (each takes the script
// state, reads its arguments by position and returns how many values it
// pushed) are in Physics_ScriptMethods.cpp, over the public operations of
// PhysicsEngine, RigidBody, MassProperties, Joint, Force and Forces. Points and vectors cross as
// tables with "X" and "Y" ("CreatePoint", "CreateVector"); matrices as tables
// made by "CreateMatrix" with "Ma00" to "Ma22", row by row; angles in degrees.

#include <iterator>

namespace Physics2D::ScriptTables
{

// "PhysicsEngine" userdata. "needs n": with fewer arguments the method does
// nothing and pushes nothing. Ids and counts cross as unsigned 32-bit values.
inline constexpr const char* PhysicsEngineMethods[] = {
    "AddRigidBody",                // (body) AddRigidBody; pushes nothing
    "CloneRigidBody",              // does nothing
    "RemoveRigidBody",             // (id) RemoveRigidBody; pushes nothing
    "AddJoint",                    // needs 3: (id1, id2, joint); pushes the joint as "Joint"
    "RemoveJoint",                 // needs 1: (joint)
    "AddContact",                  // needs 3: (id1, id2, contact); pushes the contact as "Contact"
    "RemoveContact",               // needs 1: (contact)
    "GetRigidBody",                // needs 1: (id); pushes the body (nil for an invalid id)
    "GetRigidBodyList",            // pushes a table 1, 2, ... -> the bodies in slot order
    "SetMassProperties",           // needs 2: (id, mass properties); pushes 1 or 0
    "GetMassProperties",           // needs 2: (id, mass properties) fills the argument; pushes 1 or 0
    "SetRigidBodyOrientation",     // needs 2: (id, degrees); pushes 1 or 0
    "GetRigidBodyOrientation",     // does nothing
    "SetRigidBodyVelocity",        // needs 2: (id, vector table); pushes 1 or 0
    "GetRigidBodyVelocity",        // needs 2: (id, vector table) fills the argument; pushes 1 or 0
    "SetRigidBodyAngularVelocity", // needs 2: (id, degrees per second); pushes 1 or 0
    "GetRigidBodyAngularVelocity", // does nothing
    "GetRigidBodyCenterOfMass",    // needs 2: (id, point table) fills the argument; pushes 1 or 0
    "AddRigidBodyForce",           // does nothing
    "RemoveRigidBodyForce",        // needs 2: (id, force id); pushes 1 or 0
    "RemoveAllRigidBodyForces",    // needs 2: (id, any); pushes 1 or 0
    "Update",                      // needs 1: (dt)
    "PostCollisionUpdate",         // needs 1: (dt)
    "SetContactListUpdate",        // does nothing: callbacks are native
    "SetContactListUpdateData",    // does nothing
    "GetContactListUpdateData",    // does nothing
    "Reset",                       //
    "GetPlusInfinity",             // pushes GetPlusInfinity()
    "GetMinusInfinity",            // pushes -GetPlusInfinity()
    "GetSimulationStep",           //
    "GetSimulationInverseStep",    //
    "SetMaximumSimulationStep",    // (step) stored when greater than 0
    "GetMaximumSimulationStep",    //
    "SetAccuracy",                 // (count) truncated to an integer; SetAccuracy
    "GetAccuracy",                 //
    "SetScale",                    // (scale) SetScale
    "GetScale",                    //
    "GetEpsilon",                  //
    "GetStaticBody",               // pushes the process-wide static body
};
static_assert(std::size(PhysicsEngineMethods) == 39);

// "Joint" userdata and every kind ("JointNail", "JointHinge", "JointSpring",
// "JointSlider", "JointFixed", "JointAngularMotor", "Contact").
inline constexpr const char* JointMethods[] = {
    "SetActive", // (number) active := it is not 0
    "IsActive",  // pushes 1 or 0
    "IsLimit",   // pushes the active flag as 1 or 0
    "GetBody1",  // pushes the body
    "GetBody2",  // pushes the body
};
static_assert(std::size(JointMethods) == 5);

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
