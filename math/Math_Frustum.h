#pragma once

#include "math/Math_BoundingBox.h"
#include "math/Math_Matrix4.h"

namespace Math
{

// A camera's view volume: six planes with their normals pointing inwards
// (top, bottom, near, far, right, left) and the eight corners in the
// bounding box's corner order, near corners first in each quad.
class Frustum
{
public:
    Frustum() = default;

    // Copies the projection and rebuilds corners and planes in eye space
    // (looking down -z). The projection must be a proper perspective one
    // (m10 not 1 or -1).
    void SetProjection(const Matrix4& projection);
    // Moves the current planes and corners by the camera matrix. It works on
    // what is there, so SetProjection comes before every Update.
    void Update(const Matrix4& camera);
    // Outside when every corner of the box lies behind one plane, Inside when
    // no corner lies behind any plane, Intersecting otherwise.
    ClassifyResult Classify(const BoundingBox& box) const;

    Matrix4 projection;
    Plane planes[6];
    Vector3 corners[8];
};

} // namespace Math
