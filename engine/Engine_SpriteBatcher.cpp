#include "engine/Engine_SpriteBatcher.h"

#include "engine/Engine_Mesh.h"
#include "renderer/Renderer_ClipSpace.h"
#include "renderer/Renderer_IRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

namespace Engine
{

namespace
{

// Window pixels a footprint is widened by on each side: rasterisation
// touches only pixels whose centres lie inside the projected corners' box,
// and the box itself is computed in floats.
constexpr float FootprintMargin = 1.0f;
// Side of a cell of the grid that finds meeting footprints, in pixels, and
// the most cells along one side.
constexpr float CellSide = 4.0f;
constexpr std::int32_t MaximumCellsPerSide = 256;

bool KeyLess(const RenderQueueItem& a, const RenderQueueItem& b)
{
    if (a.texture.Get() != b.texture.Get())
    {
        return std::less<const void*>()(a.texture.Get(), b.texture.Get());
    }
    return std::memcmp(a.textureMatrix.m, b.textureMatrix.m, sizeof a.textureMatrix.m) < 0;
}

bool SameKey(const RenderQueueItem& a, const RenderQueueItem& b)
{
    return a.texture.Get() == b.texture.Get() &&
           std::memcmp(a.textureMatrix.m, b.textureMatrix.m, sizeof a.textureMatrix.m) == 0;
}

} // namespace

void SpriteBatcher::Plan(Renderer::IRenderer& renderer, const RenderQueueItem* items, std::size_t count,
                         const Mesh& quad)
{
    batches_.clear();
    order_.clear();
    if (count == 0)
    {
        return;
    }
    PlaceQuads(renderer, items, count, quad);
    NumberKeys(items, count);
    AssignBatches(items, count, renderer.GetViewport());
    Gather(items);
}

void SpriteBatcher::PlaceQuads(Renderer::IRenderer& renderer, const RenderQueueItem* items, std::size_t count,
                               const Mesh& quad)
{
    // The vertices the quad's range 0 draws, through its index list.
    quadIndices_.clear();
    const std::vector<Math::Vector3>& corners = quad.GetPositions();
    const std::vector<std::uint32_t>& indices = quad.GetIndices();
    const DrawRange& range = quad.GetDrawRange(0);
    for (std::uint64_t e = range.first; e <= range.last && e < indices.size(); ++e)
    {
        if (indices[e] < corners.size() && indices[e] < quad.GetTexCoords().size())
        {
            quadIndices_.push_back(indices[e]);
        }
    }
    quadIndices_.resize(quadIndices_.size() - quadIndices_.size() % 3);
    const std::size_t vertices = quadIndices_.size();
    quadTexCoords_.clear();
    for (const std::uint32_t index : quadIndices_)
    {
        quadTexCoords_.push_back(quad.GetTexCoords()[index].x);
        quadTexCoords_.push_back(quad.GetTexCoords()[index].y);
    }

    // The quad's distinct corners, placed once per item; its vertices copy
    // them (a corner gives the same bits every time it is placed).
    distinctCorners_.clear();
    cornerOfVertex_.clear();
    for (const std::uint32_t index : quadIndices_)
    {
        const auto found = std::find(distinctCorners_.begin(), distinctCorners_.end(), index);
        cornerOfVertex_.push_back(static_cast<std::uint32_t>(found - distinctCorners_.begin()));
        if (found == distinctCorners_.end())
        {
            distinctCorners_.push_back(index);
        }
    }
    const Math::Matrix4 projection = renderer.GetProjectionMatrix();
    const Math::Matrix4 view = renderer.GetViewMatrix();
    const Renderer::ViewportRecord viewport = renderer.GetViewport();
    const float halfWidth = 0.5f * static_cast<float>(viewport.width);
    const float halfHeight = 0.5f * static_cast<float>(viewport.height);
    placed_.resize(count * vertices * 4);
    footprints_.resize(count);
    for (std::size_t i = 0; i < count; ++i)
    {
        const Math::Matrix4 clip = Renderer::ClipMatrix(projection, view * items[i].worldMatrix);
        Footprint box;
        box.minX = box.minY = INFINITY;
        box.maxX = box.maxY = -INFINITY;
        Math::Vector4 cornerClip[MaximumCorners];
        const std::size_t cornerCount = std::min(distinctCorners_.size(), MaximumCorners);
        for (std::size_t c = 0; c < cornerCount; ++c)
        {
            cornerClip[c] = Renderer::ToClipSpace(clip, corners[distinctCorners_[c]]);
        }
        float* out = placed_.data() + i * vertices * 4;
        for (std::size_t v = 0; v < vertices; ++v)
        {
            const Math::Vector4 p = cornerOfVertex_[v] < cornerCount
                                        ? cornerClip[cornerOfVertex_[v]]
                                        : Renderer::ToClipSpace(clip, corners[quadIndices_[v]]);
            out[0] = p.x;
            out[1] = p.y;
            out[2] = p.z;
            out[3] = p.w;
            out += 4;
            if (!(p.w > 0.0f))
            {
                box.everywhere = true;
                continue;
            }
            const float x = static_cast<float>(viewport.x) + (p.x / p.w + 1.0f) * halfWidth;
            const float y = static_cast<float>(viewport.y) + (p.y / p.w + 1.0f) * halfHeight;
            box.minX = std::min(box.minX, x);
            box.maxX = std::max(box.maxX, x);
            box.minY = std::min(box.minY, y);
            box.maxY = std::max(box.maxY, y);
        }
        box.minX -= FootprintMargin;
        box.minY -= FootprintMargin;
        box.maxX += FootprintMargin;
        box.maxY += FootprintMargin;
        if (!std::isfinite(box.minX) || !std::isfinite(box.maxX) || !std::isfinite(box.minY) ||
            !std::isfinite(box.maxY))
        {
            box.everywhere = true;
        }
        footprints_[i] = box;
    }
}

void SpriteBatcher::NumberKeys(const RenderQueueItem* items, std::size_t count)
{
    order_.resize(count);
    for (std::size_t i = 0; i < count; ++i)
    {
        order_[i] = static_cast<std::uint32_t>(i);
    }
    std::sort(order_.begin(), order_.end(),
              [items](std::uint32_t a, std::uint32_t b) { return KeyLess(items[a], items[b]); });
    keys_.resize(count);
    std::size_t keyCount = 0;
    for (std::size_t k = 0; k < count; ++k)
    {
        const std::uint32_t i = order_[k];
        if (k == 0 || !SameKey(items[order_[k - 1]], items[i]))
        {
            ++keyCount;
        }
        keys_[i] = static_cast<std::uint32_t>(keyCount - 1);
    }
    keyBatches_.resize(keyCount);
    for (std::vector<std::uint32_t>& list : keyBatches_)
    {
        list.clear();
    }
}

// Items are taken in the given order and each put in a batch of its key,
// the batches kept in drawing order. Every cell of a fine window grid
// remembers the latest batch an item touching it went into; an item must
// go after that batch, or into it when it holds the item's key (it is
// then drawn after everything already there). It takes the first batch
// of its key that qualifies, or opens a new one at the end. Two items
// whose footprints meet share a cell, so the later one is drawn later.
void SpriteBatcher::AssignBatches(const RenderQueueItem* items, std::size_t count,
                                  const Renderer::ViewportRecord& viewport)
{
    const auto cellsAlong = [](std::int32_t pixels)
    {
        const auto wanted =
            static_cast<std::int32_t>(std::ceil(static_cast<float>(std::max(pixels, 1)) / CellSide));
        return std::clamp(wanted, 1, MaximumCellsPerSide);
    };
    const std::int32_t columns = cellsAlong(viewport.width);
    const std::int32_t rows = cellsAlong(viewport.height);
    const float cellWidth = static_cast<float>(std::max(viewport.width, 1)) / static_cast<float>(columns);
    const float cellHeight = static_cast<float>(std::max(viewport.height, 1)) / static_cast<float>(rows);
    // A cell holds its latest batch plus one; 0 is none.
    latestBatch_.assign(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), 0);
    // Boxes beyond the window fall into its border cells: two boxes that
    // meet still share the cell of their common part.
    const auto cellOf = [](float coordinate, float origin, float side, std::int32_t cells)
    {
        const float cell = std::floor((coordinate - origin) / side);
        if (!(cell > 0.0f))
        {
            return 0;
        }
        return cell >= static_cast<float>(cells - 1) ? cells - 1 : static_cast<std::int32_t>(cell);
    };
    batchKeys_.clear();
    itemBatches_.resize(count);
    std::uint32_t* const latest = latestBatch_.data();
    for (std::size_t i = 0; i < count; ++i)
    {
        const Footprint& box = footprints_[i];
        std::int32_t firstColumn = 0;
        std::int32_t lastColumn = columns - 1;
        std::int32_t firstRow = 0;
        std::int32_t lastRow = rows - 1;
        if (!box.everywhere)
        {
            firstColumn = cellOf(box.minX, static_cast<float>(viewport.x), cellWidth, columns);
            lastColumn = cellOf(box.maxX, static_cast<float>(viewport.x), cellWidth, columns);
            firstRow = cellOf(box.minY, static_cast<float>(viewport.y), cellHeight, rows);
            lastRow = cellOf(box.maxY, static_cast<float>(viewport.y), cellHeight, rows);
        }
        // The latest batch among the item's cells, plus one (0: none).
        std::uint32_t after = 0;
        for (std::int32_t row = firstRow; row <= lastRow; ++row)
        {
            const std::uint32_t* cell =
                latest + static_cast<std::size_t>(row) * static_cast<std::size_t>(columns);
            for (std::int32_t column = firstColumn; column <= lastColumn; ++column)
            {
                after = std::max(after, cell[column]);
            }
        }
        const std::uint32_t key = keys_[i];
        std::uint32_t chosen = NoBatch;
        if (after != 0 && batchKeys_[after - 1] == key)
        {
            chosen = after - 1;
        }
        else
        {
            // The first batch of the key after the latest one.
            const std::vector<std::uint32_t>& own = keyBatches_[key];
            const auto later = std::lower_bound(own.begin(), own.end(), after);
            if (later != own.end())
            {
                chosen = *later;
            }
            else
            {
                chosen = static_cast<std::uint32_t>(batchKeys_.size());
                batchKeys_.push_back(key);
                keyBatches_[key].push_back(chosen);
            }
        }
        itemBatches_[i] = chosen;
        // The chosen batch is no earlier than any the cells hold.
        for (std::int32_t row = firstRow; row <= lastRow; ++row)
        {
            std::uint32_t* cell = latest + static_cast<std::size_t>(row) * static_cast<std::size_t>(columns);
            std::fill(cell + firstColumn, cell + lastColumn + 1, chosen + 1);
        }
    }

    // Drawing order: by batch, and in the given order inside a batch.
    const auto vertices = static_cast<std::uint32_t>(quadIndices_.size());
    batchStart_.assign(batchKeys_.size() + 1, 0);
    for (std::size_t i = 0; i < count; ++i)
    {
        ++batchStart_[itemBatches_[i] + 1];
    }
    for (std::size_t b = 0; b < batchKeys_.size(); ++b)
    {
        batchStart_[b + 1] += batchStart_[b];
    }
    order_.resize(count);
    batches_.resize(batchKeys_.size());
    for (std::size_t b = 0; b < batchKeys_.size(); ++b)
    {
        batches_[b].begin = batchStart_[b] * vertices;
        batches_[b].count = (batchStart_[b + 1] - batchStart_[b]) * vertices;
        batches_[b].first = nullptr;
    }
    for (std::size_t i = 0; i < count; ++i)
    {
        Batch& batch = batches_[itemBatches_[i]];
        if (batch.first == nullptr)
        {
            batch.first = items + i;
        }
        order_[batchStart_[itemBatches_[i]]++] = static_cast<std::uint32_t>(i);
    }
}

void SpriteBatcher::Gather(const RenderQueueItem* items)
{
    const std::size_t vertices = quadIndices_.size();
    const std::size_t total = order_.size() * vertices;
    positions_.resize(total * 4);
    texCoords_.resize(total * 2);
    colors_.resize(total * 4);
    float* position = positions_.data();
    float* texCoord = texCoords_.data();
    float* color = colors_.data();
    for (const std::uint32_t item : order_)
    {
        std::memcpy(position, placed_.data() + item * vertices * 4, vertices * 4 * sizeof(float));
        position += vertices * 4;
        const Math::Vector4& tint = items[item].color;
        for (std::size_t v = 0; v < vertices; ++v)
        {
            *color++ = tint.x;
            *color++ = tint.y;
            *color++ = tint.z;
            *color++ = tint.w;
        }
    }
    // The same coordinates for every quad.
    for (std::size_t q = 0; q < order_.size(); ++q)
    {
        std::memcpy(texCoord, quadTexCoords_.data(), quadTexCoords_.size() * sizeof(float));
        texCoord += quadTexCoords_.size();
    }
}

} // namespace Engine
