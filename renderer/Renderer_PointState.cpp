#include "renderer/Renderer_PointState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer
{

PointState* PointState::Clone() const
{
    return new ("Renderer_PointState", __LINE__) PointState(*this);
}

const char* PointState::GetClassName() const
{
    return "Renderer::PointState";
}

std::uint32_t PointState::GetSize() const
{
    return sizeof(PointState);
}

void PointState::Apply(IRenderer& renderer) const
{
    renderer.SetPoint(*this);
}

void PointState::Capture(IRenderer& renderer)
{
    renderer.GetPoint(*this);
}

void PointState::Reset()
{
    size = 1.0f;
}

} // namespace Renderer
