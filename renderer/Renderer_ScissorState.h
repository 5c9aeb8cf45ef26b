#pragma once

#include "renderer/Renderer_State.h"

namespace Renderer
{

// Scissor rectangle in window pixels and its test.
class ScissorState : public State
{
public:
    ScissorState() = default;
    ScissorState(const ScissorState&) = default;

    ScissorState* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void Apply(IRenderer& renderer) const override;
    void Capture(IRenderer& renderer) override;
    void Reset() override;

    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 640;
    std::int32_t height = 480;
    bool enabled = false;
};

} // namespace Renderer
