// Script methods of the mouse and the keyboard. Button numbers and key codes
// are script numbers truncated to integers; a method that takes one returns
// no values when called without it.
#include "input/Input_KeyboardImp.h"
#include "input/Input_MouseImp.h"
#include "script/Script_Lua.h"
#include "script/Script_MethodTable.h"
#include "script/Script_Values.h"

namespace
{

using Input::KeyboardImp;
using Input::MouseImp;

// --- MouseImp ------------------------------------------------------------

int MouseGetPosition(MouseImp& mouse, lua_State* state)
{
    LuaPushPoint2D(state, mouse.GetPosition());
    return 1;
}

int MouseGetPositionX(MouseImp& mouse, lua_State* state)
{
    lua_pushnumber(state, mouse.GetPositionX());
    return 1;
}

int MouseGetPositionY(MouseImp& mouse, lua_State* state)
{
    lua_pushnumber(state, mouse.GetPositionY());
    return 1;
}

template <bool (MouseImp::*Query)() const> int MouseFlag(MouseImp& mouse, lua_State* state)
{
    lua_pushboolean(state, (mouse.*Query)());
    return 1;
}

template <bool (MouseImp::*Query)(std::int32_t) const> int MouseButton(MouseImp& mouse, lua_State* state)
{
    if (lua_gettop(state) < 1)
    {
        return 0;
    }
    lua_pushboolean(state, (mouse.*Query)(Script::CheckInt32(state, 1)));
    return 1;
}

constexpr auto kMouseMethods = Script::MakeMethods<10>(
    Script::Method<&MouseGetPosition>("GetPosition"), Script::Method<&MouseGetPositionX>("GetPositionX"),
    Script::Method<&MouseGetPositionY>("GetPositionY"),
    Script::Method<&MouseFlag<&MouseImp::IsInWindow>>("IsInWindow"),
    Script::Method<&MouseFlag<&MouseImp::IsMoved>>("IsMoved"),
    Script::Method<&MouseButton<&MouseImp::IsPressed>>("IsPressed"),
    Script::Method<&MouseButton<&MouseImp::IsTriggered>>("IsTriggered"),
    Script::Method<&MouseButton<&MouseImp::IsDown>>("IsDown"),
    Script::Method<&MouseButton<&MouseImp::IsUp>>("IsUp"),
    Script::Method<&MouseFlag<&MouseImp::IsCursorVisible>>("IsCursorVisible"));

const Script::MethodTableRegistrar g_mouseTable("MouseImp", kMouseMethods);

// --- KeyboardImp -------------------------------------------------------------

template <bool (KeyboardImp::*Query)(std::int32_t) const>
int KeyboardKey(KeyboardImp& keyboard, lua_State* state)
{
    if (lua_gettop(state) < 1)
    {
        return 0;
    }
    lua_pushboolean(state, (keyboard.*Query)(Script::CheckInt32(state, 1)));
    return 1;
}

int KeyboardAnyKey(KeyboardImp& keyboard, lua_State* state)
{
    lua_pushboolean(state, keyboard.AnyKey());
    return 1;
}

// The first qualifying key code, or no value.
template <bool (KeyboardImp::*Query)(std::int32_t&) const>
int KeyboardFirstKey(KeyboardImp& keyboard, lua_State* state)
{
    std::int32_t key = 0;
    if (!(keyboard.*Query)(key))
    {
        return 0;
    }
    lua_pushnumber(state, key);
    return 1;
}

int KeyboardGetKeyAsChar(KeyboardImp& keyboard, lua_State* state)
{
    if (lua_gettop(state) < 1)
    {
        return 0;
    }
    const char typed = keyboard.GetKeyAsChar(Script::CheckInt32(state, 1));
    lua_pushnumber(state, static_cast<unsigned char>(typed));
    return 1;
}

constexpr auto kKeyboardMethods = Script::MakeMethods<8>(
    Script::Method<&KeyboardKey<&KeyboardImp::IsPressed>>("IsPressed"),
    Script::Method<&KeyboardKey<&KeyboardImp::IsTriggered>>("IsTriggered"),
    Script::Method<&KeyboardKey<&KeyboardImp::IsDown>>("IsDown"),
    Script::Method<&KeyboardKey<&KeyboardImp::IsUp>>("IsUp"), Script::Method<&KeyboardAnyKey>("AnyKey"),
    Script::Method<&KeyboardFirstKey<&KeyboardImp::GetPressed>>("GetPressed"),
    Script::Method<&KeyboardFirstKey<&KeyboardImp::GetTriggered>>("GetTriggered"),
    Script::Method<&KeyboardGetKeyAsChar>("GetKeyAsChar"));

const Script::MethodTableRegistrar g_keyboardTable("KeyboardImp", kKeyboardMethods);

} // namespace
