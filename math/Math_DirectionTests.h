#pragma once

#include "math/Math_Vector2D.h"

#include <algorithm>
#include <cmath>

// Comparisons of two directions shared by rays and lines.
namespace Math::Detail
{

inline bool DirectionsPerpendicular(const Vector2D& self, const Vector2D& other)
{
    return NearZero(self.Dot(other));
}

inline bool DirectionsParallel(const Vector2D& self, const Vector2D& other)
{
    return NearZero(other.y * self.x - other.x * self.y);
}

// Degrees; 0 when either direction is (0, 0).
inline float DirectionsAngleDegrees(const Vector2D& self, const Vector2D& other)
{
    const Vector2D a = Normalized(self);
    const Vector2D b = Normalized(other);
    const float lengths = a.Length() * b.Length();
    if (lengths == 0.0f)
    {
        return 0.0f;
    }
    // Rounding can carry the cosine of nearly parallel directions past 1.
    return std::acos(std::clamp(a.Dot(b) / lengths, -1.0f, 1.0f)) * RadiansToDegrees;
}

} // namespace Math::Detail
