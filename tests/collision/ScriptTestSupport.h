#pragma once

#include "CollisionTestSupport.h"

#include "script/Script_Binding.h"
#include "script/Script_Lua.h"

#include <cstdlib>
#include <string>

namespace CollisionTest
{

// A script state owned by one test, prepared as a host would: standard
// libraries and every registered table and global. Script errors are
// reported on standard error, never in a box.
class ScriptFixture : public CollisionFixture
{
protected:
    ScriptFixture()
    {
        setenv("ENGINE_HEADLESS", "1", 1);
        luaL_openlibs(state);
        Script::RegisterAll(state);
    }
    ~ScriptFixture() override { lua_close(state); }

    // Makes `object` the script global `name`.
    template <class T> void SetGlobal(const char* name, T& object)
    {
        object.PushToScript(state);
        lua_setglobal(state, name);
    }

    void SetNumber(const char* name, double value)
    {
        lua_pushnumber(state, value);
        lua_setglobal(state, name);
    }

    // Runs `code` protected; the error text, or empty on success. The stack
    // is left as it was.
    std::string Run(const std::string& code)
    {
        const int top = lua_gettop(state);
        std::string error;
        if (luaL_loadstring(state, code.c_str()) != 0 || lua_pcall(state, 0, 0, 0) != 0)
        {
            error = lua_tostring(state, -1);
        }
        lua_settop(state, top);
        return error;
    }

    lua_State* state = luaL_newstate();
};

} // namespace CollisionTest
