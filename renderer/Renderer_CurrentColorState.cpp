#include "renderer/Renderer_CurrentColorState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer
{

CurrentColorState* CurrentColorState::Clone() const
{
    return new ("Renderer_CurrentColorState", __LINE__) CurrentColorState(*this);
}

const char* CurrentColorState::GetClassName() const
{
    return "Renderer::CurrentColorState";
}

std::uint32_t CurrentColorState::GetSize() const
{
    return sizeof(CurrentColorState);
}

void CurrentColorState::Apply(IRenderer& renderer) const
{
    renderer.SetCurrentColor(color);
}

void CurrentColorState::Capture(IRenderer& renderer)
{
    color = renderer.GetCurrentColor();
}

void CurrentColorState::Reset()
{
    color = Math::Vector4(1.0f, 1.0f, 1.0f, 1.0f);
}

} // namespace Renderer
