#pragma once

#include "core/Core_Base.h"
#include "math/Math_Circle2D.h"

namespace Math
{

class LineSegment2D;
class Line2D;

// A half-line from `origin` along `direction`. Directions are used as given,
// never normalised; a zero direction meets nothing.
class Ray2D final : public Core::Base
{
public:
    static constexpr const char* ScriptTypeName = "Ray2D";

    Ray2D() = default;
    Ray2D(const Vector2D& originPoint, const Vector2D& directionVector)
        : origin(originPoint), direction(directionVector)
    {
    }
    Ray2D(const Ray2D&) = default;
    Ray2D& operator=(const Ray2D&) = default;

    virtual LuaScript* GetScript();
    // Pushes a userdata holding this object's address under "Ray2D".
    virtual void PushToScript(lua_State* state);

    // NoIntersection, OnePoint or TwoPoints, the points in ray order; hits
    // behind the origin never count, and a grazing ray (discriminant exactly
    // 0) gives OnePoint.
    ClassifyResult IntersectCircle(const Circle2D& circle, Vector2D& first, Vector2D& second) const;
    // True when the discriminant lies within the tolerance of 0 and the
    // touching point is not behind the origin; the point is then written.
    bool Tangent(const Circle2D& circle, Vector2D& point) const;
    // Intersecting (point), NoIntersection, Parallel, CollinearApart (or
    // Intersecting at a shared origin), RaysFacing (the segment between the
    // origins) or RaysSameDirection (the ray that starts further ahead).
    ClassifyResult IntersectRay(const Ray2D& other, Vector2D& point, LineSegment2D& overlap,
                                Ray2D& overlapRay) const;

    // Directions compared within the tolerance: dot product, cross product.
    bool Perpendicular(const Ray2D& other) const;
    bool Perpendicular(const Line2D& other) const;
    bool Parallel(const Ray2D& other) const;
    bool Parallel(const Line2D& other) const;
    // Angle between the directions, in degrees.
    float AngleBetween(const Ray2D& other) const;
    float AngleBetween(const Line2D& other) const;

    Vector2D origin;
    Vector2D direction;
};

inline ClassifyResult Ray2D::IntersectCircle(const Circle2D& circle, Vector2D& first, Vector2D& second) const
{
    const Detail::CircleQuadratic q = Detail::MakeCircleQuadratic(origin, direction, circle);
    if (q.a == 0.0f || q.discriminant < 0.0f)
    {
        return ClassifyResult::NoIntersection;
    }
    if (q.discriminant == 0.0f)
    {
        const float t = q.Vertex();
        if (t < 0.0f)
        {
            return ClassifyResult::NoIntersection;
        }
        first = origin + direction * t;
        return ClassifyResult::OnePoint;
    }
    const float t1 = q.Root(-1.0f);
    const float t2 = q.Root(1.0f);
    if (t1 >= 0.0f)
    {
        first = origin + direction * t1;
        if (t2 >= 0.0f)
        {
            second = origin + direction * t2;
            return ClassifyResult::TwoPoints;
        }
        return ClassifyResult::OnePoint;
    }
    if (t2 >= 0.0f)
    {
        first = origin + direction * t2;
        return ClassifyResult::OnePoint;
    }
    return ClassifyResult::NoIntersection;
}

} // namespace Math
