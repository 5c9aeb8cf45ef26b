#include "renderer/Renderer_TriangleOffsetState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer
{

TriangleOffsetState* TriangleOffsetState::Clone() const
{
    return new ("Renderer_TriangleOffsetState", __LINE__) TriangleOffsetState(*this);
}

const char* TriangleOffsetState::GetClassName() const
{
    return "Renderer::TriangleOffsetState";
}

std::uint32_t TriangleOffsetState::GetSize() const
{
    return sizeof(TriangleOffsetState);
}

void TriangleOffsetState::Apply(IRenderer& renderer) const
{
    renderer.SetTriangleOffset(*this);
}

void TriangleOffsetState::Capture(IRenderer& renderer)
{
    renderer.GetTriangleOffset(*this);
}

void TriangleOffsetState::Reset()
{
    factor = 0.0f;
    units = 0.0f;
    enabled = false;
}

} // namespace Renderer
