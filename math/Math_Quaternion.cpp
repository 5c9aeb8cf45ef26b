#include "math/Math_Quaternion.h"

#include "math/Math_Constants.h"

#include <cmath>

namespace Math
{

Quaternion& Quaternion::operator*=(const Quaternion& other)
{
    // Both operands copied first: `other` may be this quaternion itself.
    const Quaternion q = *this;
    const Quaternion o = other;
    w = q.w * o.w - q.x * o.x - q.y * o.y - q.z * o.z;
    x = q.w * o.x + q.x * o.w + q.y * o.z - q.z * o.y;
    y = q.w * o.y + q.y * o.w + q.z * o.x - q.x * o.z;
    z = q.w * o.z + q.z * o.w + q.x * o.y - q.y * o.x;
    return *this;
}

void Quaternion::Normalize()
{
    const float squared = w * w + x * x + y * y + z * z;
    const float length = std::sqrt(squared);
    if (length == 0.0f)
    {
        return;
    }
    const float inverse = 1.0f / length;
    w *= inverse;
    x *= inverse;
    y *= inverse;
    z *= inverse;
}

void Quaternion::ToMatrix(const Quaternion& q, Matrix4& out)
{
    const float w = q.w, x = q.x, y = q.y, z = q.z;
    float* m = out.m;
    m[0] = 1.0f - 2.0f * (y * y + z * z);
    m[1] = 2.0f * (x * y - w * z);
    m[2] = 2.0f * (x * z + w * y);
    m[3] = 0.0f;
    m[4] = 2.0f * (x * y + w * z);
    m[5] = 1.0f - 2.0f * (x * x + z * z);
    m[6] = 2.0f * (y * z - w * x);
    m[7] = 0.0f;
    m[8] = 2.0f * (x * z - w * y);
    m[9] = 2.0f * (y * z + w * x);
    m[10] = 1.0f - 2.0f * (x * x + y * y);
    m[11] = 0.0f;
    m[12] = 0.0f;
    m[13] = 0.0f;
    m[14] = 0.0f;
    m[15] = 1.0f;
}

Quaternion& Quaternion::FromAxisAngle(Quaternion& q, Vector3& axis, float degrees)
{
    q.w = 1.0f;
    q.x = q.y = q.z = 0.0f;
    const float half = degrees * HalfDegreesToRadians;
    axis.Normalize();
    const float s = std::sin(half);
    q.x = axis.x * s;
    q.y = axis.y * s;
    q.z = axis.z * s;
    q.w = std::cos(half);
    q.Normalize();
    return q;
}

} // namespace Math
