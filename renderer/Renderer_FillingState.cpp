#include "renderer/Renderer_FillingState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer
{

FillingState* FillingState::Clone() const
{
    return new ("Renderer_FillingState", __LINE__) FillingState(*this);
}

const char* FillingState::GetClassName() const
{
    return "Renderer::FillingState";
}

std::uint32_t FillingState::GetSize() const
{
    return sizeof(FillingState);
}

void FillingState::Apply(IRenderer& renderer) const
{
    renderer.SetFilling(*this);
}

void FillingState::Capture(IRenderer& renderer)
{
    renderer.GetFilling(*this);
}

void FillingState::Reset()
{
    mode = FillSolid;
}

} // namespace Renderer
