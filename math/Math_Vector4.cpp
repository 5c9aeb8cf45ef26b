#include "math/Math_Vector4.h"

#include "math/Math_FloatArchive.h"

namespace Math
{

Core::File& operator<<(Core::File& file, const Vector4& v)
{
    const float values[4] = {v.x, v.y, v.z, v.w};
    Detail::WriteFloats(file, values);
    return file;
}

Core::File& operator>>(Core::File& file, Vector4& v)
{
    float values[4];
    if (Detail::ReadFloats(file, values))
    {
        v.Set(values[0], values[1], values[2], values[3]);
    }
    return file;
}

} // namespace Math
