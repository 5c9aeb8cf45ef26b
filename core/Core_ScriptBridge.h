#pragma once

// The foundation sits below the script glue, so objects and math values reach
// the interpreter through one function that the script module installs at
// start-up. Until it is installed, pushing does nothing.

#include <cstddef>

struct lua_State;
class LuaScript;

namespace Core
{

// Pushes a full userdata holding `object` (pointer-sized) and gives it the
// metatable registered under `scriptTypeName`.
using PushUserdataFunction = void (*)(lua_State* state, void* object, const char* scriptTypeName);

void SetPushUserdataFunction(PushUserdataFunction function);
void PushUserdata(lua_State* state, void* object, const char* scriptTypeName);

// Script handles must not outlive their objects. Every pooled object's bytes
// pass through ForgetUserdata as the object is freed; the script module
// installs the function that clears the handles holding an address inside
// [begin, begin + size), so a later call through one raises a script error
// instead of touching freed memory. Until it is installed, nothing happens.
using ForgetUserdataFunction = void (*)(const void* begin, std::size_t size);

void SetForgetUserdataFunction(ForgetUserdataFunction function);
void ForgetUserdata(const void* begin, std::size_t size);

} // namespace Core
