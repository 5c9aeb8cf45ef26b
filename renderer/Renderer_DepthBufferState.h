#pragma once

#include "renderer/Renderer_Codes.h"
#include "renderer/Renderer_State.h"

namespace Renderer
{

// Depth test and depth writes.
class DepthBufferState : public State
{
public:
    DepthBufferState() = default;
    DepthBufferState(const DepthBufferState&) = default;

    DepthBufferState* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void Apply(IRenderer& renderer) const override;
    void Capture(IRenderer& renderer) override;
    void Reset() override;

    // `CompareFunction` code.
    std::uint32_t function = CompareLess;
    bool testEnabled = true;
    bool writeEnabled = true;
};

} // namespace Renderer
