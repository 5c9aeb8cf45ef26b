#pragma once

// Shared pieces of the framework's script method tables (the
// Velkor_*ScriptMethods.cpp sources). Only those sources include it: it
// brings the interpreter's headers in.
//
// Conventions of every framework method: arguments start at stack index 1
// and are read by position; a method given fewer arguments than it needs,
// or an argument of the wrong kind where a table or an object is needed,
// does nothing and pushes nothing. Numbers are read without raising script
// errors (a value that is no number reads as 0); ids, indices and counts
// keep their low 32 bits and are pushed as non-negative numbers. Flags
// follow the script's truth rule. Points, vectors and colours are tables made
// by "CreatePoint", "CreateVector" and "CreateColor".

#include "collision/Collision_ScriptSupport.h"
#include "core/Core_Object.h"
#include "math/Math_Vector4.h"
#include "script/Script_Binding.h"
#include "script/Script_Lua.h"
#include "script/Script_MethodTable.h"
#include "script/Script_Values.h"

#include <string>

namespace Velkor
{
class Viewport;
}

namespace Velkor::ScriptSupport
{

using Collision2D::ScriptSupport::Needs;
using Collision2D::ScriptSupport::PushBoolean;
using Collision2D::ScriptSupport::PushInteger;
using Collision2D::ScriptSupport::PushNumber;
using Collision2D::ScriptSupport::PushUnsigned;
using Collision2D::ScriptSupport::ToFlag;
using Collision2D::ScriptSupport::ToFloat;
using Collision2D::ScriptSupport::ToInt32;
using Collision2D::ScriptSupport::ToLowByte;
using Collision2D::ScriptSupport::ToUInt32;
using Script::Method;

inline bool IsTable(lua_State* state, int index)
{
    return lua_type(state, index) == LUA_TTABLE;
}

inline bool IsNumber(lua_State* state, int index)
{
    return lua_type(state, index) == LUA_TNUMBER;
}

// A string argument (numbers count, as the script writes them); false
// when the value is neither.
inline bool ToText(lua_State* state, int index, std::string& text)
{
    if (lua_type(state, index) != LUA_TSTRING && lua_type(state, index) != LUA_TNUMBER)
    {
        return false;
    }
    std::size_t length = 0;
    const char* characters = lua_tolstring(state, index, &length);
    text.assign(characters, length);
    return true;
}

inline int PushText(lua_State* state, const std::string& text)
{
    lua_pushlstring(state, text.data(), text.size());
    return 1;
}

// The object pushed as itself; nil for null.
template <class T> int PushObjectOrNil(lua_State* state, T* object)
{
    if (object != nullptr)
    {
        object->PushToScript(state);
    }
    else
    {
        lua_pushnil(state);
    }
    return 1;
}

// The object pushed as itself; nothing for null.
template <class T> int PushObjectOrNothing(lua_State* state, T* object)
{
    if (object == nullptr)
    {
        return 0;
    }
    object->PushToScript(state);
    return 1;
}

// True for the script types whose handles hold a framework Core::Object
// (game objects of every kind, levels, layers, viewports, jukeboxes and
// emitters).
bool IsFrameworkObjectType(const char* typeName);

// Pushes `object` as itself, holding a counted reference that the script
// releases when it collects the value: a new object (a clone) that nothing
// else holds yet lives while the script or anything else holds it.
void PushHeld(lua_State* state, Core::Object* object);

// The framework object of type T at `index` whatever its script type (a
// Sprite where a GameObject is asked for), or null for anything else.
template <class T> T* ToObjectOf(lua_State* state, int index)
{
    const char* typeName = Script::GetTypeName(state, index);
    if (typeName == nullptr || !IsFrameworkObjectType(typeName))
    {
        return nullptr;
    }
    auto* object = static_cast<Core::Object*>(Script::ToObject(state, index, typeName));
    return dynamic_cast<T*>(object);
}

// A viewport argument: a viewport, or a number selecting the current
// level's viewport of that index (null past the count). `given` is false
// when the argument is neither.
const Viewport* ViewportArgument(lua_State* state, int index, bool& given);

inline int PushColor(lua_State* state, const Math::Vector4& color)
{
    LuaPushColor(state, color);
    return 1;
}

inline int PushPoint(lua_State* state, const Math::Vector2D& point)
{
    LuaPushPoint2D(state, point);
    return 1;
}

inline int PushVector(lua_State* state, const Math::Vector2D& vector)
{
    LuaPushVector2D(state, vector);
    return 1;
}

// Reads a colour table's four fields without raising: a field that is no
// number reads as 0.
inline Math::Vector4 ToColor(lua_State* state, int index)
{
    index = Script::AbsoluteIndex(state, index);
    const char* fields[] = {"R", "G", "B", "A"};
    float values[4] = {};
    for (int i = 0; i < 4; ++i)
    {
        lua_getfield(state, index, fields[i]);
        values[i] = static_cast<float>(lua_tonumber(state, -1));
        lua_pop(state, 1);
    }
    return {values[0], values[1], values[2], values[3]};
}

// Reads a point or vector table's "X" and "Y" without raising.
inline Math::Vector2D ToPoint(lua_State* state, int index)
{
    index = Script::AbsoluteIndex(state, index);
    lua_getfield(state, index, "X");
    const float x = static_cast<float>(lua_tonumber(state, -1));
    lua_getfield(state, index, "Y");
    const float y = static_cast<float>(lua_tonumber(state, -1));
    lua_pop(state, 2);
    return {x, y};
}

// --- Method shapes ---------------------------------------------------------------

// A getter of a number, flag or string; `Get` is a member of T.
template <class T, auto Get> int NumberGetter(T& object, lua_State* state)
{
    return PushNumber(state, static_cast<float>((object.*Get)()));
}

template <class T, auto Get> int UnsignedGetter(T& object, lua_State* state)
{
    return PushUnsigned(state, static_cast<std::uint32_t>((object.*Get)()));
}

template <class T, auto Get> int IntegerGetter(T& object, lua_State* state)
{
    return PushInteger(state, static_cast<std::int32_t>((object.*Get)()));
}

template <class T, auto Get> int FlagGetter(T& object, lua_State* state)
{
    return PushBoolean(state, (object.*Get)());
}

template <class T, auto Get> int TextGetter(T& object, lua_State* state)
{
    return PushText(state, (object.*Get)());
}

template <class T, auto Get> int ColorGetter(T& object, lua_State* state)
{
    return PushColor(state, (object.*Get)());
}

// Setters taking one argument; nothing without it.
template <class T, auto Set> int NumberSetter(T& object, lua_State* state)
{
    if (Needs(state, 1))
    {
        (object.*Set)(ToFloat(state, 1));
    }
    return 0;
}

template <class T, auto Set> int FlagSetter(T& object, lua_State* state)
{
    if (Needs(state, 1))
    {
        (object.*Set)(ToFlag(state, 1));
    }
    return 0;
}

template <class T, auto Set> int TextSetter(T& object, lua_State* state)
{
    std::string text;
    if (Needs(state, 1) && ToText(state, 1, text))
    {
        (object.*Set)(text);
    }
    return 0;
}

// A colour setter of four floats; nothing unless argument 1 is a table.
template <class T, auto Set> int ColorSetter(T& object, lua_State* state)
{
    if (Needs(state, 1) && IsTable(state, 1))
    {
        const Math::Vector4 color = ToColor(state, 1);
        (object.*Set)(color.x, color.y, color.z, color.w);
    }
    return 0;
}

// A table of the objects (counted references) at keys 1, 2, ...
template <class List> int PushObjectTable(lua_State* state, const List& objects)
{
    lua_createtable(state, static_cast<int>(objects.size()), 0);
    const int table = lua_gettop(state);
    int key = 1;
    for (const auto& object : objects)
    {
        object->PushToScript(state);
        lua_rawseti(state, table, key++);
    }
    return 1;
}

// "AddManagedObject"(object, name) of any owner whose managed objects are
// of class Managed.
template <class Owner, class Managed> int AddManagedObject(Owner& owner, lua_State* state)
{
    std::string name;
    Managed* managed = Needs(state, 2) ? ToObjectOf<Managed>(state, 1) : nullptr;
    if (managed != nullptr && ToText(state, 2, name))
    {
        owner.AddManagedObject(managed, name);
    }
    return 0;
}

} // namespace Velkor::ScriptSupport
