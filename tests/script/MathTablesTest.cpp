#include "ScriptTestState.h"

#include "math/Math_Circle2D.h"
#include "math/Math_Line2D.h"
#include "math/Math_LineSegment2D.h"
#include "math/Math_Ray2D.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

// Shapes owned by the test, handed to the script as globals.
class MathTablesTest : public testing::Test
{
protected:
    template <class Shape> void Give(const char* name, Shape& shape)
    {
        shape.PushToScript(script_.Get());
        lua_setglobal(script_.Get(), name);
    }

    // "a b c" from the values the code returns: tables by class name,
    // userdata by type name.
    std::string Results(const std::string& code)
    {
        const char* describe = "local function describe(...)\n"
                               "  local out = {}\n"
                               "  for i = 1, select('#', ...) do\n"
                               "    local v = select(i, ...)\n"
                               "    if type(v) == 'table' then out[i] = v.className\n"
                               "    elseif type(v) == 'userdata' then out[i] = getmetatable(v).__name\n"
                               "    else out[i] = tostring(v) end\n"
                               "  end\n"
                               "  return table.concat(out, ' ')\n"
                               "end\n";
        const std::string error = script_.Run(describe + ("return describe(" + code + ")"), 1);
        if (!error.empty())
        {
            return error;
        }
        std::string text = lua_tostring(script_.Get(), -1);
        lua_pop(script_.Get(), 1);
        return text;
    }

    ScriptTestState script_;
};

TEST_F(MathTablesTest, CircleMethods)
{
    Math::Circle2D circle;
    Math::Circle2D unit;
    Math::LineSegment2D across({-2, 0}, {2, 0});
    Give("circle", circle);
    Give("unit", unit);
    Give("across", across);

    EXPECT_EQ(script_.Run("circle:SetRadius(2) circle:SetCenter() circle:SetRadius()"), "");
    EXPECT_EQ(circle.radius, 2.0f);
    EXPECT_EQ(circle.center, Math::Vector2D(0, 0));
    EXPECT_EQ(script_.Number("circle:GetRadius()"), 2.0);

    // A centre point and a radius make the other circle: touching outside.
    EXPECT_EQ(script_.Run("code, p, q = circle:ClassifyToCircle(CreatePoint(3, 0), 1)"), "");
    EXPECT_EQ(script_.String("code .. ' ' .. p.X .. ' ' .. p.Y .. ' ' .. q.X .. ' ' .. q.Y"), "28 2 0 0 0");
    EXPECT_EQ(script_.Number("unit:ClassifyToCircle(circle)"), 3.0);
    EXPECT_EQ(script_.Number("select('#', unit:ClassifyToCircle())"), 0.0);
    EXPECT_EQ(script_.String("select(2, unit:ClassifyToLineSegment(across)).X"), "-1");

    EXPECT_NE(script_.Run("circle:SetRadius('wide')").find("number expected"), std::string::npos);
    EXPECT_NE(script_.Run("unit:ClassifyToLineSegment(unit)").find("LineSegment2D expected"),
              std::string::npos);
    EXPECT_EQ(script_.String("circle:GetCenter().className"), "Point2D");
}

TEST_F(MathTablesTest, SegmentMethods)
{
    Math::LineSegment2D segment({0, 0}, {4, 0});
    Math::LineSegment2D upright({1, -1}, {1, 1});
    Math::Circle2D unit;
    Math::Ray2D ray({-1, 0}, {1, 0});
    Math::Line2D line({2, -5}, {0, 1});
    Give("segment", segment);
    Give("upright", upright);
    Give("unit", unit);
    Give("ray", ray);
    Give("line", line);

    EXPECT_EQ(script_.Run("segment:SetPointB(CreatePoint(4, 0)) segment:SetPointA()"), "");
    EXPECT_EQ(script_.Number("segment:GetPointB().X"), 4.0);

    // Two points stand for the other segment; the overlap is a new segment.
    EXPECT_EQ(script_.Run(
                  "code, at, overlap = segment:ClassifyToLineSegment(CreatePoint(1, 0), CreatePoint(2, 0))"),
              "");
    EXPECT_EQ(script_.String("code .. ' ' .. overlap:GetPointA().X .. ' ' .. overlap:GetPointB().X"),
              "19 1 2");
    EXPECT_EQ(Results("segment:ClassifyToLineSegment(upright)"), "0 Point2D LineSegment2D");
    EXPECT_EQ(script_.Number("select(2, segment:ClassifyToLineSegment(upright)).X"), 1.0);

    EXPECT_EQ(Results("segment:Perpendicular(upright), segment:Parallel(upright), segment:Alligned(segment)"),
              "true false true");
    EXPECT_EQ(script_.Number("select('#', segment:Perpendicular())"), 0.0);
    EXPECT_FLOAT_EQ(static_cast<float>(script_.Number("segment:AngleBetween(upright)")), 1.5707964f);
    EXPECT_EQ(script_.Number("segment:ClassifyToCircle(unit)"), 14.0);
    EXPECT_EQ(script_.String("segment:Tangent(unit)"), "false");
    EXPECT_EQ(script_.Number("segment:ClassifyToRay(ray)"), 19.0);
    EXPECT_EQ(script_.Number("select(3, segment:ClassifyToRay(ray)):GetPointB().X"), 4.0);
    EXPECT_EQ(script_.Number("select(2, segment:ClassifyToLine(line)).X"), 2.0);
}

TEST_F(MathTablesTest, OverlapsBelongToTheScript)
{
    Math::LineSegment2D segment({0, 0}, {4, 0});
    Give("segment", segment);
    ASSERT_EQ(script_.Run("local _, _, overlap = segment:ClassifyToLineSegment(segment)\n"
                          "kept = overlap\n"
                          "for i = 1, 50 do segment:ClassifyToLineSegment(segment) end\n"
                          "collectgarbage()"),
              "");
    // The kept one is still whole after the others were collected.
    EXPECT_EQ(script_.Number("kept:GetPointB().X"), 4.0);
    EXPECT_EQ(script_.Run("kept:SetPointB(CreatePoint(9, 9))"), "");
    EXPECT_EQ(segment.pointB, Math::Vector2D(4, 0));
}

TEST_F(MathTablesTest, RayAndLineMethods)
{
    Math::Ray2D ray({0, 0}, {1, 0});
    Math::Ray2D ahead({2, 0}, {1, 0});
    Math::Line2D line({0, 1}, {1, 0});
    Math::Line2D upward({0, 0}, {0, 2});
    Math::Circle2D unit;
    Math::LineSegment2D segment({-2, 1}, {2, 1});
    Give("ray", ray);
    Give("ahead", ahead);
    Give("line", line);
    Give("upward", upward);
    Give("unit", unit);
    Give("segment", segment);

    EXPECT_EQ(script_.Number("ray:GetDirection().X"), 1.0);
    EXPECT_EQ(script_.String("ray:GetDirection().className"), "Vector2D");
    EXPECT_EQ(script_.String("line:GetPoint().Y"), "1");
    EXPECT_EQ(Results("ray:ClassifyToRay(ahead)"), "23 Point2D LineSegment2D Ray2D");
    EXPECT_EQ(script_.Number("select(4, ray:ClassifyToRay(ahead)):GetOrigin().X"), 2.0);
    EXPECT_EQ(Results("ray:Perpendicular(upward), ray:Perpendicular(ahead), line:Parallel(ray)"),
              "true false true");
    EXPECT_NEAR(script_.Number("line:AngleBetween(upward)"), 90.0, 1e-4);
    EXPECT_NEAR(script_.Number("ray:AngleBetween(upward)"), 90.0, 1e-4);
    EXPECT_EQ(script_.Number("line:ClassifyToCircle(unit)"), 13.0);
    EXPECT_EQ(Results("line:Tangent(unit)"), "true Point2D");
    EXPECT_EQ(script_.Number("line:ClassifyToLineSegment(segment)"), 19.0);
    EXPECT_EQ(script_.Number("select(2, upward:ClassifyToLine(line)).Y"), 1.0);
    EXPECT_EQ(script_.Number("upward:ClassifyToRay(ahead)"), 1.0);
    EXPECT_EQ(script_.Number("ray:ClassifyToLine(upward)"), 0.0);
    EXPECT_EQ(script_.Number("ray:ClassifyToLineSegment(segment)"), 20.0);

    EXPECT_NE(script_.Run("ray:Parallel(unit)").find("Ray2D or Line2D expected"), std::string::npos);
    EXPECT_EQ(script_.Number("select('#', line:Parallel())"), 0.0);

    // A line ignores a missing direction; a ray takes it as (0, 0).
    EXPECT_EQ(script_.Run("line:SetDirection() ray:SetDirection()"), "");
    EXPECT_EQ(line.direction, Math::Vector2D(1, 0));
    EXPECT_EQ(ray.direction, Math::Vector2D(0, 0));
    EXPECT_EQ(script_.Run("ray:SetOrigin(CreatePoint(5, 6)) line:SetDirection(CreateVector(0, 3))"), "");
    EXPECT_EQ(ray.origin, Math::Vector2D(5, 6));
    EXPECT_EQ(line.direction, Math::Vector2D(0, 3));
}

// Each method that takes one shape: nothing without it, and the shape it
// wants named in the error when given another.
TEST_F(MathTablesTest, ShapeArgumentsAreCheckedByType)
{
    Math::Circle2D circle;
    Math::LineSegment2D segment;
    Math::Ray2D ray;
    Math::Line2D line;
    Give("circle", circle);
    Give("segment", segment);
    Give("ray", ray);
    Give("line", line);

    const struct
    {
        const char* call;
        const char* wanted;
    } cases[] = {
        {"circle:ClassifyToLineSegment", "LineSegment2D"},
        {"segment:Alligned", "LineSegment2D"},
        {"segment:AngleBetween", "LineSegment2D"},
        {"segment:Tangent", "Circle2D"},
        {"segment:ClassifyToRay", "Ray2D"},
        {"segment:ClassifyToLine", "Line2D"},
        {"ray:ClassifyToRay", "Ray2D"},
        {"ray:ClassifyToLineSegment", "LineSegment2D"},
        {"ray:ClassifyToLine", "Line2D"},
        {"ray:Tangent", "Circle2D"},
        {"line:ClassifyToCircle", "Circle2D"},
        {"line:ClassifyToLine", "Line2D"},
        {"line:ClassifyToRay", "Ray2D"},
        {"line:ClassifyToLineSegment", "LineSegment2D"},
        {"line:AngleBetween", "Ray2D or Line2D"},
    };
    for (const auto& c : cases)
    {
        const std::string call = c.call;
        const char* other = std::string(c.wanted) == "Circle2D" ? "segment" : "circle";
        EXPECT_EQ(script_.Number("select('#', " + call + "())"), 0.0) << call;
        EXPECT_NE(script_.Run(call + "(" + other + ")").find(std::string(c.wanted) + " expected"),
                  std::string::npos)
            << call;
    }
}

} // namespace
