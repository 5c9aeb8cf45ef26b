#include "renderer/Renderer_ColorMaskState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer
{

ColorMaskState* ColorMaskState::Clone() const
{
    return new ("Renderer_ColorMaskState", __LINE__) ColorMaskState(*this);
}

const char* ColorMaskState::GetClassName() const
{
    return "Renderer::ColorMaskState";
}

std::uint32_t ColorMaskState::GetSize() const
{
    return sizeof(ColorMaskState);
}

void ColorMaskState::Apply(IRenderer& renderer) const
{
    renderer.SetColorMask(*this);
}

void ColorMaskState::Capture(IRenderer& renderer)
{
    renderer.GetColorMask(*this);
}

void ColorMaskState::Reset()
{
    red = true;
    green = true;
    blue = true;
    alpha = true;
}

} // namespace Renderer
