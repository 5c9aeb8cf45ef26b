#pragma once

#include "renderer/Renderer_State.h"

namespace Renderer
{

// Rasterised point size.
class PointState : public State
{
public:
    PointState() = default;
    PointState(const PointState&) = default;

    PointState* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void Apply(IRenderer& renderer) const override;
    void Capture(IRenderer& renderer) override;
    void Reset() override;

    // In pixels.
    float size = 1.0f;
};

} // namespace Renderer
