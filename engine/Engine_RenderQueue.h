#pragma once

#include "core/Core_RefPtr.h"
#include "engine/Engine_Mesh.h"
#include "engine/Engine_RenderQueueItem.h"
#include "engine/Engine_ScreenObject.h"
#include "engine/Engine_SpriteBatcher.h"
#include "renderer/Renderer_DisplayDescription.h"
#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_RenderStates.h"

#include <vector>

namespace Renderer
{
class IRenderer;
class Pass;
} // namespace Renderer

namespace Engine
{

class Camera;

// Collects the render items of one view and draws them in a fixed order:
// the viewport's backgrounds, the opaque items grouped by effect and mesh,
// the blended items back to front, and, in the last viewport of the frame
// only, the overlay items in window pixels. Every item is drawn through
// technique 0, pass 0 of an effect, whose saved states are restored after
// the draw, so no item leaks state into the next.
//
// Besides the items it keeps the GUI's screen objects, drawn once per frame
// by DrawScreenObjects.
//
// "Last viewport" is read from the current scene graph: the index of the
// viewport being rendered equals the viewport count minus one. Without a
// current scene graph no viewport is the last.
//
// One queue lives in each scene graph; the one constructed last is the
// process-wide queue that drawables submit to. The lists keep their
// capacity from frame to frame. Main thread only.
class RenderQueue
{
public:
    // Makes the queue the process-wide one, then makes its five preset
    // effects and the unit quad.
    RenderQueue();
    RenderQueue(const RenderQueue&) = delete;
    RenderQueue& operator=(const RenderQueue&) = delete;
    // Stops being the process-wide queue, when it is.
    ~RenderQueue();

    // The queue constructed last, or none.
    static RenderQueue* GetInstance();

    // Not counted: the scene graph that holds the queue holds the renderer.
    void SetRenderer(Renderer::IRenderer* renderer) { renderer_ = renderer; }
    Renderer::IRenderer* GetRenderer() const { return renderer_; }
    // The camera of the view being rendered; held, not read.
    void SetCamera(const Core::RefPtr<Camera>& camera);
    const Core::RefPtr<Camera>& GetCamera() const { return camera_; }

    // Files a copy of `item` (see the routing rules in the source). It may
    // replace the effect and mesh of `item` itself; dropped items are not
    // reported.
    void Submit(RenderQueueItem& item);
    // Draws everything submitted for the current view.
    void Flush();
    // Empties the lists after a flush; the overlay list only in the last
    // viewport, so overlay items wait for the last viewport's flush.
    void Clear();
    // Draws `items` in their order.
    void DrawItems(std::vector<RenderQueueItem>& items);
    // Writes each item's depth (its world z) and sorts ascending.
    void SortByDepth(std::vector<RenderQueueItem>& items);
    // The overlay items in window pixels: origin at the window's centre,
    // one unit a pixel at z = 0.
    void DrawOverlay();

    // --- Screen objects and backgrounds -----------------------------------
    // Queues a drawable object; others are ignored.
    void AddScreenObject(const Core::RefPtr<ScreenObject>& object);
    void ClearScreenObjects();
    // Draws the screen objects by depth in a projection of window pixels
    // (origin at the lower left), then empties the list. Viewport, scissor,
    // view and projection are left as found; texture matrix 0 is identity.
    void DrawScreenObjects();
    // A background with a texture is given the background effect (in
    // `context` itself) and a copy is kept for this view's flush.
    void SubmitBackground(TextRenderContext& context);
    // The backgrounds in a projection of the current viewport's pixels.
    void DrawBackgrounds();

    // Whether the current scene graph is rendering its last viewport.
    static bool IsLastViewport();

    // --- What the queue holds ---------------------------------------------
    const std::vector<RenderQueueItem>& GetOpaqueItems() const { return opaque_; }
    const std::vector<RenderQueueItem>& GetBlendedItems() const { return blended_; }
    const std::vector<RenderQueueItem>& GetOverlayItems() const { return overlay_; }
    const std::vector<Core::RefPtr<ScreenObject>>& GetScreenObjects() const { return screenObjects_; }
    const std::vector<TextRenderContext>& GetBackgrounds() const { return backgrounds_; }
    const Core::RefPtr<Renderer::Effect>& GetLineEffect() const { return lineEffect_; }
    const Core::RefPtr<Renderer::Effect>& GetPointEffect() const { return pointEffect_; }
    const Core::RefPtr<Renderer::Effect>& GetSpriteEffect() const { return spriteEffect_; }
    const Core::RefPtr<Renderer::Effect>& GetBackgroundEffect() const { return backgroundEffect_; }
    const Core::RefPtr<Renderer::ParticleEffect>& GetParticleEffect() const { return particleEffect_; }
    // Six vertices of two triangles from (-0.5, -0.5) to (0.5, 0.5) at z = 0,
    // texture coordinates (0, 0) at the lower left to (1, 1).
    const Core::RefPtr<Mesh>& GetUnitQuad() const { return unitQuad_; }

private:
    // The display's size and the scissor and viewport a pass over the whole
    // display replaced, to be put back after it.
    struct WholeDisplay
    {
        std::int32_t width = 0;
        std::int32_t height = 0;
        Renderer::ScissorState savedScissor;
        Renderer::ViewportRecord savedViewport;
    };
    // Turns the scissor off over the whole display and makes the viewport
    // cover it.
    static WholeDisplay UseWholeDisplay(Renderer::IRenderer& renderer);
    static void RestoreViewportAndScissor(Renderer::IRenderer& renderer, const WholeDisplay& display);

    // Sprites drawn through the sprite effect only, as a quad placed by
    // their world matrix: what the sprite batches can take.
    bool IsBatchableSprite(const RenderQueueItem& item) const;
    // Draws consecutive batchable sprites in few draws, the picture the
    // same as drawing them one by one (see SpriteBatcher).
    void DrawSpriteBatches(const RenderQueueItem* items, std::size_t count, const Renderer::Pass& pass);

    Renderer::IRenderer* renderer_ = nullptr;
    Core::RefPtr<Camera> camera_;
    std::vector<RenderQueueItem> opaque_;
    std::vector<RenderQueueItem> overlay_;
    std::vector<RenderQueueItem> blended_;
    std::vector<Core::RefPtr<ScreenObject>> screenObjects_;
    std::vector<TextRenderContext> backgrounds_;
    Core::RefPtr<Renderer::Effect> lineEffect_;
    Core::RefPtr<Renderer::Effect> pointEffect_;
    Core::RefPtr<Renderer::Effect> spriteEffect_;
    Core::RefPtr<Renderer::Effect> backgroundEffect_;
    Core::RefPtr<Renderer::ParticleEffect> particleEffect_;
    Core::RefPtr<Mesh> unitQuad_;
    SpriteBatcher batcher_;
    // Scratch of SortByDepth, kept from frame to frame.
    struct DepthKey
    {
        float depth;
        std::uint32_t index;
    };
    std::vector<DepthKey> depthOrder_;
    std::vector<RenderQueueItem> sorted_;
};

} // namespace Engine
