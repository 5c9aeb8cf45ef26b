#pragma once

// The foundation sits below the script glue, so objects and math values reach
// the interpreter through one function that the script module installs at
// start-up. Until it is installed, pushing does nothing.

struct lua_State;
class LuaScript;

namespace Core
{

// Pushes a full userdata holding `object` (pointer-sized) and gives it the
// metatable registered under `scriptTypeName`.
using PushUserdataFunction = void (*)(lua_State* state, void* object, const char* scriptTypeName);

void SetPushUserdataFunction(PushUserdataFunction function);
void PushUserdata(lua_State* state, void* object, const char* scriptTypeName);

} // namespace Core
