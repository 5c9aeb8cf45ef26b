#include "renderer/Renderer_FogState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer
{

FogState* FogState::Clone() const
{
    return new ("Renderer_FogState", __LINE__) FogState(*this);
}

const char* FogState::GetClassName() const
{
    return "Renderer::FogState";
}

std::uint32_t FogState::GetSize() const
{
    return sizeof(FogState);
}

void FogState::Apply(IRenderer& renderer) const
{
    renderer.SetFog(*this);
}

void FogState::Capture(IRenderer& renderer)
{
    renderer.GetFog(*this);
}

void FogState::Reset()
{
    mode = FogLinear;
    start = 0.0f;
    end = 100.0f;
    density = 0.0f;
    enabled = false;
}

} // namespace Renderer
