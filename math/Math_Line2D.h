#pragma once

#include "core/Core_Base.h"
#include "math/Math_Circle2D.h"

namespace Math
{

class Ray2D;

// An infinite line through `point` along `direction` (used as given, never
// normalised; a zero direction meets nothing).
class Line2D final : public Core::Base
{
public:
    static constexpr const char* ScriptTypeName = "Line2D";

    Line2D() = default;
    Line2D(const Vector2D& pointOnLine, const Vector2D& directionVector)
        : point(pointOnLine), direction(directionVector)
    {
    }
    Line2D(const Line2D&) = default;
    Line2D& operator=(const Line2D&) = default;

    virtual LuaScript* GetScript();
    // Pushes a userdata holding this object's address under "Line2D".
    virtual void PushToScript(lua_State* state);

    // Intersecting (the crossing point is written), Coincident or Parallel.
    ClassifyResult IntersectLine(const Line2D& other, Vector2D& crossing) const;
    // Intersecting (point on the ray), NoIntersection (the crossing lies
    // behind the ray's origin), Coincident or Parallel.
    ClassifyResult IntersectRay(const Ray2D& ray, Vector2D& crossing) const;
    // NoIntersection, Tangent (one point) or TwoPoints.
    ClassifyResult IntersectCircle(const Circle2D& circle, Vector2D& first, Vector2D& second) const;
    // True when the discriminant lies within the tolerance of 0; the touching
    // point is then written.
    bool Tangent(const Circle2D& circle, Vector2D& touching) const;

    bool Perpendicular(const Ray2D& other) const;
    bool Perpendicular(const Line2D& other) const;
    bool Parallel(const Ray2D& other) const;
    bool Parallel(const Line2D& other) const;
    // Angle between the directions, in degrees.
    float AngleBetween(const Ray2D& other) const;
    float AngleBetween(const Line2D& other) const;

    Vector2D point;
    Vector2D direction;
};

} // namespace Math
