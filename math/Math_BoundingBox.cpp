#include "math/Math_BoundingBox.h"

namespace Math
{

namespace
{

// The plane through `through` whose normal is (first - through) x (second - through).
void SetFacePlane(Plane& plane, const Vector3& through, const Vector3& first, const Vector3& second)
{
    const Vector3 u = first - through;
    const Vector3 v = second - through;
    plane.SetPointNormal(through, CrossProduct(u.x, u.y, u.z, v.x, v.y, v.z));
}

} // namespace

void BoundingBox::Merge(BoundingBox& out, const BoundingBox& a, const BoundingBox& b, float margin)
{
    // Copies, so that `out` may alias either input.
    const BoundingBox pair[2] = {a, b};
    FromList(out, pair, margin);
}

void BoundingBox::FromList(BoundingBox& out, std::span<const BoundingBox> boxes, float margin)
{
    if (boxes.empty())
    {
        return;
    }
    if (margin < 0.0f)
    {
        margin = 0.0f;
    }
    Vector3 low = boxes[0].corners[0];
    Vector3 high = low;
    // A value above the maximum raises it; only otherwise can it lower the minimum.
    const auto extend = [](float value, float& lowest, float& highest)
    {
        if (value > highest)
        {
            highest = value;
        }
        else if (value < lowest)
        {
            lowest = value;
        }
    };
    for (const BoundingBox& box : boxes)
    {
        for (const Vector3& corner : box.corners)
        {
            extend(corner.x, low.x, high.x);
            extend(corner.y, low.y, high.y);
            extend(corner.z, low.z, high.z);
        }
    }

    out.center = Vector3((low.x + high.x) * 0.5f, (low.y + high.y) * 0.5f, (low.z + high.z) * 0.5f);
    const Vector3 hi(high.x + margin, high.y + margin, high.z + margin);
    const Vector3 lo(low.x - margin, low.y - margin, low.z - margin);
    Vector3* c = out.corners;
    c[0] = Vector3(hi.x, hi.y, hi.z);
    c[1] = Vector3(lo.x, hi.y, hi.z);
    c[2] = Vector3(lo.x, hi.y, lo.z);
    c[3] = Vector3(hi.x, hi.y, lo.z);
    c[4] = Vector3(hi.x, lo.y, hi.z);
    c[5] = Vector3(lo.x, lo.y, hi.z);
    c[6] = Vector3(lo.x, lo.y, lo.z);
    c[7] = Vector3(hi.x, lo.y, lo.z);

    SetFacePlane(out.planes[0], c[0], c[3], c[1]); // top
    SetFacePlane(out.planes[1], c[4], c[5], c[7]); // bottom
    SetFacePlane(out.planes[2], c[4], c[0], c[5]); // front
    SetFacePlane(out.planes[3], c[6], c[2], c[7]); // back
    SetFacePlane(out.planes[4], c[4], c[7], c[0]); // right
    SetFacePlane(out.planes[5], c[5], c[1], c[6]); // left
}

} // namespace Math
