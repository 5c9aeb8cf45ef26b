#include "renderer/Renderer_ScissorState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer
{

ScissorState* ScissorState::Clone() const
{
    return new ("Renderer_ScissorState", __LINE__) ScissorState(*this);
}

const char* ScissorState::GetClassName() const
{
    return "Renderer::ScissorState";
}

std::uint32_t ScissorState::GetSize() const
{
    return sizeof(ScissorState);
}

void ScissorState::Apply(IRenderer& renderer) const
{
    renderer.SetScissor(*this);
}

void ScissorState::Capture(IRenderer& renderer)
{
    renderer.GetScissor(*this);
}

void ScissorState::Reset()
{
    x = 0;
    y = 0;
    width = 640;
    height = 480;
    enabled = false;
}

} // namespace Renderer
