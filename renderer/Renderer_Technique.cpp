#include "renderer/Renderer_Technique.h"

#include "renderer/Renderer_IRenderer.h"

#include <algorithm>
#include <typeindex>
#include <typeinfo>

namespace Renderer
{

namespace
{
// A strict order on run-time types that stays fixed for the process.
std::type_index TypeOf(const Core::RefPtr<State>& state)
{
    return std::type_index(typeid(*state));
}
} // namespace

Technique* Technique::Clone() const
{
    Technique* copy = new ("Renderer_Technique", __LINE__) Technique();
    copy->passes_.reserve(passes_.size());
    for (const Core::RefPtr<Pass>& pass : passes_)
    {
        copy->passes_.emplace_back(pass->Clone());
    }
    copy->savedStates_.reserve(savedStates_.size());
    for (const Core::RefPtr<State>& state : savedStates_)
    {
        copy->savedStates_.emplace_back(state->Clone());
    }
    return copy;
}

const char* Technique::GetClassName() const
{
    return "Renderer::Technique";
}

std::uint32_t Technique::GetSize() const
{
    return sizeof(Technique);
}

void Technique::AddPass(const Core::RefPtr<Pass>& pass)
{
    if (pass)
    {
        passes_.push_back(pass);
    }
}

Core::RefPtr<Pass> Technique::GetPass(std::uint32_t index) const
{
    return index < passes_.size() ? passes_[index] : Core::RefPtr<Pass>();
}

void Technique::BuildSavedStates()
{
    for (const Core::RefPtr<Pass>& pass : passes_)
    {
        for (std::uint32_t i = 0; i < pass->GetStateCount(); ++i)
        {
            // The saved state starts from its class defaults, not from the
            // pass's values.
            Core::RefPtr<State> saved(pass->GetState(i)->Clone());
            saved->Reset();
            savedStates_.push_back(saved);
        }
    }
    // Entries of one type end up side by side, the earliest first; keeping
    // the first of each run keeps states saved by an earlier call.
    std::stable_sort(savedStates_.begin(), savedStates_.end(),
                     [](const Core::RefPtr<State>& a, const Core::RefPtr<State>& b)
                     { return TypeOf(a) < TypeOf(b); });
    const auto last = std::unique(savedStates_.begin(), savedStates_.end(),
                                  [](const Core::RefPtr<State>& a, const Core::RefPtr<State>& b)
                                  { return TypeOf(a) == TypeOf(b); });
    savedStates_.erase(last, savedStates_.end());
}

void Technique::SaveStates()
{
    const Core::RefPtr<IRenderer> renderer = IRenderer::GetInstance();
    if (!renderer)
    {
        return;
    }
    for (const Core::RefPtr<State>& state : savedStates_)
    {
        state->Capture(*renderer);
    }
}

void Technique::RestoreStates() const
{
    const Core::RefPtr<IRenderer> renderer = IRenderer::GetInstance();
    if (!renderer)
    {
        return;
    }
    for (const Core::RefPtr<State>& state : savedStates_)
    {
        state->Apply(*renderer);
    }
}

Core::RefPtr<State> Technique::GetSavedState(std::uint32_t index) const
{
    return index < savedStates_.size() ? savedStates_[index] : Core::RefPtr<State>();
}

} // namespace Renderer
