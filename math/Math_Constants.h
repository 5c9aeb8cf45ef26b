#pragma once

namespace Math
{

// One tolerance for the whole module: normalisation, the parallel,
// perpendicular and tangent tests and the matrix inverses all use it.
inline constexpr float Tolerance = 0.0005f;

// Angles cross every interface in degrees. These are the 32-bit constants the
// conversions use, so results match bit for bit wherever they are computed.
inline constexpr float DegreesToRadians = 0.017453292f;     // pi / 180
inline constexpr float HalfDegreesToRadians = 0.008726646f; // pi / 360, the quaternion's half angle
inline constexpr float RadiansToDegrees = 57.29578f;        // 180 / pi
inline constexpr double DegreesToRadiansDouble = 0.017453292519943295;

// True when -Tolerance <= value <= Tolerance: the closed band every
// "within the tolerance of zero" test uses.
constexpr bool NearZero(float value)
{
    return value >= -Tolerance && value <= Tolerance;
}

} // namespace Math
