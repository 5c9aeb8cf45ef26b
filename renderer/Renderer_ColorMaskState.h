#pragma once

#include "renderer/Renderer_State.h"

namespace Renderer
{

// Which colour channels are written.
class ColorMaskState : public State
{
public:
    ColorMaskState() = default;
    ColorMaskState(const ColorMaskState&) = default;

    ColorMaskState* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void Apply(IRenderer& renderer) const override;
    void Capture(IRenderer& renderer) override;
    void Reset() override;

    bool red = true;
    bool green = true;
    bool blue = true;
    bool alpha = true;
};

} // namespace Renderer
