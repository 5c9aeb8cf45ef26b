#pragma once

#include "renderer/Renderer_State.h"

namespace Renderer
{

// Colour dithering.
class DitheringState : public State
{
public:
    DitheringState() = default;
    DitheringState(const DitheringState&) = default;

    DitheringState* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void Apply(IRenderer& renderer) const override;
    void Capture(IRenderer& renderer) override;
    void Reset() override;

    bool enabled = true;
};

} // namespace Renderer
