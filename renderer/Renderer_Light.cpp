#include "renderer/Renderer_Light.h"

namespace Renderer
{

const char* Light::GetClassName() const
{
    return "Renderer::Light";
}

std::uint32_t Light::GetSize() const
{
    return sizeof(Light);
}

DirectionalLight* DirectionalLight::Clone() const
{
    return new ("Renderer_Light", __LINE__) DirectionalLight(*this);
}

const char* DirectionalLight::GetClassName() const
{
    return "Renderer::DirectionalLight";
}

std::uint32_t DirectionalLight::GetSize() const
{
    return sizeof(DirectionalLight);
}

PointLight* PointLight::Clone() const
{
    return new ("Renderer_Light", __LINE__) PointLight(*this);
}

const char* PointLight::GetClassName() const
{
    return "Renderer::PointLight";
}

std::uint32_t PointLight::GetSize() const
{
    return sizeof(PointLight);
}

SpotLight* SpotLight::Clone() const
{
    return new ("Renderer_Light", __LINE__) SpotLight(*this);
}

const char* SpotLight::GetClassName() const
{
    return "Renderer::SpotLight";
}

std::uint32_t SpotLight::GetSize() const
{
    return sizeof(SpotLight);
}

} // namespace Renderer
