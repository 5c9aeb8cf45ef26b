#include "renderer/Renderer_CullingState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer
{

CullingState* CullingState::Clone() const
{
    return new ("Renderer_CullingState", __LINE__) CullingState(*this);
}

const char* CullingState::GetClassName() const
{
    return "Renderer::CullingState";
}

std::uint32_t CullingState::GetSize() const
{
    return sizeof(CullingState);
}

void CullingState::Apply(IRenderer& renderer) const
{
    renderer.SetCulling(*this);
}

void CullingState::Capture(IRenderer& renderer)
{
    renderer.GetCulling(*this);
}

void CullingState::Reset()
{
    face = CullBack;
    enabled = true;
}

} // namespace Renderer
