#include "engine/Engine_RenderQueue.h"

#include "engine/Engine_Camera.h"
#include "engine/Engine_SceneGraph.h"
#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_Pass.h"
#include "renderer/Renderer_RenderStates.h"
#include "renderer/Renderer_Technique.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

namespace Engine
{

namespace
{

RenderQueue* g_instance = nullptr;

// Two triangles from (-0.5, -0.5) to (0.5, 0.5) in the plane z = 0.
Core::RefPtr<Mesh> MakeUnitQuad()
{
    Core::RefPtr<Mesh> quad(new ("Internal_RenderQueue", __LINE__) Mesh());
    quad->AddDrawRange(DrawRange{0, 5, -1, true});
    static const float corners[6][2] = {{-0.5f, -0.5f}, {0.5f, -0.5f}, {0.5f, 0.5f},
                                        {0.5f, 0.5f},   {-0.5f, 0.5f}, {-0.5f, -0.5f}};
    quad->ReservePositions(6);
    for (const auto& corner : corners)
    {
        quad->AddPosition(Math::Vector3(corner[0], corner[1], 0.0f));
    }
    for (std::uint32_t i = 0; i < 6; ++i)
    {
        quad->AddIndex(i);
    }
    quad->ReserveTexCoords(6);
    for (const auto& corner : corners)
    {
        quad->AddTexCoord(Math::Vector2D(corner[0] + 0.5f, corner[1] + 0.5f));
    }
    return quad;
}

// The opaque order: effect, then mesh, then draw range as an unsigned
// number. Objects are ordered by address (none before any).
bool OpaqueLess(const RenderQueueItem& a, const RenderQueueItem& b)
{
    const std::less<const void*> before;
    if (a.effect.Get() != b.effect.Get())
    {
        return before(a.effect.Get(), b.effect.Get());
    }
    if (a.mesh.Get() != b.mesh.Get())
    {
        return before(a.mesh.Get(), b.mesh.Get());
    }
    return static_cast<std::uint32_t>(a.drawRangeIndex) < static_cast<std::uint32_t>(b.drawRangeIndex);
}

} // namespace

RenderQueue::RenderQueue()
{
    g_instance = this;
    lineEffect_ = Renderer::CreateLineEffect();
    pointEffect_ = Renderer::CreatePointEffect();
    spriteEffect_ = Renderer::CreateSpriteEffect();
    backgroundEffect_ = Renderer::CreateBackgroundEffect();
    particleEffect_ = Renderer::CreateParticleEffect();
    unitQuad_ = MakeUnitQuad();
}

RenderQueue::~RenderQueue()
{
    if (g_instance == this)
    {
        g_instance = nullptr;
    }
}

RenderQueue* RenderQueue::GetInstance()
{
    return g_instance;
}

bool RenderQueue::IsLastViewport()
{
    const SceneGraph* scene = SceneGraph::GetCurrent();
    return scene != nullptr && scene->IsLastViewport();
}

void RenderQueue::SetCamera(const Core::RefPtr<Camera>& camera)
{
    camera_ = camera;
}

// Routing:
// - sprite items take the sprite effect and the unit quad; overlay sprites
//   go to the overlay list (last viewport only), the others are blended;
// - other overlay items go to the overlay list in the last viewport only,
//   particle ones with the particle effect;
// - mesh items are blended when their draw range is enabled or the effect
//   they came with is blended, opaque otherwise; particle ones take the
//   particle effect;
// - items without a mesh are blended points or lines; others are dropped.
void RenderQueue::Submit(RenderQueueItem& item)
{
    if (item.sprite)
    {
        item.effect = spriteEffect_;
        item.mesh = unitQuad_;
        if (!item.overlay)
        {
            blended_.push_back(item);
        }
        else if (IsLastViewport())
        {
            overlay_.push_back(item);
        }
        return;
    }
    if (item.overlay)
    {
        if (!IsLastViewport())
        {
            return;
        }
        if (item.particle)
        {
            item.effect = particleEffect_;
        }
        overlay_.push_back(item);
        return;
    }
    if (item.mesh)
    {
        const bool effectBlended = item.effect && item.effect->blended;
        if (item.particle)
        {
            item.effect = particleEffect_;
        }
        if (item.mesh->GetDrawRange(item.drawRangeIndex).enabled || effectBlended)
        {
            blended_.push_back(item);
        }
        else
        {
            opaque_.push_back(item);
        }
        return;
    }
    if (item.primitiveType == Renderer::PrimitivePoints || item.primitiveType == Renderer::PrimitiveLines)
    {
        blended_.push_back(item);
    }
}

void RenderQueue::Flush()
{
    if (renderer_ == nullptr)
    {
        return;
    }
    const bool last = IsLastViewport();
    DrawBackgrounds();
    std::sort(opaque_.begin(), opaque_.end(), OpaqueLess);
    DrawItems(opaque_);
    SortByDepth(blended_);
    DrawItems(blended_);
    renderer_->SetTextureMatrix(0, Math::Matrix4());
    if (last)
    {
        DrawOverlay();
    }
}

void RenderQueue::Clear()
{
    opaque_.clear();
    blended_.clear();
    if (IsLastViewport())
    {
        overlay_.clear();
    }
    backgrounds_.clear();
}

void RenderQueue::SortByDepth(std::vector<RenderQueueItem>& items)
{
    // The world z of the item's origin: the matrix's z translation.
    depthOrder_.resize(items.size());
    for (std::size_t i = 0; i < items.size(); ++i)
    {
        items[i].depth = items[i].worldMatrix.m[14];
        depthOrder_[i] = {items[i].depth, static_cast<std::uint32_t>(i)};
    }
    // The sort's steps follow its comparisons only, so (depth, position)
    // pairs compared by depth end in the order the items themselves would,
    // ties included; each item is then moved once instead of at every step.
    std::sort(depthOrder_.begin(), depthOrder_.end(),
              [](const DepthKey& a, const DepthKey& b) { return a.depth < b.depth; });
    sorted_.clear();
    sorted_.reserve(items.size());
    for (const DepthKey& key : depthOrder_)
    {
        sorted_.push_back(std::move(items[key.index]));
    }
    items.swap(sorted_);
    sorted_.clear();
}

// Consecutive items drawn through the same pass form a run: its technique
// saves the renderer's states and the pass applies its own once, at the
// run's first item, and the saved states come back after its last. In
// between, the states stay as the pass set them, which is what restoring
// and applying them again would leave. Only a change of texture is applied
// again (the pass's texture-unit settings go to the newly bound texture),
// and a mesh shared by neighbours keeps its arrays bound. Particle items,
// which change their effect's blending first, are runs of their own.
void RenderQueue::DrawItems(std::vector<RenderQueueItem>& items)
{
    if (renderer_ == nullptr || items.empty())
    {
        return;
    }
    Renderer::IRenderer& renderer = *renderer_;
    const Math::Matrix4 savedView = renderer.GetViewMatrix();
    const Math::Matrix4 identity;
    Renderer::Technique* openTechnique = nullptr;
    const Renderer::Pass* openPass = nullptr;
    const Mesh* boundMesh = nullptr;
    const auto unbindMesh = [&]
    {
        if (boundMesh != nullptr)
        {
            boundMesh->UnbindArrays(renderer);
            boundMesh = nullptr;
        }
    };
    const auto closeRun = [&]
    {
        unbindMesh();
        if (openTechnique != nullptr)
        {
            openTechnique->RestoreStates();
            renderer.SetTexture(0, nullptr);
            openTechnique = nullptr;
            openPass = nullptr;
        }
    };
    bool clipSpace = true;
    for (std::size_t index = 0; index < items.size(); ++index)
    {
        if (clipSpace && IsBatchableSprite(items[index]))
        {
            std::size_t end = index + 1;
            while (end < items.size() && IsBatchableSprite(items[end]))
            {
                ++end;
            }
            if (end - index > 1)
            {
                const Core::RefPtr<Renderer::Technique> technique = spriteEffect_->GetTechnique(0);
                const Core::RefPtr<Renderer::Pass> pass =
                    technique ? technique->GetPass(0) : Core::RefPtr<Renderer::Pass>();
                if (pass)
                {
                    unbindMesh();
                    if (pass.Get() != openPass)
                    {
                        closeRun();
                        spriteEffect_->SetTexture(1, items[index].texture);
                        renderer.SetTexture(0, spriteEffect_->GetTexture(1));
                        technique->SaveStates();
                        pass->Apply();
                        openTechnique = technique.Get();
                        openPass = pass.Get();
                    }
                    // Asked with the pass in place: it may switch on what
                    // clip-space vertices cannot feed.
                    clipSpace = renderer.DrawsClipSpaceExactly();
                    if (clipSpace)
                    {
                        DrawSpriteBatches(&items[index], end - index, *pass);
                        index = end - 1;
                        continue;
                    }
                }
            }
        }
        RenderQueueItem& item = items[index];
        Renderer::Effect* effect = item.primitiveType == Renderer::PrimitiveLines    ? lineEffect_.Get()
                                   : item.primitiveType == Renderer::PrimitivePoints ? pointEffect_.Get()
                                                                                     : item.effect.Get();
        const Core::RefPtr<Renderer::Technique> technique =
            effect != nullptr ? effect->GetTechnique(0) : Core::RefPtr<Renderer::Technique>();
        const Core::RefPtr<Renderer::Pass> pass =
            technique ? technique->GetPass(0) : Core::RefPtr<Renderer::Pass>();
        if (!pass)
        {
            // Nothing to draw with: an item that broke the submitters' rules.
            continue;
        }
        const bool continues = pass.Get() == openPass && !item.particle;
        if (!continues)
        {
            closeRun();
        }
        if (item.screenSpace)
        {
            renderer.SetViewMatrix(identity);
        }
        if ((item.sprite || item.particle) && item.effect)
        {
            item.effect->SetTexture(1, item.texture);
        }
        renderer.SetPrimitiveType(static_cast<std::int32_t>(item.primitiveType));
        const Core::RefPtr<Renderer::ITexture> texture = effect->GetTexture(1);
        if (!continues)
        {
            renderer.SetTexture(0, texture);
            if (item.particle)
            {
                particleEffect_->sourceFactor = item.sourceBlendFactor;
                particleEffect_->destinationFactor = item.destinationBlendFactor;
                particleEffect_->UpdateStates();
            }
            technique->SaveStates();
            pass->Apply();
            openTechnique = technique.Get();
            openPass = pass.Get();
        }
        else if (texture.Get() != renderer.GetTexture(0).Get())
        {
            renderer.SetTexture(0, nullptr);
            renderer.SetTexture(0, texture);
            pass->Apply();
        }
        if (item.mesh)
        {
            if (boundMesh != item.mesh.Get())
            {
                unbindMesh();
                item.mesh->BindArrays(renderer);
                boundMesh = item.mesh.Get();
            }
            renderer.SetCurrentColor(item.color);
            renderer.SetWorldMatrix(item.worldMatrix);
            renderer.SetTextureMatrix(0, item.textureMatrix);
            item.mesh->Draw(renderer, item.drawRangeIndex);
        }
        else
        {
            unbindMesh();
            renderer.SetWorldMatrix(item.worldMatrix);
            renderer.SetVertexArray(item.vertexArray);
            renderer.SetCurrentColor(item.color);
            renderer.Draw(static_cast<std::int32_t>(item.vertexCount));
            renderer.SetVertexArray(nullptr);
            renderer.SetColorArray(nullptr);
        }
        if (item.screenSpace)
        {
            renderer.SetViewMatrix(savedView);
        }
    }
    closeRun();
}

bool RenderQueue::IsBatchableSprite(const RenderQueueItem& item) const
{
    return item.sprite && !item.particle && !item.screenSpace && item.effect.Get() == spriteEffect_.Get() &&
           item.mesh.Get() == unitQuad_.Get() && item.drawRangeIndex == 0 &&
           item.primitiveType == Renderer::PrimitiveTriangles;
}

// The sprite pass is applied. Each batch binds its texture as a change of
// texture inside a run does; afterwards the renderer holds what drawing
// the items one by one would have left: the last item's texture, colour,
// world and texture matrix.
void RenderQueue::DrawSpriteBatches(const RenderQueueItem* items, std::size_t count,
                                    const Renderer::Pass& pass)
{
    Renderer::IRenderer& renderer = *renderer_;
    const auto bind = [&](const Core::RefPtr<Renderer::ITexture>& texture)
    {
        spriteEffect_->SetTexture(1, texture);
        const Core::RefPtr<Renderer::ITexture> bound = spriteEffect_->GetTexture(1);
        if (bound.Get() != renderer.GetTexture(0).Get())
        {
            renderer.SetTexture(0, nullptr);
            renderer.SetTexture(0, bound);
            pass.Apply();
        }
    };
    batcher_.Plan(renderer, items, count, *unitQuad_);
    renderer.SetPrimitiveType(Renderer::PrimitiveTriangles);
    renderer.BeginClipSpaceTriangles(batcher_.GetPositions(), batcher_.GetTexCoords(), batcher_.GetColors());
    for (const SpriteBatcher::Batch& batch : batcher_.GetBatches())
    {
        bind(batch.first->texture);
        // Set only when it changes: loading a matrix makes the driver
        // prepare the next draw again.
        const Math::Matrix4 current = renderer.GetTextureMatrix(0);
        if (std::memcmp(current.m, batch.first->textureMatrix.m, sizeof current.m) != 0)
        {
            renderer.SetTextureMatrix(0, batch.first->textureMatrix);
        }
        renderer.DrawClipSpaceTriangles(batch.begin, batch.count);
    }
    renderer.EndClipSpaceTriangles();
    const RenderQueueItem& last = items[count - 1];
    bind(last.texture);
    renderer.SetCurrentColor(last.color);
    renderer.SetWorldMatrix(last.worldMatrix);
    renderer.SetTextureMatrix(0, last.textureMatrix);
}

void RenderQueue::DrawOverlay()
{
    if (renderer_ == nullptr)
    {
        return;
    }
    Renderer::IRenderer& renderer = *renderer_;
    const WholeDisplay display = UseWholeDisplay(renderer);
    const std::int32_t width = display.width;
    const std::int32_t height = display.height;

    SortByDepth(overlay_);
    const Math::Matrix4 savedView = renderer.GetViewMatrix();
    const Math::Matrix4 savedProjection = renderer.GetProjectionMatrix();
    // A 45-degree lens at the distance where a unit at z = 0 covers one
    // pixel: half the height over tan(22.5 degrees).
    const double halfAngle = 22.5 * 3.14159265358979323846 / 180.0;
    const auto distance = static_cast<float>(static_cast<double>(height) / (2.0 * std::tan(halfAngle)));
    const auto aspect = static_cast<float>(static_cast<double>(width) / static_cast<double>(height));
    renderer.SetProjectionMatrix(Math::Matrix4::Perspective(45.0f, aspect, 1.0f, 10000.0f));
    renderer.SetViewMatrix(Math::Matrix4::Translation(0.0f, 0.0f, -distance));
    DrawItems(overlay_);

    renderer.SetViewMatrix(savedView);
    renderer.SetProjectionMatrix(savedProjection);
    RestoreViewportAndScissor(renderer, display);
}

} // namespace Engine
