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

// Queries both devices answer: a flag of the whole device, and a flag of one
// button or key, read from the code given.
template <class Device> struct Queries
{
    template <bool (Device::*Query)() const> static int Flag(Device& device, lua_State* state)
    {
        lua_pushboolean(state, (device.*Query)());
        return 1;
    }

    template <bool (Device::*Query)(std::int32_t) const> static int CodeFlag(Device& device, lua_State* state)
    {
        if (lua_gettop(state) < 1)
        {
            return 0;
        }
        lua_pushboolean(state, (device.*Query)(Script::CheckInt32(state, 1)));
        return 1;
    }
};

// --- MouseImp ------------------------------------------------------------

using Mouse = Queries<MouseImp>;

int MouseGetPosition(MouseImp& mouse, lua_State* state)
{
    LuaPushPoint2D(state, mouse.GetPosition());
    return 1;
}

template <std::int32_t (MouseImp::*Coordinate)() const> int MouseCoordinate(MouseImp& mouse, lua_State* state)
{
    lua_pushnumber(state, (mouse.*Coordinate)());
    return 1;
}

constexpr auto kMouseMethods =
    Script::MakeMethods<10>(Script::Method<&MouseGetPosition>("GetPosition"),
                            Script::Method<&MouseCoordinate<&MouseImp::GetPositionX>>("GetPositionX"),
                            Script::Method<&MouseCoordinate<&MouseImp::GetPositionY>>("GetPositionY"),
                            Script::Method<&Mouse::Flag<&MouseImp::IsInWindow>>("IsInWindow"),
                            Script::Method<&Mouse::Flag<&MouseImp::IsMoved>>("IsMoved"),
                            Script::Method<&Mouse::CodeFlag<&MouseImp::IsPressed>>("IsPressed"),
                            Script::Method<&Mouse::CodeFlag<&MouseImp::IsTriggered>>("IsTriggered"),
                            Script::Method<&Mouse::CodeFlag<&MouseImp::IsDown>>("IsDown"),
                            Script::Method<&Mouse::CodeFlag<&MouseImp::IsUp>>("IsUp"),
                            Script::Method<&Mouse::Flag<&MouseImp::IsCursorVisible>>("IsCursorVisible"));

const Script::MethodTableRegistrar g_mouseTable("MouseImp", kMouseMethods);

// --- KeyboardImp -------------------------------------------------------------

using Keyboard = Queries<KeyboardImp>;

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

constexpr auto kKeyboardMethods =
    Script::MakeMethods<8>(Script::Method<&Keyboard::CodeFlag<&KeyboardImp::IsPressed>>("IsPressed"),
                           Script::Method<&Keyboard::CodeFlag<&KeyboardImp::IsTriggered>>("IsTriggered"),
                           Script::Method<&Keyboard::CodeFlag<&KeyboardImp::IsDown>>("IsDown"),
                           Script::Method<&Keyboard::CodeFlag<&KeyboardImp::IsUp>>("IsUp"),
                           Script::Method<&Keyboard::Flag<&KeyboardImp::AnyKey>>("AnyKey"),
                           Script::Method<&KeyboardFirstKey<&KeyboardImp::GetPressed>>("GetPressed"),
                           Script::Method<&KeyboardFirstKey<&KeyboardImp::GetTriggered>>("GetTriggered"),
                           Script::Method<&KeyboardGetKeyAsChar>("GetKeyAsChar"));

const Script::MethodTableRegistrar g_keyboardTable("KeyboardImp", kKeyboardMethods);

} // namespace
