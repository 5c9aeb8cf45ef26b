#include "engine/Engine_Camera.h"

#include "engine/Engine_RenderQueue.h"
#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_IRenderer.h"

namespace Engine
{

namespace
{

Core::RefPtr<Mesh> MakeFrustumMesh()
{
    Core::RefPtr<Mesh> mesh(new ("Engine_Camera", __LINE__) Mesh());
    mesh->AddDrawRange(DrawRange{0, 35, -1, true});
    mesh->ReservePositions(8);
    mesh->ReserveColors(8);
    for (int i = 0; i < 8; ++i)
    {
        mesh->AddPosition(Math::Vector3(0.0f, 0.0f, 0.0f));
        mesh->AddColor(Math::Vector4(0.0f, 0.0f, 0.0f, 1.0f));
    }
    for (std::uint32_t index : BoundingVolume::CubeIndices)
    {
        mesh->AddIndex(index);
    }
    return mesh;
}

} // namespace

Camera::Camera(float fieldOfView, float nearDistance, float farDistance)
    : effect_(Renderer::CreateDefaultEffect()), fieldOfView_(fieldOfView), frustumMesh_(MakeFrustumMesh()),
      near_(nearDistance), far_(farDistance)
{
    // A cube of side 2 scaled by 10: the box spans +-10 until the first
    // update places it.
    Math::BoundingBox box;
    BoundingVolume::SetCubeCorners(box, 1.0f);
    boundingVolume_.SetLocalBox(box);
    boundingVolume_.Transform(Math::Matrix4::Scale(10.0f, 10.0f, 10.0f));
}

Camera::Camera(const Camera& other)
    : Node(other), effect_(Renderer::CreateDefaultEffect()), fieldOfView_(other.fieldOfView_),
      frustum_(other.frustum_), frustumMesh_(other.frustumMesh_->Clone()), showFrustum_(other.showFrustum_),
      near_(other.near_), far_(other.far_)
{
}

Camera::~Camera() = default;

Camera* Camera::Clone() const
{
    return new ("Engine_Camera", __LINE__) Camera(*this);
}

std::uint32_t Camera::GetSize() const
{
    return sizeof(Camera);
}

void Camera::Update(float dt)
{
    RunHookAndControllers(dt);
    world_ = GetParentWorldMatrix();
    boundingVolume_.Transform(world_);
    MergeIntoParent();
}

void Camera::Draw()
{
    if (IsBoundingVolumeShown())
    {
        SubmitBoundingVolume(effect_);
    }
    if (showFrustum_)
    {
        RenderQueue* queue = RenderQueue::GetInstance();
        if (queue == nullptr)
        {
            return;
        }
        for (std::uint32_t i = 0; i < 8; ++i)
        {
            frustumMesh_->SetPosition(i, frustum_.corners[i]);
            frustumMesh_->SetColor(i, Math::Vector4(1.0f, 1.0f, 1.0f, 0.5f));
        }
        RenderQueueItem item;
        item.effect = effect_;
        item.mesh = frustumMesh_;
        item.primitiveType = Renderer::PrimitiveTriangles;
        item.drawRangeIndex = 0;
        queue->Submit(item);
    }
}

Math::Vector3 Camera::GetPosition() const
{
    return GetParentWorldMatrix() * Math::Vector3(0.0f, 0.0f, 0.0f);
}

Math::Matrix4 Camera::Projection(std::int32_t width, std::int32_t height) const
{
    // In double from the two integers: a height of 0 gives an infinite
    // aspect, which callers avoid by passing a real viewport's height.
    const float aspect = static_cast<float>(static_cast<double>(width) / static_cast<double>(height));
    return Math::Matrix4::Perspective(fieldOfView_, aspect, near_, far_);
}

void Camera::BuildFrustum(Math::Frustum& frustum, std::int32_t width, std::int32_t height) const
{
    frustum.SetProjection(Projection(width, height));
    frustum.Update(world_);
}

void Camera::Begin(Renderer::IRenderer& renderer, std::int32_t width, std::int32_t height)
{
    const Math::Matrix4 projection = Projection(width, height);
    frustum_.SetProjection(projection);
    frustum_.Update(world_);
    savedProjection_ = renderer.GetProjectionMatrix();
    savedView_ = renderer.GetViewMatrix();
    renderer.SetProjectionMatrix(projection);
    renderer.SetViewMatrix(Math::Inverse(world_));
}

void Camera::End(Renderer::IRenderer& renderer)
{
    renderer.SetProjectionMatrix(savedProjection_);
    renderer.SetViewMatrix(savedView_);
}

} // namespace Engine
