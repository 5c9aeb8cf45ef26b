#pragma once

#include "math/Math_Vector4.h"
#include "renderer/Renderer_State.h"

namespace Renderer
{

// Surface colours for lighting, applied to front and back faces. There is
// no default constructor: a material is always made from its values.
class Material : public State
{
public:
    Material(const Math::Vector4& ambientColor, const Math::Vector4& diffuseColor,
             const Math::Vector4& specularColor, const Math::Vector4& emissionColor, float shininessValue);
    Material(const Material&) = default;

    Material* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void Apply(IRenderer& renderer) const override;
    void Capture(IRenderer& renderer) override;
    // Ambient (0.2, 0.2, 0.2, 1); diffuse, specular and emission black; shininess 0.
    void Reset() override;

    Math::Vector4 ambient;
    Math::Vector4 diffuse;
    Math::Vector4 specular;
    Math::Vector4 emission;
    float shininess;
};

} // namespace Renderer
