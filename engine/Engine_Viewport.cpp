#include "engine/Engine_Viewport.h"

#include "engine/Engine_RenderQueue.h"
#include "engine/Engine_ScreenObject.h"
#include "renderer/Renderer_IRenderer.h"
#include "renderer/Renderer_TextureCache.h"

namespace Engine
{

Viewport::Viewport(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                   std::int32_t reserved)
    : x_(x), y_(y), width_(width), height_(height), reserved_(reserved)
{
    savedViewport_ = Renderer::ViewportRecord{x, y, width, height, 0.0f, 1.0f};
}

Viewport* Viewport::Clone() const
{
    return new ("Engine_Viewport", __LINE__) Viewport(*this);
}

const char* Viewport::GetClassName() const
{
    return "Engine::Viewport";
}

std::uint32_t Viewport::GetSize() const
{
    return sizeof(Viewport);
}

void Viewport::SetRectangle(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height)
{
    x_ = x;
    y_ = y;
    width_ = width;
    height_ = height;
}

void Viewport::SetBackground(const std::string& fileName)
{
    background_ = Renderer::LoadTexture(fileName, false);
}

void Viewport::Begin(Renderer::IRenderer& renderer)
{
    savedViewport_ = renderer.GetViewport();
    renderer.GetScissor(savedScissor_);
    renderer.SetViewport(Renderer::ViewportRecord{x_, y_, width_, height_, 0.0f, 1.0f});
    Renderer::ScissorState scissor;
    scissor.x = x_;
    scissor.y = y_;
    scissor.width = width_;
    scissor.height = height_;
    scissor.enabled = true;
    renderer.SetScissor(scissor);
}

void Viewport::End(Renderer::IRenderer& renderer)
{
    renderer.SetViewport(savedViewport_);
    renderer.SetScissor(savedScissor_);
}

void Viewport::Clear(Renderer::IRenderer& renderer)
{
    renderer.ClearBuffers(clearColor_, 1.0f, 0);
}

void Viewport::ClearColorOnly(Renderer::IRenderer& renderer)
{
    renderer.ClearColorBuffer(clearColor_);
}

void Viewport::DrawBackground()
{
    RenderQueue* queue = RenderQueue::GetInstance();
    if (!background_ || queue == nullptr)
    {
        return;
    }
    const float left = static_cast<float>(x_);
    const float bottom = static_cast<float>(y_);
    const float right = static_cast<float>(x_ + width_);
    const float top = static_cast<float>(y_ + height_);
    TextRenderContext context;
    context.vertices[0] = Math::Vector3(left, bottom, 0.0f);
    context.vertices[1] = Math::Vector3(right, bottom, 0.0f);
    context.vertices[2] = Math::Vector3(right, top, 0.0f);
    context.vertices[3] = Math::Vector3(left, top, 0.0f);
    context.texCoords[0] = Math::Vector2D(0.0f, 0.0f);
    context.texCoords[1] = Math::Vector2D(1.0f, 0.0f);
    context.texCoords[2] = Math::Vector2D(1.0f, 1.0f);
    context.texCoords[3] = Math::Vector2D(0.0f, 1.0f);
    context.color = Math::Vector4(1.0f, 1.0f, 1.0f, 1.0f);
    context.texture = background_;
    queue->SubmitBackground(context);
}

} // namespace Engine
