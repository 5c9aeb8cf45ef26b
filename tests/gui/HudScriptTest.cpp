#include "HudTestSupport.h"

#include "script/Script_MethodTable.h"

#include <gtest/gtest.h>

namespace
{

using Core::RefPtr;

class HudScript : public HudTest::HudTest
{
};

TEST_F(HudScript, TablesAreCompleteAndSurviveAnyArguments)
{
    const std::vector<std::string> controlMethods = {"SetPosition",
                                                     "SetPositionX",
                                                     "SetPositionY",
                                                     "GetPosition",
                                                     "GetPositionX",
                                                     "GetPositionY",
                                                     "SetWidth",
                                                     "GetWidth",
                                                     "SetHeight",
                                                     "GetHeight",
                                                     "SetControlSize",
                                                     "GetControlSize",
                                                     "SetSkin",
                                                     "GetSkin",
                                                     "SetText",
                                                     "GetText",
                                                     "SetVisible",
                                                     "GetVisible",
                                                     "SetFont",
                                                     "GetFont",
                                                     "SetModulationColor",
                                                     "GetModulationColor",
                                                     "SetTextModulationColor",
                                                     "GetTextModulationColor",
                                                     "SetOpacity",
                                                     "GetOpacity",
                                                     "SetEnabled",
                                                     "GetEnabled",
                                                     "SetName",
                                                     "GetName",
                                                     "SetTabStop",
                                                     "GetTabStop",
                                                     "SetTabIndex",
                                                     "GetTabIndex",
                                                     "Destroy",
                                                     "GetRectangle",
                                                     "GetClientRectangle",
                                                     "GetFocused",
                                                     "SetUserData",
                                                     "GetUserData",
                                                     "AddControl",
                                                     "GetControl",
                                                     "GetParent",
                                                     "GetControlsCount",
                                                     "UpdatePosition"};
    const std::vector<std::string> hudMethods = {"ShowCursor", "IsCursorVisible", "AddForm", "GetForm",
                                                 "IsLoading"};
    const Script::MethodTable* controlTable = Script::FindMethodTable("Control");
    const Script::MethodTable* hudTable = Script::FindMethodTable("HUD");
    ASSERT_NE(controlTable, nullptr);
    ASSERT_NE(hudTable, nullptr);
    ASSERT_EQ(controlTable->count, controlMethods.size());
    ASSERT_EQ(hudTable->count, hudMethods.size());
    for (std::size_t i = 0; i < controlMethods.size(); ++i)
    {
        EXPECT_EQ(controlTable->records[i].name, controlMethods[i]);
    }
    for (std::size_t i = 0; i < hudMethods.size(); ++i)
    {
        EXPECT_EQ(hudTable->records[i].name, hudMethods[i]);
    }

    const RefPtr<GUI::Form> form = AddForm("Main", 100, 100, 300, 200);
    const RefPtr<GUI::Control> child = AddChild(*form, "Child", 10, 10, 50, 50);
    GuiTest::LuaState lua;
    lua_State* state = lua.Get();
    form->PushToScript(state);
    lua_setglobal(state, "form");
    child->PushToScript(state);
    lua_setglobal(state, "child");
    hud->PushToScript(state);
    lua_setglobal(state, "hud");

    // Working calls.
    EXPECT_EQ(
        lua.Run("child:SetPosition(5, 6); child:SetControlSize(CreateSize(70, 30)); child:SetText('hi')"),
        "");
    EXPECT_EQ(child->GetPosition(), Math::Vector2D(5, 6));
    EXPECT_EQ(child->GetWidth(), 70.0f);
    EXPECT_EQ(lua.Value("form:GetControl(1):GetText()"), "hi");
    EXPECT_EQ(lua.Value("form:GetControl('Child'):GetName()"), "Child");
    EXPECT_EQ(lua.Value("child:GetParent():GetName()"), "Main");
    EXPECT_EQ(lua.Value("hud:GetForm(0):GetName()"), "Main");
    // The close button comes first.
    EXPECT_EQ(lua.Value("hud:GetForm('Main'):GetControlsCount()"), "2");
    // Inside the form's 8-unit left border.
    EXPECT_EQ(lua.Value("child:GetRectangle():GetLeft()"), "113");
    EXPECT_EQ(lua.Value("select('#', form:GetControl(-1))"), "0");
    EXPECT_EQ(lua.Value("select('#', form:GetControl(2))"), "0");
    EXPECT_EQ(lua.Value("select('#', hud:GetForm(1))"), "0");
    EXPECT_EQ(lua.Value("select('#', hud:GetForm(-1))"), "0");
    EXPECT_EQ(lua.Value("select('#', hud:GetForm('none'))"), "0");
    EXPECT_EQ(lua.Run("hud:ShowCursor(false)"), "");
    EXPECT_FALSE(hud->IsCursorVisible());

    // Every method with no argument and with arguments of every wrong kind.
    const std::string calls = R"(
        local args = { {}, {'x'}, {{}}, {true}, {1e308}, {-1}, {0/0}, {nil, 3}, {'a', 'b', 'c'}, {hud}, {print} }
        for _, target in ipairs({child, form}) do
          for _, name in ipairs(names) do
            for _, a in ipairs(args) do
              pcall(target[name], target, unpack(a))
            end
          end
        end
        for _, name in ipairs(hudNames) do
          for _, a in ipairs(args) do
            pcall(hud[name], hud, unpack(a))
          end
        end
    )";
    lua_newtable(state);
    for (std::size_t i = 0; i < controlMethods.size(); ++i)
    {
        lua_pushstring(state, controlMethods[i].c_str());
        lua_rawseti(state, -2, static_cast<int>(i + 1));
    }
    lua_setglobal(state, "names");
    lua_newtable(state);
    for (std::size_t i = 0; i < hudMethods.size(); ++i)
    {
        lua_pushstring(state, hudMethods[i].c_str());
        lua_rawseti(state, -2, static_cast<int>(i + 1));
    }
    lua_setglobal(state, "hudNames");
    EXPECT_EQ(lua.Run(calls), "");
    // The display runs on; the controls "Destroy" queued go at its end.
    Frames(3);
    EXPECT_TRUE(hud->GetForms().empty());
}

} // namespace
