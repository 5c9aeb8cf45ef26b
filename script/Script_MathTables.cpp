// Script methods of the 2D shapes: Circle2D, LineSegment2D, Ray2D, Line2D.
//
// Arguments start at stack index 1. A method that takes an argument changes
// nothing and returns no values when called without one (Ray2D's
// "SetDirection" alone reads its argument regardless). A shape argument must
// be a userdata of the named type; anything else raises a script error.
// Points and directions travel as Point2D and Vector2D tables; points a test
// did not write are returned as (0, 0). Overlap segments and rays come back
// as new userdata that the script owns.
#include <tuple>
#include <type_traits>

#include "math/Math_Circle2D.h"
#include "math/Math_Line2D.h"
#include "math/Math_LineSegment2D.h"
#include "math/Math_Ray2D.h"
#include "script/Script_Binding.h"
#include "script/Script_Lua.h"
#include "script/Script_MethodTable.h"
#include "script/Script_Values.h"

namespace
{

using Math::Circle2D;
using Math::ClassifyResult;
using Math::Line2D;
using Math::LineSegment2D;
using Math::Ray2D;
using Math::Vector2D;

bool HasArgument(lua_State* state)
{
    return lua_gettop(state) >= 1;
}

template <class Shape> Shape& ShapeArgument(lua_State* state, int index)
{
    Shape* shape = Script::ToObject<Shape>(state, index, Shape::ScriptTypeName);
    if (shape == nullptr)
    {
        luaL_typerror(state, index, Shape::ScriptTypeName);
    }
    return *shape;
}

// --- What the tests give back ------------------------------------------------

void Push(lua_State* state, bool value)
{
    lua_pushboolean(state, value);
}

void Push(lua_State* state, float value)
{
    lua_pushnumber(state, value);
}

void Push(lua_State* state, ClassifyResult code)
{
    lua_pushinteger(state, Math::ToInt(code));
}

void Push(lua_State* state, const Vector2D& point)
{
    LuaPushPoint2D(state, point);
}

void Push(lua_State* state, const LineSegment2D& overlap)
{
    Script::PushOwnedCopy(state, overlap, LineSegment2D::ScriptTypeName);
}

void Push(lua_State* state, const Ray2D& overlap)
{
    Script::PushOwnedCopy(state, overlap, Ray2D::ScriptTypeName);
}

// Pushes the values in order and returns how many.
template <class... Values> int PushAll(lua_State* state, const Values&... values)
{
    (Push(state, values), ...);
    return static_cast<int>(sizeof...(Values));
}

// A method over a test that takes one shape and fills outputs:
//     Result (Owner::*Test)(const Operand&, Outputs&...) const
// It returns the test's result, then each output in order. The test runs on
// the receiver with the argument as its operand, or, Mirrored, on the
// argument with the receiver as its operand (the test is written on the
// other shape only).
template <auto Test, bool Mirrored> struct ShapeTest;

template <class Owner, class Operand, class Result, class... Outputs,
          Result (Owner::*Test)(const Operand&, Outputs&...) const, bool Mirrored>
struct ShapeTest<Test, Mirrored>
{
    using Receiver = std::conditional_t<Mirrored, Operand, Owner>;
    using Argument = std::conditional_t<Mirrored, Owner, Operand>;

    static int Call(Receiver& receiver, lua_State* state)
    {
        if (!HasArgument(state))
        {
            return 0;
        }
        const Argument& argument = ShapeArgument<Argument>(state, 1);
        std::tuple<Outputs...> outputs;
        return std::apply(
            [&](Outputs&... filled)
            {
                Result result;
                if constexpr (Mirrored)
                {
                    result = (argument.*Test)(receiver, filled...);
                }
                else
                {
                    result = (receiver.*Test)(argument, filled...);
                }
                return PushAll(state, result, filled...);
            },
            outputs);
    }
};

template <auto Test> constexpr auto OnReceiver = &ShapeTest<Test, false>::Call;
template <auto Test> constexpr auto OnArgument = &ShapeTest<Test, true>::Call;

template <class Self, Vector2D Self::*Point> int GetPoint(Self& self, lua_State* state)
{
    LuaPushPoint2D(state, self.*Point);
    return 1;
}

template <class Self, Vector2D Self::*Point> int SetPoint(Self& self, lua_State* state)
{
    if (HasArgument(state))
    {
        self.*Point = LuaToPoint2D(state, 1);
    }
    return 0;
}

// --- Circle2D ------------------------------------------------------------

int CircleGetRadius(Circle2D& circle, lua_State* state)
{
    lua_pushnumber(state, circle.radius);
    return 1;
}

int CircleSetRadius(Circle2D& circle, lua_State* state)
{
    if (HasArgument(state))
    {
        circle.radius = static_cast<float>(luaL_checknumber(state, 1));
    }
    return 0;
}

// A circle, or a centre point and a radius.
int CircleClassifyToCircle(Circle2D& circle, lua_State* state)
{
    if (!HasArgument(state))
    {
        return 0;
    }
    Circle2D other;
    if (const Circle2D* given = Script::ToObject<Circle2D>(state, 1, Circle2D::ScriptTypeName))
    {
        other = *given;
    }
    else
    {
        other.center = LuaToPoint2D(state, 1);
        other.radius = static_cast<float>(luaL_checknumber(state, 2));
    }
    Vector2D first;
    Vector2D second;
    const ClassifyResult code = circle.IntersectCircle(other, first, second);
    return PushAll(state, code, first, second);
}

constexpr auto kCircleMethods = Script::MakeMethods<6>(
    Script::Method<&GetPoint<Circle2D, &Circle2D::center>>("GetCenter"),
    Script::Method<&SetPoint<Circle2D, &Circle2D::center>>("SetCenter"),
    Script::Method<&CircleGetRadius>("GetRadius"), Script::Method<&CircleSetRadius>("SetRadius"),
    Script::Method<&CircleClassifyToCircle>("ClassifyToCircle"),
    Script::Method<OnReceiver<&Circle2D::IntersectLineSegment>>("ClassifyToLineSegment"));

const Script::MethodTableRegistrar g_circleTable(Circle2D::ScriptTypeName, kCircleMethods);

// --- LineSegment2D ---------------------------------------------------------

// A segment, or its two end points.
int SegmentClassifyToLineSegment(LineSegment2D& segment, lua_State* state)
{
    if (!HasArgument(state))
    {
        return 0;
    }
    LineSegment2D other;
    if (const LineSegment2D* given = Script::ToObject<LineSegment2D>(state, 1, LineSegment2D::ScriptTypeName))
    {
        other = *given;
    }
    else
    {
        other.pointA = LuaToPoint2D(state, 1);
        other.pointB = LuaToPoint2D(state, 2);
    }
    Vector2D crossing;
    LineSegment2D overlap;
    const ClassifyResult code = segment.IntersectLineSegment(other, crossing, overlap);
    return PushAll(state, code, crossing, overlap);
}

// AngleBetween gives radians, unlike the rays' and lines' degrees.
constexpr auto kSegmentMethods =
    Script::MakeMethods<13>(Script::Method<&GetPoint<LineSegment2D, &LineSegment2D::pointA>>("GetPointA"),
                            Script::Method<&GetPoint<LineSegment2D, &LineSegment2D::pointB>>("GetPointB"),
                            Script::Method<&SetPoint<LineSegment2D, &LineSegment2D::pointA>>("SetPointA"),
                            Script::Method<&SetPoint<LineSegment2D, &LineSegment2D::pointB>>("SetPointB"),
                            Script::Method<&SegmentClassifyToLineSegment>("ClassifyToLineSegment"),
                            Script::Method<OnReceiver<&LineSegment2D::Perpendicular>>("Perpendicular"),
                            Script::Method<OnReceiver<&LineSegment2D::Parallel>>("Parallel"),
                            Script::Method<OnReceiver<&LineSegment2D::Alligned>>("Alligned"),
                            Script::Method<OnReceiver<&LineSegment2D::AngleBetween>>("AngleBetween"),
                            Script::Method<OnReceiver<&LineSegment2D::IntersectCircle>>("ClassifyToCircle"),
                            Script::Method<OnReceiver<&LineSegment2D::Tangent>>("Tangent"),
                            Script::Method<OnReceiver<&LineSegment2D::IntersectRay>>("ClassifyToRay"),
                            Script::Method<OnReceiver<&LineSegment2D::IntersectLine>>("ClassifyToLine"));

const Script::MethodTableRegistrar g_segmentTable(LineSegment2D::ScriptTypeName, kSegmentMethods);

// --- Ray2D and Line2D --------------------------------------------------------

template <class Self> int GetDirection(Self& self, lua_State* state)
{
    LuaPushVector2D(state, self.direction);
    return 1;
}

// A test that takes either a ray or a line.
template <class Self, class Result, Result (Self::*OnRay)(const Ray2D&) const,
          Result (Self::*OnLine)(const Line2D&) const>
int RayOrLineTest(Self& self, lua_State* state)
{
    if (!HasArgument(state))
    {
        return 0;
    }
    if (const Ray2D* ray = Script::ToObject<Ray2D>(state, 1, Ray2D::ScriptTypeName))
    {
        return PushAll(state, (self.*OnRay)(*ray));
    }
    if (const Line2D* line = Script::ToObject<Line2D>(state, 1, Line2D::ScriptTypeName))
    {
        return PushAll(state, (self.*OnLine)(*line));
    }
    return luaL_typerror(state, 1, "Ray2D or Line2D");
}

// The entries a ray's and a line's tables share, at the same place in both.
// AngleBetween gives degrees.
template <class Self>
constexpr auto kRayOrLineMethods = Script::MakeMethods<5>(
    Script::Method<&RayOrLineTest<Self, bool, &Self::Perpendicular, &Self::Perpendicular>>("Perpendicular"),
    Script::Method<&RayOrLineTest<Self, bool, &Self::Parallel, &Self::Parallel>>("Parallel"),
    Script::Method<&RayOrLineTest<Self, float, &Self::AngleBetween, &Self::AngleBetween>>("AngleBetween"),
    Script::Method<OnReceiver<&Self::IntersectCircle>>("ClassifyToCircle"),
    Script::Method<OnReceiver<&Self::Tangent>>("Tangent"));

// The direction is read even without an argument: nothing gives (0, 0).
int RaySetDirection(Ray2D& ray, lua_State* state)
{
    ray.direction = LuaToVector2D(state, 1);
    return 0;
}

constexpr auto kRayMethods = Script::MakeMethods<12>(
    Script::Method<&GetPoint<Ray2D, &Ray2D::origin>>("GetOrigin"),
    Script::Method<&SetPoint<Ray2D, &Ray2D::origin>>("SetOrigin"),
    Script::Method<&GetDirection<Ray2D>>("GetDirection"), Script::Method<&RaySetDirection>("SetDirection"),
    kRayOrLineMethods<Ray2D>, Script::Method<OnReceiver<&Ray2D::IntersectRay>>("ClassifyToRay"),
    Script::Method<OnArgument<&LineSegment2D::IntersectRay>>("ClassifyToLineSegment"),
    Script::Method<OnArgument<&Line2D::IntersectRay>>("ClassifyToLine"));

const Script::MethodTableRegistrar g_rayTable(Ray2D::ScriptTypeName, kRayMethods);

int LineSetDirection(Line2D& line, lua_State* state)
{
    if (HasArgument(state))
    {
        line.direction = LuaToVector2D(state, 1);
    }
    return 0;
}

constexpr auto kLineMethods = Script::MakeMethods<12>(
    Script::Method<&GetPoint<Line2D, &Line2D::point>>("GetPoint"),
    Script::Method<&SetPoint<Line2D, &Line2D::point>>("SetPoint"),
    Script::Method<&GetDirection<Line2D>>("GetDirection"), Script::Method<&LineSetDirection>("SetDirection"),
    kRayOrLineMethods<Line2D>, Script::Method<OnReceiver<&Line2D::IntersectLine>>("ClassifyToLine"),
    Script::Method<OnReceiver<&Line2D::IntersectRay>>("ClassifyToRay"),
    Script::Method<OnArgument<&LineSegment2D::IntersectLine>>("ClassifyToLineSegment"));

const Script::MethodTableRegistrar g_lineTable(Line2D::ScriptTypeName, kLineMethods);

} // namespace
