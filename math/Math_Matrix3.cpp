#include "math/Math_Matrix3.h"

#include "math/Math_FloatArchive.h"

#include <cmath>

namespace Math
{

Matrix3 Matrix3::Translation(float x, float y)
{
    Matrix3 out;
    out.m[2] = x;
    out.m[5] = y;
    return out;
}

Matrix3 Matrix3::Translation(const Vector2D& offset)
{
    return Translation(offset.x, offset.y);
}

Matrix3 Matrix3::Rotation(float degrees)
{
    const float radians = degrees * DegreesToRadians;
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    Matrix3 out;
    out.m[0] = c;
    out.m[1] = -s;
    out.m[3] = s;
    out.m[4] = c;
    return out;
}

void Matrix3::Inverse(const Matrix3& matrix, Matrix3& out)
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

Matrix3 operator*(const Matrix3& matrix, float scale)
{
    Matrix3 out;
    for (int i = 0; i < 9; ++i)
    {
        out.m[i] = matrix.m[i] * scale;
    }
    return out;
}

Matrix3 operator*(float scale, const Matrix3& matrix)
{
    return matrix * scale;
}

void Matrix3::Write(Core::File& file) const
{
    Detail::WriteFloats(file, m);
}

void Matrix3::Read(Core::File& file)
{
    Detail::ReadFloats(file, m);
}

Core::File& operator<<(Core::File& file, const Matrix3& matrix)
{
    matrix.Write(file);
    return file;
}

Core::File& operator>>(Core::File& file, Matrix3& matrix)
{
    matrix.Read(file);
    return file;
}

} // namespace Math
