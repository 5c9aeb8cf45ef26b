#pragma once

#include "renderer/Renderer_State.h"

namespace Renderer
{

// Depth offset of filled polygons: factor x slope + units x the smallest depth step.
class TriangleOffsetState : public State
{
public:
    TriangleOffsetState() = default;
    TriangleOffsetState(const TriangleOffsetState&) = default;

    TriangleOffsetState* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void Apply(IRenderer& renderer) const override;
    void Capture(IRenderer& renderer) override;
    void Reset() override;

    float factor = 0.0f;
    float units = 0.0f;
    bool enabled = false;
};

} // namespace Renderer
