#include "engine/Engine_Mesh.h"

#include "renderer/Renderer_IRenderer.h"

namespace Engine
{

// The renderer reads these lists as tightly packed float arrays.
static_assert(sizeof(Math::Vector3) == 3 * sizeof(float));
static_assert(sizeof(Math::Vector4) == 4 * sizeof(float));
static_assert(sizeof(Math::Vector2D) == 2 * sizeof(float));

Mesh::Mesh(const Mesh& other)
    : Core::Object(other), bounds(other.bounds), userVector(other.userVector), drawRanges_(other.drawRanges_),
      positions_(other.positions_), secondPositions_(other.secondPositions_), normals_(other.normals_),
      secondNormals_(other.secondNormals_), colors_(other.colors_), secondaryColors_(other.secondaryColors_),
      texCoords_(other.texCoords_), indices_(other.indices_), names_(other.names_),
      indexLists_(other.indexLists_), secondIndexLists_(other.secondIndexLists_), pairs_(other.pairs_),
      vertexBuffer_(other.vertexBuffer_), indexBuffer_(other.indexBuffer_),
      primitiveType_(other.primitiveType_)
{
    objects_.reserve(other.objects_.size());
    for (const Core::RefPtr<Core::Object>& object : other.objects_)
    {
        objects_.emplace_back(object->Clone());
    }
}

Mesh* Mesh::Clone() const
{
    return new ("Engine_Mesh", __LINE__) Mesh(*this);
}

const char* Mesh::GetClassName() const
{
    return "Engine::Mesh";
}

std::uint32_t Mesh::GetSize() const
{
    return sizeof(Mesh);
}

void Mesh::AddObject(const Core::RefPtr<Core::Object>& object)
{
    if (object)
    {
        objects_.push_back(object);
    }
}

void Mesh::SetPosition(std::uint32_t i, const Math::Vector3& position)
{
    if (i < positions_.size())
    {
        positions_[i] = position;
    }
}

void Mesh::SetColor(std::uint32_t i, const Math::Vector4& color)
{
    if (i < colors_.size())
    {
        colors_[i] = color;
    }
}

void Mesh::Clear()
{
    drawRanges_.clear();
    positions_.clear();
    secondPositions_.clear();
    normals_.clear();
    secondNormals_.clear();
    colors_.clear();
    secondaryColors_.clear();
    texCoords_.clear();
    indices_.clear();
    objects_.clear();
    indexLists_.clear();
    secondIndexLists_.clear();
    names_.clear();
}

const DrawRange& Mesh::GetDrawRange(std::int32_t index) const
{
    static const DrawRange none;
    if (index < 0 || static_cast<std::size_t>(index) >= drawRanges_.size())
    {
        return none;
    }
    return drawRanges_[static_cast<std::size_t>(index)];
}

void Mesh::BindBuffers(Renderer::IRenderer& renderer) const
{
    renderer.SetVertexBuffer(0, vertexBuffer_);
    renderer.SetIndexBuffer(indexBuffer_);
}

void Mesh::UnbindBuffers(Renderer::IRenderer& renderer) const
{
    renderer.SetVertexBuffer(0, nullptr);
    renderer.SetIndexBuffer(nullptr);
}

void Mesh::BindArrays(Renderer::IRenderer& renderer) const
{
    if (!secondPositions_.empty())
    {
        renderer.SetVertexArray(secondPositions_.data());
    }
    else if (!positions_.empty())
    {
        renderer.SetVertexArray(positions_.data());
    }
    if (!indices_.empty())
    {
        renderer.SetIndexArray32(indices_.data());
    }
    if (!secondNormals_.empty())
    {
        renderer.SetNormalArray(secondNormals_.data());
    }
    else
    {
        renderer.SetNormalArray(normals_.empty() ? nullptr : normals_.data());
    }
    renderer.SetColorArray(colors_.empty() ? nullptr : colors_.data());
    renderer.SetSecondaryColorArray(secondaryColors_.empty() ? nullptr : secondaryColors_.data());
    renderer.SetTexCoordArray(0, texCoords_.empty() ? nullptr : texCoords_.data());
    renderer.SetPrimitiveType(primitiveType_);
}

void Mesh::Draw(Renderer::IRenderer& renderer, std::int32_t rangeIndex) const
{
    if (rangeIndex < 0 || static_cast<std::size_t>(rangeIndex) >= drawRanges_.size())
    {
        return;
    }
    const DrawRange& range = drawRanges_[static_cast<std::size_t>(rangeIndex)];
    renderer.DrawRange(range.first, range.last);
}

void Mesh::DrawIndexed(Renderer::IRenderer& renderer, std::int32_t rangeIndex) const
{
    if (rangeIndex < 0 || static_cast<std::size_t>(rangeIndex) >= drawRanges_.size())
    {
        return;
    }
    const DrawRange& range = drawRanges_[static_cast<std::size_t>(rangeIndex)];
    const std::uint64_t elements =
        range.last >= range.first ? std::uint64_t{range.last} - range.first + 1 : 0;
    renderer.DrawIndexedPrimitives(Renderer::PrimitiveTriangles, range.first,
                                   static_cast<std::int32_t>(elements / 3));
}

void Mesh::UnbindArrays(Renderer::IRenderer& renderer) const
{
    renderer.SetVertexArray(nullptr);
    renderer.SetIndexArray32(nullptr);
    renderer.SetNormalArray(nullptr);
    renderer.SetColorArray(nullptr);
    renderer.SetSecondaryColorArray(nullptr);
    renderer.SetTexCoordArray(0, nullptr);
}

} // namespace Engine
