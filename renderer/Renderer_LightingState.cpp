#include "renderer/Renderer_LightingState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer
{

LightingState* LightingState::Clone() const
{
    return new ("Renderer_LightingState", __LINE__) LightingState(*this);
}

const char* LightingState::GetClassName() const
{
    return "Renderer::LightingState";
}

std::uint32_t LightingState::GetSize() const
{
    return sizeof(LightingState);
}

void LightingState::Apply(IRenderer& renderer) const
{
    renderer.SetLighting(*this);
}

void LightingState::Capture(IRenderer& renderer)
{
    renderer.GetLighting(*this);
}

void LightingState::Reset()
{
    ambient = Math::Vector4(0.2f, 0.2f, 0.2f, 1.0f);
    localViewer = true;
    enabled = false;
}

} // namespace Renderer
