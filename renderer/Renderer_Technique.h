#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "renderer/Renderer_Pass.h"
#include "renderer/Renderer_State.h"

#include <cstdint>
#include <vector>

namespace Renderer
{

// An ordered list of passes and a private list of saved states: one state
// per kind that any pass sets. A draw runs SaveStates, then a pass's Apply,
// then the draw calls, then RestoreStates: the saved list covers exactly
// the kinds the passes set, so the draw leaves every renderer setting as it
// found it and touches no other.
class Technique : public Core::Object
{
public:
    Technique() = default;
    Technique(const Technique&) = delete;
    Technique& operator=(const Technique&) = delete;

    // A new technique with clones of the passes and of the saved states,
    // each list in the same order.
    Technique* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    void AddPass(const Core::RefPtr<Pass>& pass);
    // None for an index at or past the count.
    Core::RefPtr<Pass> GetPass(std::uint32_t index) const;
    std::uint32_t GetPassCount() const { return static_cast<std::uint32_t>(passes_.size()); }

    // Adds a reset clone of every state of every pass whose run-time type
    // is not saved yet. Creators call it once, after adding the passes.
    void BuildSavedStates();
    // Captures the process-wide renderer's settings into the saved states.
    void SaveStates();
    // Applies the saved states to the process-wide renderer.
    void RestoreStates() const;

    Core::RefPtr<State> GetSavedState(std::uint32_t index) const;
    std::uint32_t GetSavedStateCount() const { return static_cast<std::uint32_t>(savedStates_.size()); }

private:
    // Destroyed in reverse: the saved states go first, then the passes.
    std::vector<Core::RefPtr<Pass>> passes_;
    // Sorted by run-time type, one entry per type. Their values mean
    // something only between SaveStates and RestoreStates.
    std::vector<Core::RefPtr<State>> savedStates_;
};

} // namespace Renderer
