#include "renderer/Renderer_StencilBufferState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer
{

StencilBufferState* StencilBufferState::Clone() const
{
    return new ("Renderer_StencilBufferState", __LINE__) StencilBufferState(*this);
}

const char* StencilBufferState::GetClassName() const
{
    return "Renderer::StencilBufferState";
}

std::uint32_t StencilBufferState::GetSize() const
{
    return sizeof(StencilBufferState);
}

void StencilBufferState::Apply(IRenderer& renderer) const
{
    renderer.SetStencilBuffer(*this);
}

void StencilBufferState::Capture(IRenderer& renderer)
{
    renderer.GetStencilBuffer(*this);
}

void StencilBufferState::Reset()
{
    function = CompareAlways;
    failOperation = StencilKeep;
    depthFailOperation = StencilKeep;
    passOperation = StencilKeep;
    reference = 0;
    compareMask = 0xFFFFFFFFu;
    writeMask = 0xFFFFFFFFu;
    enabled = false;
}

} // namespace Renderer
