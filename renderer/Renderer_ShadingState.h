#pragma once

#include "renderer/Renderer_Codes.h"
#include "renderer/Renderer_State.h"

namespace Renderer
{

// Shading model.
class ShadingState : public State
{
public:
    ShadingState() = default;
    ShadingState(const ShadingState&) = default;

    ShadingState* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void Apply(IRenderer& renderer) const override;
    void Capture(IRenderer& renderer) override;
    void Reset() override;

    // `ShadingModel` code: 1 smooth, anything else flat.
    std::uint32_t model = ShadingSmooth;
};

} // namespace Renderer
