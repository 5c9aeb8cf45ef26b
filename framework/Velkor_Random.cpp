#include "framework/Velkor_Random.h"

#include "core/Core_Random.h"
#include "math/Math_Constants.h"

#include <cmath>
#include <limits>

namespace Velkor
{

namespace
{

float DrawFraction()
{
    return static_cast<float>(static_cast<double>(Core::Random()) / Core::RandomMaximum);
}

// The rounding of RandomIntUpTo on a 64-bit magnitude: |n| of the most
// negative 32-bit value and b - a of the extreme bounds do not fit 32 bits.
std::int64_t ScaledUpTo(std::int64_t n)
{
    const std::int64_t sign = n < 0 ? -1 : 1;
    const std::int64_t magnitude = n < 0 ? -n : n;
    const float x = DrawFraction() * static_cast<float>(magnitude);
    std::int64_t k = static_cast<std::int64_t>(x);
    const float fraction = x - static_cast<float>(k);
    if (fraction > 0.5f)
    {
        ++k;
    }
    // A magnitude above 2^24 is not exact in f32 and x may round past it;
    // the result never leaves 0 ... |n|.
    if (k > magnitude)
    {
        k = magnitude;
    }
    return k * sign;
}

} // namespace

std::int32_t RandomIntUpTo(std::int32_t n)
{
    // Within 0 ... n, so it fits 32 bits again.
    return static_cast<std::int32_t>(ScaledUpTo(n));
}

std::int32_t RandomInt(std::int32_t a, std::int32_t b)
{
    const std::int64_t difference = static_cast<std::int64_t>(b) - static_cast<std::int64_t>(a);
    return static_cast<std::int32_t>(static_cast<std::int64_t>(a) + ScaledUpTo(difference));
}

float RandomFloat(float a, float b)
{
    const float t = DrawFraction();
    const float d = b - a;
    const float p = t * d;
    return a + p;
}

Math::Vector2D RandomVector2D(const Math::Vector2D& a, const Math::Vector2D& b)
{
    const float t = DrawFraction();
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    return {a.x + dx * t, a.y + dy * t};
}

Math::Vector4 RandomColor(const Math::Vector4& c1, const Math::Vector4& c2)
{
    const float t = DrawFraction();
    const float r = c2.x - c1.x;
    const float g = c2.y - c1.y;
    const float b = c2.z - c1.z;
    const float alpha = c2.w - c1.w;
    return {c1.x + r * t, c1.y + g * t, c1.z + b * t, c1.w + alpha * t};
}

Math::Vector2D RotateVectorDegrees(const Math::Vector2D& v, float degrees)
{
    const float squared = v.x * v.x + v.y * v.y;
    const float length = std::sqrt(squared);
    const float turn = degrees * Math::DegreesToRadians;
    const float angle = std::atan2(v.y, v.x) + turn;
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    return {c * length, s * length};
}

} // namespace Velkor
