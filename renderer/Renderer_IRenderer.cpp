#include "renderer/Renderer_IRenderer.h"

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

} // namespace Renderer
