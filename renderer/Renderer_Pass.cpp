#include "renderer/Renderer_Pass.h"

#include "renderer/Renderer_IRenderer.h"

#include <typeinfo>

namespace Renderer
{

Pass* Pass::Clone() const
{
    Pass* copy = new ("Renderer_Pass", __LINE__) Pass();
    copy->states_.reserve(states_.size());
    for (const Core::RefPtr<State>& state : states_)
    {
        copy->states_.emplace_back(state->Clone());
    }
    return copy;
}

const char* Pass::GetClassName() const
{
    return "Renderer::Pass";
}

std::uint32_t Pass::GetSize() const
{
    return sizeof(Pass);
}

std::uint32_t Pass::AddState(const Core::RefPtr<State>& state)
{
    if (!state)
    {
        return NoIndex;
    }
    const std::type_info& type = typeid(*state);
    for (std::size_t i = 0; i < states_.size(); ++i)
    {
        if (typeid(*states_[i]) == type)
        {
            states_[i] = state;
            return static_cast<std::uint32_t>(i);
        }
    }
    states_.push_back(state);
    return static_cast<std::uint32_t>(states_.size() - 1);
}

Core::RefPtr<State> Pass::GetState(std::uint32_t index) const
{
    return index < states_.size() ? states_[index] : Core::RefPtr<State>();
}

void Pass::Apply() const
{
    const Core::RefPtr<IRenderer> renderer = IRenderer::GetInstance();
    if (!renderer)
    {
        return;
    }
    for (const Core::RefPtr<State>& state : states_)
    {
        state->Apply(*renderer);
    }
}

} // namespace Renderer
