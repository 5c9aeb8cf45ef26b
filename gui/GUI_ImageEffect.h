#pragma once

#include "core/Core_RefPtr.h"
#include "engine/Engine_ScreenObject.h"
#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_RenderStates.h"

#include <cstdint>

namespace GUI
{

// The effect every GUI image and glyph is drawn with: one technique, one
// pass of texture unit 0 (modulate, so colour and opacity tint the texture;
// clamp to edge), depth test without writes, source-alpha blending, an alpha
// test that drops fully transparent texels, and lighting off.
//
// Its mode is unit 0's filter: 0 nearest, for skins, glyphs and cursors
// drawn 1:1; 1 linear, for images drawn scaled. UpdateStates copies the mode
// into the unit's state before a draw.
class ImageEffect : public Renderer::Effect
{
public:
    explicit ImageEffect(std::uint32_t mode = 0);
    ImageEffect(const ImageEffect&) = delete;
    ImageEffect& operator=(const ImageEffect&) = delete;

    // A new effect of the same mode with its own states.
    ImageEffect* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void UpdateStates() override;

    std::uint32_t mode = 0;
    Core::RefPtr<Renderer::TextureUnit0State> textureUnit;
};

// The textured quad of one GUI image, with the filter mode it wants: just
// before the render queue draws it, it hands the mode to its effect, so one
// shared effect draws each image with its own filter.
class ImageRenderContext : public Engine::TextRenderContext
{
public:
    explicit ImageRenderContext(std::uint32_t modeValue = 0) : mode(modeValue) {}
    ImageRenderContext(const ImageRenderContext&) = default;

    ImageRenderContext* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    // Mode 0, then the quad's reset.
    void Reset() override;
    // The effect's mode := this context's; then the effect's update.
    void PrepareDraw() override;

    std::uint32_t mode = 0;
};

} // namespace GUI
