#pragma once

#include "math/Math_Vector4.h"
#include "renderer/Renderer_State.h"

namespace Renderer
{

// Fixed-function lighting and its light model.
class LightingState : public State
{
public:
    LightingState() = default;
    LightingState(const LightingState&) = default;

    LightingState* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void Apply(IRenderer& renderer) const override;
    void Capture(IRenderer& renderer) override;
    void Reset() override;

    // Global ambient colour.
    Math::Vector4 ambient{0.2f, 0.2f, 0.2f, 1.0f};
    // Specular highlights computed from the eye position, not from infinity.
    bool localViewer = true;
    bool enabled = false;
};

} // namespace Renderer
