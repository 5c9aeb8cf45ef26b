#pragma once

#include "math/Math_Constants.h"
#include "math/Math_Vector2D.h"

#include <cmath>

namespace Collision2D
{

// The turn R(theta) by theta degrees about the origin:
//   (x, y) -> (x cos theta - y sin theta, x sin theta + y cos theta),
// the angle converted with the 32-bit degree factor and every step in float,
// so the step preparation and the swept tests place points bit for bit alike.
class Rotation
{
public:
    explicit Rotation(float degrees)
    {
        const float radians = degrees * Math::DegreesToRadians;
        cos_ = std::cos(radians);
        sin_ = std::sin(radians);
    }

    Math::Vector2D Apply(const Math::Vector2D& p) const
    {
        return {p.x * cos_ - p.y * sin_, p.x * sin_ + p.y * cos_};
    }

private:
    float cos_ = 1.0f;
    float sin_ = 0.0f;
};

inline Math::Vector2D Rotate(const Math::Vector2D& p, float degrees)
{
    return Rotation(degrees).Apply(p);
}

} // namespace Collision2D
