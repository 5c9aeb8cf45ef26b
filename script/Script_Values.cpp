#include "script/Script_Values.h"

#include "script/Script_Binding.h"
#include "script/Script_Lua.h"
#include "script/Script_Report.h"

#include <string>

namespace
{

// The form of one value table: its constructor, class name and number
// fields in the order the constructor's arguments fill them.
struct TableForm
{
    const char* constructor;
    const char* className;
    const char* const* fields;
    const float* defaults;
    int fieldCount;
};

constexpr const char* PointFields[] = {"X", "Y"};
constexpr float PointDefaults[] = {0.0f, 0.0f};
constexpr const char* ColorFields[] = {"R", "G", "B", "A"};
constexpr float ColorDefaults[] = {0.0f, 0.0f, 0.0f, 1.0f};
constexpr const char* MatrixFields[] = {"Ma00", "Ma01", "Ma02", "Ma10", "Ma11",
                                        "Ma12", "Ma20", "Ma21", "Ma22"};
constexpr float MatrixDefaults[] = {1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f};
constexpr const char* SizeFields[] = {"Width", "Height"};

constexpr TableForm PointForm{"CreatePoint", "Point2D", PointFields, PointDefaults, 2};
constexpr TableForm VectorForm{"CreateVector", "Vector2D", PointFields, PointDefaults, 2};
constexpr TableForm ColorForm{"CreateColor", "Color", ColorFields, ColorDefaults, 4};
constexpr TableForm MatrixForm{"CreateMatrix", "Matrix3", MatrixFields, MatrixDefaults, 9};
constexpr TableForm SizeForm{"CreateSize", "Size", SizeFields, PointDefaults, 2};

int Construct(lua_State* state, const TableForm& form)
{
    lua_Number values[9];
    for (int i = 0; i < form.fieldCount; ++i)
    {
        values[i] = luaL_optnumber(state, i + 1, form.defaults[i]);
    }
    lua_createtable(state, 0, form.fieldCount + 1);
    const int table = lua_gettop(state);
    lua_pushstring(state, form.className);
    lua_setfield(state, table, "className");
    for (int i = 0; i < form.fieldCount; ++i)
    {
        lua_pushnumber(state, values[i]);
        lua_setfield(state, table, form.fields[i]);
    }
    return 1;
}

int CreatePoint(lua_State* state)
{
    return Construct(state, PointForm);
}

int CreateVector(lua_State* state)
{
    return Construct(state, VectorForm);
}

int CreateColor(lua_State* state)
{
    return Construct(state, ColorForm);
}

int CreateMatrix(lua_State* state)
{
    return Construct(state, MatrixForm);
}

int CreateSize(lua_State* state)
{
    return Construct(state, SizeForm);
}

const Script::GlobalFunctionRegistrar g_createPoint("CreatePoint", &CreatePoint);
const Script::GlobalFunctionRegistrar g_createVector("CreateVector", &CreateVector);
const Script::GlobalFunctionRegistrar g_createColor("CreateColor", &CreateColor);
const Script::GlobalFunctionRegistrar g_createMatrix("CreateMatrix", &CreateMatrix);
const Script::GlobalFunctionRegistrar g_createSize("CreateSize", &CreateSize);

// Reads one number field of the table at the absolute index `table`.
float ReadNumberField(lua_State* state, int table, const char* field, const char* what)
{
    lua_getfield(state, table, field);
    if (lua_isnumber(state, -1) == 0)
    {
        luaL_error(state, "field '%s' of a %s is not a number (%s)", field, what, luaL_typename(state, -1));
    }
    const float value = static_cast<float>(lua_tonumber(state, -1));
    lua_pop(state, 1);
    return value;
}

Math::Vector2D ReadPair(lua_State* state, int index, const char* what)
{
    if (lua_istable(state, index) == 0)
    {
        return {};
    }
    const int table = Script::AbsoluteIndex(state, index);
    const float x = ReadNumberField(state, table, "X", what);
    const float y = ReadNumberField(state, table, "Y", what);
    return {x, y};
}

// Replaces the failed result on top of the stack by nil and reports why.
void FailPush(lua_State* state, const char* constructor, const char* reason)
{
    std::string text = std::string(constructor) + ": " + reason;
    lua_pop(state, 1);
    lua_pushnil(state);
    Script::ReportScriptError(text);
}

int Push(lua_State* state, const TableForm& form, const float* values)
{
    lua_checkstack(state, 4);
    [[maybe_unused]] const int top = Script::StackTopForAssert(state);
    lua_getglobal(state, form.constructor);
    if (lua_pcall(state, 0, 1, 0) != 0)
    {
        const char* message = lua_tostring(state, -1);
        FailPush(state, form.constructor, message != nullptr ? message : "the constructor failed");
        ENGINE_ASSERT(lua_gettop(state) == top + 1);
        return lua_gettop(state);
    }
    if (lua_istable(state, -1) == 0)
    {
        FailPush(state, form.constructor, "the constructor returned no table");
        ENGINE_ASSERT(lua_gettop(state) == top + 1);
        return lua_gettop(state);
    }
    const int table = lua_gettop(state);
    for (int i = 0; i < form.fieldCount; ++i)
    {
        lua_pushnumber(state, static_cast<lua_Number>(values[i]));
        lua_setfield(state, table, form.fields[i]);
    }
    ENGINE_ASSERT(table == top + 1);
    return table;
}

} // namespace

Math::Vector2D LuaToPoint2D(lua_State* state, int index)
{
    return ReadPair(state, index, "Point2D");
}

Math::Vector2D LuaToVector2D(lua_State* state, int index)
{
    return ReadPair(state, index, "Vector2D");
}

Math::Vector4 LuaToColor(lua_State* state, int index)
{
    if (lua_istable(state, index) == 0)
    {
        return {0.0f, 0.0f, 0.0f, 1.0f};
    }
    const int table = Script::AbsoluteIndex(state, index);
    const float r = ReadNumberField(state, table, "R", "Color");
    const float g = ReadNumberField(state, table, "G", "Color");
    const float b = ReadNumberField(state, table, "B", "Color");
    const float a = ReadNumberField(state, table, "A", "Color");
    return {r, g, b, a};
}

int LuaPushPoint2D(lua_State* state, float x, float y)
{
    const float values[] = {x, y};
    return Push(state, PointForm, values);
}

int LuaPushPoint2D(lua_State* state, const Math::Vector2D& point)
{
    return LuaPushPoint2D(state, point.x, point.y);
}

int LuaPushVector2D(lua_State* state, float x, float y)
{
    const float values[] = {x, y};
    return Push(state, VectorForm, values);
}

int LuaPushVector2D(lua_State* state, const Math::Vector2D& vector)
{
    return LuaPushVector2D(state, vector.x, vector.y);
}

int LuaPushColor(lua_State* state, float r, float g, float b, float a)
{
    const float values[] = {r, g, b, a};
    return Push(state, ColorForm, values);
}

int LuaPushColor(lua_State* state, const Math::Vector4& color)
{
    return LuaPushColor(state, color.x, color.y, color.z, color.w);
}

int LuaPushMatrix3(lua_State* state, const Math::Matrix3& matrix)
{
    return Push(state, MatrixForm, matrix.m);
}
