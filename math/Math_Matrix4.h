#pragma once

#include "math/Math_Vector3.h"
#include "math/Math_Vector4.h"

namespace Core
{
class File;
}

namespace Math
{

// The renderer's 4 x 4 transform and projection, laid out as OpenGL takes
// it: column-major, so row r, column c is m[4c + r] and the translation is
// m[12], m[13], m[14].
class Matrix4
{
public:
    Matrix4() { Identity(); }

    void Identity()
    {
        for (int i = 0; i < 16; ++i)
        {
            m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
        }
    }
    static Matrix4 MakeIdentity() { return Matrix4(); }

    static Matrix4 Translation(float x, float y, float z);
    static Matrix4 Scale(float x, float y, float z);
    // Rotation about z, the angle in degrees.
    static Matrix4 RotationZ(float degrees);
    // Overwrites `matrix` with the rotation about z; returns it.
    static Matrix4& SetRotationZ(Matrix4& matrix, float degrees);
    // The OpenGL perspective projection; the field of view is vertical, in degrees.
    static Matrix4 Perspective(float fieldOfView, float aspect, float nearDistance, float farDistance);
    // The orthographic projection with near -1 and far 1.
    static Matrix4 Orthographic2D(float left, float right, float bottom, float top);

    // this x other: the product applies `other` first.
    Matrix4 operator*(const Matrix4& other) const;

    void Transpose();
    float Determinant() const;
    // In place through the adjugate; a determinant of exactly 0 leaves the
    // matrix as it is.
    void Invert();

    float m[16];

private:
    struct Uninitialised
    {
    };
    explicit Matrix4(Uninitialised) {}
};

// Column c of the product is this x (column c of other): the four columns of
// `this` weighted by that column's elements. The columns are copied first so
// the compiler knows the result aliases neither operand, and each column is
// four independent lanes, which it turns into vector code.
inline Matrix4 Matrix4::operator*(const Matrix4& other) const
{
    float c0[4], c1[4], c2[4], c3[4];
    for (int r = 0; r < 4; ++r)
    {
        c0[r] = m[r];
        c1[r] = m[4 + r];
        c2[r] = m[8 + r];
        c3[r] = m[12 + r];
    }
    Matrix4 out{Uninitialised{}};
    const auto column = [&](int c)
    {
        const float x = other.m[4 * c], y = other.m[4 * c + 1], z = other.m[4 * c + 2],
                    w = other.m[4 * c + 3];
        for (int r = 0; r < 4; ++r)
        {
            out.m[4 * c + r] = c0[r] * x + c1[r] * y + c2[r] * z + c3[r] * w;
        }
    };
    column(0);
    column(1);
    column(2);
    column(3);
    return out;
}

// Point transform (w = 1).
inline Vector3 operator*(const Matrix4& matrix, const Vector3& p)
{
    const float* m = matrix.m;
    return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12], m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
            m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]};
}

inline Vector4 operator*(const Matrix4& matrix, const Vector4& v)
{
    const float* m = matrix.m;
    return {m[0] * v.x + m[4] * v.y + m[8] * v.z + m[12] * v.w,
            m[1] * v.x + m[5] * v.y + m[9] * v.z + m[13] * v.w,
            m[2] * v.x + m[6] * v.y + m[10] * v.z + m[14] * v.w,
            m[3] * v.x + m[7] * v.y + m[11] * v.z + m[15] * v.w};
}

Matrix4 operator*(const Matrix4& matrix, float scale);

// The inverse through the adjugate; a determinant strictly inside
// (-Tolerance, Tolerance) gives an unchanged copy of `matrix`.
Matrix4 Inverse(const Matrix4& matrix);

// Archive form: m0..m15 as one 64-byte record. A short read changes nothing.
Core::File& operator<<(Core::File& file, const Matrix4& matrix);
Core::File& operator>>(Core::File& file, Matrix4& matrix);

} // namespace Math
