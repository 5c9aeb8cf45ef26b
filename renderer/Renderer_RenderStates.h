#pragma once

// The render-state classes, always used together: each holds one group of
// fixed-function settings, applies it to a renderer and captures it back.
// Reset returns a state to its defaults.

#include "math/Math_Vector4.h"
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

// Alpha test: a fragment is kept when `function`(alpha, reference) holds.
class AlphaTestingState : public State
{
public:
    AlphaTestingState() = default;
    AlphaTestingState(const AlphaTestingState&) = default;

    AlphaTestingState* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void Apply(IRenderer& renderer) const override;
    void Capture(IRenderer& renderer) override;
    void Reset() override;

    // `CompareFunction` code.
    std::uint32_t function = CompareAlways;
    float reference = 0.0f;
    bool enabled = false;
};

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

// The colour drawn when no colour array is set. It stands apart from the
// renderer's state list: it travels as the colour value itself.
class CurrentColorState : public State
{
public:
    CurrentColorState() = default;
    CurrentColorState(const CurrentColorState&) = default;

    CurrentColorState* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void Apply(IRenderer& renderer) const override;
    void Capture(IRenderer& renderer) override;
    void Reset() override;

    Math::Vector4 color{1.0f, 1.0f, 1.0f, 1.0f};
};

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

// Colour dithering.
class DitheringState : public State
{
public:
    DitheringState() = default;
    DitheringState(const DitheringState&) = default;

    DitheringState* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void Apply(IRenderer& renderer) const override;
    void Capture(IRenderer& renderer) override;
    void Reset() override;

    bool enabled = true;
};

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

// Fixed-function fog. Reset leaves the colour as it is.
class FogState : public State
{
public:
    FogState() = default;
    FogState(const FogState&) = default;

    FogState* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void Apply(IRenderer& renderer) const override;
    void Capture(IRenderer& renderer) override;
    void Reset() override;

    // `FogMode` code.
    std::uint32_t mode = FogLinear;
    Math::Vector4 color{1.0f, 1.0f, 1.0f, 1.0f};
    float start = 0.0f;
    float end = 100.0f;
    float density = 0.0f;
    bool enabled = false;
};

// Fixed-function lighting and its light model.
class LightingState : public State
{
public:
    LightingState() = default;
    LightingState(const LightingState&) = default;

    LightingState* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void Apply(IRenderer& renderer) const override;
    void Capture(IRenderer& renderer) override;
    void Reset() override;

    // Global ambient colour.
    Math::Vector4 ambient{0.2f, 0.2f, 0.2f, 1.0f};
    // Specular highlights computed from the eye position, not from infinity.
    bool localViewer = true;
    bool enabled = false;
};

// Rasterised line width.
class LineState : public State
{
public:
    LineState() = default;
    LineState(const LineState&) = default;

    LineState* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void Apply(IRenderer& renderer) const override;
    void Capture(IRenderer& renderer) override;
    void Reset() override;

    // In pixels.
    float width = 1.0f;
};

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

// Rasterised point size.
class PointState : public State
{
public:
    PointState() = default;
    PointState(const PointState&) = default;

    PointState* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void Apply(IRenderer& renderer) const override;
    void Capture(IRenderer& renderer) override;
    void Reset() override;

    // In pixels.
    float size = 1.0f;
};

// Scissor rectangle in window pixels and its test.
class ScissorState : public State
{
public:
    ScissorState() = default;
    ScissorState(const ScissorState&) = default;

    ScissorState* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void Apply(IRenderer& renderer) const override;
    void Capture(IRenderer& renderer) override;
    void Reset() override;

    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 640;
    std::int32_t height = 480;
    bool enabled = false;
};

// Shading model.
class ShadingState : public State
{
public:
    ShadingState() = default;
    ShadingState(const ShadingState&) = default;

    ShadingState* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void Apply(IRenderer& renderer) const override;
    void Capture(IRenderer& renderer) override;
    void Reset() override;

    // `ShadingModel` code: 1 smooth, anything else flat.
    std::uint32_t model = ShadingSmooth;
};

// Stencil test and the operations that update the stencil buffer.
class StencilBufferState : public State
{
public:
    StencilBufferState() = default;
    StencilBufferState(const StencilBufferState&) = default;

    StencilBufferState* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void Apply(IRenderer& renderer) const override;
    void Capture(IRenderer& renderer) override;
    void Reset() override;

    // `CompareFunction` code.
    std::uint32_t function = CompareAlways;
    // `StencilOperation` when the stencil test fails.
    std::uint32_t failOperation = StencilKeep;
    // When the stencil test passes and the depth test fails.
    std::uint32_t depthFailOperation = StencilKeep;
    // When both tests pass.
    std::uint32_t passOperation = StencilKeep;
    std::int32_t reference = 0;
    std::uint32_t compareMask = 0xFFFFFFFFu;
    std::uint32_t writeMask = 0xFFFFFFFFu;
    bool enabled = false;
};

// How one texture unit samples and combines its texture. The eight concrete
// classes `TextureUnit0State` to `TextureUnit7State` differ only in the unit
// they address, so each is a kind of its own.
class TexturingState : public State
{
public:
    TexturingState* Clone() const override = 0;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void Apply(IRenderer& renderer) const override = 0;
    void Capture(IRenderer& renderer) override = 0;
    // Every field but the two flags `coordinateGeneration` and `oneDimensional`.
    void Reset() override;

    // `TextureApplyMode` code.
    std::uint32_t applyMode = TextureDecal;
    // `TextureFilter` code.
    std::uint32_t filter = FilterNearest;
    // `TextureWrap` codes.
    std::uint32_t wrapS = WrapRepeat;
    std::uint32_t wrapT = WrapRepeat;
    // Stored and returned by the renderer, never applied.
    std::uint32_t reserved = 0;
    bool enabled = false;
    bool coordinateGeneration = false;
    bool oneDimensional = false;

protected:
    TexturingState() = default;
    TexturingState(const TexturingState&) = default;
};

#define RENDERER_DECLARE_TEXTURE_UNIT_STATE(Class)                                                           \
    class Class : public TexturingState                                                                      \
    {                                                                                                        \
    public:                                                                                                  \
        Class() = default;                                                                                   \
        Class(const Class&) = default;                                                                       \
                                                                                                             \
        Class* Clone() const override;                                                                       \
        const char* GetClassName() const override;                                                           \
        std::uint32_t GetSize() const override;                                                              \
        void Apply(IRenderer& renderer) const override;                                                      \
        void Capture(IRenderer& renderer) override;                                                          \
    };

RENDERER_DECLARE_TEXTURE_UNIT_STATE(TextureUnit0State)
RENDERER_DECLARE_TEXTURE_UNIT_STATE(TextureUnit1State)
RENDERER_DECLARE_TEXTURE_UNIT_STATE(TextureUnit2State)
RENDERER_DECLARE_TEXTURE_UNIT_STATE(TextureUnit3State)
RENDERER_DECLARE_TEXTURE_UNIT_STATE(TextureUnit4State)
RENDERER_DECLARE_TEXTURE_UNIT_STATE(TextureUnit5State)
RENDERER_DECLARE_TEXTURE_UNIT_STATE(TextureUnit6State)
RENDERER_DECLARE_TEXTURE_UNIT_STATE(TextureUnit7State)

#undef RENDERER_DECLARE_TEXTURE_UNIT_STATE

// Depth offset of filled polygons: factor x slope + units x the smallest depth step.
class TriangleOffsetState : public State
{
public:
    TriangleOffsetState() = default;
    TriangleOffsetState(const TriangleOffsetState&) = default;

    TriangleOffsetState* Clone() const override;
    const char* GetClassName() const override;
    std::uint32_t GetSize() const override;
    void Apply(IRenderer& renderer) const override;
    void Capture(IRenderer& renderer) override;
    void Reset() override;

    float factor = 0.0f;
    float units = 0.0f;
    bool enabled = false;
};

} // namespace Renderer
