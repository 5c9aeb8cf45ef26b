#pragma once

#include "renderer/Renderer_Codes.h"
#include "renderer/Renderer_State.h"

namespace Renderer
{

// Polygon fill mode of front and back faces.
class FillingState : public State
{
public:
    FillingState() = default;
    FillingState(const FillingState&) = default;

    FillingState* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void Apply(IRenderer& renderer) const override;
    void Capture(IRenderer& renderer) override;
    void Reset() override;

    // `FillMode` code: 0 points, 1 lines, anything else filled.
    std::uint32_t mode = FillSolid;
};

} // namespace Renderer
