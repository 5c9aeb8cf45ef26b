// Script side of the GUI's rectangles and sizes: the "NRectangle" method
// table, and Size tables made by the global "CreateSize".
//
// Arguments start at stack index 1. A method called with fewer arguments
// than it needs, or with arguments of the wrong type, changes nothing and
// pushes nothing.

#include "gui/GUI_Rectangle.h"

#include "script/Script_Binding.h"
#include "script/Script_Lua.h"
#include "script/Script_MethodTable.h"
#include "script/Script_Report.h"
#include "script/Script_Values.h"

namespace GUI
{

namespace
{

// A number field of the table at the absolute index `table`; 0 when the
// field is no number.
float NumberField(lua_State* state, int table, const char* field)
{
    lua_getfield(state, table, field);
    const float value = lua_isnumber(state, -1) != 0 ? static_cast<float>(lua_tonumber(state, -1)) : 0.0f;
    lua_pop(state, 1);
    return value;
}

bool HasNumbers(lua_State* state, int count)
{
    for (int i = 1; i <= count; ++i)
    {
        if (lua_type(state, i) != LUA_TNUMBER)
        {
            return false;
        }
    }
    return true;
}

float NumberAt(lua_State* state, int index)
{
    return static_cast<float>(lua_tonumber(state, index));
}

int LuaZeroize(NRectangle& r, lua_State*)
{
    r = NRectangle();
    return 0;
}

int SetPosition(NRectangle& r, lua_State* state)
{
    if (lua_istable(state, 1) == 0)
    {
        return 0;
    }
    const int table = Script::AbsoluteIndex(state, 1);
    r.SetPosition(Math::Vector2D(NumberField(state, table, "X"), NumberField(state, table, "Y")));
    return 0;
}

int GetPosition(NRectangle& r, lua_State* state)
{
    LuaPushPoint2D(state, r.GetPosition());
    return 1;
}

int SetSize(NRectangle& r, lua_State* state)
{
    if (lua_istable(state, 1) == 0)
    {
        return 0;
    }
    const Size size = LuaToSize(state, 1);
    r.SetWidth(size.width);
    r.SetHeight(size.height);
    return 0;
}

int GetSize(NRectangle& r, lua_State* state)
{
    PushSize(state, r.GetWidth(), r.GetHeight());
    return 1;
}

template <void (NRectangle::*Setter)(float)> int SetNumber(NRectangle& r, lua_State* state)
{
    if (HasNumbers(state, 1))
    {
        (r.*Setter)(NumberAt(state, 1));
    }
    return 0;
}

template <float (NRectangle::*Getter)() const> int GetNumber(NRectangle& r, lua_State* state)
{
    lua_pushnumber(state, (r.*Getter)());
    return 1;
}

int IsInside(NRectangle& r, lua_State* state)
{
    if (!HasNumbers(state, 2))
    {
        return 0;
    }
    lua_pushboolean(state, r.IsInside(NumberAt(state, 1), NumberAt(state, 2)));
    return 1;
}

int IsValid(NRectangle& r, lua_State* state)
{
    lua_pushboolean(state, r.IsValid());
    return 1;
}

int Translate(NRectangle& r, lua_State* state)
{
    if (HasNumbers(state, 2))
    {
        r.Translate(NumberAt(state, 1), NumberAt(state, 2));
    }
    return 0;
}

// A new rectangle, owned by the script, holding the overlap whether it is
// valid or not.
int Intersect(NRectangle&, lua_State* state)
{
    const NRectangle* a = Script::ToObject<NRectangle>(state, 1, NRectangle::ScriptTypeName);
    const NRectangle* b = Script::ToObject<NRectangle>(state, 2, NRectangle::ScriptTypeName);
    if (a == nullptr || b == nullptr)
    {
        return 0;
    }
    NRectangle overlap;
    NRectangle::Intersect(overlap, *a, *b);
    NRectangle::PushCopy(state, overlap);
    return 1;
}

constexpr auto kRectangleMethods = Script::MakeMethods<19>(
    Script::Method<&LuaZeroize>("LuaZeroize"), Script::Method<&SetPosition>("SetPosition"),
    Script::Method<&GetPosition>("GetPosition"), Script::Method<&SetSize>("SetSize"),
    Script::Method<&GetSize>("GetSize"), Script::Method<&SetNumber<&NRectangle::SetLeft>>("SetLeft"),
    Script::Method<&SetNumber<&NRectangle::SetBottom>>("SetBottom"),
    Script::Method<&SetNumber<&NRectangle::SetWidth>>("SetWidth"),
    Script::Method<&SetNumber<&NRectangle::SetHeight>>("SetHeight"),
    Script::Method<&GetNumber<&NRectangle::GetLeft>>("GetLeft"),
    Script::Method<&GetNumber<&NRectangle::GetBottom>>("GetBottom"),
    Script::Method<&GetNumber<&NRectangle::GetWidth>>("GetWidth"),
    Script::Method<&GetNumber<&NRectangle::GetHeight>>("GetHeight"),
    Script::Method<&GetNumber<&NRectangle::GetRight>>("GetRight"),
    Script::Method<&GetNumber<&NRectangle::GetTop>>("GetTop"), Script::Method<&IsInside>("IsInside"),
    Script::Method<&IsValid>("IsValid"), Script::Method<&Translate>("Translate"),
    Script::Method<&Intersect>("Intersect"));

const Script::MethodTableRegistrar g_rectangleTable(NRectangle::ScriptTypeName, kRectangleMethods);

} // namespace

Size LuaToSize(lua_State* state, int index)
{
    if (lua_istable(state, index) == 0)
    {
        return {};
    }
    const int table = Script::AbsoluteIndex(state, index);
    return {NumberField(state, table, "Width"), NumberField(state, table, "Height")};
}

void PushSize(lua_State* state, float width, float height)
{
    lua_checkstack(state, 4);
    lua_getglobal(state, "CreateSize");
    const char* failure = nullptr;
    if (lua_pcall(state, 0, 1, 0) != 0)
    {
        failure = lua_tostring(state, -1);
        if (failure == nullptr)
        {
            failure = "the constructor failed";
        }
    }
    else if (lua_istable(state, -1) == 0)
    {
        failure = "the constructor returned no table";
    }
    if (failure != nullptr)
    {
        const std::string text = std::string("CreateSize: ") + failure;
        lua_pop(state, 1);
        lua_pushnil(state);
        Script::ReportScriptError(text);
        return;
    }
    lua_pushnumber(state, width);
    lua_setfield(state, -2, "Width");
    lua_pushnumber(state, height);
    lua_setfield(state, -2, "Height");
}

} // namespace GUI
