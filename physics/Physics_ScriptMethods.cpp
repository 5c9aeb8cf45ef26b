// Script methods of the physics classes: "PhysicsEngine", "RigidBody",
// "MassProperties", "Force" (and its kinds), "Forces" and "Joint" (and its
// kinds). Arguments start at stack index 1 and are read by position; a
// method marked "needs n" in Physics_ScriptTables.h does nothing and pushes
// nothing with fewer arguments. Numbers are read without raising errors (a
// value that is no number reads as 0), so no call unwinds past a counted
// reference. Ids and counts are pushed as unsigned 32-bit values.
#include "physics/Physics_Contact.h"
#include "physics/Physics_Force.h"
#include "physics/Physics_Forces.h"
#include "physics/Physics_Joint.h"
#include "physics/Physics_PhysicsEngine.h"
#include "physics/Physics_RigidBody.h"
#include "physics/Physics_ScriptTables.h"
#include "script/Script_Binding.h"
#include "script/Script_Lua.h"
#include "script/Script_MethodTable.h"
#include "script/Script_Values.h"

#include <cmath>
#include <string_view>

namespace
{

using namespace Physics2D;
using Math::Vector2D;

constexpr const char* JointTypeNames[] = {"Joint",       "JointNail",  "JointHinge",        "JointSpring",
                                          "JointSlider", "JointFixed", "JointAngularMotor", "Contact"};
constexpr const char* ForceTypeNames[] = {"Force", "ConstantForce", "GravityForce", "DragForce"};

bool Needs(lua_State* state, int count)
{
    return lua_gettop(state) >= count;
}

float ToFloat(lua_State* state, int index)
{
    return static_cast<float>(lua_tonumber(state, index));
}

// Truncated towards 0; anything outside the u32 range, or no number, is 0.
std::uint32_t ToU32(lua_State* state, int index)
{
    const lua_Number value = lua_tonumber(state, index);
    return value >= 0.0 && value <= 4294967295.0 ? static_cast<std::uint32_t>(value) : 0u;
}

int PushU32(lua_State* state, std::uint32_t value)
{
    lua_pushnumber(state, static_cast<lua_Number>(value));
    return 1;
}

int PushFlag(lua_State* state, bool value)
{
    lua_pushinteger(state, value ? 1 : 0);
    return 1;
}

int PushNumber(lua_State* state, float value)
{
    lua_pushnumber(state, value);
    return 1;
}

// A method answering what a getter of a number answers.
template <class T, auto Get> int NumberGetter(T& object, lua_State* state)
{
    return PushNumber(state, (object.*Get)());
}

// A method handing its first argument to a setter of a number; nothing
// without an argument.
template <class T, auto Set> int NumberSetter(T& object, lua_State* state)
{
    if (Needs(state, 1))
    {
        (object.*Set)(ToFloat(state, 1));
    }
    return 0;
}

// Pushes the object, or nil for none.
int PushObject(lua_State* state, Core::Object* object)
{
    if (object == nullptr)
    {
        lua_pushnil(state);
    }
    else
    {
        object->PushToScript(state);
    }
    return 1;
}

template <class T, std::size_t N> T* ToAnyOf(lua_State* state, int index, const char* const (&names)[N])
{
    const char* type = Script::GetTypeName(state, index);
    if (type == nullptr)
    {
        return nullptr;
    }
    for (const char* name : names)
    {
        if (std::string_view(type) == name)
        {
            return static_cast<T*>(Script::ToObject(state, index, name));
        }
    }
    return nullptr;
}

RigidBody* ToBody(lua_State* state, int index)
{
    return Script::ToObject<RigidBody>(state, index, "RigidBody");
}

MassProperties* ToMass(lua_State* state, int index)
{
    return Script::ToObject<MassProperties>(state, index, MassProperties::ScriptTypeName);
}

Joint* ToJoint(lua_State* state, int index)
{
    return ToAnyOf<Joint>(state, index, JointTypeNames);
}

Force* ToForce(lua_State* state, int index)
{
    return ToAnyOf<Force>(state, index, ForceTypeNames);
}

// Writes X and Y into the table argument at `index`.
void FillVector(lua_State* state, int index, const Vector2D& value)
{
    if (!lua_istable(state, index))
    {
        return;
    }
    lua_pushnumber(state, value.x);
    lua_setfield(state, index, "X");
    lua_pushnumber(state, value.y);
    lua_setfield(state, index, "Y");
}

// --- PhysicsEngine ------------------------------------------------------------

int EngineAddRigidBody(PhysicsEngine& engine, lua_State* state)
{
    engine.AddRigidBody(ToBody(state, 1));
    return 0;
}

int DoesNothing(PhysicsEngine&, lua_State*)
{
    return 0;
}

int EngineRemoveRigidBody(PhysicsEngine& engine, lua_State* state)
{
    engine.RemoveRigidBody(ToU32(state, 1));
    return 0;
}

int EngineAddJoint(PhysicsEngine& engine, lua_State* state)
{
    if (!Needs(state, 3))
    {
        return 0;
    }
    Joint* joint = engine.AddJoint(ToU32(state, 1), ToU32(state, 2), ToJoint(state, 3));
    if (joint == nullptr)
    {
        lua_pushnil(state);
        return 1;
    }
    Script::PushObject(state, joint, Joint::ScriptTypeName);
    return 1;
}

int EngineRemoveJoint(PhysicsEngine& engine, lua_State* state)
{
    if (Needs(state, 1))
    {
        engine.RemoveJoint(ToJoint(state, 1));
    }
    return 0;
}

int EngineAddContact(PhysicsEngine& engine, lua_State* state)
{
    if (!Needs(state, 3))
    {
        return 0;
    }
    Contact* contact =
        engine.AddContact(ToU32(state, 1), ToU32(state, 2), Script::ToObject<Contact>(state, 3, "Contact"));
    if (contact == nullptr)
    {
        lua_pushnil(state);
        return 1;
    }
    Script::PushObject(state, contact, "Contact");
    return 1;
}

int EngineRemoveContact(PhysicsEngine& engine, lua_State* state)
{
    if (Needs(state, 1))
    {
        engine.RemoveContact(Script::ToObject<Contact>(state, 1, "Contact"));
    }
    return 0;
}

int EngineGetRigidBody(PhysicsEngine& engine, lua_State* state)
{
    if (!Needs(state, 1))
    {
        return 0;
    }
    return PushObject(state, engine.GetRigidBody(ToU32(state, 1)).Get());
}

int EngineGetRigidBodyList(PhysicsEngine& engine, lua_State* state)
{
    const auto& bodies = engine.GetRigidBodies();
    lua_createtable(state, static_cast<int>(bodies.size()), 0);
    for (std::size_t i = 0; i < bodies.size(); ++i)
    {
        PushObject(state, bodies[i].Get());
        lua_rawseti(state, -2, static_cast<int>(i + 1));
    }
    return 1;
}

int EngineSetMassProperties(PhysicsEngine& engine, lua_State* state)
{
    if (!Needs(state, 2))
    {
        return 0;
    }
    const MassProperties* mass = ToMass(state, 2);
    return PushFlag(state, mass != nullptr && engine.SetMassProperties(ToU32(state, 1), *mass));
}

int EngineGetMassProperties(PhysicsEngine& engine, lua_State* state)
{
    if (!Needs(state, 2))
    {
        return 0;
    }
    MassProperties* mass = ToMass(state, 2);
    return PushFlag(state, mass != nullptr && engine.GetMassProperties(ToU32(state, 1), *mass));
}

int EngineSetRigidBodyOrientation(PhysicsEngine& engine, lua_State* state)
{
    if (!Needs(state, 2))
    {
        return 0;
    }
    return PushFlag(state, engine.SetRigidBodyOrientation(ToU32(state, 1), ToFloat(state, 2)));
}

int EngineSetRigidBodyVelocity(PhysicsEngine& engine, lua_State* state)
{
    if (!Needs(state, 2))
    {
        return 0;
    }
    const Vector2D velocity = LuaToVector2D(state, 2);
    return PushFlag(state, engine.SetRigidBodyVelocity(ToU32(state, 1), velocity));
}

int EngineGetRigidBodyVelocity(PhysicsEngine& engine, lua_State* state)
{
    if (!Needs(state, 2))
    {
        return 0;
    }
    Vector2D velocity;
    const bool found = engine.GetRigidBodyVelocity(ToU32(state, 1), velocity);
    if (found)
    {
        FillVector(state, 2, velocity);
    }
    return PushFlag(state, found);
}

int EngineSetRigidBodyAngularVelocity(PhysicsEngine& engine, lua_State* state)
{
    if (!Needs(state, 2))
    {
        return 0;
    }
    return PushFlag(state, engine.SetRigidBodyAngularVelocity(ToU32(state, 1), ToFloat(state, 2)));
}

int EngineGetRigidBodyCenterOfMass(PhysicsEngine& engine, lua_State* state)
{
    if (!Needs(state, 2))
    {
        return 0;
    }
    Vector2D center;
    const bool found = engine.GetRigidBodyCenterOfMass(ToU32(state, 1), center);
    if (found)
    {
        FillVector(state, 2, center);
    }
    return PushFlag(state, found);
}

int EngineRemoveRigidBodyForce(PhysicsEngine& engine, lua_State* state)
{
    if (!Needs(state, 2))
    {
        return 0;
    }
    return PushFlag(state, engine.RemoveRigidBodyForce(ToU32(state, 1), ToU32(state, 2)));
}

int EngineRemoveAllRigidBodyForces(PhysicsEngine& engine, lua_State* state)
{
    if (!Needs(state, 2))
    {
        return 0;
    }
    return PushFlag(state, engine.RemoveAllRigidBodyForces(ToU32(state, 1)));
}

int EngineReset(PhysicsEngine& engine, lua_State*)
{
    engine.Reset();
    return 0;
}

int EngineGetPlusInfinity(PhysicsEngine&, lua_State* state)
{
    return PushNumber(state, PhysicsEngine::GetPlusInfinity());
}

int EngineGetMinusInfinity(PhysicsEngine&, lua_State* state)
{
    return PushNumber(state, -PhysicsEngine::GetPlusInfinity());
}

int EngineGetSimulationStep(PhysicsEngine&, lua_State* state)
{
    return PushNumber(state, PhysicsEngine::GetSimulationStep());
}

int EngineGetSimulationInverseStep(PhysicsEngine&, lua_State* state)
{
    return PushNumber(state, PhysicsEngine::GetSimulationInverseStep());
}

int EngineSetMaximumSimulationStep(PhysicsEngine&, lua_State* state)
{
    if (Needs(state, 1))
    {
        PhysicsEngine::SetMaximumSimulationStep(ToFloat(state, 1));
    }
    return 0;
}

int EngineGetMaximumSimulationStep(PhysicsEngine&, lua_State* state)
{
    return PushNumber(state, PhysicsEngine::GetMaximumSimulationStep());
}

int EngineSetAccuracy(PhysicsEngine& engine, lua_State* state)
{
    if (Needs(state, 1))
    {
        engine.SetAccuracy(ToU32(state, 1));
    }
    return 0;
}

int EngineGetAccuracy(PhysicsEngine& engine, lua_State* state)
{
    return PushU32(state, engine.GetAccuracy());
}

int EngineGetScale(PhysicsEngine&, lua_State* state)
{
    return PushNumber(state, PhysicsEngine::GetScale());
}

int EngineGetEpsilon(PhysicsEngine&, lua_State* state)
{
    return PushNumber(state, PhysicsEngine::GetEpsilon());
}

int EngineGetStaticBody(PhysicsEngine&, lua_State* state)
{
    return PushObject(state, PhysicsEngine::GetStaticBody());
}

using Script::Method;

constexpr auto kEngineMethods = Script::MakeMethods<39>(
    Method<&EngineAddRigidBody>("AddRigidBody"), Method<&DoesNothing>("CloneRigidBody"),
    Method<&EngineRemoveRigidBody>("RemoveRigidBody"), Method<&EngineAddJoint>("AddJoint"),
    Method<&EngineRemoveJoint>("RemoveJoint"), Method<&EngineAddContact>("AddContact"),
    Method<&EngineRemoveContact>("RemoveContact"), Method<&EngineGetRigidBody>("GetRigidBody"),
    Method<&EngineGetRigidBodyList>("GetRigidBodyList"),
    Method<&EngineSetMassProperties>("SetMassProperties"),
    Method<&EngineGetMassProperties>("GetMassProperties"),
    Method<&EngineSetRigidBodyOrientation>("SetRigidBodyOrientation"),
    Method<&DoesNothing>("GetRigidBodyOrientation"),
    Method<&EngineSetRigidBodyVelocity>("SetRigidBodyVelocity"),
    Method<&EngineGetRigidBodyVelocity>("GetRigidBodyVelocity"),
    Method<&EngineSetRigidBodyAngularVelocity>("SetRigidBodyAngularVelocity"),
    Method<&DoesNothing>("GetRigidBodyAngularVelocity"),
    Method<&EngineGetRigidBodyCenterOfMass>("GetRigidBodyCenterOfMass"),
    Method<&DoesNothing>("AddRigidBodyForce"), Method<&EngineRemoveRigidBodyForce>("RemoveRigidBodyForce"),
    Method<&EngineRemoveAllRigidBodyForces>("RemoveAllRigidBodyForces"),
    Method<&NumberSetter<PhysicsEngine, &PhysicsEngine::Update>>("Update"),
    Method<&NumberSetter<PhysicsEngine, &PhysicsEngine::PostCollisionUpdate>>("PostCollisionUpdate"),
    Method<&DoesNothing>("SetContactListUpdate"), Method<&DoesNothing>("SetContactListUpdateData"),
    Method<&DoesNothing>("GetContactListUpdateData"), Method<&EngineReset>("Reset"),
    Method<&EngineGetPlusInfinity>("GetPlusInfinity"), Method<&EngineGetMinusInfinity>("GetMinusInfinity"),
    Method<&EngineGetSimulationStep>("GetSimulationStep"),
    Method<&EngineGetSimulationInverseStep>("GetSimulationInverseStep"),
    Method<&EngineSetMaximumSimulationStep>("SetMaximumSimulationStep"),
    Method<&EngineGetMaximumSimulationStep>("GetMaximumSimulationStep"),
    Method<&EngineSetAccuracy>("SetAccuracy"), Method<&EngineGetAccuracy>("GetAccuracy"),
    Method<&NumberSetter<PhysicsEngine, &PhysicsEngine::SetScale>>("SetScale"),
    Method<&EngineGetScale>("GetScale"), Method<&EngineGetEpsilon>("GetEpsilon"),
    Method<&EngineGetStaticBody>("GetStaticBody"));
const Script::MethodTableRegistrar g_engineTable(PhysicsEngine::ScriptTypeName, kEngineMethods);

// --- RigidBody ----------------------------------------------------------------

int BodySetMassProperties(RigidBody& body, lua_State* state)
{
    if (const MassProperties* mass = ToMass(state, 1))
    {
        body.SetMassProperties(*mass);
    }
    return 0;
}

int BodyGetMassProperties(RigidBody& body, lua_State* state)
{
    // A copy the script owns: the body's own value may change or go.
    Script::PushOwnedCopy(state, body.GetMassProperties(), MassProperties::ScriptTypeName);
    return 1;
}

int BodySetVelocity(RigidBody& body, lua_State* state)
{
    if (lua_istable(state, 1))
    {
        body.SetVelocity(LuaToVector2D(state, 1));
    }
    return 0;
}

int BodyGetVelocity(RigidBody& body, lua_State* state)
{
    LuaPushVector2D(state, body.GetVelocity());
    return 1;
}

int BodySetPosition(RigidBody& body, lua_State* state)
{
    if (lua_istable(state, 1))
    {
        body.SetPosition(LuaToPoint2D(state, 1));
    }
    return 0;
}

int BodyGetPosition(RigidBody& body, lua_State* state)
{
    LuaPushPoint2D(state, body.GetPosition());
    return 1;
}

int BodyGetMatrix(RigidBody& body, lua_State* state)
{
    LuaPushMatrix3(state, body.GetMatrix());
    return 1;
}

int BodyGetRotationMatrix(RigidBody& body, lua_State* state)
{
    LuaPushMatrix3(state, body.GetRotationMatrix());
    return 1;
}

int BodyGetInverseMatrix(RigidBody& body, lua_State* state)
{
    LuaPushMatrix3(state, body.GetInverseMatrix());
    return 1;
}

int BodyGetCenterOfMass(RigidBody& body, lua_State* state)
{
    LuaPushPoint2D(state, body.GetCenterOfMass());
    return 1;
}

int BodyDoesNothing(RigidBody&, lua_State*)
{
    return 0;
}

int BodyAddForce(RigidBody& body, lua_State* state)
{
    return PushU32(state, body.AddForce(ToForce(state, 1)));
}

int BodyRemoveForce(RigidBody& body, lua_State* state)
{
    return PushFlag(state, body.RemoveForce(ToU32(state, 1)));
}

int BodyRemoveAllForces(RigidBody& body, lua_State* state)
{
    return PushFlag(state, body.RemoveAllForces());
}

constexpr auto kBodyMethods = Script::MakeMethods<19>(
    Method<&BodySetMassProperties>("SetMassProperties"), Method<&BodyGetMassProperties>("GetMassProperties"),
    Method<&BodySetVelocity>("SetVelocity"), Method<&BodyGetVelocity>("GetVelocity"),
    Method<&NumberSetter<RigidBody, &RigidBody::SetAngularVelocity>>("SetAngularVelocity"),
    Method<&NumberGetter<RigidBody, &RigidBody::GetAngularVelocity>>("GetAngularVelocity"),
    Method<&BodySetPosition>("SetPosition"), Method<&BodyGetPosition>("GetPosition"),
    Method<&NumberSetter<RigidBody, &RigidBody::SetOrientation>>("SetOrientation"),
    Method<&NumberGetter<RigidBody, &RigidBody::GetOrientation>>("GetOrientation"),
    Method<&BodyGetMatrix>("GetMatrix"), Method<&BodyGetRotationMatrix>("GetRotationMatrix"),
    Method<&BodyGetInverseMatrix>("GetInverseMatrix"), Method<&BodyGetCenterOfMass>("GetCenterOfMass"),
    Method<&BodyDoesNothing>("SetData"), Method<&BodyDoesNothing>("GetData"),
    Method<&BodyAddForce>("AddForce"), Method<&BodyRemoveForce>("RemoveForce"),
    Method<&BodyRemoveAllForces>("RemoveAllForces"));
const Script::MethodTableRegistrar g_bodyTable("RigidBody", kBodyMethods);

// --- MassProperties -----------------------------------------------------------

int MassSetCenterOfMass(MassProperties& mass, lua_State* state)
{
    if (lua_istable(state, 1))
    {
        mass.SetCenterOfMass(LuaToPoint2D(state, 1));
    }
    return 0;
}

int MassGetCenterOfMass(MassProperties& mass, lua_State* state)
{
    LuaPushPoint2D(state, mass.GetCenterOfMass());
    return 1;
}

constexpr auto kMassMethods = Script::MakeMethods<8>(
    Method<&NumberSetter<MassProperties, &MassProperties::SetMass>>("SetMass"),
    Method<&NumberGetter<MassProperties, &MassProperties::GetMass>>("GetMass"),
    Method<&NumberGetter<MassProperties, &MassProperties::GetInverseMass>>("GetInverseMass"),
    Method<&NumberSetter<MassProperties, &MassProperties::SetInertia>>("SetInertia"),
    Method<&NumberGetter<MassProperties, &MassProperties::GetInertia>>("GetInertia"),
    Method<&NumberGetter<MassProperties, &MassProperties::GetInverseInertia>>("GetInverseInertia"),
    Method<&MassSetCenterOfMass>("SetCenterOfMass"), Method<&MassGetCenterOfMass>("GetCenterOfMass"));
const Script::MethodTableRegistrar g_massTable(MassProperties::ScriptTypeName, kMassMethods);

// --- Force and its kinds -------------------------------------------------------

int ForceInitialize(Force& force, lua_State* state)
{
    force.SetBody(ToBody(state, 1));
    return 0;
}

int ForceEvaluate(Force& force, lua_State* state)
{
    force.Evaluate(ToFloat(state, 1));
    return 0;
}

int ForceUpdate(Force& force, lua_State* state)
{
    force.Update(ToFloat(state, 1));
    return 0;
}

int ForceSetPosition(Force& force, lua_State* state)
{
    if (lua_istable(state, 1))
    {
        force.SetPosition(LuaToPoint2D(state, 1));
    }
    return 0;
}

int ForceGetPosition(Force& force, lua_State* state)
{
    LuaPushPoint2D(state, force.GetPosition());
    return 1;
}

int ForceGetVector(Force& force, lua_State* state)
{
    LuaPushVector2D(state, force.GetVector());
    return 1;
}

int ForceGetBody(Force& force, lua_State* state)
{
    return PushObject(state, force.GetBody());
}

int ForceGetEvaluatedForce(Force& force, lua_State* state)
{
    LuaPushVector2D(state, force.GetEvaluatedForce());
    return 1;
}

constexpr auto kForceMethods = Script::MakeMethods<12>(
    Method<&ForceInitialize>("Initialize"), Method<&ForceEvaluate>("Evaluate"),
    Method<&ForceUpdate>("Update"), Method<&ForceSetPosition>("SetPosition"),
    Method<&ForceGetPosition>("GetPosition"), Method<&ForceGetVector>("GetVector"),
    Method<&ForceGetBody>("GetBody"), Method<&NumberGetter<Force, &Force::GetTime>>("GetTime"),
    Method<&NumberGetter<Force, &Force::GetTimeToLive>>("GetTimeToLive"),
    Method<&NumberGetter<Force, &Force::GetEvaluatedTorque>>("GetEvaluatedTorque"),
    Method<&NumberSetter<Force, &Force::SetTimeToLive>>("SetTimeToLive"),
    Method<&ForceGetEvaluatedForce>("GetEvaluatedForce"));
const Script::MethodTableRegistrar g_forceTable("Force", kForceMethods);
const Script::MethodTableRegistrar g_constantForceTable("ConstantForce", kForceMethods);
const Script::MethodTableRegistrar g_gravityForceTable("GravityForce", kForceMethods);
const Script::MethodTableRegistrar g_dragForceTable("DragForce", kForceMethods);

// --- Forces ---------------------------------------------------------------------

int ForcesSetBody(Forces& forces, lua_State* state)
{
    forces.SetBody(ToBody(state, 1));
    return 0;
}

int ForcesGetBody(Forces& forces, lua_State* state)
{
    return PushObject(state, forces.GetBody());
}

int ForcesAddForce(Forces& forces, lua_State* state)
{
    return PushU32(state, forces.Add(ToForce(state, 1)));
}

int ForcesRemoveForce(Forces& forces, lua_State* state)
{
    return PushFlag(state, forces.RemoveForce(ToU32(state, 1)));
}

int ForcesRemoveAllForces(Forces& forces, lua_State* state)
{
    return PushFlag(state, forces.RemoveAllForces());
}

int ForcesUpdateForces(Forces&, lua_State*)
{
    return 0;
}

constexpr auto kForcesMethods = Script::MakeMethods<6>(
    Method<&ForcesSetBody>("SetBody"), Method<&ForcesGetBody>("GetBody"), Method<&ForcesAddForce>("AddForce"),
    Method<&ForcesRemoveForce>("RemoveForce"), Method<&ForcesRemoveAllForces>("RemoveAllForces"),
    Method<&ForcesUpdateForces>("UpdateForces"));
const Script::MethodTableRegistrar g_forcesTable(Forces::ScriptTypeName, kForcesMethods);

// --- Joint and its kinds ----------------------------------------------------------

int JointSetActive(Joint& joint, lua_State* state)
{
    joint.SetActive(lua_tonumber(state, 1) != 0.0);
    return 0;
}

int JointIsActive(Joint& joint, lua_State* state)
{
    return PushFlag(state, joint.IsActive());
}

int JointGetBody1(Joint& joint, lua_State* state)
{
    return PushObject(state, joint.GetBody1());
}

int JointGetBody2(Joint& joint, lua_State* state)
{
    return PushObject(state, joint.GetBody2());
}

// "IsLimit" answers the active flag, as "IsActive" does.
constexpr auto kJointMethods =
    Script::MakeMethods<5>(Method<&JointSetActive>("SetActive"), Method<&JointIsActive>("IsActive"),
                           Method<&JointIsActive>("IsLimit"), Method<&JointGetBody1>("GetBody1"),
                           Method<&JointGetBody2>("GetBody2"));
const Script::MethodTableRegistrar g_jointTable(JointTypeNames[0], kJointMethods);
const Script::MethodTableRegistrar g_jointNailTable(JointTypeNames[1], kJointMethods);
const Script::MethodTableRegistrar g_jointHingeTable(JointTypeNames[2], kJointMethods);
const Script::MethodTableRegistrar g_jointSpringTable(JointTypeNames[3], kJointMethods);
const Script::MethodTableRegistrar g_jointSliderTable(JointTypeNames[4], kJointMethods);
const Script::MethodTableRegistrar g_jointFixedTable(JointTypeNames[5], kJointMethods);
const Script::MethodTableRegistrar g_jointMotorTable(JointTypeNames[6], kJointMethods);
const Script::MethodTableRegistrar g_contactTable(JointTypeNames[7], kJointMethods);

// The names above follow the method-name lists kept with the classes.
static_assert(std::size(ScriptTables::PhysicsEngineMethods) == kEngineMethods.count);
static_assert(std::size(ScriptTables::RigidBodyMethods) == kBodyMethods.count);
static_assert(std::size(ScriptTables::MassPropertiesMethods) == kMassMethods.count);
static_assert(std::size(ScriptTables::ForceMethods) == kForceMethods.count);
static_assert(std::size(ScriptTables::ForcesMethods) == kForcesMethods.count);
static_assert(std::size(ScriptTables::JointMethods) == kJointMethods.count);

} // namespace
