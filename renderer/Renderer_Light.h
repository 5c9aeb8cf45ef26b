#pragma once

#include "core/Core_Object.h"
#include "math/Math_Vector3.h"
#include "math/Math_Vector4.h"

namespace Renderer
{

// A light the renderer places in one of its eight light slots. The renderer
// reads a light by its run-time type: directional, point or spot. Defaults
// are those of a slot without a light: off, black ambient, white diffuse and
// specular.
class Light : public Core::Object
{
public:
    Light* Clone() const override = 0;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    bool enabled = false;
    Math::Vector4 ambient{0.0f, 0.0f, 0.0f, 1.0f};
    Math::Vector4 diffuse{1.0f, 1.0f, 1.0f, 1.0f};
    Math::Vector4 specular{1.0f, 1.0f, 1.0f, 1.0f};

protected:
    Light() = default;
    Light(const Light&) = default;
};

// Parallel rays along `direction`.
class DirectionalLight : public Light
{
public:
    DirectionalLight() = default;
    DirectionalLight(const DirectionalLight&) = default;

    DirectionalLight* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    Math::Vector3 direction{0.0f, 0.0f, -1.0f};
};

// Shines from `position` in every direction; its intensity falls with the
// distance d as 1 / (constant + linear d + quadratic d^2).
class PointLight : public Light
{
public:
    PointLight() = default;
    PointLight(const PointLight&) = default;

    PointLight* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    Math::Vector3 position;
    float constantAttenuation = 1.0f;
    float linearAttenuation = 0.0f;
    float quadraticAttenuation = 0.0f;
};

// A point light limited to a cone of half-angle `cutoff` degrees around
// `direction`.
class SpotLight : public PointLight
{
public:
    SpotLight() = default;
    SpotLight(const SpotLight&) = default;

    SpotLight* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;

    Math::Vector3 direction{0.0f, 0.0f, -1.0f};
    float cutoff = 180.0f;
    float exponent = 0.0f;
};

} // namespace Renderer
