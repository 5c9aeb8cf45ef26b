// Script methods of the 2D shapes: Circle2D, LineSegment2D, Ray2D, Line2D.
//
// Arguments start at stack index 1. A method that takes an argument changes
// nothing and returns no values when called without one (Ray2D's
// "SetDirection" alone reads its argument regardless). A shape argument must
// be a userdata of the named type; anything else raises a script error.
// Points and directions travel as Point2D and Vector2D tables; points a test
// did not write are returned as (0, 0). Overlap segments and rays come back
// as new userdata that the script owns.
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

void PushCode(lua_State* state, ClassifyResult code)
{
    lua_pushinteger(state, Math::ToInt(code));
}

// Perpendicular, Parallel and AngleBetween of rays and lines take either.
template <class Test> int WithRayOrLine(lua_State* state, const Test& test)
{
    if (!HasArgument(state))
    {
        return 0;
    }
    if (const Ray2D* ray = Script::ToObject<Ray2D>(state, 1, Ray2D::ScriptTypeName))
    {
        return test(*ray);
    }
    if (const Line2D* line = Script::ToObject<Line2D>(state, 1, Line2D::ScriptTypeName))
    {
        return test(*line);
    }
    return luaL_typerror(state, 1, "Ray2D or Line2D");
}

// --- Circle2D ------------------------------------------------------------

int CircleGetCenter(Circle2D& circle, lua_State* state)
{
    LuaPushPoint2D(state, circle.center);
    return 1;
}

int CircleSetCenter(Circle2D& circle, lua_State* state)
{
    if (HasArgument(state))
    {
        circle.center = LuaToPoint2D(state, 1);
    }
    return 0;
}

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
    PushCode(state, circle.IntersectCircle(other, first, second));
    LuaPushPoint2D(state, first);
    LuaPushPoint2D(state, second);
    return 3;
}

int CircleClassifyToLineSegment(Circle2D& circle, lua_State* state)
{
    if (!HasArgument(state))
    {
        return 0;
    }
    const LineSegment2D& segment = ShapeArgument<LineSegment2D>(state, 1);
    Vector2D first;
    Vector2D second;
    PushCode(state, circle.IntersectLineSegment(segment, first, second));
    LuaPushPoint2D(state, first);
    LuaPushPoint2D(state, second);
    return 3;
}

constexpr auto kCircleMethods = Script::MakeMethods<6>(
    Script::Method<&CircleGetCenter>("GetCenter"), Script::Method<&CircleSetCenter>("SetCenter"),
    Script::Method<&CircleGetRadius>("GetRadius"), Script::Method<&CircleSetRadius>("SetRadius"),
    Script::Method<&CircleClassifyToCircle>("ClassifyToCircle"),
    Script::Method<&CircleClassifyToLineSegment>("ClassifyToLineSegment"));

const Script::MethodTableRegistrar g_circleTable(Circle2D::ScriptTypeName, kCircleMethods);

// --- LineSegment2D ---------------------------------------------------------

int SegmentGetPointA(LineSegment2D& segment, lua_State* state)
{
    LuaPushPoint2D(state, segment.pointA);
    return 1;
}

int SegmentGetPointB(LineSegment2D& segment, lua_State* state)
{
    LuaPushPoint2D(state, segment.pointB);
    return 1;
}

int SegmentSetPointA(LineSegment2D& segment, lua_State* state)
{
    if (HasArgument(state))
    {
        segment.pointA = LuaToPoint2D(state, 1);
    }
    return 0;
}

int SegmentSetPointB(LineSegment2D& segment, lua_State* state)
{
    if (HasArgument(state))
    {
        segment.pointB = LuaToPoint2D(state, 1);
    }
    return 0;
}

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
    PushCode(state, segment.IntersectLineSegment(other, crossing, overlap));
    LuaPushPoint2D(state, crossing);
    Script::PushOwnedCopy(state, overlap, LineSegment2D::ScriptTypeName);
    return 3;
}

int SegmentPerpendicular(LineSegment2D& segment, lua_State* state)
{
    if (!HasArgument(state))
    {
        return 0;
    }
    lua_pushboolean(state, segment.Perpendicular(ShapeArgument<LineSegment2D>(state, 1)));
    return 1;
}

int SegmentParallel(LineSegment2D& segment, lua_State* state)
{
    if (!HasArgument(state))
    {
        return 0;
    }
    lua_pushboolean(state, segment.Parallel(ShapeArgument<LineSegment2D>(state, 1)));
    return 1;
}

int SegmentAlligned(LineSegment2D& segment, lua_State* state)
{
    if (!HasArgument(state))
    {
        return 0;
    }
    lua_pushboolean(state, segment.Alligned(ShapeArgument<LineSegment2D>(state, 1)));
    return 1;
}

// Radians, unlike the rays' and lines' degrees.
int SegmentAngleBetween(LineSegment2D& segment, lua_State* state)
{
    if (!HasArgument(state))
    {
        return 0;
    }
    lua_pushnumber(state, segment.AngleBetween(ShapeArgument<LineSegment2D>(state, 1)));
    return 1;
}

int SegmentClassifyToCircle(LineSegment2D& segment, lua_State* state)
{
    if (!HasArgument(state))
    {
        return 0;
    }
    const Circle2D& circle = ShapeArgument<Circle2D>(state, 1);
    Vector2D first;
    Vector2D second;
    PushCode(state, segment.IntersectCircle(circle, first, second));
    LuaPushPoint2D(state, first);
    LuaPushPoint2D(state, second);
    return 3;
}

int SegmentTangent(LineSegment2D& segment, lua_State* state)
{
    if (!HasArgument(state))
    {
        return 0;
    }
    const Circle2D& circle = ShapeArgument<Circle2D>(state, 1);
    Vector2D touching;
    lua_pushboolean(state, segment.Tangent(circle, touching));
    LuaPushPoint2D(state, touching);
    return 2;
}

int SegmentClassifyToRay(LineSegment2D& segment, lua_State* state)
{
    if (!HasArgument(state))
    {
        return 0;
    }
    const Ray2D& ray = ShapeArgument<Ray2D>(state, 1);
    Vector2D crossing;
    LineSegment2D overlap;
    PushCode(state, segment.IntersectRay(ray, crossing, overlap));
    LuaPushPoint2D(state, crossing);
    Script::PushOwnedCopy(state, overlap, LineSegment2D::ScriptTypeName);
    return 3;
}

int SegmentClassifyToLine(LineSegment2D& segment, lua_State* state)
{
    if (!HasArgument(state))
    {
        return 0;
    }
    const Line2D& line = ShapeArgument<Line2D>(state, 1);
    Vector2D crossing;
    PushCode(state, segment.IntersectLine(line, crossing));
    LuaPushPoint2D(state, crossing);
    return 2;
}

constexpr auto kSegmentMethods = Script::MakeMethods<13>(
    Script::Method<&SegmentGetPointA>("GetPointA"), Script::Method<&SegmentGetPointB>("GetPointB"),
    Script::Method<&SegmentSetPointA>("SetPointA"), Script::Method<&SegmentSetPointB>("SetPointB"),
    Script::Method<&SegmentClassifyToLineSegment>("ClassifyToLineSegment"),
    Script::Method<&SegmentPerpendicular>("Perpendicular"), Script::Method<&SegmentParallel>("Parallel"),
    Script::Method<&SegmentAlligned>("Alligned"), Script::Method<&SegmentAngleBetween>("AngleBetween"),
    Script::Method<&SegmentClassifyToCircle>("ClassifyToCircle"), Script::Method<&SegmentTangent>("Tangent"),
    Script::Method<&SegmentClassifyToRay>("ClassifyToRay"),
    Script::Method<&SegmentClassifyToLine>("ClassifyToLine"));

const Script::MethodTableRegistrar g_segmentTable(LineSegment2D::ScriptTypeName, kSegmentMethods);

// --- Ray2D and Line2D --------------------------------------------------------

// The methods the two share, over the origin of a ray or the point of a line.
template <class Self, Vector2D Self::*Anchor> struct LinearMethods
{
    static int GetAnchor(Self& self, lua_State* state)
    {
        LuaPushPoint2D(state, self.*Anchor);
        return 1;
    }

    static int SetAnchor(Self& self, lua_State* state)
    {
        if (HasArgument(state))
        {
            self.*Anchor = LuaToPoint2D(state, 1);
        }
        return 0;
    }

    static int GetDirection(Self& self, lua_State* state)
    {
        LuaPushVector2D(state, self.direction);
        return 1;
    }

    static int Perpendicular(Self& self, lua_State* state)
    {
        return WithRayOrLine(state,
                             [&](const auto& other)
                             {
                                 lua_pushboolean(state, self.Perpendicular(other));
                                 return 1;
                             });
    }

    static int Parallel(Self& self, lua_State* state)
    {
        return WithRayOrLine(state,
                             [&](const auto& other)
                             {
                                 lua_pushboolean(state, self.Parallel(other));
                                 return 1;
                             });
    }

    // Degrees.
    static int AngleBetween(Self& self, lua_State* state)
    {
        return WithRayOrLine(state,
                             [&](const auto& other)
                             {
                                 lua_pushnumber(state, self.AngleBetween(other));
                                 return 1;
                             });
    }

    static int ClassifyToCircle(Self& self, lua_State* state)
    {
        if (!HasArgument(state))
        {
            return 0;
        }
        const Circle2D& circle = ShapeArgument<Circle2D>(state, 1);
        Vector2D first;
        Vector2D second;
        PushCode(state, self.IntersectCircle(circle, first, second));
        LuaPushPoint2D(state, first);
        LuaPushPoint2D(state, second);
        return 3;
    }

    static int Tangent(Self& self, lua_State* state)
    {
        if (!HasArgument(state))
        {
            return 0;
        }
        const Circle2D& circle = ShapeArgument<Circle2D>(state, 1);
        Vector2D touching;
        lua_pushboolean(state, self.Tangent(circle, touching));
        LuaPushPoint2D(state, touching);
        return 2;
    }
};

using RayMethods = LinearMethods<Ray2D, &Ray2D::origin>;
using LineMethods = LinearMethods<Line2D, &Line2D::point>;

// The direction is read even without an argument: nothing gives (0, 0).
int RaySetDirection(Ray2D& ray, lua_State* state)
{
    ray.direction = LuaToVector2D(state, 1);
    return 0;
}

int RayClassifyToRay(Ray2D& ray, lua_State* state)
{
    if (!HasArgument(state))
    {
        return 0;
    }
    const Ray2D& other = ShapeArgument<Ray2D>(state, 1);
    Vector2D crossing;
    LineSegment2D overlap;
    Ray2D overlapRay;
    PushCode(state, ray.IntersectRay(other, crossing, overlap, overlapRay));
    LuaPushPoint2D(state, crossing);
    Script::PushOwnedCopy(state, overlap, LineSegment2D::ScriptTypeName);
    Script::PushOwnedCopy(state, overlapRay, Ray2D::ScriptTypeName);
    return 4;
}

int RayClassifyToLineSegment(Ray2D& ray, lua_State* state)
{
    if (!HasArgument(state))
    {
        return 0;
    }
    const LineSegment2D& segment = ShapeArgument<LineSegment2D>(state, 1);
    Vector2D crossing;
    LineSegment2D overlap;
    PushCode(state, segment.IntersectRay(ray, crossing, overlap));
    LuaPushPoint2D(state, crossing);
    Script::PushOwnedCopy(state, overlap, LineSegment2D::ScriptTypeName);
    return 3;
}

int RayClassifyToLine(Ray2D& ray, lua_State* state)
{
    if (!HasArgument(state))
    {
        return 0;
    }
    const Line2D& line = ShapeArgument<Line2D>(state, 1);
    Vector2D crossing;
    PushCode(state, line.IntersectRay(ray, crossing));
    LuaPushPoint2D(state, crossing);
    return 2;
}

constexpr auto kRayMethods = Script::MakeMethods<12>(
    Script::Method<&RayMethods::GetAnchor>("GetOrigin"), Script::Method<&RayMethods::SetAnchor>("SetOrigin"),
    Script::Method<&RayMethods::GetDirection>("GetDirection"),
    Script::Method<&RaySetDirection>("SetDirection"),
    Script::Method<&RayMethods::Perpendicular>("Perpendicular"),
    Script::Method<&RayMethods::Parallel>("Parallel"),
    Script::Method<&RayMethods::AngleBetween>("AngleBetween"),
    Script::Method<&RayMethods::ClassifyToCircle>("ClassifyToCircle"),
    Script::Method<&RayMethods::Tangent>("Tangent"), Script::Method<&RayClassifyToRay>("ClassifyToRay"),
    Script::Method<&RayClassifyToLineSegment>("ClassifyToLineSegment"),
    Script::Method<&RayClassifyToLine>("ClassifyToLine"));

const Script::MethodTableRegistrar g_rayTable(Ray2D::ScriptTypeName, kRayMethods);

int LineSetDirection(Line2D& line, lua_State* state)
{
    if (HasArgument(state))
    {
        line.direction = LuaToVector2D(state, 1);
    }
    return 0;
}

int LineClassifyToLine(Line2D& line, lua_State* state)
{
    if (!HasArgument(state))
    {
        return 0;
    }
    const Line2D& other = ShapeArgument<Line2D>(state, 1);
    Vector2D crossing;
    PushCode(state, line.IntersectLine(other, crossing));
    LuaPushPoint2D(state, crossing);
    return 2;
}

int LineClassifyToRay(Line2D& line, lua_State* state)
{
    if (!HasArgument(state))
    {
        return 0;
    }
    const Ray2D& ray = ShapeArgument<Ray2D>(state, 1);
    Vector2D crossing;
    PushCode(state, line.IntersectRay(ray, crossing));
    LuaPushPoint2D(state, crossing);
    return 2;
}

int LineClassifyToLineSegment(Line2D& line, lua_State* state)
{
    if (!HasArgument(state))
    {
        return 0;
    }
    const LineSegment2D& segment = ShapeArgument<LineSegment2D>(state, 1);
    Vector2D crossing;
    PushCode(state, segment.IntersectLine(line, crossing));
    LuaPushPoint2D(state, crossing);
    return 2;
}

constexpr auto kLineMethods = Script::MakeMethods<12>(
    Script::Method<&LineMethods::GetAnchor>("GetPoint"), Script::Method<&LineMethods::SetAnchor>("SetPoint"),
    Script::Method<&LineMethods::GetDirection>("GetDirection"),
    Script::Method<&LineSetDirection>("SetDirection"),
    Script::Method<&LineMethods::Perpendicular>("Perpendicular"),
    Script::Method<&LineMethods::Parallel>("Parallel"),
    Script::Method<&LineMethods::AngleBetween>("AngleBetween"),
    Script::Method<&LineMethods::ClassifyToCircle>("ClassifyToCircle"),
    Script::Method<&LineMethods::Tangent>("Tangent"), Script::Method<&LineClassifyToLine>("ClassifyToLine"),
    Script::Method<&LineClassifyToRay>("ClassifyToRay"),
    Script::Method<&LineClassifyToLineSegment>("ClassifyToLineSegment"));

const Script::MethodTableRegistrar g_lineTable(Line2D::ScriptTypeName, kLineMethods);

} // namespace
