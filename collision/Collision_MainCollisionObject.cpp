#include "collision/Collision_MainCollisionObject.h"

#include "core/Core_ScriptBridge.h"

namespace Collision2D
{

MainCollisionObject::~MainCollisionObject() = default;

LuaScript* MainCollisionObject::GetScript()
{
    return nullptr;
}

void MainCollisionObject::PushToScript(lua_State* state)
{
    Core::PushUserdata(state, this, ScriptTypeName);
}

} // namespace Collision2D
