// The particle emitter's script: the base's answers through it, its loading
// and copy, and the script method table shared by every emitter type.
// Conventions: Velkor_ScriptSupport.h.
#include "framework/Velkor_ParticleEmitter.h"
#include "framework/Velkor_ScriptSupport.h"
#include "script/Script_LuaScript.h"

namespace Velkor
{

void ParticleEmitter::GetPositionAndDirection(float dt, Math::Vector2D& position, Math::Vector2D& direction)
{
    if (!ScriptRuns())
    {
        return;
    }
    lua_State* thread = script_.GetScript()->GetThread();
    const int base = lua_gettop(thread);
    if (lua_checkstack(thread, 4) == 0)
    {
        return;
    }
    lua_getglobal(thread, "GetPositionAndDirection");
    if (!lua_isfunction(thread, -1))
    {
        lua_settop(thread, base);
        return;
    }
    lua_pushnumber(thread, static_cast<lua_Number>(dt));
    if (lua_pcall(thread, 1, 2, 0) != 0)
    {
        // A failing answer is no answer; the script sees its error only
        // through the outputs staying as they were.
        lua_settop(thread, base);
        return;
    }
    if (lua_type(thread, -2) == LUA_TTABLE && lua_type(thread, -1) == LUA_TTABLE)
    {
        position = ScriptSupport::ToPoint(thread, -2);
        direction = ScriptSupport::ToPoint(thread, -1);
    }
    lua_settop(thread, base);
}

void ParticleEmitter::Update(float dt)
{
    if (ScriptRuns())
    {
        script_.Call("Update", dt);
    }
}

void ParticleEmitter::RunScript()
{
    script_.Load(*this, false);
}

ParticleEmitter* ParticleEmitter::CloneWithScript()
{
    auto* clone = static_cast<ParticleEmitter*>(Clone());
    if (!script_.IsLoaded() || script_.GetScript() == nullptr || !clone->script_.CreateScript())
    {
        return clone;
    }
    ScriptAttachment& copy = clone->script_;
    copy.SetCloned(true);
    copy.SetGlobal("self", clone);
    copy.LoadFromSource();
    for (std::size_t i = 0; i < managedObjects_.size(); ++i)
    {
        Core::Object* managed = managedObjects_[i] ? managedObjects_[i]->Clone() : nullptr;
        clone->AddManagedObject(managed, managedObjectNames_[i]);
        copy.SetGlobal(managedObjectNames_[i].c_str(), managed);
    }
    if (clone->ScriptRuns())
    {
        copy.Call("OnClone", this);
    }
    return clone;
}

} // namespace Velkor

namespace
{

using namespace Velkor;
using namespace Velkor::ScriptSupport;

int ObjectFunction(ParticleEmitter& emitter, lua_State* state)
{
    return emitter.GetScriptAttachment().ObjectFunction(state);
}

int GetPositionAndDirection(ParticleEmitter& emitter, lua_State* state)
{
    if (!Needs(state, 1) || !IsNumber(state, 1))
    {
        return 0;
    }
    Math::Vector2D position;
    Math::Vector2D direction;
    emitter.GetPositionAndDirection(ToFloat(state, 1), position, direction);
    PushPoint(state, position);
    return 1 + PushVector(state, direction);
}

int Clone(ParticleEmitter& emitter, lua_State* state)
{
    PushHeld(state, emitter.CloneWithScript());
    return 1;
}

int SetScript(ParticleEmitter& emitter, lua_State* state)
{
    return TextSetter<ParticleEmitter, &ParticleEmitter::SetScriptFile>(emitter, state);
}

int RunScript(ParticleEmitter& emitter, lua_State*)
{
    emitter.RunScript();
    return 0;
}

constexpr auto kEmitterMethods = Script::MakeMethods<6>(
    Method<&ObjectFunction>("ObjectFunction"), Method<&GetPositionAndDirection>("GetPositionAndDirection"),
    Method<&Clone>("Clone"), Method<&SetScript>("SetScript"), Method<&RunScript>("RunScript"),
    Method<&AddManagedObject<ParticleEmitter, Core::Object>>("AddManagedObject"));
const Script::MethodTableRegistrar g_emitterTable(ParticleEmitter::ScriptTypeName, kEmitterMethods);
const Script::MethodTableRegistrar g_pointTable(PointEmitter::ScriptTypeName, kEmitterMethods);
const Script::MethodTableRegistrar g_lineTable(LineEmitter::ScriptTypeName, kEmitterMethods);
const Script::MethodTableRegistrar g_circleTable(CircleEmitter::ScriptTypeName, kEmitterMethods);
const Script::MethodTableRegistrar g_diskTable(DiskEmitter::ScriptTypeName, kEmitterMethods);
const Script::MethodTableRegistrar g_rectangleTable(RectangleEmitter::ScriptTypeName, kEmitterMethods);
const Script::MethodTableRegistrar g_filledRectangleTable(FilledRectangleEmitter::ScriptTypeName,
                                                          kEmitterMethods);

} // namespace
