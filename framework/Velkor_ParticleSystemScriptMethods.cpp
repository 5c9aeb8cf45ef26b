// The "ParticleSystem" script method table: the game object's entries
// without "ChangeNetworkOwner" and the contact record tables, the network
// data pair, then the particle system's own with "Clone" between "Reset"
// and "WarmUp". A range setter needs two numbers, a colour or scale range
// two tables; anything less changes nothing. Conventions:
// Velkor_ScriptSupport.h.
#include "framework/Velkor_GameObjectScriptMethods.h"
#include "framework/Velkor_ParticleEmitter.h"
#include "framework/Velkor_ParticleSystem.h"
#include "framework/Velkor_ScriptSupport.h"

namespace
{

using namespace Velkor;
using namespace Velkor::ScriptSupport;
using GameObjectScript::kCloneMethod;
using GameObjectScript::kKindMethodsWithoutRecords;
using GameObjectScript::kNetworkDataMethods;
using System = ParticleSystem;

// Blend factors and the direction mode must be integers: anything else is a
// script error, as a script passing the wrong kind of mode should learn.
std::uint32_t CheckedInteger(lua_State* state, int index)
{
    const lua_Number value = luaL_checknumber(state, index);
    if (value != static_cast<lua_Number>(static_cast<std::int64_t>(value)))
    {
        luaL_argerror(state, index, "an integer is needed");
    }
    return ToUInt32(state, index);
}

template <void (ParticleSystemBase::*Set)(std::uint32_t)> int SetBlendFactor(System& system, lua_State* state)
{
    if (Needs(state, 1))
    {
        (system.*Set)(CheckedInteger(state, 1));
    }
    return 0;
}

int IsInViewport(System& system, lua_State* state)
{
    bool given = false;
    const Viewport* viewport = Needs(state, 1) ? ViewportArgument(state, 1, given) : nullptr;
    return given ? PushBoolean(state, viewport != nullptr && system.IsInViewport(viewport)) : 0;
}

ParticleEmitter* ToEmitter(lua_State* state, int index)
{
    return ToObjectOf<ParticleEmitter>(state, index);
}

int SetEmitter(System& system, lua_State* state)
{
    if (ParticleEmitter* emitter = Needs(state, 1) ? ToEmitter(state, 1) : nullptr)
    {
        system.SetEmitter(emitter);
    }
    return 0;
}

int GetEmitter(System& system, lua_State* state)
{
    return PushObjectOrNothing(state, system.GetEmitter());
}

// A vector as a table with "X" and "Y", or as a user datum whose fields
// are read the same way.
int SetGravity(System& system, lua_State* state)
{
    const int type = Needs(state, 1) ? lua_type(state, 1) : LUA_TNONE;
    if (type == LUA_TTABLE)
    {
        system.SetGravity(ToPoint(state, 1));
    }
    else if (type == LUA_TUSERDATA)
    {
        lua_getfield(state, 1, "X");
        lua_getfield(state, 1, "Y");
        if (IsNumber(state, -2) && IsNumber(state, -1))
        {
            system.SetGravity({ToFloat(state, -2), ToFloat(state, -1)});
        }
        lua_pop(state, 2);
    }
    return 0;
}

int GetGravity(System& system, lua_State* state)
{
    return PushVector(state, system.GetGravity());
}

template <void (System::*Set)(float, float)> int SetRange(System& system, lua_State* state)
{
    if (Needs(state, 2) && IsNumber(state, 1) && IsNumber(state, 2))
    {
        (system.*Set)(ToFloat(state, 1), ToFloat(state, 2));
    }
    return 0;
}

template <const ParticleRange<float>& (System::*Get)() const> int GetRange(System& system, lua_State* state)
{
    const ParticleRange<float>& range = (system.*Get)();
    PushNumber(state, range.low);
    return 1 + PushNumber(state, range.high);
}

template <void (System::*Set)(const Math::Vector4&, const Math::Vector4&)>
int SetColorRange(System& system, lua_State* state)
{
    if (Needs(state, 2) && IsTable(state, 1) && IsTable(state, 2))
    {
        (system.*Set)(ToColor(state, 1), ToColor(state, 2));
    }
    return 0;
}

template <const ParticleRange<Math::Vector4>& (System::*Get)() const>
int GetColorRange(System& system, lua_State* state)
{
    const ParticleRange<Math::Vector4>& range = (system.*Get)();
    PushColor(state, range.low);
    return 1 + PushColor(state, range.high);
}

template <void (System::*Set)(const Math::Vector2D&, const Math::Vector2D&)>
int SetScaleRange(System& system, lua_State* state)
{
    if (Needs(state, 2) && IsTable(state, 1) && IsTable(state, 2))
    {
        (system.*Set)(ToPoint(state, 1), ToPoint(state, 2));
    }
    return 0;
}

template <const ParticleRange<Math::Vector2D>& (System::*Get)() const>
int GetScaleRange(System& system, lua_State* state)
{
    const ParticleRange<Math::Vector2D>& range = (system.*Get)();
    PushVector(state, range.low);
    return 1 + PushVector(state, range.high);
}

int SetParticleDirection(System& system, lua_State* state)
{
    if (Needs(state, 1))
    {
        system.SetParticleDirection(CheckedInteger(state, 1));
    }
    return 0;
}

int Reset(System& system, lua_State*)
{
    system.Reset();
    return 0;
}

int WarmUp(System& system, lua_State* state)
{
    if (Needs(state, 1) && IsNumber(state, 1))
    {
        system.WarmUp(ToFloat(state, 1));
    }
    return 0;
}

constexpr auto kParticleSystemMethods = Script::MakeMethods<146>(
    kKindMethodsWithoutRecords, kNetworkDataMethods,
    Method<&SetBlendFactor<&ParticleSystemBase::SetSrcBlendFactor>>("SetSrcBlendFactor"),
    Method<&UnsignedGetter<System, &System::GetSrcBlendFactor>>("GetSrcBlendFactor"),
    Method<&SetBlendFactor<&ParticleSystemBase::SetDstBlendFactor>>("SetDstBlendFactor"),
    Method<&UnsignedGetter<System, &System::GetDstBlendFactor>>("GetDstBlendFactor"),
    Method<&IsInViewport>("IsInViewport"), Method<&FlagSetter<System, &System::SetHUDObject>>("SetHUDObject"),
    Method<&FlagGetter<System, &System::IsHUDObject>>("IsHUDObject"),
    Method<&FlagSetter<System, &System::SetUseLocalCoordinates>>("SetUseLocalCoordinates"),
    Method<&FlagGetter<System, &System::GetUseLocalCoordinates>>("GetUseLocalCoordinates"),
    Method<&SetEmitter>("SetEmitter"), Method<&GetEmitter>("GetEmitter"), Method<&SetGravity>("SetGravity"),
    Method<&GetGravity>("GetGravity"), Method<&SetRange<&System::SetEmissionRate>>("SetEmissionRate"),
    Method<&GetRange<&System::GetEmissionRate>>("GetEmissionRate"),
    Method<&FlagSetter<System, &System::SetRecycleParticles>>("SetRecycleParticles"),
    Method<&FlagGetter<System, &System::GetRecycleParticles>>("GetRecycleParticles"),
    Method<&FlagSetter<System, &System::SetDestroyIfNotRecycling>>("SetDestroyIfNotRecycling"),
    Method<&FlagGetter<System, &System::GetDestroyIfNotRecycling>>("GetDestroyIfNotRecycling"),
    Method<&SetColorRange<&System::SetParticleStartingColor>>("SetParticleStartingColor"),
    Method<&GetColorRange<&System::GetParticleStartingColor>>("GetParticleStartingColor"),
    Method<&SetColorRange<&System::SetParticleEndingColor>>("SetParticleEndingColor"),
    Method<&GetColorRange<&System::GetParticleEndingColor>>("GetParticleEndingColor"),
    Method<&SetRange<&System::SetParticleLifeTime>>("SetParticleLifeTime"),
    Method<&GetRange<&System::GetParticleLifeTime>>("GetParticleLifeTime"),
    Method<&SetRange<&System::SetParticleRotationSpeed>>("SetParticleRotationSpeed"),
    Method<&GetRange<&System::GetParticleRotationSpeed>>("GetParticleRotationSpeed"),
    Method<&SetRange<&System::SetParticleSpeed>>("SetParticleSpeed"),
    Method<&GetRange<&System::GetParticleSpeed>>("GetParticleSpeed"),
    Method<&SetScaleRange<&System::SetParticleStartingScale>>("SetParticleStartingScale"),
    Method<&GetScaleRange<&System::GetParticleStartingScale>>("GetParticleStartingScale"),
    Method<&SetScaleRange<&System::SetParticleEndingScale>>("SetParticleEndingScale"),
    Method<&GetScaleRange<&System::GetParticleEndingScale>>("GetParticleEndingScale"),
    Method<&SetParticleDirection>("SetParticleDirection"),
    Method<&UnsignedGetter<System, &System::GetParticleDirection>>("GetParticleDirection"),
    Method<&Reset>("Reset"), kCloneMethod, Method<&WarmUp>("WarmUp"));
const Script::MethodTableRegistrar g_particleSystemTable(ParticleSystem::ScriptTypeName,
                                                         kParticleSystemMethods);

} // namespace
