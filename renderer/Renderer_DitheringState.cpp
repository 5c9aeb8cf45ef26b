#include "renderer/Renderer_DitheringState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer
{

DitheringState* DitheringState::Clone() const
{
    return new ("Renderer_DitheringState", __LINE__) DitheringState(*this);
}

const char* DitheringState::GetClassName() const
{
    return "Renderer::DitheringState";
}

std::uint32_t DitheringState::GetSize() const
{
    return sizeof(DitheringState);
}

void DitheringState::Apply(IRenderer& renderer) const
{
    renderer.SetDithering(*this);
}

void DitheringState::Capture(IRenderer& renderer)
{
    renderer.GetDithering(*this);
}

void DitheringState::Reset()
{
    enabled = true;
}

} // namespace Renderer
