#pragma once

#include "renderer/Renderer_State.h"

namespace Renderer
{

// Rasterised line width.
class LineState : public State
{
public:
    LineState() = default;
    LineState(const LineState&) = default;

    LineState* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void Apply(IRenderer& renderer) const override;
    void Capture(IRenderer& renderer) override;
    void Reset() override;

    // In pixels.
    float width = 1.0f;
};

} // namespace Renderer
