// The render queue's two passes of screen-space drawables: the GUI's screen
// objects, once per frame, and the viewports' backgrounds, first in each
// view's flush.

#include "engine/Engine_RenderQueue.h"

#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_Pass.h"
#include "renderer/Renderer_RenderStates.h"
#include "renderer/Renderer_Technique.h"

#include <algorithm>

namespace Engine
{

namespace
{

// Which of the state changes around one screen object's draw to make. The
// GUI pass makes all of them; the background pass skips those that the
// previous or next background in the list would undo at once.
struct StateEdges
{
    bool bindTexture = true;
    bool saveStates = true;
    bool applyPass = true;
    bool restoreStates = true;
    bool unbindTexture = true;
};

// The object as an indexed primitive in its effect's technique 0, pass 0,
// with its transform as world matrix and its texture on unit 0.
void DrawScreenObject(Renderer::IRenderer& renderer, ScreenObject& object, const Renderer::ITexture* texture,
                      Renderer::Technique* technique, Renderer::Pass* pass, std::int32_t primitiveType,
                      const StateEdges& edges)
{
    if (texture != nullptr && edges.bindTexture)
    {
        renderer.SetTexture(0, object.GetTexture());
    }
    if (technique != nullptr && edges.saveStates)
    {
        technique->SaveStates();
    }
    if (pass != nullptr && edges.applyPass)
    {
        pass->Apply();
    }
    renderer.SetWorldMatrix(object.GetTransform());
    renderer.SetTextureMatrix(0, object.GetTextureMatrix());
    renderer.SetColorArray(nullptr);
    renderer.SetSecondaryColorArray(nullptr);
    renderer.SetNormalArray(nullptr);
    renderer.SetVertexArray(object.GetVertices());
    renderer.SetIndexArray16(object.GetIndices());
    renderer.SetTexCoordArray(0, object.GetTexCoords());
    renderer.SetCurrentColor(object.GetColor());
    renderer.SetPrimitiveType(primitiveType);
    const std::uint32_t indexCount = object.GetIndexCount();
    if (indexCount != 0)
    {
        renderer.DrawRange(0, indexCount - 1);
    }
    renderer.SetColorArray(nullptr);
    renderer.SetSecondaryColorArray(nullptr);
    renderer.SetNormalArray(nullptr);
    renderer.SetVertexArray(nullptr);
    renderer.SetIndexArray16(nullptr);
    renderer.SetTexCoordArray(0, nullptr);
    if (technique != nullptr && edges.restoreStates)
    {
        technique->RestoreStates();
    }
    if (texture != nullptr && edges.unbindTexture)
    {
        renderer.SetTexture(0, nullptr);
    }
}

Core::RefPtr<Renderer::Technique> TechniqueOf(const Core::RefPtr<Renderer::Effect>& effect)
{
    return effect ? effect->GetTechnique(0) : Core::RefPtr<Renderer::Technique>();
}

Core::RefPtr<Renderer::Pass> PassOf(const Core::RefPtr<Renderer::Technique>& technique)
{
    return technique ? technique->GetPass(0) : Core::RefPtr<Renderer::Pass>();
}

} // namespace

RenderQueue::WholeDisplay RenderQueue::UseWholeDisplay(Renderer::IRenderer& renderer)
{
    const Renderer::DisplayDescription description = renderer.GetDisplayDescription();
    WholeDisplay display;
    display.width = static_cast<std::int32_t>(description.width);
    display.height = static_cast<std::int32_t>(description.height);
    renderer.GetScissor(display.savedScissor);
    Renderer::ScissorState scissor;
    scissor.x = 0;
    scissor.y = 0;
    scissor.width = display.width;
    scissor.height = display.height;
    scissor.enabled = false;
    renderer.SetScissor(scissor);
    display.savedViewport = renderer.GetViewport();
    renderer.SetViewport(Renderer::ViewportRecord{0, 0, display.width, display.height, 0.0f, 1.0f});
    return display;
}

void RenderQueue::RestoreViewportAndScissor(Renderer::IRenderer& renderer, const WholeDisplay& display)
{
    renderer.SetViewport(display.savedViewport);
    renderer.SetScissor(display.savedScissor);
}

void RenderQueue::AddScreenObject(const Core::RefPtr<ScreenObject>& object)
{
    if (object && object->IsDrawable())
    {
        screenObjects_.push_back(object);
    }
}

void RenderQueue::ClearScreenObjects()
{
    screenObjects_.clear();
}

void RenderQueue::DrawScreenObjects()
{
    if (renderer_ == nullptr)
    {
        return;
    }
    Renderer::IRenderer& renderer = *renderer_;
    std::sort(screenObjects_.begin(), screenObjects_.end(),
              [](const Core::RefPtr<ScreenObject>& a, const Core::RefPtr<ScreenObject>& b)
              { return a->GetDepth() < b->GetDepth(); });
    const WholeDisplay display = UseWholeDisplay(renderer);
    const std::int32_t width = display.width;
    const std::int32_t height = display.height;
    const Math::Matrix4 savedView = renderer.GetViewMatrix();
    renderer.SetViewMatrix(Math::Matrix4());
    const Math::Matrix4 savedProjection = renderer.GetProjectionMatrix();
    renderer.SetProjectionMatrix(
        Math::Matrix4::Orthographic2D(0.0f, static_cast<float>(width), 0.0f, static_cast<float>(height)));

    for (const Core::RefPtr<ScreenObject>& object : screenObjects_)
    {
        object->PrepareDraw();
        const Core::RefPtr<Renderer::ITexture> texture = object->GetTexture();
        const Core::RefPtr<Renderer::Technique> technique = TechniqueOf(object->GetEffect());
        const Core::RefPtr<Renderer::Pass> pass = PassOf(technique);
        DrawScreenObject(renderer, *object, texture.Get(), technique.Get(), pass.Get(),
                         static_cast<std::int32_t>(object->GetPrimitiveType()), StateEdges{});
    }

    renderer.SetTextureMatrix(0, Math::Matrix4());
    renderer.SetProjectionMatrix(savedProjection);
    renderer.SetViewMatrix(savedView);
    RestoreViewportAndScissor(renderer, display);
    screenObjects_.clear();
}

void RenderQueue::SubmitBackground(TextRenderContext& context)
{
    if (!context.texture)
    {
        return;
    }
    context.effect = backgroundEffect_;
    backgrounds_.push_back(context);
}

void RenderQueue::DrawBackgrounds()
{
    if (renderer_ == nullptr || backgrounds_.empty())
    {
        return;
    }
    Renderer::IRenderer& renderer = *renderer_;
    const Renderer::ViewportRecord viewport = renderer.GetViewport();
    const Math::Matrix4 savedView = renderer.GetViewMatrix();
    renderer.SetViewMatrix(Math::Matrix4());
    const Math::Matrix4 savedProjection = renderer.GetProjectionMatrix();
    renderer.SetProjectionMatrix(Math::Matrix4::Orthographic2D(
        static_cast<float>(viewport.x), static_cast<float>(viewport.x + viewport.width),
        static_cast<float>(viewport.y), static_cast<float>(viewport.y + viewport.height)));

    // Each context's technique and pass, looked up once.
    struct Run
    {
        Renderer::ITexture* texture;
        Core::RefPtr<Renderer::Technique> technique;
        Core::RefPtr<Renderer::Pass> pass;
    };
    std::vector<Run> runs;
    runs.reserve(backgrounds_.size());
    for (const TextRenderContext& context : backgrounds_)
    {
        Core::RefPtr<Renderer::Technique> technique = TechniqueOf(context.effect);
        Core::RefPtr<Renderer::Pass> pass = PassOf(technique);
        runs.push_back(Run{context.texture.Get(), std::move(technique), std::move(pass)});
    }
    // States change only at the edges of runs of equal texture, technique
    // and pass: a neighbour that shares them keeps them in force.
    for (std::size_t i = 0; i < backgrounds_.size(); ++i)
    {
        const Run& run = runs[i];
        const Run* previous = i > 0 ? &runs[i - 1] : nullptr;
        const Run* next = i + 1 < runs.size() ? &runs[i + 1] : nullptr;
        StateEdges edges;
        edges.bindTexture = previous == nullptr || previous->texture != run.texture;
        edges.unbindTexture = next == nullptr || next->texture != run.texture;
        edges.saveStates = previous == nullptr || previous->technique != run.technique;
        edges.applyPass = previous == nullptr || previous->pass != run.pass;
        edges.restoreStates = next == nullptr || next->technique != run.technique;
        DrawScreenObject(renderer, backgrounds_[i], run.texture, run.technique.Get(), run.pass.Get(),
                         Renderer::PrimitiveTriangles, edges);
    }

    renderer.SetTextureMatrix(0, Math::Matrix4());
    renderer.SetProjectionMatrix(savedProjection);
    renderer.SetViewMatrix(savedView);
}

} // namespace Engine
