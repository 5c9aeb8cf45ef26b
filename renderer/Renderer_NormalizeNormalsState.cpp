#include "renderer/Renderer_NormalizeNormalsState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer
{

NormalizeNormalsState* NormalizeNormalsState::Clone() const
{
    return new ("Renderer_NormalizeNormalsState", __LINE__) NormalizeNormalsState(*this);
}

const char* NormalizeNormalsState::GetClassName() const
{
    return "Renderer::NormalizeNormalsState";
}

std::uint32_t NormalizeNormalsState::GetSize() const
{
    return sizeof(NormalizeNormalsState);
}

void NormalizeNormalsState::Apply(IRenderer& renderer) const
{
    renderer.SetNormalizeNormals(*this);
}

void NormalizeNormalsState::Capture(IRenderer& renderer)
{
    renderer.GetNormalizeNormals(*this);
}

void NormalizeNormalsState::Reset()
{
    enabled = false;
}

} // namespace Renderer
