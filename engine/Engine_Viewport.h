#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "math/Math_Vector4.h"
#include "renderer/Renderer_DisplayDescription.h"
#include "renderer/Renderer_ITexture.h"
#include "renderer/Renderer_RenderStates.h"

#include <cstdint>
#include <string>

namespace Renderer
{
class IRenderer;
}

namespace Engine
{

// A rectangle of the window, in pixels from the lower left corner, that one
// view is drawn into: Begin sets the renderer's viewport and an enabled
// scissor test to it (saving both), End puts them back. It clears to its
// own colour and may hand a background image to the render queue.
class Viewport : public Core::Object
{
public:
    // `reserved` is stored and not read.
    Viewport(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height, std::int32_t reserved);

    Viewport* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    void SetRectangle(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);
    std::int32_t GetX() const { return x_; }
    std::int32_t GetY() const { return y_; }
    std::int32_t GetWidth() const { return width_; }
    std::int32_t GetHeight() const { return height_; }

    void SetClearColor(const Math::Vector4& color) { clearColor_ = color; }
    const Math::Vector4& GetClearColor() const { return clearColor_; }

    // The image of `fileName` from the texture cache (without mipmaps)
    // becomes the background.
    void SetBackground(const std::string& fileName);
    // Replaces the background; none removes it.
    void SetBackground(const Core::RefPtr<Renderer::ITexture>& texture) { background_ = texture; }
    const Core::RefPtr<Renderer::ITexture>& GetBackground() const { return background_; }

    void Begin(Renderer::IRenderer& renderer);
    void End(Renderer::IRenderer& renderer);
    // Colour (the clear colour), depth 1 and stencil 0.
    void Clear(Renderer::IRenderer& renderer);
    void ClearColorOnly(Renderer::IRenderer& renderer);
    // With a background: a quad over the rectangle, textured with it, is
    // handed to the process-wide render queue for this view's flush.
    void DrawBackground();

private:
    std::int32_t x_;
    std::int32_t y_;
    std::int32_t width_;
    std::int32_t height_;
    std::int32_t reserved_;
    Math::Vector4 clearColor_{0.0f, 0.0f, 0.0f, 1.0f};
    // Meaningful only between Begin and End.
    Renderer::ViewportRecord savedViewport_;
    Renderer::ScissorState savedScissor_;
    Core::RefPtr<Renderer::ITexture> background_;
};

} // namespace Engine
