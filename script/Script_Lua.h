#pragma once

// The one place the interpreter's headers come in. Lua 5.1 is a C library
// built without C++ exceptions: a script error unwinds with longjmp, so code
// that may raise one (luaL_check*, lua_error, lua_call) keeps no object with a
// destructor alive in the frames it unwinds.
#include <lua.hpp>

#include "core/Core_Assert.h"

#include <cstdint>

namespace Script
{

// A stack index that stays valid while values are pushed: negative relative
// indices become absolute; pseudo-indices (registry, globals, upvalues) and
// absolute ones are returned as they are.
inline int AbsoluteIndex(lua_State* state, int index)
{
    if (index < 0 && index > LUA_REGISTRYINDEX)
    {
        return lua_gettop(state) + index + 1;
    }
    return index;
}

// The stack top where assertions are on, 0 elsewhere. A binding helper
// promises how far it moves the top (a push one value, a reader none); one
// that leaves a value too many or too few shifts every index its callers
// hold. The helpers note the top on entry and assert the promise on the way
// out: ENGINE_ASSERT(lua_gettop(state) == top + 1).
inline int StackTopForAssert([[maybe_unused]] lua_State* state)
{
#if ENGINE_ASSERTS_ENABLED
    return lua_gettop(state);
#else
    return 0;
#endif
}

// A script number as a 32-bit integer, truncated towards zero. Numbers past
// the range saturate and NaN gives 0, so no script value makes the
// conversion undefined.
inline std::int32_t ToInt32(lua_Number value)
{
    if (!(value == value))
    {
        return 0;
    }
    if (value >= 2147483647.0)
    {
        return 2147483647;
    }
    if (value <= -2147483648.0)
    {
        return -2147483647 - 1;
    }
    return static_cast<std::int32_t>(value);
}

// The argument at `index` through ToInt32; a script error when it is no
// number.
inline std::int32_t CheckInt32(lua_State* state, int index)
{
    return ToInt32(luaL_checknumber(state, index));
}

} // namespace Script
