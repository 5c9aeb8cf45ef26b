#include "math/Math_Vector2D.h"

#include "math/Math_Circle2D.h"
#include "math/Math_FloatArchive.h"
#include "math/Math_Line2D.h"
#include "math/Math_Ray2D.h"

namespace Math
{

namespace
{

float DistanceToLineAlong(const Vector2D& p, const Vector2D& point, const Vector2D& direction, Vector2D& foot)
{
    const float squared = direction.Dot(direction);
    if (squared != 0.0f)
    {
        const float t = (p - point).Dot(direction) / squared;
        foot = point + direction * t;
    }
    return (p - foot).Length();
}

} // namespace

ClassifyResult Vector2D::ClassifyToCircle(const Circle2D& circle) const
{
    const float distance = (*this - circle.center).Length();
    if (distance > circle.radius)
    {
        return ClassifyResult::Outside;
    }
    if (distance < circle.radius)
    {
        return ClassifyResult::Inside;
    }
    return ClassifyResult::Intersecting;
}

float Vector2D::DistanceToLine(const Ray2D& ray, Vector2D& foot) const
{
    return DistanceToLineAlong(*this, ray.origin, ray.direction, foot);
}

float Vector2D::DistanceToLine(const Line2D& line, Vector2D& foot) const
{
    return DistanceToLineAlong(*this, line.point, line.direction, foot);
}

void Vector2D::Write(Core::File& file) const
{
    file << x << y;
}

void Vector2D::Read(Core::File& file)
{
    float values[2];
    if (Detail::ReadFloats(file, values))
    {
        x = values[0];
        y = values[1];
    }
}

Core::File& operator<<(Core::File& file, const Vector2D& v)
{
    v.Write(file);
    return file;
}

Core::File& operator>>(Core::File& file, Vector2D& v)
{
    v.Read(file);
    return file;
}

} // namespace Math
