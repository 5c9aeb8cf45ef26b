#pragma once

#include "engine/Engine_Node.h"
#include "math/Math_Frustum.h"

namespace Renderer
{
class Effect;
class IRenderer;
} // namespace Renderer

namespace Engine
{

// A perspective camera. It is a leaf that takes its parent's placement: the
// view is the inverse of its world transformation, so the camera looks down
// its parent's -z axis from its parent's origin. Begin sets the renderer's
// projection and view for one view and builds the view frustum used for
// culling; End puts the renderer's matrices back.
//
// Archives hold a camera as a plain node (class "Engine::Node"): its own
// fields are not stored.
class Camera : public Node
{
public:
    // Field of view in degrees (vertical); near and far clip distances.
    Camera(float fieldOfView, float nearDistance, float farDistance);
    // A copy of the node part, the lens and the frustum, with an effect
    // and a frustum mesh of its own.
    Camera(const Camera& other);
    ~Camera() override;

    Camera* Clone() const override;
    std::uint32_t GetSize() const override;

    std::uint32_t GetNodeType() const override { return NodeTypeCamera; }
    // Hook, controllers, world := parent's world, the volume transformed by
    // it, the merge into the parent.
    void Update(float dt) override;
    // A camera is not drawn by the scene walk.
    void Render(const Math::Frustum&) override {}
    // The debug meshes of the bounding volume and of the frustum, each when
    // asked for.
    void Draw() override;
    void DrawRecursive() override { Draw(); }

    // Takes effect at the next Begin.
    void SetFOV(float fieldOfView) { fieldOfView_ = fieldOfView; }
    float GetFOV() const { return fieldOfView_; }
    float GetNear() const { return near_; }
    float GetFar() const { return far_; }
    Math::Frustum& GetFrustum() { return frustum_; }
    const Math::Frustum& GetFrustum() const { return frustum_; }
    // The camera's position: its parent's world transformation applied to
    // the origin.
    Math::Vector3 GetPosition() const;
    // The view frustum for a viewport of width x height pixels, without
    // touching the renderer or the camera's own frustum.
    void BuildFrustum(Math::Frustum& frustum, std::int32_t width, std::int32_t height) const;
    // Projection from the lens with aspect width / height, the frustum,
    // then the renderer's projection and view (saved first).
    void Begin(Renderer::IRenderer& renderer, std::int32_t width, std::int32_t height);
    // The saved projection, then the saved view.
    void End(Renderer::IRenderer& renderer);

    void ShowFrustum(bool show) { showFrustum_ = show; }
    bool IsFrustumShown() const { return showFrustum_; }
    const Core::RefPtr<Renderer::Effect>& GetEffect() const { return effect_; }
    const Core::RefPtr<Mesh>& GetFrustumMesh() const { return frustumMesh_; }

private:
    Math::Matrix4 Projection(std::int32_t width, std::int32_t height) const;

    Core::RefPtr<Renderer::Effect> effect_;
    float fieldOfView_;
    Math::Matrix4 savedProjection_;
    Math::Matrix4 savedView_;
    Math::Frustum frustum_;
    Core::RefPtr<Mesh> frustumMesh_;
    bool showFrustum_ = false;
    float near_;
    float far_;
};

} // namespace Engine
