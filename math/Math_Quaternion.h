#pragma once

#include "math/Math_Matrix4.h"
#include "math/Math_Vector3.h"

namespace Math
{

// A rotation quaternion (w, x, y, z). It has no constructor of its own: it
// starts from FromAxisAngle or an assignment.
class Quaternion
{
public:
    // this = this * other (Hamilton product, this on the left).
    Quaternion& operator*=(const Quaternion& other);
    // Scales to unit length; only an exact zero length leaves it as it is.
    void Normalize();

    // Writes all sixteen elements: the rotation of q, transposed in the
    // column-major layout of Matrix4.
    static void ToMatrix(const Quaternion& q, Matrix4& out);
    // q = the unit rotation by `degrees` about `axis`. The axis is normalised
    // in place, so the caller's vector changes. Returns q.
    static Quaternion& FromAxisAngle(Quaternion& q, Vector3& axis, float degrees);

    float w;
    float x;
    float y;
    float z;
};

} // namespace Math
