#pragma once

#include "engine/Engine_Lines.h"

#include <cstdint>

namespace Engine
{

// The outline of a circle about its parent's origin in the z = 0 plane, as
// line segments joining the points at every `step` degrees from 0 up to
// 360. It draws, updates and persists as Lines do.
class Circle : public Lines
{
public:
    // Opaque white, then Generate.
    Circle(float radius, std::int32_t degreeStep);
    Circle(const Circle& other) = default;

    Circle* Clone() const override;
    std::uint32_t GetSize() const override;

    // Replaces the points: for a = 0, step, 2 step, ... while a <= 360, the
    // segment from the previous point to (radius, 0, 0) rotated by a about
    // z, the previous point starting at (radius, 0, 0). So the first
    // segment is degenerate, and the outline closes only when the step
    // divides 360. A step below 1 would never reach 360: it is refused (the
    // points stay) and the answer is false.
    bool Generate(float radius, std::int32_t degreeStep);
};

} // namespace Engine
