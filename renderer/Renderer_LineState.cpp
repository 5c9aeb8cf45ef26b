#include "renderer/Renderer_LineState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer
{

LineState* LineState::Clone() const
{
    return new ("Renderer_LineState", __LINE__) LineState(*this);
}

const char* LineState::GetClassName() const
{
    return "Renderer::LineState";
}

std::uint32_t LineState::GetSize() const
{
    return sizeof(LineState);
}

void LineState::Apply(IRenderer& renderer) const
{
    renderer.SetLine(*this);
}

void LineState::Capture(IRenderer& renderer)
{
    renderer.GetLine(*this);
}

void LineState::Reset()
{
    width = 1.0f;
}

} // namespace Renderer
