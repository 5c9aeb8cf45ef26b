#include "math/Math_Line2D.h"

#include "core/Core_ScriptBridge.h"
#include "math/Math_DirectionTests.h"
#include "math/Math_LineSegment2D.h"
#include "math/Math_Ray2D.h"

namespace Math
{

LuaScript* Line2D::GetScript()
{
    return nullptr;
}

void Line2D::PushToScript(lua_State* state)
{
    Core::PushUserdata(state, this, ScriptTypeName);
}

ClassifyResult Line2D::IntersectLine(const Line2D& other, Vector2D& crossing) const
{
    const Vector2D& dA = direction;
    const Vector2D& dB = other.direction;
    if (Detail::IsZero(dA) || Detail::IsZero(dB))
    {
        return ClassifyResult::NoIntersection;
    }
    const Vector2D offset = other.point - point;
    const float cross = CrossZ(dA, dB);
    if (NearZero(cross))
    {
        return offset.x * dA.y - offset.y * dA.x == 0.0f ? ClassifyResult::Coincident
                                                         : ClassifyResult::Parallel;
    }
    // point + t dA = other.point + u dB
    const float t = CrossZ(offset, dB) / cross;
    crossing = point + dA * t;
    return ClassifyResult::Intersecting;
}

ClassifyResult Line2D::IntersectRay(const Ray2D& ray, Vector2D& crossing) const
{
    const Vector2D& d = direction;
    const Vector2D& r = ray.direction;
    if (Detail::IsZero(d) || Detail::IsZero(r))
    {
        return ClassifyResult::NoIntersection;
    }
    const Vector2D offset = ray.origin - point;
    const float cross = CrossZ(d, r);
    if (NearZero(cross))
    {
        return offset.x * d.y - offset.y * d.x == 0.0f ? ClassifyResult::Coincident
                                                       : ClassifyResult::Parallel;
    }
    // point + t d = origin + s r
    const float s = CrossZ(offset, d) / cross;
    if (s < 0.0f)
    {
        return ClassifyResult::NoIntersection;
    }
    crossing = ray.origin + r * s;
    return ClassifyResult::Intersecting;
}

ClassifyResult Line2D::IntersectCircle(const Circle2D& circle, Vector2D& first, Vector2D& second) const
{
    const Detail::CircleQuadratic q = Detail::MakeCircleQuadratic(point, direction, circle);
    if (q.a == 0.0f || q.discriminant < 0.0f)
    {
        return ClassifyResult::NoIntersection;
    }
    if (q.discriminant == 0.0f)
    {
        first = point + direction * q.Vertex();
        return ClassifyResult::Tangent;
    }
    first = point + direction * q.Root(-1.0f);
    second = point + direction * q.Root(1.0f);
    return ClassifyResult::TwoPoints;
}

bool Line2D::Tangent(const Circle2D& circle, Vector2D& touching) const
{
    const Detail::CircleQuadratic q = Detail::MakeCircleQuadratic(point, direction, circle);
    if (q.a == 0.0f || !NearZero(q.discriminant))
    {
        return false;
    }
    touching = point + direction * q.Vertex();
    return true;
}

bool Line2D::Perpendicular(const Ray2D& other) const
{
    return Detail::DirectionsPerpendicular(direction, other.direction);
}

bool Line2D::Perpendicular(const Line2D& other) const
{
    return Detail::DirectionsPerpendicular(direction, other.direction);
}

bool Line2D::Parallel(const Ray2D& other) const
{
    return Detail::DirectionsParallel(direction, other.direction);
}

bool Line2D::Parallel(const Line2D& other) const
{
    return Detail::DirectionsParallel(direction, other.direction);
}

float Line2D::AngleBetween(const Ray2D& other) const
{
    return Detail::DirectionsAngleDegrees(direction, other.direction);
}

float Line2D::AngleBetween(const Line2D& other) const
{
    return Detail::DirectionsAngleDegrees(direction, other.direction);
}

} // namespace Math
