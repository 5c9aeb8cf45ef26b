#pragma once

// Shared pieces of the collision world's script methods (the
// Collision_*ScriptMethods.cpp sources). Only those sources include it: it
// brings the interpreter's headers in.
//
// Conventions of every collision method: arguments start at stack index 1
// and are read by position; with fewer arguments than it needs a method does
// nothing and pushes nothing. Numbers are read without raising script errors
// (a value that is no number reads as 0) and truncated towards zero; ids,
// user ids and indices keep the low 32 bits, layer indices and z values the
// low 8 bits, as two's complement gives them. Flags follow the script's
// truth rule (only nil and false are false). A user datum of the wrong type
// where an object is asked for makes the method do nothing.

#include "collision/Collision_Id.h"
#include "math/Math_Vector2D.h"
#include "script/Script_Binding.h"
#include "script/Script_Lua.h"

#include <cmath>
#include <cstdint>

namespace Collision2D::ScriptSupport
{

inline bool Needs(lua_State* state, int count)
{
    return lua_gettop(state) >= count;
}

// trunc(n) modulo 2^32; not-a-number and infinities give 0.
inline std::uint32_t UInt32OfScriptNumber(double n)
{
    if (!std::isfinite(n))
    {
        return 0;
    }
    double low = std::fmod(std::trunc(n), 4294967296.0);
    if (low < 0.0)
    {
        low += 4294967296.0;
    }
    return static_cast<std::uint32_t>(low);
}

inline std::uint32_t ToUInt32(lua_State* state, int index)
{
    return UInt32OfScriptNumber(lua_tonumber(state, index));
}

inline std::int32_t ToInt32(lua_State* state, int index)
{
    return Script::ToInt32(lua_tonumber(state, index));
}

inline std::uint8_t ToLowByte(lua_State* state, int index)
{
    return LowByteOfScriptNumber(lua_tonumber(state, index));
}

inline float ToFloat(lua_State* state, int index)
{
    return static_cast<float>(lua_tonumber(state, index));
}

inline bool ToFlag(lua_State* state, int index)
{
    return lua_toboolean(state, index) != 0;
}

// The engine object of exactly type T's script class at `index`, or null.
template <class T> T* ToUserdata(lua_State* state, int index)
{
    return Script::ToObject<T>(state, index, T::ScriptTypeName);
}

inline int PushUnsigned(lua_State* state, std::uint32_t value)
{
    lua_pushnumber(state, static_cast<lua_Number>(value));
    return 1;
}

inline int PushInteger(lua_State* state, std::int32_t value)
{
    lua_pushinteger(state, static_cast<lua_Integer>(value));
    return 1;
}

inline int PushNumber(lua_State* state, float value)
{
    lua_pushnumber(state, static_cast<lua_Number>(value));
    return 1;
}

inline int PushBoolean(lua_State* state, bool value)
{
    lua_pushboolean(state, value ? 1 : 0);
    return 1;
}

// A method handing its first argument, read by To, to the setter Set of
// its object; nothing without an argument.
template <class T, auto Set, auto To> int ArgumentSetter(T& object, lua_State* state)
{
    if (Needs(state, 1))
    {
        (object.*Set)(To(state, 1));
    }
    return 0;
}

// A copy of a value (a rectangle, circle or segment) that the script owns,
// so no script keeps an address into storage the engine may replace.
template <class T> int PushCopy(lua_State* state, const T& value)
{
    Script::PushOwnedCopy(state, value, T::ScriptTypeName);
    return 1;
}

} // namespace Collision2D::ScriptSupport
