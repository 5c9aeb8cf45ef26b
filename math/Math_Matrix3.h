#pragma once

#include "math/Math_Constants.h"
#include "math/Math_Vector2D.h"

namespace Core
{
class File;
}

namespace Math
{

// The 2D affine transform of the physics engine: nine floats, row-major, so
// row r, column c is m[3r + c]. The translation sits in m[2] (x) and m[5]
// (y); the bottom row of an affine transform is (0, 0, 1).
class Matrix3
{
public:
    Matrix3() { Identity(); }

    void Identity()
    {
        for (int i = 0; i < 9; ++i)
        {
            m[i] = (i % 4 == 0) ? 1.0f : 0.0f;
        }
    }

    // this x other.
    Matrix3 operator*(const Matrix3& other) const;

    static Matrix3 Translation(float x, float y);
    static Matrix3 Translation(const Vector2D& offset);
    // [cos, -sin, 0; sin, cos, 0; 0, 0, 1], the angle in degrees.
    static Matrix3 Rotation(float degrees);
    // out = m^-1 through the adjugate. When the determinant lies strictly
    // inside (-Tolerance, Tolerance) nothing is written.
    static void Inverse(const Matrix3& m, Matrix3& out);

    // The point transform with the translation taken from the bottom row:
    // x' = m0 x + m1 y + m6, y' = m3 x + m4 y + m7. For an affine matrix
    // (bottom row 0, 0, 1) this applies the rotation part only.
    Vector2D TransformPointBottomRow(const Vector2D& p) const
    {
        return {m[0] * p.x + m[1] * p.y + m[6], m[3] * p.x + m[4] * p.y + m[7]};
    }

    // Archive form: m0..m8 as nine 4-byte floats, 36 bytes. A short read
    // changes nothing.
    void Write(Core::File& file) const;
    void Read(Core::File& file);

    float m[9];
};

inline Matrix3 Matrix3::operator*(const Matrix3& other) const
{
    Matrix3 out;
    for (int r = 0; r < 3; ++r)
    {
        for (int c = 0; c < 3; ++c)
        {
            out.m[3 * r + c] =
                m[3 * r] * other.m[c] + m[3 * r + 1] * other.m[3 + c] + m[3 * r + 2] * other.m[6 + c];
        }
    }
    return out;
}

// Inline, so a product with a translation folds the terms that are exact
// whatever the other operand (x 1, 1 x 1, 0 x 0) at the call. The rotation
// stays out of line: its sine and cosine are the library's at run time,
// never a compile-time value for a constant angle.
inline Matrix3 Matrix3::Translation(float x, float y)
{
    Matrix3 out;
    out.m[2] = x;
    out.m[5] = y;
    return out;
}

inline Matrix3 Matrix3::Translation(const Vector2D& offset)
{
    return Translation(offset.x, offset.y);
}

inline void Matrix3::Inverse(const Matrix3& matrix, Matrix3& out)
{
    const float* m = matrix.m;
    const float det = m[0] * (m[4] * m[8] - m[7] * m[5]) - m[1] * (m[3] * m[8] - m[6] * m[5]) +
                      m[2] * (m[3] * m[7] - m[6] * m[4]);
    if (det > -Tolerance && det < Tolerance)
    {
        return;
    }
    const float inverse = 1.0f / det;
    // The adjugate (transposed cofactors), computed before `out` is written:
    // `out` may be `matrix` itself.
    const float adjugate[9] = {
        m[4] * m[8] - m[7] * m[5], m[2] * m[7] - m[8] * m[1], m[5] * m[1] - m[2] * m[4],
        m[6] * m[5] - m[8] * m[3], m[0] * m[8] - m[2] * m[6], m[2] * m[3] - m[5] * m[0],
        m[7] * m[3] - m[6] * m[4], m[6] * m[1] - m[7] * m[0], m[0] * m[4] - m[3] * m[1],
    };
    for (int i = 0; i < 9; ++i)
    {
        out.m[i] = adjugate[i] * inverse;
    }
}

Matrix3 operator*(const Matrix3& matrix, float scale);
Matrix3 operator*(float scale, const Matrix3& matrix);

// Point transform: x' = m0 x + m1 y + m2, y' = m3 x + m4 y + m5.
inline Vector2D operator*(const Matrix3& matrix, const Vector2D& p)
{
    const float* m = matrix.m;
    return {m[0] * p.x + m[1] * p.y + m[2], m[3] * p.x + m[4] * p.y + m[5]};
}

Core::File& operator<<(Core::File& file, const Matrix3& matrix);
Core::File& operator>>(Core::File& file, Matrix3& matrix);

} // namespace Math
