#include "renderer/Renderer_ShadingState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer
{

ShadingState* ShadingState::Clone() const
{
    return new ("Renderer_ShadingState", __LINE__) ShadingState(*this);
}

const char* ShadingState::GetClassName() const
{
    return "Renderer::ShadingState";
}

std::uint32_t ShadingState::GetSize() const
{
    return sizeof(ShadingState);
}

void ShadingState::Apply(IRenderer& renderer) const
{
    renderer.SetShading(*this);
}

void ShadingState::Capture(IRenderer& renderer)
{
    renderer.GetShading(*this);
}

void ShadingState::Reset()
{
    model = ShadingSmooth;
}

} // namespace Renderer
