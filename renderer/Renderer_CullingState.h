#pragma once

#include "renderer/Renderer_Codes.h"
#include "renderer/Renderer_State.h"

namespace Renderer
{

// Face culling.
class CullingState : public State
{
public:
    CullingState() = default;
    CullingState(const CullingState&) = default;

    CullingState* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void Apply(IRenderer& renderer) const override;
    void Capture(IRenderer& renderer) override;
    void Reset() override;

    // `CullFace` code: 0 back faces, anything else front faces.
    std::uint32_t face = CullBack;
    bool enabled = true;
};

} // namespace Renderer
