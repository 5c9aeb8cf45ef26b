#pragma once

#include "math/Math_ClassifyResult.h"

#include <cmath>

namespace Math
{

class Plane;

// A 3D point or direction of the culling volumes, in 32-bit floats.
class Vector3
{
public:
    constexpr Vector3() = default;
    constexpr Vector3(float xValue, float yValue, float zValue) : x(xValue), y(yValue), z(zValue) {}

    Vector3 operator-(const Vector3& other) const { return {x - other.x, y - other.y, z - other.z}; }
    Vector3 operator*(float scale) const { return {x * scale, y * scale, z * scale}; }
    Vector3& operator+=(const Vector3& other)
    {
        x += other.x;
        y += other.y;
        z += other.z;
        return *this;
    }

    float Length() const
    {
        const float squared = x * x + y * y + z * z;
        return std::sqrt(squared);
    }
    // Divides by the length; only an exact zero length leaves the vector as it is.
    void Normalize()
    {
        const float length = Length();
        if (length == 0.0f)
        {
            return;
        }
        x /= length;
        y /= length;
        z /= length;
    }

    // InFront or Behind by the side of the plane's normal; Intersecting on the
    // plane or within 0.05 of the plane's stored point.
    ClassifyResult ClassifyToPlane(const Plane& plane) const;

    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// (ay bz - az by, az bx - ax bz, ax by - ay bx).
inline Vector3 CrossProduct(float ax, float ay, float az, float bx, float by, float bz)
{
    return {ay * bz - az * by, az * bx - ax * bz, ax * by - ay * bx};
}

} // namespace Math
