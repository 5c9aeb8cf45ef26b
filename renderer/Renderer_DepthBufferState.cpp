#include "renderer/Renderer_DepthBufferState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer
{

DepthBufferState* DepthBufferState::Clone() const
{
    return new ("Renderer_DepthBufferState", __LINE__) DepthBufferState(*this);
}

const char* DepthBufferState::GetClassName() const
{
    return "Renderer::DepthBufferState";
}

std::uint32_t DepthBufferState::GetSize() const
{
    return sizeof(DepthBufferState);
}

void DepthBufferState::Apply(IRenderer& renderer) const
{
    renderer.SetDepthBuffer(*this);
}

void DepthBufferState::Capture(IRenderer& renderer)
{
    renderer.GetDepthBuffer(*this);
}

void DepthBufferState::Reset()
{
    function = CompareLess;
    testEnabled = true;
    writeEnabled = true;
}

} // namespace Renderer
