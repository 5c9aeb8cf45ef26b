#pragma once

#include "engine/Engine_RenderQueueItem.h"
#include "math/Math_Matrix4.h"
#include "renderer/Renderer_DisplayDescription.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Renderer
{
class IRenderer;
class ITexture;
} // namespace Renderer

namespace Engine
{

class Mesh;

// Groups a stretch of sprite items that the render queue would draw one by
// one, all through the sprite effect's pass, into few draws of many quads
// each, with the picture unchanged.
//
// Each quad is placed in clip space on the CPU with the pipeline's own
// arithmetic (Renderer_ClipSpace.h), so its pixels are the ones its own
// draw would give. Quads of one texture and texture matrix go into one
// batch; the draws may leave the given order only where that cannot show:
// a quad is drawn after every earlier quad whose window footprint (the box
// around its projected corners, widened by a pixel) may meet its own.
// Quads whose footprints do not meet touch no pixel in common, so the
// blending, depth and alpha tests of one never see the other.
//
// Footprints are compared through a grid of 4-pixel cells, each holding
// the latest batch that anything touching it went into (see
// AssignBatches). Main thread only; the scratch keeps its capacity from
// frame to frame.
class SpriteBatcher
{
public:
    struct Batch
    {
        const RenderQueueItem* first = nullptr; // its texture and texture matrix
        std::uint32_t begin = 0;                // in the vertex arrays, in vertices
        std::uint32_t count = 0;
    };

    // Plans the batches of `items[0, count)`, each a sprite item of `quad`
    // (draw range 0), under the renderer's current view, projection and
    // viewport, and fills the vertex arrays in drawing order.
    void Plan(Renderer::IRenderer& renderer, const RenderQueueItem* items, std::size_t count,
              const Mesh& quad);

    const std::vector<Batch>& GetBatches() const { return batches_; }
    // Clip-space positions (4 floats), unit-0 texture coordinates (2) and
    // colours (4), per vertex, batch after batch.
    const float* GetPositions() const { return positions_.data(); }
    const float* GetTexCoords() const { return texCoords_.data(); }
    const float* GetColors() const { return colors_.data(); }

private:
    // A window-pixel box, or the whole plane for a quad with a corner at or
    // behind the eye (or not finite).
    struct Footprint
    {
        float minX = 0.0f;
        float minY = 0.0f;
        float maxX = 0.0f;
        float maxY = 0.0f;
        bool everywhere = false;
    };

    void PlaceQuads(Renderer::IRenderer& renderer, const RenderQueueItem* items, std::size_t count,
                    const Mesh& quad);
    void NumberKeys(const RenderQueueItem* items, std::size_t count);
    void AssignBatches(const RenderQueueItem* items, std::size_t count,
                       const Renderer::ViewportRecord& viewport);
    void Gather(const RenderQueueItem* items);

    std::vector<std::uint32_t> quadIndices_; // the quad's vertices, as its range draws them
    std::vector<float> quadTexCoords_;       // and their texture coordinates
    static constexpr std::size_t MaximumCorners = 8;
    std::vector<std::uint32_t> distinctCorners_; // the quad's distinct corners among them
    std::vector<std::uint32_t> cornerOfVertex_;  // per vertex: its place in distinctCorners_
    std::vector<float> placed_;                  // per item: its vertices' clip positions
    std::vector<Footprint> footprints_;
    static constexpr std::uint32_t NoBatch = 0xFFFFFFFFu;
    std::vector<std::uint32_t> keys_;                    // per item: its texture and texture matrix, numbered
    std::vector<std::vector<std::uint32_t>> keyBatches_; // per key: its batches, in drawing order
    std::vector<std::uint32_t> batchKeys_;               // per batch: its key
    std::vector<std::uint32_t> itemBatches_;             // per item: its batch
    std::vector<std::uint32_t> batchStart_;
    // Per cell of a fine window grid: the latest batch touching it, plus one.
    std::vector<std::uint32_t> latestBatch_;
    std::vector<std::uint32_t> order_; // items in drawing order
    std::vector<Batch> batches_;
    std::vector<float> positions_;
    std::vector<float> texCoords_;
    std::vector<float> colors_;
};

} // namespace Engine
