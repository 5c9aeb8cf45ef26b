#pragma once

#include "math/Math_Vector4.h"
#include "renderer/Renderer_State.h"

namespace Renderer
{

// The colour drawn when no colour array is set. It stands apart from the
// renderer's state list: it travels as the colour value itself.
class CurrentColorState : public State
{
public:
    CurrentColorState() = default;
    CurrentColorState(const CurrentColorState&) = default;

    CurrentColorState* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void Apply(IRenderer& renderer) const override;
    void Capture(IRenderer& renderer) override;
    void Reset() override;

    Math::Vector4 color{1.0f, 1.0f, 1.0f, 1.0f};
};

} // namespace Renderer
