#include "math/Math_Frustum.h"

#include <cmath>

namespace Math
{

namespace
{

// Scales (a, b, c, d) so that (a, b, c) has unit length and stores it.
void SetNormalisedPlane(Plane& plane, const Vector4& coefficients)
{
    const float squared =
        coefficients.x * coefficients.x + coefficients.y * coefficients.y + coefficients.z * coefficients.z;
    const float length = std::sqrt(squared);
    plane.SetCoefficients(coefficients.x / length, coefficients.y / length, coefficients.z / length,
                          coefficients.w / length);
}

} // namespace

void Frustum::SetProjection(const Matrix4& matrix)
{
    projection = matrix;
    const float* m = projection.m;

    const float n = m[14] / (m[10] - 1.0f);
    const float f = m[14] / (m[10] + 1.0f);
    const float xn = (m[8] + 1.0f) / m[0] * n;
    const float yn = (1.0f + m[9]) / m[5] * n;
    const float xf = (f / n) * xn;
    const float yf = (f / n) * yn;
    corners[0] = Vector3(xn, yn, -n);
    corners[1] = Vector3(-xn, yn, -n);
    corners[2] = Vector3(-xf, yf, -f);
    corners[3] = Vector3(xf, yf, -f);
    corners[4] = Vector3(xn, -yn, -n);
    corners[5] = Vector3(-xn, -yn, -n);
    corners[6] = Vector3(-xf, -yf, -f);
    corners[7] = Vector3(xf, -yf, -f);

    // Row i of the projection is (m[i], m[4 + i], m[8 + i], m[12 + i]); a
    // clip-space bound -w <= x_i <= w gives the planes row 3 -/+ row i.
    const auto row = [m](int i) { return Vector4(m[i], m[4 + i], m[8 + i], m[12 + i]); };
    const auto add = [](const Vector4& p, const Vector4& q)
    { return Vector4(p.x + q.x, p.y + q.y, p.z + q.z, p.w + q.w); };
    const auto subtract = [](const Vector4& p, const Vector4& q)
    { return Vector4(p.x - q.x, p.y - q.y, p.z - q.z, p.w - q.w); };
    const Vector4 r0 = row(0), r1 = row(1), r2 = row(2), r3 = row(3);
    SetNormalisedPlane(planes[0], subtract(r3, r1)); // top
    SetNormalisedPlane(planes[1], add(r3, r1));      // bottom
    SetNormalisedPlane(planes[2], add(r3, r2));      // near
    SetNormalisedPlane(planes[3], subtract(r3, r2)); // far
    SetNormalisedPlane(planes[4], subtract(r3, r0)); // right
    SetNormalisedPlane(planes[5], add(r3, r0));      // left
}

void Frustum::Update(const Matrix4& camera)
{
    // Planes transform by the inverse transpose of the point transform.
    Matrix4 planeTransform(camera);
    planeTransform.Invert();
    planeTransform.Transpose();
    for (Plane& plane : planes)
    {
        SetNormalisedPlane(plane, planeTransform * Vector4(plane.a, plane.b, plane.c, plane.d));
    }
    for (Vector3& corner : corners)
    {
        corner = camera * corner;
    }
}

ClassifyResult Frustum::Classify(const BoundingBox& box) const
{
    ClassifyResult result = ClassifyResult::Inside;
    for (const Plane& plane : planes)
    {
        int behind = 0;
        for (const Vector3& corner : box.corners)
        {
            if (corner.ClassifyToPlane(plane) == ClassifyResult::Behind)
            {
                ++behind;
            }
        }
        if (behind == 8)
        {
            return ClassifyResult::Outside;
        }
        if (behind > 0)
        {
            result = ClassifyResult::Intersecting;
        }
    }
    return result;
}

} // namespace Math
