#include "DrawableTestSupport.h"

#include "core/Core_ClassRegistry.h"
#include "engine/Engine_SpriteAnimation.h"
#include "script/Script_Binding.h"
#include "script/Script_Lua.h"
#include "script/Script_MethodTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Core::RefPtr;

namespace
{

TEST(EngineRegistration, EveryEngineClassNameCreatesItsClass)
{
    for (const char* name : {"Engine::Node", "Engine::Group", "Engine::TransformationGroup", "Engine::Text",
                             "Engine::SpriteAnimation", "Engine::Sprite"})
    {
        SCOPED_TRACE(name);
        const RefPtr<Core::Object> object(Core::CreateObject(name));
        ASSERT_TRUE(object);
        EXPECT_STREQ(object->GetClassName(), name);
    }
}

TEST(SpriteAnimationScriptTable, HoldsElevenMethodsInOrder)
{
    const Script::MethodTable* table = Script::FindMethodTable("SpriteAnimation");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(Script::CheckMethodTable(*table), "");
    std::vector<std::string> names;
    for (std::size_t i = 0; i < table->count; ++i)
    {
        names.push_back(table->records[i].name);
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"SetName", "SetName", "GetName", "GetFrameWidth", "GetFrameHeight",
                                        "GetFramesCount", "GetFrameDelay", "SetLoopStartingFrame",
                                        "GetLoopStartingFrame", "SetLoopEndingFrame", "GetLoopEndingFrame"}));
}

class SpriteAnimationScript : public ::testing::Test
{
protected:
    SpriteAnimationScript()
    {
        setenv("ENGINE_HEADLESS", "1", 1);
        luaL_openlibs(state);
        Script::RegisterAll(state);
    }
    ~SpriteAnimationScript() override { lua_close(state); }

    // Runs `code` protected; the error text, or empty on success.
    std::string Run(const std::string& code)
    {
        std::string error;
        if (luaL_loadstring(state, code.c_str()) != 0 || lua_pcall(state, 0, 0, 0) != 0)
        {
            error = lua_tostring(state, -1);
            lua_pop(state, 1);
        }
        return error;
    }

    lua_State* state = luaL_newstate();
};

TEST_F(SpriteAnimationScript, ScriptsReadAndSetTheAnimation)
{
    const RefPtr<Engine::SpriteAnimation> animation(new Engine::SpriteAnimation(
        SceneTest::MakeTexture("sheet"), 16, 8, {{0, 0, 0.1f}, {1, 0, 0.5f}, {2, 0, 0.25f}, {3, 0, 1.0f}}));
    animation->PushToScript(state);
    lua_setglobal(state, "a");

    ASSERT_EQ(Run("a:SetName('walk')\n"
                  "assert(a:GetName() == 'walk')\n"
                  "a:SetName({})\n"
                  "a:SetName()\n"
                  "assert(a:GetName() == 'walk')\n"
                  "a:SetName(12)\n"
                  "assert(a:GetFrameWidth() == 16 and a:GetFrameHeight() == 8)\n"
                  "assert(a:GetFramesCount() == 4)\n"
                  "assert(a:GetFrameDelay(1) == 0.5)\n"
                  "assert(a:GetFrameDelay(9) == 0 and a:GetFrameDelay(-1) == 0)\n"
                  "assert(select('#', a:GetFrameDelay()) == 0)\n"
                  "assert(a:GetLoopEndingFrame() == 3)\n"
                  "a:SetLoopStartingFrame(1.9)\n"
                  "a:SetLoopEndingFrame(40)\n"
                  "a:SetLoopEndingFrame()\n"
                  "assert(a:GetLoopStartingFrame() == 1 and a:GetLoopEndingFrame() == 3)\n"),
              "");
    EXPECT_EQ(animation->GetName(), "12");
    EXPECT_EQ(animation->GetLoopStartingFrame(), 1);
}

} // namespace
