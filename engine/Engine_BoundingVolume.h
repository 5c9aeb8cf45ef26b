#pragma once

#include "core/Core_RefPtr.h"
#include "engine/Engine_Mesh.h"
#include "math/Math_BoundingBox.h"
#include "math/Math_Matrix4.h"

namespace Engine
{

// The box a scene node occupies: a local box in the node's own space, the
// current box in world space that the scene update rewrites, and a debug
// mesh (a cube of 12 triangles over the current corners) that a node draws
// when asked to show its volume.
//
// A new volume is the 10-unit cube centred on the origin in both boxes.
class BoundingVolume
{
public:
    BoundingVolume();
    // Copies both boxes; the debug mesh is a clone of the source's.
    BoundingVolume(const BoundingVolume& other);
    BoundingVolume& operator=(const BoundingVolume& other);

    // Current corner i := matrix x local corner i. The centre and the planes
    // of the current box are left as they were: only the corners are read
    // afterwards (by Merge, culling and the debug mesh).
    void Transform(const Math::Matrix4& matrix);
    // Current box := the axis-aligned box around itself and `child`'s
    // current box.
    void Merge(const BoundingVolume& child);
    // Replaces both boxes and refreshes the debug mesh.
    void SetLocalBox(const Math::BoundingBox& box);
    // Debug vertex i := current corner i.
    void UpdateMesh();

    const Math::BoundingBox& GetCurrentBox() const { return current_; }
    const Math::BoundingBox& GetLocalBox() const { return local_; }
    const Core::RefPtr<Mesh>& GetMesh() const { return mesh_; }

    // The 36 indices of the debug cube, 12 triangles over the corner order
    // of Math::BoundingBox.
    static const std::uint32_t CubeIndices[36];
    // The default local box's corners, in that order.
    static void SetCubeCorners(Math::BoundingBox& box, float halfSide);
    // The corners of a flat drawable's box, in that order: x from minX to
    // maxX, y from minY to maxY, z from 0 down to -1.
    static void SetSlabCorners(Math::BoundingBox& box, float minX, float minY, float maxX, float maxY);

private:
    Math::BoundingBox current_;
    Math::BoundingBox local_;
    Core::RefPtr<Mesh> mesh_;
};

} // namespace Engine
