#pragma once

#include "engine/Engine_ScreenObject.h"

#include <cstdint>
#include <vector>

namespace Engine
{

// A run of textured quads in window pixels: the glyphs of one string, drawn
// as one indexed triangle list with the font's texture. The single-quad
// sibling is TextRenderContext. The GUI's text drawing fills the arrays;
// the context only holds them.
//
// Indices are 16-bit, so one context holds at most MaxQuads quads (four
// vertices each): the index of the last vertex then is 65,535. Whoever
// fills the context stops there.
class StringRenderContext : public ScreenObject
{
public:
    static constexpr std::uint32_t MaxQuads = 16384;

    StringRenderContext();
    StringRenderContext(const StringRenderContext&) = default;
    StringRenderContext& operator=(const StringRenderContext&) = default;

    StringRenderContext* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    std::uint32_t GetType() const override { return 1; }
    Core::RefPtr<Renderer::Effect> GetEffect() const override { return effect; }
    Core::RefPtr<Renderer::ITexture> GetTexture() const override { return texture; }
    Math::Matrix4& GetTransform() override { return transform; }
    Math::Matrix4& GetTextureMatrix() override { return textureMatrix; }
    // Null when the array is empty.
    const Math::Vector3* GetVertices() const override { return vertices.empty() ? nullptr : vertices.data(); }
    const Math::Vector2D* GetTexCoords() const override
    {
        return texCoords.empty() ? nullptr : texCoords.data();
    }
    Math::Vector4 GetColor() const override { return color; }
    const std::uint16_t* GetIndices() const override { return indices.empty() ? nullptr : indices.data(); }
    std::uint32_t GetIndexCount() const override { return static_cast<std::uint32_t>(indices.size()); }
    float GetDepth() const override { return depth; }
    // Empties the arrays, releases texture and effect, and puts every other
    // field back to its default.
    void Reset() override;
    bool IsVisible() const override { return visible; }
    // Only with both a texture and an effect.
    bool IsDrawable() const override { return texture && effect; }
    void PrepareDraw() override {}
    // A triangle list.
    std::uint32_t GetPrimitiveType() const override { return 4; }

    // Number of whole quads the arrays hold.
    std::uint32_t GetQuadCount() const { return static_cast<std::uint32_t>(vertices.size() / 4); }

    Core::RefPtr<Renderer::ITexture> texture;
    Core::RefPtr<Renderer::Effect> effect;
    Math::Matrix4 transform;
    Math::Matrix4 textureMatrix;
    std::vector<Math::Vector3> vertices;
    std::vector<Math::Vector2D> texCoords;
    Math::Vector4 color{0.0f, 0.0f, 0.0f, 1.0f};
    std::vector<std::uint16_t> indices;
    float depth = 0.0f;
    bool visible = true;
};

} // namespace Engine
