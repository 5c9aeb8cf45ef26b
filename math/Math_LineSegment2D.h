#pragma once

#include "core/Core_Base.h"
#include "math/Math_Ray2D.h"

namespace Math
{

class Line2D;

// The segment from A to B; its direction is B - A, not normalised. A
// segment of zero length meets nothing.
class LineSegment2D final : public Core::Base
{
public:
    static constexpr const char* ScriptTypeName = "LineSegment2D";

    LineSegment2D() = default;
    LineSegment2D(const Vector2D& a, const Vector2D& b) : pointA(a), pointB(b) {}
    LineSegment2D(const LineSegment2D&) = default;
    LineSegment2D& operator=(const LineSegment2D&) = default;

    virtual LuaScript* GetScript();
    // Pushes a userdata holding this object's address under "LineSegment2D".
    virtual void PushToScript(lua_State* state);

    Vector2D GetDirection() const { return pointB - pointA; }

    // Intersecting (crossing point written), NoIntersection, Coincident
    // (collinear and overlapping: the overlap is written), Parallel or
    // CollinearApart. Segments count as collinear when the offset cross
    // product lies in [-1, 1], a band that widens the contact of nearly
    // coincident segments.
    ClassifyResult IntersectLineSegment(const LineSegment2D& other, Vector2D& crossing,
                                        LineSegment2D& overlap) const;
    // Intersecting (crossing point written), NoIntersection, Coincident (the
    // part of the segment on the ray is written), Parallel or CollinearApart.
    ClassifyResult IntersectRay(const Ray2D& ray, Vector2D& crossing, LineSegment2D& overlap) const;
    // Intersecting (crossing point written), NoIntersection, Coincident or Parallel.
    ClassifyResult IntersectLine(const Line2D& line, Vector2D& crossing) const;
    // NoIntersection, Tangent (discriminant exactly 0), OnePoint or TwoPoints;
    // the points in the segment's order from A.
    ClassifyResult IntersectCircle(const Circle2D& circle, Vector2D& first, Vector2D& second) const;
    // True when the discriminant lies within the tolerance of 0 and the
    // touching point lies on the segment; the point is then written.
    bool Tangent(const Circle2D& circle, Vector2D& touching) const;

    bool Perpendicular(const LineSegment2D& other) const;
    bool Parallel(const LineSegment2D& other) const;
    // Parallel, and the other's first point lies exactly on this segment's line.
    bool Alligned(const LineSegment2D& other) const;
    // Angle between the directions, in radians.
    float AngleBetween(const LineSegment2D& other) const;

    // Archive form: A then B, four 4-byte floats. A short read changes nothing.
    void Write(Core::File& file) const;
    void Read(Core::File& file);

    Vector2D pointA;
    Vector2D pointB;
};

// IntersectLineSegment's decisions without outputs, except that collinear
// needs an offset cross product of exactly 0.
ClassifyResult ClassifySegments(const LineSegment2D& first, const LineSegment2D& second);

Core::File& operator<<(Core::File& file, const LineSegment2D& segment);
Core::File& operator>>(Core::File& file, LineSegment2D& segment);

namespace Detail
{

// Parameter of `point` along base + s * direction, from the x components
// unless the direction's x lies within the tolerance of 0 (then from y, as
// long as y is not 0). The direction is never (0, 0).
inline float ParameterAlong(const Vector2D& point, const Vector2D& base, const Vector2D& direction)
{
    if (!NearZero(direction.x) || direction.y == 0.0f)
    {
        return (point.x - base.x) / direction.x;
    }
    return (point.y - base.y) / direction.y;
}

inline bool IsZero(const Vector2D& v)
{
    return v.x == 0.0f && v.y == 0.0f;
}

// Where two collinear segments overlap. `collinear` has already been decided
// by the caller; the longer segment is the base (the other one on equal
// lengths) and the ends of the shorter are placed along it. The overlap runs
// from the shorter segment's end that lies on the base to the base's end it
// points towards, so only the sign of dA.dB matters.
inline ClassifyResult OverlapCollinear(const Vector2D& a, const Vector2D& dA, const Vector2D& e,
                                       const Vector2D& dB, const Vector2D& f, const Vector2D& b,
                                       LineSegment2D* overlap)
{
    const bool thisIsBase = dB.Length() < dA.Length();
    const Vector2D& baseStart = thisIsBase ? a : e;
    const Vector2D& baseEnd = thisIsBase ? b : f;
    const Vector2D& baseDirection = thisIsBase ? dA : dB;
    const Vector2D& shortFirst = thisIsBase ? e : a;
    const Vector2D& shortSecond = thisIsBase ? f : b;
    const bool firstOnBase = InUnitInterval(ParameterAlong(shortFirst, baseStart, baseDirection));
    const bool secondOnBase = InUnitInterval(ParameterAlong(shortSecond, baseStart, baseDirection));
    const float alignment = dA.Dot(dB);

    if (firstOnBase && secondOnBase)
    {
        if (overlap != nullptr)
        {
            *overlap = LineSegment2D(shortFirst, shortSecond);
        }
        return ClassifyResult::Coincident;
    }
    if ((!firstOnBase && !secondOnBase) || alignment == 0.0f)
    {
        return ClassifyResult::CollinearApart;
    }
    if (overlap != nullptr)
    {
        const bool sameWay = alignment > 0.0f;
        if (firstOnBase)
        {
            *overlap = LineSegment2D(shortFirst, sameWay ? baseEnd : baseStart);
        }
        else
        {
            *overlap = LineSegment2D(shortSecond, sameWay ? baseStart : baseEnd);
        }
    }
    return ClassifyResult::Coincident;
}

} // namespace Detail

namespace Detail
{

// Segment against segment, for both the test with outputs and the one
// without. Parallel segments count as collinear when the offset cross
// product lies within [-collinearBand, collinearBand]; an output that is
// null is not written.
inline ClassifyResult RelateSegments(const LineSegment2D& self, const LineSegment2D& other, float collinearBand,
                                     Vector2D* crossing, LineSegment2D* overlap)
{
    const Vector2D dA = self.pointB - self.pointA;
    const Vector2D dB = other.pointB - other.pointA;
    if (IsZero(dA) || IsZero(dB))
    {
        return ClassifyResult::NoIntersection;
    }
    const Vector2D offset = other.pointA - self.pointA;
    const float cross = CrossZ(dA, dB);
    if (!NearZero(cross))
    {
        // self.pointA + t dA = other.pointA + u dB
        const float t = CrossZ(offset, dB) / cross;
        const float u = CrossZ(offset, dA) / cross;
        if (!InUnitInterval(t) || !InUnitInterval(u))
        {
            return ClassifyResult::NoIntersection;
        }
        if (crossing != nullptr)
        {
            *crossing = self.pointA + dA * t;
        }
        return ClassifyResult::Intersecting;
    }
    const float offsetCross = offset.x * dA.y - offset.y * dA.x;
    if (offsetCross < -collinearBand || offsetCross > collinearBand)
    {
        return ClassifyResult::Parallel;
    }
    return OverlapCollinear(self.pointA, dA, other.pointA, dB, other.pointB, self.pointB, overlap);
}

} // namespace Detail

inline ClassifyResult LineSegment2D::IntersectLineSegment(const LineSegment2D& other, Vector2D& crossing,
                                                          LineSegment2D& overlap) const
{
    return Detail::RelateSegments(*this, other, 1.0f, &crossing, &overlap);
}

inline ClassifyResult LineSegment2D::IntersectRay(const Ray2D& ray, Vector2D& crossing,
                                                  LineSegment2D& overlap) const
{
    const Vector2D dA = pointB - pointA;
    const Vector2D& r = ray.direction;
    if (Detail::IsZero(dA) || Detail::IsZero(r))
    {
        return ClassifyResult::NoIntersection;
    }
    const Vector2D offset = ray.origin - pointA;
    const float cross = CrossZ(dA, r);
    if (!NearZero(cross))
    {
        // pointA + t dA = origin + u r
        const float t = CrossZ(offset, r) / cross;
        const float u = CrossZ(offset, dA) / cross;
        if (u >= 0.0f && Detail::InUnitInterval(t))
        {
            crossing = pointA + dA * t;
            return ClassifyResult::Intersecting;
        }
        return ClassifyResult::NoIntersection;
    }
    if (dA.y * offset.x - dA.x * offset.y != 0.0f)
    {
        return ClassifyResult::Parallel;
    }
    const float tA = Detail::ParameterAlong(pointA, ray.origin, r);
    const float tB = Detail::ParameterAlong(pointB, ray.origin, r);
    if (tA > 0.0f)
    {
        overlap = LineSegment2D(pointA, tB >= 0.0f ? pointB : ray.origin);
        return ClassifyResult::Coincident;
    }
    if (tB > 0.0f)
    {
        overlap = LineSegment2D(pointB, ray.origin);
        return ClassifyResult::Coincident;
    }
    if (tA == 0.0f)
    {
        crossing = pointA;
        return ClassifyResult::Intersecting;
    }
    if (tB == 0.0f)
    {
        crossing = pointB;
        return ClassifyResult::Intersecting;
    }
    return ClassifyResult::CollinearApart;
}

inline ClassifyResult LineSegment2D::IntersectCircle(const Circle2D& circle, Vector2D& first,
                                                     Vector2D& second) const
{
    const Vector2D d = pointB - pointA;
    const Detail::CircleQuadratic q = Detail::MakeCircleQuadratic(pointA, d, circle);
    if (q.a == 0.0f || q.discriminant < 0.0f)
    {
        return ClassifyResult::NoIntersection;
    }
    if (q.discriminant == 0.0f)
    {
        const float t = q.Vertex();
        if (!Detail::InUnitInterval(t))
        {
            return ClassifyResult::NoIntersection;
        }
        first = pointA + d * t;
        return ClassifyResult::Tangent;
    }
    const float t1 = q.Root(-1.0f);
    const float t2 = q.Root(1.0f);
    if (Detail::InUnitInterval(t1))
    {
        first = pointA + d * t1;
        if (Detail::InUnitInterval(t2))
        {
            second = pointA + d * t2;
            return ClassifyResult::TwoPoints;
        }
        return ClassifyResult::OnePoint;
    }
    if (Detail::InUnitInterval(t2))
    {
        first = pointA + d * t2;
        return ClassifyResult::OnePoint;
    }
    return ClassifyResult::NoIntersection;
}

} // namespace Math
