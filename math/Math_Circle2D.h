#pragma once

#include "core/Core_Base.h"
#include "math/Math_Vector2D.h"

struct lua_State;
class LuaScript;

namespace Math
{

class LineSegment2D;

// A circle value. Like the other 2D shapes it is copied freely, carries no
// reference count and is not registered by class; its two virtual
// operations are the script seam. Separately held circles come from the
// memory manager (the Core::Base allocation operators).
class Circle2D final : public Core::Base
{
public:
    static constexpr const char* ScriptTypeName = "Circle2D";

    Circle2D() = default;
    Circle2D(const Vector2D& centerPoint, float radiusValue) : center(centerPoint), radius(radiusValue) {}
    Circle2D(const Circle2D&) = default;
    Circle2D& operator=(const Circle2D&) = default;

    // These values never carry a script.
    virtual LuaScript* GetScript();
    // Pushes a userdata holding this object's address under "Circle2D".
    virtual void PushToScript(lua_State* state);

    // Relation of this circle (c1, r1) to `other` (c2, r2); writes nothing.
    ClassifyResult ClassifyCircle(const Circle2D& other) const;
    // The same decisions; tangency writes the touching point into `first`,
    // two crossing circles give TwoPoints and write both crossing points.
    ClassifyResult IntersectCircle(const Circle2D& other, Vector2D& first, Vector2D& second) const;
    // The segment's IntersectCircle against this circle.
    ClassifyResult IntersectLineSegment(const LineSegment2D& segment, Vector2D& first,
                                        Vector2D& second) const;

    // Archive form: centre x, centre y, radius. A short read changes nothing.
    void Write(Core::File& file) const;
    void Read(Core::File& file);

    Vector2D center;
    float radius = 1.0f;
};

Core::File& operator<<(Core::File& file, const Circle2D& circle);
Core::File& operator>>(Core::File& file, Circle2D& circle);

namespace Detail
{

// The line O + t d against a circle: a t^2 + b t + k = 0 with
// a = d.d, b = 2 d.(O - c), k = O.O + c.c - 2 O.c - r^2. Every shape that
// meets a circle (segment, ray, line) starts from these three numbers.
struct CircleQuadratic
{
    float a;
    float b;
    float discriminant;

    float Root(float sign) const;
    float Vertex() const { return -b / (2.0f * a); }
};

inline CircleQuadratic MakeCircleQuadratic(const Vector2D& origin, const Vector2D& direction,
                                           const Circle2D& circle)
{
    CircleQuadratic q;
    q.a = direction.Dot(direction);
    q.b = 2.0f * direction.Dot(origin - circle.center);
    const float k = origin.Dot(origin) + circle.center.Dot(circle.center) - 2.0f * origin.Dot(circle.center) -
                    circle.radius * circle.radius;
    q.discriminant = q.b * q.b - 4.0f * q.a * k;
    return q;
}

// (-b - sqrt(disc)) / 2a for sign -1, (-b + sqrt(disc)) / 2a for sign +1.
inline float CircleQuadratic::Root(float sign) const
{
    const float root = std::sqrt(discriminant);
    const float numerator = sign < 0.0f ? -b - root : -b + root;
    return numerator / (2.0f * a);
}

inline bool InUnitInterval(float t)
{
    return t >= 0.0f && t <= 1.0f;
}

} // namespace Detail

namespace Detail
{

// The decisions both circle tests share, first match wins; `d` is the
// distance of the centres. Two crossing circles give Intersecting.
inline ClassifyResult RelateCircles(const Circle2D& self, const Circle2D& other, float d)
{
    const float r1 = self.radius;
    const float r2 = other.radius;
    const float d2 = d * d;
    if (r2 + d < r1)
    {
        return ClassifyResult::Contains;
    }
    if (d + r1 < r2)
    {
        return ClassifyResult::Inside;
    }
    if (self.center == other.center && r1 == r2)
    {
        return ClassifyResult::Coincident;
    }
    const float difference = r1 - r2;
    const float sum = r1 + r2;
    if (d2 == difference * difference)
    {
        return ClassifyResult::TouchInside;
    }
    if (sum * sum < d2)
    {
        return ClassifyResult::Outside;
    }
    if (sum * sum == d2)
    {
        return ClassifyResult::TouchOutside;
    }
    return ClassifyResult::Intersecting;
}

} // namespace Detail

inline ClassifyResult Circle2D::ClassifyCircle(const Circle2D& other) const
{
    return Detail::RelateCircles(*this, other, (other.center - center).Length());
}

inline ClassifyResult Circle2D::IntersectCircle(const Circle2D& other, Vector2D& first,
                                                Vector2D& second) const
{
    const Vector2D between = other.center - center;
    const float d = between.Length();
    const ClassifyResult relation = Detail::RelateCircles(*this, other, d);
    if (relation != ClassifyResult::TouchInside && relation != ClassifyResult::TouchOutside &&
        relation != ClassifyResult::Intersecting)
    {
        return relation;
    }
    // Centres a rounding apart (d == 0, only reachable for equal radii) touch
    // at c1 rather than divide by zero.
    if (d == 0.0f)
    {
        first = center;
        return relation;
    }
    // a: distance from c1, along the line of the centres, to the touching
    // point or to the chord through the two crossing points.
    const float r1 = radius;
    const float r2 = other.radius;
    const float a = (d * d + r1 * r1 - r2 * r2) / (2.0f * d);
    const Vector2D onChord = center + Normalized(between) * a;
    if (relation != ClassifyResult::Intersecting)
    {
        first = onChord;
        return relation;
    }
    // Rounding can leave a^2 a hair above r1^2 for circles that barely
    // cross; the half chord is then 0, not a NaN.
    const float squaredHalfChord = r1 * r1 - a * a;
    const float h = squaredHalfChord > 0.0f ? std::sqrt(squaredHalfChord) : 0.0f;
    const Vector2D normal = Normalized(Vector2D(-between.y, between.x));
    first = onChord + normal * h;
    second = onChord - normal * h;
    return ClassifyResult::TwoPoints;
}

} // namespace Math
