#pragma once

#include "math/Math_Vector3.h"

namespace Math
{

// The plane a x + b y + c z + d = 0, also kept as a point on it and its
// normal (a, b, c), which need not be unit length.
class Plane
{
public:
    Plane() = default;

    // Stores the coefficients; the normal becomes (a, b, c) and the point the
    // plane's crossing with the first usable axis, tried z, y, x (a
    // coefficient within the tolerance of 0 is not usable). With none usable
    // the point keeps its previous value.
    void SetCoefficients(float a, float b, float c, float d);
    // normal = (a, b, c) = `normalVector`, d = -(point . normal).
    void SetPointNormal(const Vector3& pointOnPlane, const Vector3& normalVector);

    Vector3 point;
    Vector3 normal;
    float a = 0.0f;
    float b = 0.0f;
    float c = 0.0f;
    float d = 0.0f;
};

} // namespace Math
