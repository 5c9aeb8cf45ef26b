#pragma once

#include "math/Math_Vector2D.h"
#include "math/Math_Vector4.h"

#include <cstdint>

namespace Velkor
{

// Random values between two bounds. Each call makes exactly one draw from
// Core::Random and turns it into t = draw / 32767 (in double, then f32), so
// t runs over 0 ... 1 with both ends included. Nothing here seeds the
// generator.

// A whole number between 0 and n with the sign of n: |n| x t rounded to
// nearest, a fraction of exactly 0.5 rounding down.
std::int32_t RandomIntUpTo(std::int32_t n);
// a + RandomIntUpTo(b - a): between a and b, both included, in either order.
std::int32_t RandomInt(std::int32_t a, std::int32_t b);
// a + t x (b - a).
float RandomFloat(float a, float b);
// A point of the segment from a to b: both components with the same t.
Math::Vector2D RandomVector2D(const Math::Vector2D& a, const Math::Vector2D& b);
// Each of red, green, blue and alpha (x, y, z, w) with the same t.
Math::Vector4 RandomColor(const Math::Vector4& c1, const Math::Vector4& c2);

// v turned by `degrees` about the origin through its polar form; every step
// is kept in 32-bit floats.
Math::Vector2D RotateVectorDegrees(const Math::Vector2D& v, float degrees);

} // namespace Velkor
