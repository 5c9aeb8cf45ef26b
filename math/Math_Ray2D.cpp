#include "math/Math_Ray2D.h"

#include "core/Core_ScriptBridge.h"
#include "math/Math_DirectionTests.h"
#include "math/Math_Line2D.h"
#include "math/Math_LineSegment2D.h"

namespace Math
{

LuaScript* Ray2D::GetScript()
{
    return nullptr;
}

void Ray2D::PushToScript(lua_State* state)
{
    Core::PushUserdata(state, this, ScriptTypeName);
}

bool Ray2D::Tangent(const Circle2D& circle, Vector2D& point) const
{
    const Detail::CircleQuadratic q = Detail::MakeCircleQuadratic(origin, direction, circle);
    if (q.a == 0.0f || !NearZero(q.discriminant))
    {
        return false;
    }
    const float t = q.Vertex();
    if (t < 0.0f)
    {
        return false;
    }
    point = origin + direction * t;
    return true;
}

ClassifyResult Ray2D::IntersectRay(const Ray2D& other, Vector2D& point, LineSegment2D& overlap,
                                   Ray2D& overlapRay) const
{
    const Vector2D& dA = direction;
    const Vector2D& dB = other.direction;
    if (Detail::IsZero(dA) || Detail::IsZero(dB))
    {
        return ClassifyResult::NoIntersection;
    }
    const Vector2D offset = other.origin - origin;
    const float cross = CrossZ(dA, dB);
    if (!NearZero(cross))
    {
        // origin + t dA = other.origin + u dB
        const float t = CrossZ(offset, dB) / cross;
        const float u = CrossZ(offset, dA) / cross;
        if (t < 0.0f || u < 0.0f)
        {
            return ClassifyResult::NoIntersection;
        }
        point = origin + dA * t;
        return ClassifyResult::Intersecting;
    }
    if (dA.y * offset.x - dA.x * offset.y != 0.0f)
    {
        return ClassifyResult::Parallel;
    }
    // tA: this origin along the other ray; tB: the other origin along this one.
    const float tA = Detail::ParameterAlong(origin, other.origin, dB);
    const float tB = Detail::ParameterAlong(other.origin, origin, dA);
    if (tA <= 0.0f && tB <= 0.0f)
    {
        if (tA == 0.0f)
        {
            point = origin;
            return ClassifyResult::Intersecting;
        }
        if (tB == 0.0f)
        {
            point = other.origin;
            return ClassifyResult::Intersecting;
        }
        return ClassifyResult::CollinearApart;
    }
    // Rays of one direction share the ray that starts further ahead; rays
    // that face each other share the segment between their origins.
    if (dA.Dot(dB) > 0.0f)
    {
        overlapRay = tA > 0.0f ? *this : other;
        return ClassifyResult::RaysSameDirection;
    }
    overlap = LineSegment2D(origin, other.origin);
    return ClassifyResult::RaysFacing;
}

bool Ray2D::Perpendicular(const Ray2D& other) const
{
    return Detail::DirectionsPerpendicular(direction, other.direction);
}

bool Ray2D::Perpendicular(const Line2D& other) const
{
    return Detail::DirectionsPerpendicular(direction, other.direction);
}

bool Ray2D::Parallel(const Ray2D& other) const
{
    return Detail::DirectionsParallel(direction, other.direction);
}

bool Ray2D::Parallel(const Line2D& other) const
{
    return Detail::DirectionsParallel(direction, other.direction);
}

float Ray2D::AngleBetween(const Ray2D& other) const
{
    return Detail::DirectionsAngleDegrees(direction, other.direction);
}

float Ray2D::AngleBetween(const Line2D& other) const
{
    return Detail::DirectionsAngleDegrees(direction, other.direction);
}

} // namespace Math
