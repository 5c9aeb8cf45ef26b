#pragma once

#include "renderer/Renderer_State.h"

namespace Renderer
{

// Whether normals are rescaled to unit length after the model-view transform.
class NormalizeNormalsState : public State
{
public:
    NormalizeNormalsState() = default;
    NormalizeNormalsState(const NormalizeNormalsState&) = default;

    NormalizeNormalsState* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void Apply(IRenderer& renderer) const override;
    void Capture(IRenderer& renderer) override;
    void Reset() override;

    bool enabled = false;
};

} // namespace Renderer
