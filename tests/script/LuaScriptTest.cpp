#include "ScriptTestState.h"

#include "core/Core_Object.h"
#include "pal/PAL_Window.h"
#include "script/Script_Values.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace
{

// Script files in a temporary folder removed with the fixture.
class LuaScriptTest : public testing::Test
{
protected:
    void SetUp() override
    {
        directory_ = std::filesystem::temp_directory_path() /
                     ("brillow_script_" + std::to_string(::getpid()) + "_" +
                      testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(directory_);
        // A quit left by another test must not answer for this one.
        PAL::ProcessMessages();
    }

    void TearDown() override { std::filesystem::remove_all(directory_); }

    std::string WriteScript(const std::string& name, const std::string& code)
    {
        const std::filesystem::path path = directory_ / name;
        std::ofstream(path, std::ios::binary) << code;
        return path.string();
    }

    // The global `name` as the script's own thread sees it.
    static std::string SeenBy(lua_State* thread, const char* name)
    {
        lua_getglobal(thread, name);
        const char* text = lua_tostring(thread, -1);
        std::string value = text != nullptr ? text : "nil";
        lua_pop(thread, 1);
        return value;
    }

    ScriptTestState script_;
    std::filesystem::path directory_;
};

TEST(LuaScriptWithoutState, NothingIsCreatedAndNothingFound)
{
    ASSERT_EQ(LuaScript::GetGlobalState(), nullptr);
    EXPECT_EQ(LuaScript::Create(), nullptr);
    EXPECT_EQ(LuaScript::Find("Scripts\\Ball.lua"), nullptr);
    LuaScript::Destroy(nullptr);
}

TEST_F(LuaScriptTest, ALoadedScriptKeepsItsGlobalsAndReadsTheShared)
{
    ASSERT_EQ(script_.Run("shared = 'from the host'"), "");
    const std::string file =
        WriteScript("a.lua", "own = 'mine'\nseen = shared\nfunction Twice(x) return 2 * x end");
    const std::int32_t constructed = LuaScript::GetConstructedCount();
    LuaScript* a = LuaScript::Create();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(LuaScript::GetConstructedCount(), constructed + 1);
    EXPECT_TRUE(a->IsNotLoaded());

    a->Load(file);
    EXPECT_FALSE(a->IsNotLoaded());
    EXPECT_FALSE(a->GetBytecode().empty());
    EXPECT_EQ(LuaScript::Find(file), a);
    EXPECT_EQ(LuaScript::Find(file + "x"), nullptr);
    EXPECT_EQ(SeenBy(a->GetThread(), "own"), "mine");
    EXPECT_EQ(SeenBy(a->GetThread(), "seen"), "from the host");
    EXPECT_EQ(script_.String("own"), "nil");
    EXPECT_EQ(lua_gettop(a->GetThread()), 0);

    // The shared globals map the script's thread to the script.
    lua_pushlightuserdata(script_.Get(), a->GetThread());
    lua_rawget(script_.Get(), LUA_GLOBALSINDEX);
    EXPECT_EQ(lua_touserdata(script_.Get(), -1), a);
    lua_pop(script_.Get(), 1);
}

TEST_F(LuaScriptTest, AScriptSurvivesTheStateStackBeingCleared)
{
    LuaScript* a = LuaScript::Create();
    lua_settop(script_.Get(), 0);
    lua_gc(script_.Get(), LUA_GCCOLLECT, 0);
    a->Load(WriteScript("b.lua", "value = 3"));
    EXPECT_EQ(SeenBy(a->GetThread(), "value"), "3");
}

TEST_F(LuaScriptTest, AChunkIsSharedWithAnotherScript)
{
    LuaScript* source = LuaScript::Create();
    source->Load(WriteScript("c.lua", "count = (count or 0) + 1"));
    LuaScript* copy = LuaScript::Create();
    copy->LoadChunkFrom(source);
    EXPECT_FALSE(copy->IsNotLoaded());
    EXPECT_EQ(copy->GetBytecode(), source->GetBytecode());
    EXPECT_EQ(SeenBy(copy->GetThread(), "count"), "1");
    EXPECT_EQ(SeenBy(source->GetThread(), "count"), "1");

    LuaScript* empty = LuaScript::Create();
    LuaScript* other = LuaScript::Create();
    other->LoadChunkFrom(empty);
    other->LoadChunkFrom(nullptr);
    EXPECT_TRUE(other->IsNotLoaded());
}

TEST_F(LuaScriptTest, ACompileErrorIsReportedAndPostsQuit)
{
    const std::string file = WriteScript("broken.lua", "function (");
    for (const std::string& path : {file, (directory_ / "missing.lua").string()})
    {
        LuaScript* a = LuaScript::Create();
        testing::internal::CaptureStderr();
        a->Load(path);
        const std::string report = testing::internal::GetCapturedStderr();
        EXPECT_NE(report.find("Script Error: "), std::string::npos) << report;
        EXPECT_NE(report.find(path.substr(path.rfind('/') + 1)), std::string::npos) << report;
        EXPECT_TRUE(a->IsNotLoaded());
        EXPECT_EQ(lua_gettop(a->GetThread()), 0);
        EXPECT_FALSE(PAL::ProcessMessages()) << "quit was not posted";
        EXPECT_TRUE(PAL::ProcessMessages());
    }
}

TEST_F(LuaScriptTest, ARuntimeErrorOfTheFirstRunIsReportedWithoutQuitting)
{
    LuaScript* a = LuaScript::Create();
    testing::internal::CaptureStderr();
    a->Load(WriteScript("fails.lua", "before = 1\nerror('stopped here')\nafter = 1"));
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find("Script Error: "), std::string::npos);
    EXPECT_NE(report.find("stopped here"), std::string::npos);
    EXPECT_TRUE(PAL::ProcessMessages());
    EXPECT_EQ(SeenBy(a->GetThread(), "before"), "1");
    EXPECT_EQ(SeenBy(a->GetThread(), "after"), "nil");
}

TEST_F(LuaScriptTest, DestroyDropsTheScriptAndItsThreadEntry)
{
    const std::string file = WriteScript("d.lua", "x = 1");
    LuaScript* first = LuaScript::Create();
    LuaScript* second = LuaScript::Create();
    first->Load(file);
    second->Load(file);
    lua_State* thread = first->GetThread();

    LuaScript::Destroy(first);
    EXPECT_EQ(LuaScript::Find(file), second);
    ASSERT_EQ(LuaScript::GetScripts().size(), 1u);
    lua_pushlightuserdata(script_.Get(), thread);
    lua_rawget(script_.Get(), LUA_GLOBALSINDEX);
    EXPECT_TRUE(lua_isnil(script_.Get(), -1));
    lua_pop(script_.Get(), 1);

    LuaScript::Destroy(first); // no longer listed: nothing
    LuaScript::Destroy(second);
    EXPECT_TRUE(LuaScript::GetScripts().empty());
}

// --- CopyValues ------------------------------------------------------------

class CopyValuesTest : public testing::Test
{
protected:
    void SetUp() override
    {
        from_ = LuaScript::Create()->GetThread();
        to_ = LuaScript::Create()->GetThread();
    }

    // Pushes the values `code` returns onto the source.
    void Source(const std::string& code)
    {
        ASSERT_EQ(luaL_loadstring(from_, ("return " + code).c_str()), 0);
        ASSERT_EQ(lua_pcall(from_, 0, LUA_MULTRET, 0), 0);
    }

    std::string Describe(lua_State* state, int index)
    {
        switch (lua_type(state, index))
        {
        case LUA_TTABLE:
        {
            lua_getfield(state, index, "className");
            std::string text = lua_tostring(state, -1) != nullptr ? lua_tostring(state, -1) : "table";
            lua_pop(state, 1);
            return text;
        }
        case LUA_TUSERDATA:
            return Script::GetTypeName(state, index) != nullptr ? Script::GetTypeName(state, index)
                                                                : "userdata";
        default:
            lua_getglobal(state, "tostring");
            lua_pushvalue(state, index);
            lua_call(state, 1, 1);
            std::string text = lua_tostring(state, -1);
            lua_pop(state, 1);
            return text;
        }
    }

    std::string Target()
    {
        std::string text;
        for (int i = 1; i <= lua_gettop(to_); ++i)
        {
            text += (i > 1 ? " " : "") + Describe(to_, i);
        }
        return text;
    }

    ScriptTestState script_;
    lua_State* from_ = nullptr;
    lua_State* to_ = nullptr;
};

TEST_F(CopyValuesTest, RangesFollowSkipAndCount)
{
    struct Case
    {
        std::uint32_t skip;
        std::int32_t count;
        std::int32_t copied;
        const char* target;
    };
    const Case cases[] = {
        {0, 2, 2, "4 5"},                               // the last two of five
        {0, 5, 5, "1 2 3 4 5"}, {0, 7, 5, "1 2 3 4 5"}, // past the top: passed over
        {0, 0, 0, ""},          {1, 0, 3, "3 4 5"},     // skip 1: from index 3 on
        {2, 9, 2, "4 5"},
    };
    for (const Case& c : cases)
    {
        lua_settop(from_, 0);
        lua_settop(to_, 0);
        Source("1, 2, 3, 4, 5");
        EXPECT_EQ(LuaScript::CopyValues(from_, to_, c.skip, c.count), c.copied) << c.skip << " " << c.count;
        EXPECT_EQ(Target(), c.target) << c.skip << " " << c.count;
        EXPECT_EQ(lua_gettop(from_), 5);
    }

    lua_settop(from_, 0);
    lua_settop(to_, 0);
    Source("1");
    EXPECT_EQ(LuaScript::CopyValues(from_, to_, 1, 0), 0);
}

TEST_F(CopyValuesTest, ValuesAreCopiedByKindAndOnlyPushedOnesCount)
{
    Core::Object object;
    object.PushToScript(from_);
    lua_setglobal(from_, "object");
    Source("nil, true, 'te\\0xt', 2.5, CreatePoint(1, 2), CreateVector(3, 4), CreateColor(0.5, 0, 0, 1), "
           "{}, {className = 'Other'}, print, object, io.stdout, coroutine.create(function() end), "
           "{className = 'Point2D', X = 'no', Y = 7}");
    const int sourceCount = lua_gettop(from_);
    const std::int32_t copied = LuaScript::CopyValues(from_, to_, 0, sourceCount);
    EXPECT_EQ(copied, lua_gettop(to_));
    EXPECT_EQ(Target(), "nil true te 2.5 Point2D Vector2D Color Object Point2D");
    EXPECT_EQ(lua_gettop(from_), sourceCount);

    std::size_t length = 0;
    lua_tolstring(to_, 3, &length);
    EXPECT_EQ(length, 5u);
    EXPECT_EQ(lua_tonumber(to_, 4), 2.5);
    EXPECT_EQ(LuaToPoint2D(to_, 5), Math::Vector2D(1, 2));
    EXPECT_EQ(LuaToVector2D(to_, 6), Math::Vector2D(3, 4));
    EXPECT_EQ(LuaToColor(to_, 7).x, 0.5f);
    EXPECT_EQ(Script::ToObject(to_, 8, "Object"), &object);
    // A field that is no number comes over as 0 rather than failing.
    EXPECT_EQ(LuaToPoint2D(to_, 9), Math::Vector2D(0, 7));
    // Within one state the userdata itself moves over.
    lua_getglobal(from_, "object");
    lua_xmove(from_, to_, 1);
    EXPECT_TRUE(lua_rawequal(to_, 8, -1));
}

TEST_F(CopyValuesTest, ATargetWithoutRoomGetsNothing)
{
    // Together the two stacks exceed what one script stack may hold.
    constexpr int sourceCount = 6000;
    constexpr int targetCount = 3000;
    ASSERT_NE(lua_checkstack(from_, sourceCount), 0);
    ASSERT_NE(lua_checkstack(to_, targetCount), 0);
    for (int i = 0; i < sourceCount; ++i)
    {
        lua_pushnumber(from_, i);
    }
    for (int i = 0; i < targetCount; ++i)
    {
        lua_pushboolean(to_, 1);
    }
    EXPECT_EQ(LuaScript::CopyValues(from_, to_, 0, sourceCount), 0);
    EXPECT_EQ(lua_gettop(to_), targetCount);
    EXPECT_EQ(lua_gettop(from_), sourceCount);

    // With the room back the same range comes over whole.
    lua_settop(to_, 0);
    EXPECT_EQ(LuaScript::CopyValues(from_, to_, 0, sourceCount), sourceCount);
    EXPECT_EQ(lua_tonumber(to_, sourceCount), sourceCount - 1);
}

TEST_F(CopyValuesTest, AnObjectCopiedToAnotherStateIsPushedAgain)
{
    lua_State* other = luaL_newstate();
    Core::Object object;
    object.PushToScript(from_);
    EXPECT_EQ(LuaScript::CopyValues(from_, other, 0, 1), 1);
    EXPECT_EQ(Script::ToObject(other, 1, "Object"), &object);
    EXPECT_EQ(LuaScript::CopyValues(from_, nullptr, 0, 1), 0);
    lua_close(other);
}

} // namespace
