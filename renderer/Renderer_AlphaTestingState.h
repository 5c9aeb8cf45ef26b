#pragma once

#include "renderer/Renderer_Codes.h"
#include "renderer/Renderer_State.h"

namespace Renderer
{

// Alpha test: a fragment is kept when `function`(alpha, reference) holds.
class AlphaTestingState : public State
{
public:
    AlphaTestingState() = default;
    AlphaTestingState(const AlphaTestingState&) = default;

    AlphaTestingState* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void Apply(IRenderer& renderer) const override;
    void Capture(IRenderer& renderer) override;
    void Reset() override;

    // `CompareFunction` code.
    std::uint32_t function = CompareAlways;
    float reference = 0.0f;
    bool enabled = false;
};

} // namespace Renderer
