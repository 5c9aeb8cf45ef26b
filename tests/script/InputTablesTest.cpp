#include "ScriptTestState.h"

#include "input/Input_KeyboardImp.h"
#include "input/Input_MouseImp.h"
#include "input/Input_Records.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

TEST(InputTables, MouseMethodsReadTheMouse)
{
    ScriptTestState script;
    Core::RefPtr<Input::MouseImp> mouse = Input::MouseImp::CreateExternal();
    Input::MouseState state;
    state.buttons[0].pressed = 1;
    state.buttons[2].up = 1;
    state.x = 12;
    state.y = 34;
    state.moved = 1;
    ASSERT_TRUE(mouse->LoadState(&state, sizeof(state)));
    mouse->PushToScript(script.Get());
    lua_setglobal(script.Get(), "mouse");

    EXPECT_EQ(script.Number("mouse:GetPosition().X + 1000 * mouse:GetPosition().Y"), 34012.0);
    EXPECT_EQ(script.Number("mouse:GetPositionX()"), 12.0);
    EXPECT_EQ(script.Number("mouse:GetPositionY()"), 34.0);
    EXPECT_EQ(script.String("mouse:IsMoved()"), "true");
    EXPECT_EQ(script.String("mouse:IsPressed(0)"), "true");
    EXPECT_EQ(script.String("mouse:IsPressed(1.9)"), "false");
    EXPECT_EQ(script.String("mouse:IsUp(2)"), "true");
    EXPECT_EQ(script.String("mouse:IsDown(7)"), "false");
    EXPECT_EQ(script.Number("select('#', mouse:IsTriggered())"), 0.0);
    EXPECT_NE(script.Run("mouse:IsPressed('left')").find("number expected"), std::string::npos);
    EXPECT_EQ(script.String("type(mouse:IsInWindow()) .. type(mouse:IsCursorVisible())"), "booleanboolean");
}

TEST(InputTables, KeyboardMethodsReadTheKeyboard)
{
    ScriptTestState script;
    Core::RefPtr<Input::KeyboardImp> keyboard = Input::KeyboardImp::CreateExternal();
    Input::KeyRecord held;
    held.pressed = 1;
    held.held = 1;
    ASSERT_TRUE(keyboard->ApplyEvents({'A'}, {held}));
    keyboard->PushToScript(script.Get());
    lua_setglobal(script.Get(), "keyboard");

    constexpr int engineA = 53;
    EXPECT_EQ(script.String("keyboard:IsPressed(53)"), "true");
    EXPECT_EQ(script.String("keyboard:IsTriggered(53)"), "false");
    EXPECT_EQ(script.String("keyboard:IsPressed(1e300)"), "false");
    EXPECT_EQ(script.String("keyboard:AnyKey()"), "true");
    EXPECT_EQ(script.Number("keyboard:GetPressed()"), engineA);
    EXPECT_EQ(script.Number("select('#', keyboard:GetTriggered())"), 0.0);
    EXPECT_EQ(script.Number("keyboard:GetKeyAsChar(53)"), keyboard->GetKeyAsChar(engineA));
    EXPECT_EQ(script.Number("select('#', keyboard:IsUp())"), 0.0);
    EXPECT_EQ(script.Number("select('#', keyboard:GetKeyAsChar())"), 0.0);
}

} // namespace
