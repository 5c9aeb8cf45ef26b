#include "renderer/Renderer_MaterialState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer
{

Material::Material(const Math::Vector4& ambientColor, const Math::Vector4& diffuseColor,
                   const Math::Vector4& specularColor, const Math::Vector4& emissionColor,
                   float shininessValue)
    : ambient(ambientColor), diffuse(diffuseColor), specular(specularColor), emission(emissionColor),
      shininess(shininessValue)
{
}

Material* Material::Clone() const
{
    return new ("Renderer_MaterialState", __LINE__) Material(*this);
}

const char* Material::GetClassName() const
{
    return "Renderer::Material";
}

std::uint32_t Material::GetSize() const
{
    return sizeof(Material);
}

void Material::Apply(IRenderer& renderer) const
{
    renderer.SetMaterial(*this);
}

void Material::Capture(IRenderer& renderer)
{
    renderer.GetMaterial(*this);
}

void Material::Reset()
{
    ambient = Math::Vector4(0.2f, 0.2f, 0.2f, 1.0f);
    diffuse = Math::Vector4(0.0f, 0.0f, 0.0f, 1.0f);
    specular = Math::Vector4(0.0f, 0.0f, 0.0f, 1.0f);
    emission = Math::Vector4(0.0f, 0.0f, 0.0f, 1.0f);
    shininess = 0.0f;
}

} // namespace Renderer
