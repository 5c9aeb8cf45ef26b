#include "math/Math_LineSegment2D.h"

#include "core/Core_ScriptBridge.h"
#include "math/Math_FloatArchive.h"
#include "math/Math_Line2D.h"

#include <algorithm>

namespace Math
{

LuaScript* LineSegment2D::GetScript()
{
    return nullptr;
}

void LineSegment2D::PushToScript(lua_State* state)
{
    Core::PushUserdata(state, this, ScriptTypeName);
}

ClassifyResult ClassifySegments(const LineSegment2D& first, const LineSegment2D& second)
{
    return Detail::RelateSegments(first, second, 0.0f, nullptr, nullptr);
}

ClassifyResult LineSegment2D::IntersectLine(const Line2D& line, Vector2D& crossing) const
{
    const Vector2D dA = pointB - pointA;
    const Vector2D& d = line.direction;
    if (Detail::IsZero(dA) || Detail::IsZero(d))
    {
        return ClassifyResult::NoIntersection;
    }
    const Vector2D offset = line.point - pointA;
    const float cross = CrossZ(dA, d);
    if (NearZero(cross))
    {
        return dA.y * offset.x - dA.x * offset.y == 0.0f ? ClassifyResult::Coincident
                                                         : ClassifyResult::Parallel;
    }
    const float t = CrossZ(offset, d) / cross;
    if (!Detail::InUnitInterval(t))
    {
        return ClassifyResult::NoIntersection;
    }
    crossing = pointA + dA * t;
    return ClassifyResult::Intersecting;
}

bool LineSegment2D::Tangent(const Circle2D& circle, Vector2D& touching) const
{
    const Vector2D d = pointB - pointA;
    const Detail::CircleQuadratic q = Detail::MakeCircleQuadratic(pointA, d, circle);
    if (q.a == 0.0f || !NearZero(q.discriminant))
    {
        return false;
    }
    const float t = q.Vertex();
    if (!Detail::InUnitInterval(t))
    {
        return false;
    }
    touching = pointA + d * t;
    return true;
}

bool LineSegment2D::Perpendicular(const LineSegment2D& other) const
{
    return NearZero(GetDirection().Dot(other.GetDirection()));
}

bool LineSegment2D::Parallel(const LineSegment2D& other) const
{
    return NearZero(CrossZ(GetDirection(), other.GetDirection()));
}

bool LineSegment2D::Alligned(const LineSegment2D& other) const
{
    const Vector2D dA = GetDirection();
    const Vector2D offset = other.pointA - pointA;
    return Parallel(other) && dA.y * offset.x - dA.x * offset.y == 0.0f;
}

float LineSegment2D::AngleBetween(const LineSegment2D& other) const
{
    Vector2D a = GetDirection();
    Vector2D b = other.GetDirection();
    a.Normalize();
    b.Normalize();
    const float lengths = a.Length() * b.Length();
    if (lengths == 0.0f)
    {
        return 0.0f;
    }
    // Rounding can carry the cosine of nearly parallel directions past 1.
    return std::acos(std::clamp(a.Dot(b) / lengths, -1.0f, 1.0f));
}

void LineSegment2D::Write(Core::File& file) const
{
    const float values[4] = {pointA.x, pointA.y, pointB.x, pointB.y};
    Detail::WriteFloats(file, values);
}

void LineSegment2D::Read(Core::File& file)
{
    float values[4];
    if (Detail::ReadFloats(file, values))
    {
        pointA = Vector2D(values[0], values[1]);
        pointB = Vector2D(values[2], values[3]);
    }
}

Core::File& operator<<(Core::File& file, const LineSegment2D& segment)
{
    segment.Write(file);
    return file;
}

Core::File& operator>>(Core::File& file, LineSegment2D& segment)
{
    segment.Read(file);
    return file;
}

} // namespace Math
