#include "renderer/Renderer_IRenderer.h"

#include "renderer/Renderer_ClipSpace.h"

namespace Renderer
{

namespace
{
// Not counted: the renderer's owner holds the reference that keeps it alive.
IRenderer* g_instance = nullptr;
} // namespace

IRenderer::~IRenderer()
{
    ForgetInstance();
}

void IRenderer::ForgetInstance()
{
    if (g_instance == this)
    {
        g_instance = nullptr;
    }
}

Core::RefPtr<IRenderer> IRenderer::GetInstance()
{
    return Core::RefPtr<IRenderer>(g_instance);
}

void IRenderer::SetInstance(IRenderer* renderer)
{
    g_instance = renderer;
}

Math::Matrix4 IRenderer::GetClipMatrix(const Math::Matrix4& world)
{
    return ClipMatrix(GetProjectionMatrix(), GetViewMatrix() * world);
}

void IRenderer::BeginClipSpaceTriangles(const float*, const float*, const float*) {}

void IRenderer::DrawClipSpaceTriangles(std::uint32_t, std::uint32_t) {}

void IRenderer::EndClipSpaceTriangles() {}

} // namespace Renderer
