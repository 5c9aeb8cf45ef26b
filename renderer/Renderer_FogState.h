#pragma once

#include "math/Math_Vector4.h"
#include "renderer/Renderer_Codes.h"
#include "renderer/Renderer_State.h"

namespace Renderer
{

// Fixed-function fog. Reset leaves the colour as it is.
class FogState : public State
{
public:
    FogState() = default;
    FogState(const FogState&) = default;

    FogState* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void Apply(IRenderer& renderer) const override;
    void Capture(IRenderer& renderer) override;
    void Reset() override;

    // `FogMode` code.
    std::uint32_t mode = FogLinear;
    Math::Vector4 color{1.0f, 1.0f, 1.0f, 1.0f};
    float start = 0.0f;
    float end = 100.0f;
    float density = 0.0f;
    bool enabled = false;
};

} // namespace Renderer
