#pragma once

#include "script/Script_Binding.h"
#include "script/Script_Lua.h"
#include "script/Script_LuaScript.h"

#include <cstdlib>
#include <string>
#include <vector>

// A script state owned by one test, prepared as a host would: standard
// libraries, every registered table and global, and set as the state that
// scripts are made in. Scripts still alive at the end are destroyed before
// the state closes.
class ScriptTestState
{
public:
    ScriptTestState() : state_(luaL_newstate())
    {
        // Script errors are reported on standard error, never in a box.
        setenv("ENGINE_HEADLESS", "1", 1);
        luaL_openlibs(state_);
        Script::RegisterAll(state_);
        LuaScript::SetGlobalState(state_);
    }

    ~ScriptTestState()
    {
        while (!LuaScript::GetScripts().empty())
        {
            LuaScript::Destroy(LuaScript::GetScripts().back());
        }
        LuaScript::SetGlobalState(nullptr);
        lua_close(state_);
    }

    ScriptTestState(const ScriptTestState&) = delete;
    ScriptTestState& operator=(const ScriptTestState&) = delete;

    lua_State* Get() const { return state_; }

    // Runs `code` protected; the error text, or empty on success. Results
    // are left on the stack.
    std::string Run(const std::string& code, int results = 0) const
    {
        if (luaL_loadstring(state_, code.c_str()) != 0 || lua_pcall(state_, 0, results, 0) != 0)
        {
            std::string error = lua_tostring(state_, -1);
            lua_pop(state_, 1);
            return error;
        }
        return {};
    }

    // Runs `code` and returns its one result as a number.
    double Number(const std::string& code) const
    {
        const std::string error = Run("return " + code, 1);
        if (!error.empty())
        {
            return -12345.0;
        }
        const double value = lua_tonumber(state_, -1);
        lua_pop(state_, 1);
        return value;
    }

    std::string String(const std::string& code) const
    {
        const std::string error = Run("return tostring(" + code + ")", 1);
        if (!error.empty())
        {
            return "error: " + error;
        }
        std::string value = lua_tostring(state_, -1);
        lua_pop(state_, 1);
        return value;
    }

private:
    lua_State* state_;
};
