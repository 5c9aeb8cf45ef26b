#include "core/Core_ScriptBridge.h"
#include "math/Math_Circle2D.h"
#include "math/Math_Line2D.h"
#include "math/Math_LineSegment2D.h"
#include "math/Math_Ray2D.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

struct Pushed
{
    void* object;
    std::string typeName;
};

std::vector<Pushed> g_pushed;

void RecordPush(lua_State*, void* object, const char* typeName)
{
    g_pushed.push_back({object, typeName});
}

TEST(ScriptSeam, ShapesPushThemselvesUnderTheirScriptNames)
{
    g_pushed.clear();
    Core::SetPushUserdataFunction(&RecordPush);
    auto* state = reinterpret_cast<lua_State*>(&g_pushed); // never dereferenced

    Math::Circle2D circle;
    Math::LineSegment2D segment;
    Math::Ray2D ray;
    Math::Line2D line;
    circle.PushToScript(state);
    segment.PushToScript(state);
    ray.PushToScript(state);
    line.PushToScript(state);
    Core::SetPushUserdataFunction(nullptr);

    ASSERT_EQ(g_pushed.size(), 4u);
    EXPECT_EQ(g_pushed[0].object, &circle);
    EXPECT_EQ(g_pushed[0].typeName, "Circle2D");
    EXPECT_EQ(g_pushed[1].object, &segment);
    EXPECT_EQ(g_pushed[1].typeName, "LineSegment2D");
    EXPECT_EQ(g_pushed[2].object, &ray);
    EXPECT_EQ(g_pushed[2].typeName, "Ray2D");
    EXPECT_EQ(g_pushed[3].object, &line);
    EXPECT_EQ(g_pushed[3].typeName, "Line2D");

    EXPECT_EQ(circle.GetScript(), nullptr);
    EXPECT_EQ(segment.GetScript(), nullptr);
    EXPECT_EQ(ray.GetScript(), nullptr);
    EXPECT_EQ(line.GetScript(), nullptr);
}

TEST(ScriptSeam, ShapesComeFromTheMemoryManagerWithTheirSite)
{
    // The copies a script receives are pooled objects released by delete.
    auto* copy = new ("Math_Test", __LINE__) Math::LineSegment2D({1, 2}, {3, 4});
    EXPECT_EQ(copy->pointB.y, 4.0f);
    delete copy;
    auto* ray = new ("Math_Test", __LINE__) Math::Ray2D({0, 0}, {1, 0});
    delete ray;
}

} // namespace
