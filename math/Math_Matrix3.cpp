#include "math/Math_Matrix3.h"

#include "math/Math_FloatArchive.h"

#include <cmath>

namespace Math
{

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
