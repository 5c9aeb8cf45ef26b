#include "ScriptTestState.h"

#include "script/Script_Values.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

double Field(lua_State* L, int table, const char* name)
{
    lua_getfield(L, table, name);
    const double value = lua_tonumber(L, -1);
    lua_pop(L, 1);
    return value;
}

std::string StringField(lua_State* L, int table, const char* name)
{
    lua_getfield(L, table, name);
    const char* text = lua_tostring(L, -1);
    std::string value = text != nullptr ? text : "(none)";
    lua_pop(L, 1);
    return value;
}

TEST(ScriptValues, ConstructorsBuildTablesWithTheirClassName)
{
    ScriptTestState script;
    EXPECT_EQ(script.String("CreatePoint().className"), "Point2D");
    EXPECT_EQ(script.String("CreateVector().className"), "Vector2D");
    EXPECT_EQ(script.String("CreateColor().className"), "Color");
    EXPECT_EQ(script.Number("CreatePoint().X + CreatePoint().Y"), 0.0);
    EXPECT_EQ(script.Number("CreateColor().A"), 1.0);
    EXPECT_EQ(script.Number("CreatePoint(3, 4).Y"), 4.0);
    EXPECT_EQ(script.Number("CreateMatrix().Ma11 + CreateMatrix().Ma22 + CreateMatrix().Ma01"), 2.0);
}

TEST(ScriptValues, ANonTableGivesTheDefaultAndLeavesTheStack)
{
    ScriptTestState script;
    lua_State* L = script.Get();
    lua_pushnumber(L, 7);
    lua_pushstring(L, "x");
    const Math::Vector2D point = LuaToPoint2D(L, 1);
    const Math::Vector2D vector = LuaToVector2D(L, -1);
    const Math::Vector4 color = LuaToColor(L, -2);
    EXPECT_EQ(point, Math::Vector2D(0, 0));
    EXPECT_EQ(vector, Math::Vector2D(0, 0));
    EXPECT_EQ(color.x, 0.0f);
    EXPECT_EQ(color.w, 1.0f);
    EXPECT_EQ(lua_gettop(L), 2);
    EXPECT_EQ(lua_tonumber(L, 1), 7);
}

TEST(ScriptValues, AColourRoundTripsThroughRelativeAndAbsoluteIndexes)
{
    ScriptTestState script;
    lua_State* L = script.Get();
    lua_pushnil(L);
    const int index = LuaPushColor(L, 0.1f, 0.2f, 0.3f, 0.4f);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(StringField(L, index, "className"), "Color");
    lua_pushboolean(L, 1);

    for (const int at : {-2, 2})
    {
        const Math::Vector4 color = LuaToColor(L, at);
        EXPECT_FLOAT_EQ(color.x, 0.1f);
        EXPECT_FLOAT_EQ(color.y, 0.2f);
        EXPECT_FLOAT_EQ(color.z, 0.3f);
        EXPECT_FLOAT_EQ(color.w, 0.4f);
        EXPECT_EQ(lua_gettop(L), 3);
    }
}

TEST(ScriptValues, PointsAndVectorsRoundTrip)
{
    ScriptTestState script;
    lua_State* L = script.Get();
    const int point = LuaPushPoint2D(L, Math::Vector2D(1.5f, -2.0f));
    const int vector = LuaPushVector2D(L, 3.0f, 4.0f);
    EXPECT_EQ(StringField(L, point, "className"), "Point2D");
    EXPECT_EQ(StringField(L, vector, "className"), "Vector2D");
    EXPECT_EQ(LuaToPoint2D(L, -2), Math::Vector2D(1.5f, -2.0f));
    EXPECT_EQ(LuaToVector2D(L, -1), Math::Vector2D(3.0f, 4.0f));
    EXPECT_EQ(lua_gettop(L), 2);
}

TEST(ScriptValues, MatrixFieldsFollowRowAndColumn)
{
    ScriptTestState script;
    lua_State* L = script.Get();
    Math::Matrix3 matrix;
    for (int i = 0; i < 9; ++i)
    {
        matrix.m[i] = static_cast<float>(10 + i);
    }
    const int table = LuaPushMatrix3(L, matrix);
    EXPECT_EQ(StringField(L, table, "className"), "Matrix3");
    EXPECT_EQ(Field(L, table, "Ma00"), 10);
    EXPECT_EQ(Field(L, table, "Ma01"), 11);
    EXPECT_EQ(Field(L, table, "Ma10"), 13);
    EXPECT_EQ(Field(L, table, "Ma12"), 15);
    EXPECT_EQ(Field(L, table, "Ma22"), 18);
}

int ReadPoint(lua_State* L)
{
    const Math::Vector2D point = LuaToPoint2D(L, 1);
    lua_pushnumber(L, point.x);
    return 1;
}

TEST(ScriptValues, AFieldThatIsNoNumberIsAScriptError)
{
    ScriptTestState script;
    lua_register(script.Get(), "ReadPoint", &ReadPoint);
    EXPECT_EQ(script.Number("ReadPoint({X = 2, Y = 1})"), 2.0);
    EXPECT_EQ(script.Number("ReadPoint({X = '6', Y = 1})"), 6.0);
    const std::string error = script.Run("ReadPoint({X = 2})");
    EXPECT_NE(error.find("field 'Y' of a Point2D is not a number"), std::string::npos) << error;
}

TEST(ScriptValues, AFailingConstructorIsReportedAndLeavesNil)
{
    ScriptTestState script;
    lua_State* L = script.Get();
    struct Case
    {
        const char* setup;
        const char* report;
    };
    const Case cases[] = {
        {"CreatePoint = nil", "CreatePoint: attempt to call a nil value"},
        {"CreatePoint = function() error('no points today') end", "no points today"},
        {"CreatePoint = function() return 5 end", "CreatePoint: the constructor returned no table"},
    };
    for (const Case& c : cases)
    {
        ASSERT_EQ(script.Run(c.setup), "");
        testing::internal::CaptureStderr();
        const int index = LuaPushPoint2D(L, 1.0f, 2.0f);
        const std::string report = testing::internal::GetCapturedStderr();
        EXPECT_EQ(index, 1) << c.setup;
        EXPECT_EQ(lua_gettop(L), 1);
        EXPECT_TRUE(lua_isnil(L, 1));
        EXPECT_NE(report.find("Script Error"), std::string::npos) << report;
        EXPECT_NE(report.find(c.report), std::string::npos) << report;
        lua_settop(L, 0);
    }
}

} // namespace
