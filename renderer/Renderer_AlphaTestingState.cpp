#include "renderer/Renderer_AlphaTestingState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer
{

AlphaTestingState* AlphaTestingState::Clone() const
{
    return new ("Renderer_AlphaTestingState", __LINE__) AlphaTestingState(*this);
}

const char* AlphaTestingState::GetClassName() const
{
    return "Renderer::AlphaTestingState";
}

std::uint32_t AlphaTestingState::GetSize() const
{
    return sizeof(AlphaTestingState);
}

void AlphaTestingState::Apply(IRenderer& renderer) const
{
    renderer.SetAlphaTesting(*this);
}

void AlphaTestingState::Capture(IRenderer& renderer)
{
    renderer.GetAlphaTesting(*this);
}

void AlphaTestingState::Reset()
{
    function = CompareAlways;
    reference = 0.0f;
    enabled = false;
}

} // namespace Renderer
