#pragma once

#include "renderer/Renderer_Codes.h"
#include "renderer/Renderer_State.h"

namespace Renderer
{

// Blending: result = source x `source` + destination x `destination`.
class AlphaBlendingState : public State
{
public:
    AlphaBlendingState() = default;
    AlphaBlendingState(const AlphaBlendingState&) = default;

    AlphaBlendingState* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void Apply(IRenderer& renderer) const override;
    void Capture(IRenderer& renderer) override;
    void Reset() override;

    // `BlendFactor` code.
    std::uint32_t source = BlendSourceAlpha;
    // `BlendFactor` code.
    std::uint32_t destination = BlendOneMinusSourceAlpha;
    bool enabled = false;
};

} // namespace Renderer
