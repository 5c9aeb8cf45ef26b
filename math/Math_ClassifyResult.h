#pragma once

#include <cstdint>

namespace Math
{

// The answer of every classification and intersection test of the module.
// The numbers are part of the contract: scripts and the collision world read
// them as plain integers, so they never change.
enum class ClassifyResult : std::int32_t
{
    // One crossing point (segments, rays, lines: the point is written), a point
    // exactly on a circle, two circles that cross (no points written), a point
    // on a plane, a box straddling the frustum.
    Intersecting = 0,
    NoIntersection = 1,
    // A point outside a circle, two circles apart, a box outside the frustum.
    Outside = 2,
    // A point inside a circle, this circle inside the other, a box inside the frustum.
    Inside = 3,
    InFront = 8,
    Behind = 9,
    // A segment or line touching a circle: the discriminant is exactly 0.
    Tangent = 13,
    OnePoint = 14,
    // Two points on a circle, or the two crossing points of two circles.
    TwoPoints = 15,
    // The same circle, collinear overlapping segments or rays, coincident lines.
    Coincident = 19,
    Parallel = 20,
    CollinearApart = 21,
    // Collinear rays facing each other: the segment between the origins.
    RaysFacing = 22,
    // Collinear rays of one direction: the ray that starts further ahead.
    RaysSameDirection = 23,
    Contains = 26,
    TouchInside = 27,
    TouchOutside = 28,
};

constexpr std::int32_t ToInt(ClassifyResult result)
{
    return static_cast<std::int32_t>(result);
}

} // namespace Math
