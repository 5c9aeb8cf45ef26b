#pragma once

// The one place the interpreter's headers come in. Lua 5.1 is a C library
// built without C++ exceptions: a script error unwinds with longjmp, so code
// that may raise one (luaL_check*, lua_error, lua_call) keeps no object with a
// destructor alive in the frames it unwinds.
#include <lua.hpp>

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

} // namespace Script
