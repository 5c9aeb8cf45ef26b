#pragma once

#include "engine/Engine_Group.h"
#include "engine/Engine_RenderQueue.h"
#include "math/Math_Frustum.h"
#include "math/Math_Vector4.h"

#include <cstdint>

namespace Renderer
{
class Effect;
class IRenderer;
} // namespace Renderer

namespace Engine
{

class Camera;
class Viewport;

// The root group of a scene. It owns the render queue and renders the scene
// once per view (a camera seen through a viewport). The framework updates
// it once per frame and, before drawing a level's viewports, stores the
// viewport count and, before each viewport, its index: the render queue
// draws overlay items only when the index is the last one.
//
// One scene graph is current process-wide: the one constructed or updated
// last. Drawables cull against its view frustum. Destroying the current
// scene graph leaves none current.
//
// Archives hold a scene graph as a plain group (class "Engine::Group").
class SceneGraph : public Group
{
public:
    // The renderer is not counted: whoever makes the scene graph keeps it
    // alive. The new scene graph and its queue become current.
    explicit SceneGraph(Renderer::IRenderer* renderer);
    // A deep copy of the tree with a queue of its own; the copy becomes
    // current.
    SceneGraph(const SceneGraph& other);
    ~SceneGraph() override;

    SceneGraph* Clone() const override;
    std::uint32_t GetSize() const override;

    // The scene graph constructed or updated last, or none.
    static SceneGraph* GetCurrent();

    std::uint32_t GetNodeType() const override { return NodeTypeSceneGraph; }
    // Hook, controllers, the volume transformed by the (fixed) world
    // transformation, then every child's update. A scene graph never has a
    // parent.
    void Update(float dt) override;
    // When the bounding volume is shown: its debug mesh is submitted.
    void Draw() override;

    // The queue draws what was submitted, then empties its lists.
    virtual void RenderQueued();
    // Becomes current, then Update.
    virtual void MakeCurrentAndUpdate(float dt);

    // One view: the camera's projection and view in the viewport's
    // rectangle; the scene walk submits, the viewport is cleared, its
    // background is queued, the queue is flushed; then camera and viewport
    // put the renderer back as they found it. Nothing without both.
    void RenderView(const Core::RefPtr<Camera>& camera, const Core::RefPtr<Viewport>& viewport);
    // Clears the whole window (the display description's size) to `color`.
    void ClearScreen(const Math::Vector4& color);

    void SetViewportCount(std::int32_t count) { viewportCount_ = count; }
    std::int32_t GetViewportCount() const { return viewportCount_; }
    void SetCurrentViewportIndex(std::int32_t index) { currentViewportIndex_ = index; }
    std::int32_t GetCurrentViewportIndex() const { return currentViewportIndex_; }
    // The index being rendered is the last of the count.
    bool IsLastViewport() const { return currentViewportIndex_ == viewportCount_ - 1; }

    // The frustum of the view being rendered.
    const Math::Frustum& GetViewFrustum() const { return viewFrustum_; }
    Renderer::IRenderer* GetRenderer() const { return renderer_; }
    RenderQueue& GetRenderQueue() { return queue_; }
    const Core::RefPtr<Renderer::Effect>& GetEffect() const { return effect_; }

private:
    Math::Frustum viewFrustum_;
    Renderer::IRenderer* renderer_;
    RenderQueue queue_;
    Core::RefPtr<Renderer::Effect> effect_;
    std::int32_t viewportCount_ = 0;
    std::int32_t currentViewportIndex_ = 0;
};

} // namespace Engine
