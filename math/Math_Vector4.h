#pragma once

namespace Core
{
class File;
}

namespace Math
{

// Four floats: a homogeneous point, a plane's coefficients, or an RGBA
// colour (x red, y green, z blue, w alpha).
class Vector4
{
public:
    constexpr Vector4() = default;
    constexpr Vector4(float xValue, float yValue, float zValue, float wValue)
        : x(xValue), y(yValue), z(zValue), w(wValue)
    {
    }

    void Set(float xValue, float yValue, float zValue, float wValue)
    {
        x = xValue;
        y = yValue;
        z = zValue;
        w = wValue;
    }
    // All four 0, w included.
    void SetZero() { x = y = z = w = 0.0f; }
    void Assign(const Vector4& other) { *this = other; }

    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;
};

// Archive form: x, y, z, w (R, G, B, A) as four 4-byte floats. A short read
// changes nothing.
Core::File& operator<<(Core::File& file, const Vector4& v);
Core::File& operator>>(Core::File& file, Vector4& v);

} // namespace Math
