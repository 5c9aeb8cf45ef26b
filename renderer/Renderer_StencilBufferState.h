#pragma once

#include "renderer/Renderer_Codes.h"
#include "renderer/Renderer_State.h"

namespace Renderer
{

// Stencil test and the operations that update the stencil buffer.
class StencilBufferState : public State
{
public:
    StencilBufferState() = default;
    StencilBufferState(const StencilBufferState&) = default;

    StencilBufferState* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void Apply(IRenderer& renderer) const override;
    void Capture(IRenderer& renderer) override;
    void Reset() override;

    // `CompareFunction` code.
    std::uint32_t function = CompareAlways;
    // `StencilOperation` when the stencil test fails.
    std::uint32_t failOperation = StencilKeep;
    // When the stencil test passes and the depth test fails.
    std::uint32_t depthFailOperation = StencilKeep;
    // When both tests pass.
    std::uint32_t passOperation = StencilKeep;
    std::int32_t reference = 0;
    std::uint32_t compareMask = 0xFFFFFFFFu;
    std::uint32_t writeMask = 0xFFFFFFFFu;
    bool enabled = false;
};

} // namespace Renderer
