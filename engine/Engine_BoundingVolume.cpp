#include "engine/Engine_BoundingVolume.h"

#include "core/Core_Random.h"

namespace Engine
{

const std::uint32_t BoundingVolume::CubeIndices[36] = {0, 1, 5, 0, 5, 4, 3, 2, 1, 3, 1, 0, 3, 6, 2, 3, 7, 6,
                                                       5, 6, 4, 4, 6, 7, 0, 7, 3, 0, 4, 7, 2, 6, 1, 6, 5, 1};

void BoundingVolume::SetCubeCorners(Math::BoundingBox& box, float h)
{
    box.corners[0] = Math::Vector3(h, h, h);
    box.corners[1] = Math::Vector3(-h, h, h);
    box.corners[2] = Math::Vector3(-h, h, -h);
    box.corners[3] = Math::Vector3(h, h, -h);
    box.corners[4] = Math::Vector3(h, -h, h);
    box.corners[5] = Math::Vector3(-h, -h, h);
    box.corners[6] = Math::Vector3(-h, -h, -h);
    box.corners[7] = Math::Vector3(h, -h, -h);
}

void BoundingVolume::SetSlabCorners(Math::BoundingBox& box, float minX, float minY, float maxX, float maxY)
{
    box.corners[0] = Math::Vector3(maxX, maxY, 0.0f);
    box.corners[1] = Math::Vector3(minX, maxY, 0.0f);
    box.corners[2] = Math::Vector3(minX, maxY, -1.0f);
    box.corners[3] = Math::Vector3(maxX, maxY, -1.0f);
    box.corners[4] = Math::Vector3(maxX, minY, 0.0f);
    box.corners[5] = Math::Vector3(minX, minY, 0.0f);
    box.corners[6] = Math::Vector3(minX, minY, -1.0f);
    box.corners[7] = Math::Vector3(maxX, minY, -1.0f);
}

BoundingVolume::BoundingVolume() : mesh_(new ("Engine_BoundingVolume", __LINE__) Mesh())
{
    // A random translucent colour tells neighbouring debug boxes apart.
    const auto channel = []
    {
        return static_cast<float>(static_cast<double>(Core::Random()) /
                                  static_cast<double>(Core::RandomMaximum));
    };
    const float red = channel();
    const float green = channel();
    const float blue = channel();
    const Math::Vector4 color(red, green, blue, 0.5f);

    mesh_->AddDrawRange(DrawRange{0, 35, -1, true});
    mesh_->ReservePositions(8);
    mesh_->ReserveColors(8);
    for (int i = 0; i < 8; ++i)
    {
        mesh_->AddPosition(Math::Vector3(0.0f, 0.0f, 0.0f));
        mesh_->AddColor(color);
    }
    for (std::uint32_t index : CubeIndices)
    {
        mesh_->AddIndex(index);
    }
    SetCubeCorners(local_, 5.0f);
    current_ = local_;
}

BoundingVolume::BoundingVolume(const BoundingVolume& other)
    : current_(other.current_), local_(other.local_), mesh_(other.mesh_->Clone())
{
}

BoundingVolume& BoundingVolume::operator=(const BoundingVolume& other)
{
    if (this != &other)
    {
        current_ = other.current_;
        local_ = other.local_;
        mesh_ = other.mesh_->Clone();
    }
    return *this;
}

void BoundingVolume::Transform(const Math::Matrix4& matrix)
{
    for (int i = 0; i < 8; ++i)
    {
        current_.corners[i] = matrix * local_.corners[i];
    }
}

void BoundingVolume::Merge(const BoundingVolume& child)
{
    Math::BoundingBox::Merge(current_, current_, child.current_, 0.0f);
}

void BoundingVolume::SetLocalBox(const Math::BoundingBox& box)
{
    local_ = box;
    current_ = box;
    UpdateMesh();
}

void BoundingVolume::UpdateMesh()
{
    for (std::uint32_t i = 0; i < 8; ++i)
    {
        mesh_->SetPosition(i, current_.corners[i]);
    }
}

} // namespace Engine
