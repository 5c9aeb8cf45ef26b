#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "math/Math_Matrix4.h"
#include "math/Math_Vector2D.h"
#include "math/Math_Vector3.h"
#include "math/Math_Vector4.h"
#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_ITexture.h"

#include <cstdint>

namespace Engine
{

// A drawable in window pixels: the GUI's controls and the viewports'
// backgrounds. The render queue draws it as an indexed primitive through
// technique 0, pass 0 of its effect, with its transform as the world matrix.
class ScreenObject : public Core::Object
{
public:
    // 0 for a textured quad, 1 for the GUI's string context.
    virtual std::uint32_t GetType() const = 0;
    virtual Core::RefPtr<Renderer::Effect> GetEffect() const = 0;
    virtual Core::RefPtr<Renderer::ITexture> GetTexture() const = 0;
    virtual Math::Matrix4& GetTransform() = 0;
    // Loaded as the texture matrix of unit 0 while drawing.
    virtual Math::Matrix4& GetTextureMatrix() = 0;
    // Four corners, 3 floats each.
    virtual const Math::Vector3* GetVertices() const = 0;
    // Four (u, v) pairs.
    virtual const Math::Vector2D* GetTexCoords() const = 0;
    virtual Math::Vector4 GetColor() const = 0;
    virtual const std::uint16_t* GetIndices() const = 0;
    virtual std::uint32_t GetIndexCount() const = 0;
    // Sort key of the screen-object pass: smaller depths are drawn first.
    virtual float GetDepth() const = 0;
    virtual void Reset() = 0;
    virtual bool IsVisible() const = 0;
    // Only drawable objects are queued.
    virtual bool IsDrawable() const = 0;
    // Called by the queue just before it draws the object.
    virtual void PrepareDraw() = 0;
    // A `Renderer::PrimitiveType` code.
    virtual std::uint32_t GetPrimitiveType() const = 0;
};

// A textured quad in window pixels; the viewports' background and the base
// of the GUI's image contexts. The GUI writes its fields directly.
class TextRenderContext : public ScreenObject
{
public:
    TextRenderContext() = default;
    // Copies every field, sharing effect and texture.
    TextRenderContext(const TextRenderContext&) = default;
    TextRenderContext& operator=(const TextRenderContext&) = default;

    TextRenderContext* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    std::uint32_t GetType() const override { return 0; }
    Core::RefPtr<Renderer::Effect> GetEffect() const override { return effect; }
    Core::RefPtr<Renderer::ITexture> GetTexture() const override { return texture; }
    Math::Matrix4& GetTransform() override { return transform; }
    Math::Matrix4& GetTextureMatrix() override { return textureMatrix; }
    const Math::Vector3* GetVertices() const override { return vertices; }
    const Math::Vector2D* GetTexCoords() const override { return texCoords; }
    Math::Vector4 GetColor() const override { return color; }
    const std::uint16_t* GetIndices() const override { return indices; }
    std::uint32_t GetIndexCount() const override { return 6; }
    float GetDepth() const override { return depth; }
    // Releases effect and texture and puts every field back to its default.
    void Reset() override;
    bool IsVisible() const override { return visible; }
    // True when there is an effect to draw with.
    bool IsDrawable() const override { return static_cast<bool>(effect); }
    void PrepareDraw() override {}
    std::uint32_t GetPrimitiveType() const override { return primitiveType; }

    Core::RefPtr<Renderer::Effect> effect;
    Core::RefPtr<Renderer::ITexture> texture;
    Math::Matrix4 transform;
    Math::Matrix4 textureMatrix;
    Math::Vector3 vertices[4];
    Math::Vector2D texCoords[4];
    Math::Vector4 color{0.0f, 0.0f, 0.0f, 1.0f};
    std::uint16_t indices[6] = {0, 1, 2, 0, 2, 3};
    float depth = 0.0f;
    bool visible = true;
    std::uint32_t primitiveType = 4;
};

} // namespace Engine
