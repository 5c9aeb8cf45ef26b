#pragma once

#include "core/Core_Object.h"
#include "core/Core_RefPtr.h"
#include "renderer/Renderer_State.h"

#include <cstdint>
#include <vector>

namespace Renderer
{

// The render states to apply before one draw, in order. Filled through
// `AddState`, it holds at most one state of each run-time type.
class Pass : public Core::Object
{
public:
    // What `AddState` answers for a null state, which it does not add.
    static constexpr std::uint32_t NoIndex = 0xFFFFFFFFu;

    Pass() = default;
    Pass(const Pass&) = delete;
    Pass& operator=(const Pass&) = delete;

    // A new pass holding a clone of each state, in the same order.
    Pass* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    // Replaces the first state of the same run-time type in place, or
    // appends; returns the index where `state` now stands.
    std::uint32_t AddState(const Core::RefPtr<State>& state);
    // None for an index at or past the count.
    Core::RefPtr<State> GetState(std::uint32_t index) const;
    std::uint32_t GetStateCount() const { return static_cast<std::uint32_t>(states_.size()); }

    // Applies every state, in order, to the process-wide renderer (nothing
    // when there is none).
    void Apply() const;

    // Not copied by `Clone`; nothing reads it.
    std::uint32_t word = 0;

private:
    std::vector<Core::RefPtr<State>> states_;
};

} // namespace Renderer
