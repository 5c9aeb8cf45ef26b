#include "math/Math_Matrix4.h"

#include "core/Core_File.h"
#include "math/Math_Constants.h"

#include <cmath>

namespace Math
{

namespace
{

// The adjugate (transposed cofactor matrix) and the determinant of a
// column-major 4 x 4 matrix. The twelve 2 x 2 minors of the top two rows
// (s) and of the bottom two rows (c) are shared by all sixteen cofactors, and
// the determinant is the Laplace expansion over complementary minors:
// det = s0 c5 - s1 c4 + s2 c3 + s3 c2 - s4 c1 + s5 c0.
struct Adjugate
{
    float m[16];
    float determinant;
};

Adjugate ComputeAdjugate(const float* a)
{
    // a(r, c) = a[4c + r]
    const float a00 = a[0], a10 = a[1], a20 = a[2], a30 = a[3];
    const float a01 = a[4], a11 = a[5], a21 = a[6], a31 = a[7];
    const float a02 = a[8], a12 = a[9], a22 = a[10], a32 = a[11];
    const float a03 = a[12], a13 = a[13], a23 = a[14], a33 = a[15];

    const float s0 = a00 * a11 - a10 * a01;
    const float s1 = a00 * a12 - a10 * a02;
    const float s2 = a00 * a13 - a10 * a03;
    const float s3 = a01 * a12 - a11 * a02;
    const float s4 = a01 * a13 - a11 * a03;
    const float s5 = a02 * a13 - a12 * a03;

    const float c0 = a20 * a31 - a30 * a21;
    const float c1 = a20 * a32 - a30 * a22;
    const float c2 = a20 * a33 - a30 * a23;
    const float c3 = a21 * a32 - a31 * a22;
    const float c4 = a21 * a33 - a31 * a23;
    const float c5 = a22 * a33 - a32 * a23;

    Adjugate out;
    float* o = out.m; // o[4c + r] = adjugate(r, c)
    o[0] = a11 * c5 - a12 * c4 + a13 * c3;
    o[4] = -a01 * c5 + a02 * c4 - a03 * c3;
    o[8] = a31 * s5 - a32 * s4 + a33 * s3;
    o[12] = -a21 * s5 + a22 * s4 - a23 * s3;

    o[1] = -a10 * c5 + a12 * c2 - a13 * c1;
    o[5] = a00 * c5 - a02 * c2 + a03 * c1;
    o[9] = -a30 * s5 + a32 * s2 - a33 * s1;
    o[13] = a20 * s5 - a22 * s2 + a23 * s1;

    o[2] = a10 * c4 - a11 * c2 + a13 * c0;
    o[6] = -a00 * c4 + a01 * c2 - a03 * c0;
    o[10] = a30 * s4 - a31 * s2 + a33 * s0;
    o[14] = -a20 * s4 + a21 * s2 - a23 * s0;

    o[3] = -a10 * c3 + a11 * c1 - a12 * c0;
    o[7] = a00 * c3 - a01 * c1 + a02 * c0;
    o[11] = -a30 * s3 + a31 * s1 - a32 * s0;
    o[15] = a20 * s3 - a21 * s1 + a22 * s0;

    out.determinant = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
    return out;
}

void ScaleInto(const Adjugate& adjugate, float* out)
{
    const float inverse = 1.0f / adjugate.determinant;
    for (int i = 0; i < 16; ++i)
    {
        out[i] = adjugate.m[i] * inverse;
    }
}

} // namespace

Matrix4 Matrix4::Translation(float x, float y, float z)
{
    Matrix4 out;
    out.m[12] = x;
    out.m[13] = y;
    out.m[14] = z;
    return out;
}

Matrix4 Matrix4::Scale(float x, float y, float z)
{
    Matrix4 out;
    out.m[0] = x;
    out.m[5] = y;
    out.m[10] = z;
    return out;
}

Matrix4 Matrix4::RotationZ(float degrees)
{
    Matrix4 out;
    return SetRotationZ(out, degrees);
}

Matrix4& Matrix4::SetRotationZ(Matrix4& matrix, float degrees)
{
    const float radians = degrees * DegreesToRadians;
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    for (float& value : matrix.m)
    {
        value = 0.0f;
    }
    matrix.m[0] = c;
    matrix.m[1] = s;
    matrix.m[4] = -s;
    matrix.m[5] = c;
    matrix.m[10] = 1.0f;
    matrix.m[15] = 1.0f;
    return matrix;
}

Matrix4 Matrix4::Perspective(float fieldOfView, float aspect, float nearDistance, float farDistance)
{
    const float c = static_cast<float>(1.0 / std::tan(fieldOfView * 0.5 * DegreesToRadiansDouble));
    Matrix4 out;
    for (float& value : out.m)
    {
        value = 0.0f;
    }
    out.m[0] = c / aspect;
    out.m[5] = c;
    out.m[10] = (nearDistance + farDistance) / (nearDistance - farDistance);
    out.m[11] = -1.0f;
    out.m[14] = nearDistance * (farDistance + farDistance) / (nearDistance - farDistance);
    return out;
}

Matrix4 Matrix4::Orthographic2D(float left, float right, float bottom, float top)
{
    Matrix4 out;
    out.m[0] = 2.0f / (right - left);
    out.m[5] = 2.0f / (top - bottom);
    out.m[10] = -1.0f;
    out.m[12] = (left + right) / (left - right);
    out.m[13] = (bottom + top) / (bottom - top);
    return out;
}

void Matrix4::Transpose()
{
    for (int r = 0; r < 4; ++r)
    {
        for (int c = r + 1; c < 4; ++c)
        {
            const float swap = m[4 * c + r];
            m[4 * c + r] = m[4 * r + c];
            m[4 * r + c] = swap;
        }
    }
}

float Matrix4::Determinant() const
{
    return ComputeAdjugate(m).determinant;
}

void Matrix4::Invert()
{
    const Adjugate adjugate = ComputeAdjugate(m);
    if (adjugate.determinant == 0.0f)
    {
        return;
    }
    ScaleInto(adjugate, m);
}

Matrix4 Inverse(const Matrix4& matrix)
{
    const Adjugate adjugate = ComputeAdjugate(matrix.m);
    Matrix4 out(matrix);
    if (adjugate.determinant > -Tolerance && adjugate.determinant < Tolerance)
    {
        return out;
    }
    ScaleInto(adjugate, out.m);
    return out;
}

Matrix4 operator*(const Matrix4& matrix, float scale)
{
    Matrix4 out(matrix);
    for (float& value : out.m)
    {
        value *= scale;
    }
    return out;
}

Core::File& operator<<(Core::File& file, const Matrix4& matrix)
{
    file.Write(matrix.m, sizeof matrix.m);
    return file;
}

Core::File& operator>>(Core::File& file, Matrix4& matrix)
{
    // Read delivers all 64 bytes or none.
    file.Read(matrix.m, sizeof matrix.m);
    return file;
}

} // namespace Math
