#include "engine/Engine_SceneGraph.h"

#include "engine/Engine_Camera.h"
#include "engine/Engine_Viewport.h"
#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_IRenderer.h"

namespace Engine
{

namespace
{

SceneGraph* g_current = nullptr;

} // namespace

SceneGraph::SceneGraph(Renderer::IRenderer* renderer)
    : renderer_(renderer), effect_(Renderer::CreateDefaultEffect())
{
    queue_.SetRenderer(renderer_);
    g_current = this;
}

SceneGraph::SceneGraph(const SceneGraph& other)
    : Group(other), viewFrustum_(other.viewFrustum_), renderer_(other.renderer_),
      effect_(Renderer::CreateDefaultEffect()), viewportCount_(other.viewportCount_),
      currentViewportIndex_(other.currentViewportIndex_)
{
    queue_.SetRenderer(renderer_);
    g_current = this;
}

SceneGraph::~SceneGraph()
{
    if (g_current == this)
    {
        g_current = nullptr;
    }
}

SceneGraph* SceneGraph::Clone() const
{
    return new ("Engine_SceneGraph", __LINE__) SceneGraph(*this);
}

std::uint32_t SceneGraph::GetSize() const
{
    return sizeof(SceneGraph);
}

SceneGraph* SceneGraph::GetCurrent()
{
    return g_current;
}

void SceneGraph::Update(float dt)
{
    RunHookAndControllers(dt);
    boundingVolume_.Transform(world_);
    UpdateChildren(dt);
}

void SceneGraph::Draw()
{
    if (IsBoundingVolumeShown())
    {
        SubmitBoundingVolume(effect_);
    }
}

void SceneGraph::RenderQueued()
{
    queue_.Flush();
    queue_.Clear();
}

void SceneGraph::MakeCurrentAndUpdate(float dt)
{
    g_current = this;
    Update(dt);
}

void SceneGraph::RenderView(const Core::RefPtr<Camera>& camera, const Core::RefPtr<Viewport>& viewport)
{
    if (!camera || !viewport || renderer_ == nullptr)
    {
        return;
    }
    queue_.SetCamera(camera);
    viewport->Begin(*renderer_);
    camera->Begin(*renderer_, viewport->GetWidth(), viewport->GetHeight());
    viewFrustum_ = camera->GetFrustum();
    Render(viewFrustum_);
    // After the walk and before anything of this view reaches the screen.
    viewport->Clear(*renderer_);
    viewport->DrawBackground();
    RenderQueued();
    camera->End(*renderer_);
    viewport->End(*renderer_);
}

void SceneGraph::ClearScreen(const Math::Vector4& color)
{
    if (renderer_ == nullptr)
    {
        return;
    }
    const Renderer::DisplayDescription description = renderer_->GetDisplayDescription();
    Viewport viewport(0, 0, static_cast<std::int32_t>(description.width),
                      static_cast<std::int32_t>(description.height), 0);
    viewport.Begin(*renderer_);
    viewport.SetClearColor(color);
    viewport.ClearColorOnly(*renderer_);
    viewport.End(*renderer_);
}

} // namespace Engine
