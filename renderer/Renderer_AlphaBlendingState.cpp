#include "renderer/Renderer_AlphaBlendingState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer
{

AlphaBlendingState* AlphaBlendingState::Clone() const
{
    return new ("Renderer_AlphaBlendingState", __LINE__) AlphaBlendingState(*this);
}

const char* AlphaBlendingState::GetClassName() const
{
    return "Renderer::AlphaBlendingState";
}

std::uint32_t AlphaBlendingState::GetSize() const
{
    return sizeof(AlphaBlendingState);
}

void AlphaBlendingState::Apply(IRenderer& renderer) const
{
    renderer.SetAlphaBlending(*this);
}

void AlphaBlendingState::Capture(IRenderer& renderer)
{
    renderer.GetAlphaBlending(*this);
}

void AlphaBlendingState::Reset()
{
    source = BlendSourceAlpha;
    destination = BlendOneMinusSourceAlpha;
    enabled = false;
}

} // namespace Renderer
