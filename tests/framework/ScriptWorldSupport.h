#pragma once

#include "WorldTestSupport.h"
#include "tests/script/ScriptTestState.h"

#include "pal/PAL_FileSystem.h"
#include "script/Script_LuaScript.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace WorldTest
{

// A started game with a script state of the test's own, and a folder of the
// process's own below the executable's "Resources/Scripts" for the scripts
// the test writes (tests run side by side). The game goes before the state
// at the end: its objects' scripts live in that state.
class ScriptWorldDisplayTest : public WorldDisplayTest
{
protected:
    void SetUp() override
    {
        WorldDisplayTest::SetUp();
        if (IsSkipped())
        {
            return;
        }
        script = std::make_unique<ScriptTestState>();
        own = "scripts" + std::to_string(getpid());
        folder = std::filesystem::path(PAL::GetExecutableDirectory()) / "Resources" / "Scripts" / own;
        std::filesystem::create_directories(folder);
    }

    void TearDown() override
    {
        if (!folder.empty())
        {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
        WorldDisplayTest::TearDown();
        script.reset();
    }

    // Writes the script; answers the file name its owner is given.
    std::string WriteScript(const std::string& name, const std::string& code)
    {
        std::ofstream(folder / name, std::ios::binary) << code;
        return own + "\\" + name;
    }

    // `object` as the shared global `name`.
    template <class T> void SetGlobal(const char* name, T* object)
    {
        object->PushToScript(script->Get());
        lua_setglobal(script->Get(), name);
    }

    // A global of the object's own script, as text.
    static std::string Global(const Core::Object& object, const char* name)
    {
        LuaScript* own = const_cast<Core::Object&>(object).GetScript();
        if (own == nullptr)
        {
            return "no script";
        }
        lua_State* thread = own->GetThread();
        lua_getglobal(thread, name);
        std::string value = lua_isstring(thread, -1)    ? lua_tostring(thread, -1)
                            : lua_isboolean(thread, -1) ? (lua_toboolean(thread, -1) ? "true" : "false")
                                                        : luaL_typename(thread, -1);
        lua_pop(thread, 1);
        return value;
    }

    std::unique_ptr<ScriptTestState> script;
    std::string own;
    std::filesystem::path folder;
};

} // namespace WorldTest
