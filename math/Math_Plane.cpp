#include "math/Math_Plane.h"

#include "math/Math_Constants.h"

namespace Math
{

void Plane::SetCoefficients(float aValue, float bValue, float cValue, float dValue)
{
    a = aValue;
    b = bValue;
    c = cValue;
    d = dValue;
    normal = Vector3(a, b, c);
    if (!NearZero(c))
    {
        point = Vector3(0.0f, 0.0f, -d / c);
    }
    else if (!NearZero(b))
    {
        point = Vector3(0.0f, -d / b, 0.0f);
    }
    else if (!NearZero(a))
    {
        point = Vector3(-d / a, 0.0f, 0.0f);
    }
}

void Plane::SetPointNormal(const Vector3& pointOnPlane, const Vector3& normalVector)
{
    point = pointOnPlane;
    normal = normalVector;
    a = normal.x;
    b = normal.y;
    c = normal.z;
    d = -(point.x * normal.x + point.y * normal.y + point.z * normal.z);
}

ClassifyResult Vector3::ClassifyToPlane(const Plane& plane) const
{
    constexpr float OnPlaneRadius = 0.05f;
    const Vector3 diff = *this - plane.point;
    // Far points skip the square root: the squared length is compared first
    // with a bound safely above 0.05^2, so the rounded decision is unchanged.
    const float squared = diff.x * diff.x + diff.y * diff.y + diff.z * diff.z;
    if (squared < 0.0026f && std::sqrt(squared) < OnPlaneRadius)
    {
        return ClassifyResult::Intersecting;
    }
    const float side = plane.normal.x * diff.x + plane.normal.y * diff.y + plane.normal.z * diff.z;
    if (side > 0.0f)
    {
        return ClassifyResult::InFront;
    }
    if (side < 0.0f)
    {
        return ClassifyResult::Behind;
    }
    return ClassifyResult::Intersecting;
}

} // namespace Math
