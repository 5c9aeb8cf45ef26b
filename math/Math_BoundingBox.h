#pragma once

#include "math/Math_Plane.h"

#include <span>

namespace Math
{

// An axis-aligned box kept as its centre, its eight corners and its six
// outward face planes. Corner order (the frustum uses the same):
// 0 (max x, max y, max z), 1 (min x, max y, max z), 2 (min x, max y, min z),
// 3 (max x, max y, min z), 4 (max x, min y, max z), 5 (min x, min y, max z),
// 6 (min x, min y, min z), 7 (max x, min y, min z).
// Plane order: top (+y), bottom (-y), front (+z), back (-z), right (+x), left (-x).
class BoundingBox
{
public:
    BoundingBox() = default;

    // `out` = the box around both `a` and `b`, grown by `margin`. `out` may
    // be `a` or `b`.
    static void Merge(BoundingBox& out, const BoundingBox& a, const BoundingBox& b, float margin);
    // `out` = the box around every corner of every box in `boxes`, grown by
    // `margin` on every side (a negative margin counts as 0); the centre is
    // that of the box without the margin. An empty list leaves `out` as it is.
    static void FromList(BoundingBox& out, std::span<const BoundingBox> boxes, float margin);

    Vector3 center;
    Vector3 corners[8];
    Plane planes[6];
};

} // namespace Math
