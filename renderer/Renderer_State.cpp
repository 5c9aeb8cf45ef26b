#include "renderer/Renderer_State.h"

namespace Renderer
{

State* State::Clone() const
{
    return new ("Renderer_State", __LINE__) State(*this);
}

const char* State::GetClassName() const
{
    return "Renderer::State";
}

std::uint32_t State::GetSize() const
{
    return sizeof(State);
}

void State::Apply(IRenderer&) const {}

void State::Capture(IRenderer&) {}

void State::Reset()
{
    baseWord = 0;
}

} // namespace Renderer
