#pragma once

#include "math/Math_ClassifyResult.h"
#include "math/Math_Constants.h"

#include <cmath>

namespace Core
{
class File;
}

namespace Math
{

class Circle2D;
class Ray2D;
class Line2D;

// A 2D position or direction in 32-bit floats: every intermediate result is
// a float, so the same inputs give the same bits on every compiler (the build
// forbids contraction into fused multiply-adds).
class Vector2D
{
public:
    constexpr Vector2D() = default;
    constexpr Vector2D(float xValue, float yValue) : x(xValue), y(yValue) {}

    Vector2D operator+(const Vector2D& other) const { return {x + other.x, y + other.y}; }
    Vector2D operator-() const { return {-x, -y}; }
    Vector2D operator*(float scale) const { return {x * scale, y * scale}; }
    Vector2D& operator+=(const Vector2D& other)
    {
        x += other.x;
        y += other.y;
        return *this;
    }
    Vector2D& operator-=(const Vector2D& other)
    {
        x -= other.x;
        y -= other.y;
        return *this;
    }

    // Exact comparisons: no tolerance.
    bool operator==(const Vector2D& other) const { return x == other.x && y == other.y; }
    bool operator!=(const Vector2D& other) const { return !(*this == other); }

    float Dot(const Vector2D& other) const { return x * other.x + y * other.y; }
    float Length() const
    {
        const float squared = x * x + y * y;
        return std::sqrt(squared);
    }
    // Divides by the length unless the length lies strictly inside
    // (-Tolerance, Tolerance); a vector that short is left as it is.
    void Normalize()
    {
        const float length = Length();
        if (length > -Tolerance && length < Tolerance)
        {
            return;
        }
        x /= length;
        y /= length;
    }
    void SetZero() { x = y = 0.0f; }

    // Point against circle: Outside, Inside, or Intersecting when the distance
    // to the centre equals the radius exactly.
    ClassifyResult ClassifyToCircle(const Circle2D& circle) const;

    // Distance to the infinite line through `point` along `direction`; `foot`
    // receives the foot of the perpendicular. A zero direction makes the line
    // the point itself.
    float DistanceToLineThrough(const Vector2D& point, const Vector2D& direction, Vector2D& foot) const;

    // The same for the line through a ray's origin or a line's point. With a
    // zero direction `foot` is not written and the distance is measured to the
    // foot as the caller passed it.
    float DistanceToLine(const Ray2D& ray, Vector2D& foot) const;
    float DistanceToLine(const Line2D& line, Vector2D& foot) const;

    // Archive form: x then y, two 4-byte floats. A short read changes nothing.
    void Write(Core::File& file) const;
    void Read(Core::File& file);

    float x = 0.0f;
    float y = 0.0f;
};

inline Vector2D operator-(const Vector2D& a, const Vector2D& b)
{
    return {a.x - b.x, a.y - b.y};
}

inline Vector2D Subtract(const Vector2D& a, const Vector2D& b)
{
    return a - b;
}

inline Vector2D operator*(float scale, const Vector2D& v)
{
    return v * scale;
}

// No guard against a zero divisor.
inline Vector2D operator/(const Vector2D& v, float divisor)
{
    return {v.x / divisor, v.y / divisor};
}

inline float DotProduct(const Vector2D& a, const Vector2D& b)
{
    return a.Dot(b);
}

// The z of the 3D cross product: a.x * b.y - a.y * b.x.
inline float CrossZ(const Vector2D& a, const Vector2D& b)
{
    return a.x * b.y - a.y * b.x;
}

// Unlike Vector2D::Normalize there is no threshold: only an exact zero length
// gives (0, 0).
inline Vector2D Normalized(const Vector2D& v)
{
    const float length = v.Length();
    if (length == 0.0f)
    {
        return {};
    }
    return {v.x / length, v.y / length};
}

// centre - halfWidth <= value <= centre + halfWidth.
inline bool IsWithin(float value, float centre, float halfWidth)
{
    return centre - halfWidth <= value && value <= centre + halfWidth;
}

inline float Vector2D::DistanceToLineThrough(const Vector2D& point, const Vector2D& direction,
                                             Vector2D& foot) const
{
    const float squared = direction.Dot(direction);
    if (squared == 0.0f)
    {
        foot = point;
    }
    else
    {
        const float t = (*this - point).Dot(direction) / squared;
        foot = point + direction * t;
    }
    return (*this - foot).Length();
}

Core::File& operator<<(Core::File& file, const Vector2D& v);
Core::File& operator>>(Core::File& file, Vector2D& v);

} // namespace Math
