#include "renderer/Renderer_FrameGateRenderer.h"

namespace Renderer
{

FrameGateRenderer::FrameGateRenderer(const DisplayDescription& description) : OGLRenderer(description) {}

Core::RefPtr<IRenderer> FrameGateRenderer::Make(const DisplayDescription& description)
{
    Core::RefPtr<IRenderer> renderer(new ("Test_FrameGateRenderer", __LINE__) FrameGateRenderer(description));
    SetInstance(renderer.Get());
    return renderer;
}

FrameGateRenderer* FrameGateRenderer::GetGate()
{
    return dynamic_cast<FrameGateRenderer*>(GetInstance().Get());
}

const char* FrameGateRenderer::GetClassName() const
{
    return "Renderer::FrameGateRenderer";
}

std::uint32_t FrameGateRenderer::GetSize() const
{
    return sizeof(FrameGateRenderer);
}

void FrameGateRenderer::DrawRange(std::uint32_t first, std::uint32_t last)
{
    if (drawing_)
    {
        OGLRenderer::DrawRange(first, last);
    }
}

void FrameGateRenderer::Draw(std::int32_t count)
{
    if (drawing_)
    {
        OGLRenderer::Draw(count);
    }
}

void FrameGateRenderer::DrawPrimitives(std::uint32_t type, std::int32_t first, std::uint32_t count)
{
    if (drawing_)
    {
        OGLRenderer::DrawPrimitives(type, first, count);
    }
}

void FrameGateRenderer::DrawIndexedPrimitives(std::int32_t type, std::uint32_t first, std::int32_t count)
{
    if (drawing_)
    {
        OGLRenderer::DrawIndexedPrimitives(type, first, count);
    }
}

void FrameGateRenderer::DrawSurface(const Core::RefPtr<Surface>& image, std::int32_t x, std::int32_t y,
                                    std::int32_t sourceX, std::int32_t sourceY, std::int32_t sourceWidth,
                                    std::int32_t sourceHeight, bool mirrorX, bool mirrorY)
{
    // Surfaces are queued for the swap; a shut gate queues none, so none is
    // left over for a frame that is drawn later.
    if (drawing_)
    {
        OGLRenderer::DrawSurface(image, x, y, sourceX, sourceY, sourceWidth, sourceHeight, mirrorX, mirrorY);
    }
}

void FrameGateRenderer::DrawRectangle(float x1, float y1, float x2, float y2)
{
    if (drawing_)
    {
        OGLRenderer::DrawRectangle(x1, y1, x2, y2);
    }
}

void FrameGateRenderer::DrawClipSpaceTriangles(std::uint32_t first, std::uint32_t count)
{
    if (drawing_)
    {
        OGLRenderer::DrawClipSpaceTriangles(first, count);
    }
}

void FrameGateRenderer::ClearColorBuffer(const Math::Vector4& color)
{
    if (drawing_)
    {
        OGLRenderer::ClearColorBuffer(color);
    }
}

void FrameGateRenderer::ClearDepthBuffer(float depth)
{
    if (drawing_)
    {
        OGLRenderer::ClearDepthBuffer(depth);
    }
}

void FrameGateRenderer::ClearStencilBuffer(std::int32_t value)
{
    if (drawing_)
    {
        OGLRenderer::ClearStencilBuffer(value);
    }
}

void FrameGateRenderer::ClearBuffers(const Math::Vector4& color, float depth, std::int32_t stencil)
{
    if (drawing_)
    {
        OGLRenderer::ClearBuffers(color, depth, stencil);
    }
}

void FrameGateRenderer::SwapBuffers()
{
    if (drawing_)
    {
        OGLRenderer::SwapBuffers();
        ++framesDrawn_;
    }
}

} // namespace Renderer
