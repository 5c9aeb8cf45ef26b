#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "math/Math_BoundingBox.h"
#include "math/Math_Vector2D.h"
#include "math/Math_Vector3.h"
#include "math/Math_Vector4.h"
#include "renderer/Renderer_Buffers.h"
#include "renderer/Renderer_Codes.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace Renderer
{
class IRenderer;
}

namespace Engine
{

// A run of elements drawn by one `DrawRange` call, both ends included.
struct DrawRange
{
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    // Index of an attached object; -1 = none. Nothing reads it.
    std::int32_t objectIndex = -1;
    // The render queue draws the items of a range with this flag among the
    // blended ones.
    bool enabled = false;
};

// Vertex-array geometry that texts, particle systems, bounding volumes and
// the render queue fill and hand to the renderer: growable lists of
// positions, normals, colours, texture coordinates and 32-bit indices, the
// draw ranges, a primitive type and two buffer slots. Its users fill it
// through the append, set and reserve operations and share it by counted
// reference.
//
// The array addresses that BindArrays hands the renderer stay valid until
// the lists are changed or the mesh is destroyed.
class Mesh : public Core::Object
{
public:
    Mesh() = default;
    // Copies every list; each attached object is replaced by its own clone,
    // so the copy owns clones. The two buffers are shared.
    Mesh(const Mesh& other);
    Mesh& operator=(const Mesh&) = delete;

    // A new mesh made as a copy of this one.
    Mesh* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    // --- Filling ------------------------------------------------------------
    void AddDrawRange(const DrawRange& range) { drawRanges_.push_back(range); }
    void AddPosition(const Math::Vector3& position) { positions_.push_back(position); }
    // Second positions, once there are any, are drawn instead of the first ones.
    void AddSecondPosition(const Math::Vector3& position) { secondPositions_.push_back(position); }
    void AddColor(const Math::Vector4& color) { colors_.push_back(color); }
    void AddTexCoord(const Math::Vector2D& coordinates) { texCoords_.push_back(coordinates); }
    void AddIndex(std::uint32_t index) { indices_.push_back(index); }
    // The mesh takes a reference; a null object is not added.
    void AddObject(const Core::RefPtr<Core::Object>& object);

    // Element i must exist; a write past the list's end is ignored.
    void SetPosition(std::uint32_t i, const Math::Vector3& position);
    void SetColor(std::uint32_t i, const Math::Vector4& color);

    void ReservePositions(std::uint32_t n) { positions_.reserve(n); }
    void ReserveColors(std::uint32_t n) { colors_.reserve(n); }
    void ReserveTexCoords(std::uint32_t n) { texCoords_.reserve(n); }

    // Empties every list except the pairs; the buffers, the primitive type,
    // the bounds and the four-float vector stay.
    void Clear();

    void SetPrimitiveType(std::int32_t type) { primitiveType_ = type; }
    std::int32_t GetPrimitiveType() const { return primitiveType_; }

    // --- Reading ------------------------------------------------------------
    // An index that names no range answers a default range (disabled).
    const DrawRange& GetDrawRange(std::int32_t index) const;
    std::uint32_t GetDrawRangeCount() const { return static_cast<std::uint32_t>(drawRanges_.size()); }
    const std::vector<Math::Vector3>& GetPositions() const { return positions_; }
    const std::vector<Math::Vector3>& GetSecondPositions() const { return secondPositions_; }
    const std::vector<Math::Vector3>& GetNormals() const { return normals_; }
    const std::vector<Math::Vector3>& GetSecondNormals() const { return secondNormals_; }
    const std::vector<Math::Vector4>& GetColors() const { return colors_; }
    const std::vector<Math::Vector4>& GetSecondaryColors() const { return secondaryColors_; }
    const std::vector<Math::Vector2D>& GetTexCoords() const { return texCoords_; }
    const std::vector<std::uint32_t>& GetIndices() const { return indices_; }
    const std::vector<Core::RefPtr<Core::Object>>& GetObjects() const { return objects_; }
    Core::RefPtr<Renderer::IVertexBuffer> GetVertexBuffer() const { return vertexBuffer_; }
    Core::RefPtr<Renderer::IIndexBuffer> GetIndexBuffer() const { return indexBuffer_; }

    // Bounding volume; default constructed, copied with the mesh.
    Math::BoundingBox bounds;
    // Copied with the mesh; nothing reads it.
    Math::Vector4 userVector{0.0f, 0.0f, 0.0f, 1.0f};

    // --- Drawing ------------------------------------------------------------
    // Stream 0 takes the vertex buffer, then the index buffer is set.
    void BindBuffers(Renderer::IRenderer& renderer) const;
    void UnbindBuffers(Renderer::IRenderer& renderer) const;
    // Hands the renderer, in order: the vertex array (second positions
    // before first; left as it was when both are empty), the 32-bit
    // indices (only when there are any), the normals (second before first,
    // else none), the colours, the secondary colours and the texture
    // coordinates of unit 0 (each none when empty), then the primitive type.
    void BindArrays(Renderer::IRenderer& renderer) const;
    // `DrawRange` over the range's elements; an index that names no range
    // draws nothing.
    void Draw(Renderer::IRenderer& renderer, std::int32_t rangeIndex) const;
    // Triangles from the range's first index of the index buffer. Nothing
    // makes a mesh with buffers, so the count is the range's element count
    // read as whole triangles.
    void DrawIndexed(Renderer::IRenderer& renderer, std::int32_t rangeIndex) const;
    // Every array BindArrays sets, set to none.
    void UnbindArrays(Renderer::IRenderer& renderer) const;

private:
    std::vector<DrawRange> drawRanges_;
    std::vector<Math::Vector3> positions_;
    std::vector<Math::Vector3> secondPositions_;
    std::vector<Math::Vector3> normals_;
    std::vector<Math::Vector3> secondNormals_;
    std::vector<Math::Vector4> colors_;
    std::vector<Math::Vector4> secondaryColors_;
    std::vector<Math::Vector2D> texCoords_;
    std::vector<std::uint32_t> indices_;
    std::vector<Core::RefPtr<Core::Object>> objects_;
    // Copied and cleared with the mesh; nothing fills them.
    std::vector<std::string> names_;
    std::vector<std::vector<std::uint32_t>> indexLists_;
    std::vector<std::vector<std::uint32_t>> secondIndexLists_;
    // Copied with the mesh and kept by Clear; nothing fills them.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> pairs_;
    Core::RefPtr<Renderer::IVertexBuffer> vertexBuffer_;
    Core::RefPtr<Renderer::IIndexBuffer> indexBuffer_;
    std::int32_t primitiveType_ = Renderer::PrimitiveTriangles;
};

} // namespace Engine
