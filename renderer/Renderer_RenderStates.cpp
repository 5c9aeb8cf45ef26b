#include "renderer/Renderer_RenderStates.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer
{

AlphaBlendingState* AlphaBlendingState::Clone() const
{
    return new ("Renderer_RenderStates", __LINE__) AlphaBlendingState(*this);
}

const char* AlphaBlendingState::GetClassName() const
{
    return "Renderer::AlphaBlendingState";
}

std::uint32_t AlphaBlendingState::GetSize() const
{
    return sizeof(AlphaBlendingState);
}

void AlphaBlendingState::Apply(IRenderer& renderer) const
{
    renderer.SetAlphaBlending(*this);
}

void AlphaBlendingState::Capture(IRenderer& renderer)
{
    renderer.GetAlphaBlending(*this);
}

void AlphaBlendingState::Reset()
{
    source = BlendSourceAlpha;
    destination = BlendOneMinusSourceAlpha;
    enabled = false;
}

AlphaTestingState* AlphaTestingState::Clone() const
{
    return new ("Renderer_RenderStates", __LINE__) AlphaTestingState(*this);
}

const char* AlphaTestingState::GetClassName() const
{
    return "Renderer::AlphaTestingState";
}

std::uint32_t AlphaTestingState::GetSize() const
{
    return sizeof(AlphaTestingState);
}

void AlphaTestingState::Apply(IRenderer& renderer) const
{
    renderer.SetAlphaTesting(*this);
}

void AlphaTestingState::Capture(IRenderer& renderer)
{
    renderer.GetAlphaTesting(*this);
}

void AlphaTestingState::Reset()
{
    function = CompareAlways;
    reference = 0.0f;
    enabled = false;
}

ColorMaskState* ColorMaskState::Clone() const
{
    return new ("Renderer_RenderStates", __LINE__) ColorMaskState(*this);
}

const char* ColorMaskState::GetClassName() const
{
    return "Renderer::ColorMaskState";
}

std::uint32_t ColorMaskState::GetSize() const
{
    return sizeof(ColorMaskState);
}

void ColorMaskState::Apply(IRenderer& renderer) const
{
    renderer.SetColorMask(*this);
}

void ColorMaskState::Capture(IRenderer& renderer)
{
    renderer.GetColorMask(*this);
}

void ColorMaskState::Reset()
{
    red = true;
    green = true;
    blue = true;
    alpha = true;
}

CullingState* CullingState::Clone() const
{
    return new ("Renderer_RenderStates", __LINE__) CullingState(*this);
}

const char* CullingState::GetClassName() const
{
    return "Renderer::CullingState";
}

std::uint32_t CullingState::GetSize() const
{
    return sizeof(CullingState);
}

void CullingState::Apply(IRenderer& renderer) const
{
    renderer.SetCulling(*this);
}

void CullingState::Capture(IRenderer& renderer)
{
    renderer.GetCulling(*this);
}

void CullingState::Reset()
{
    face = CullBack;
    enabled = true;
}

CurrentColorState* CurrentColorState::Clone() const
{
    return new ("Renderer_RenderStates", __LINE__) CurrentColorState(*this);
}

const char* CurrentColorState::GetClassName() const
{
    return "Renderer::CurrentColorState";
}

std::uint32_t CurrentColorState::GetSize() const
{
    return sizeof(CurrentColorState);
}

void CurrentColorState::Apply(IRenderer& renderer) const
{
    renderer.SetCurrentColor(color);
}

void CurrentColorState::Capture(IRenderer& renderer)
{
    color = renderer.GetCurrentColor();
}

void CurrentColorState::Reset()
{
    color = Math::Vector4(1.0f, 1.0f, 1.0f, 1.0f);
}

DepthBufferState* DepthBufferState::Clone() const
{
    return new ("Renderer_RenderStates", __LINE__) DepthBufferState(*this);
}

const char* DepthBufferState::GetClassName() const
{
    return "Renderer::DepthBufferState";
}

std::uint32_t DepthBufferState::GetSize() const
{
    return sizeof(DepthBufferState);
}

void DepthBufferState::Apply(IRenderer& renderer) const
{
    renderer.SetDepthBuffer(*this);
}

void DepthBufferState::Capture(IRenderer& renderer)
{
    renderer.GetDepthBuffer(*this);
}

void DepthBufferState::Reset()
{
    function = CompareLess;
    testEnabled = true;
    writeEnabled = true;
}

DitheringState* DitheringState::Clone() const
{
    return new ("Renderer_RenderStates", __LINE__) DitheringState(*this);
}

const char* DitheringState::GetClassName() const
{
    return "Renderer::DitheringState";
}

std::uint32_t DitheringState::GetSize() const
{
    return sizeof(DitheringState);
}

void DitheringState::Apply(IRenderer& renderer) const
{
    renderer.SetDithering(*this);
}

void DitheringState::Capture(IRenderer& renderer)
{
    renderer.GetDithering(*this);
}

void DitheringState::Reset()
{
    enabled = true;
}

FillingState* FillingState::Clone() const
{
    return new ("Renderer_RenderStates", __LINE__) FillingState(*this);
}

const char* FillingState::GetClassName() const
{
    return "Renderer::FillingState";
}

std::uint32_t FillingState::GetSize() const
{
    return sizeof(FillingState);
}

void FillingState::Apply(IRenderer& renderer) const
{
    renderer.SetFilling(*this);
}

void FillingState::Capture(IRenderer& renderer)
{
    renderer.GetFilling(*this);
}

void FillingState::Reset()
{
    mode = FillSolid;
}

FogState* FogState::Clone() const
{
    return new ("Renderer_RenderStates", __LINE__) FogState(*this);
}

const char* FogState::GetClassName() const
{
    return "Renderer::FogState";
}

std::uint32_t FogState::GetSize() const
{
    return sizeof(FogState);
}

void FogState::Apply(IRenderer& renderer) const
{
    renderer.SetFog(*this);
}

void FogState::Capture(IRenderer& renderer)
{
    renderer.GetFog(*this);
}

void FogState::Reset()
{
    mode = FogLinear;
    start = 0.0f;
    end = 100.0f;
    density = 0.0f;
    enabled = false;
}

LightingState* LightingState::Clone() const
{
    return new ("Renderer_RenderStates", __LINE__) LightingState(*this);
}

const char* LightingState::GetClassName() const
{
    return "Renderer::LightingState";
}

std::uint32_t LightingState::GetSize() const
{
    return sizeof(LightingState);
}

void LightingState::Apply(IRenderer& renderer) const
{
    renderer.SetLighting(*this);
}

void LightingState::Capture(IRenderer& renderer)
{
    renderer.GetLighting(*this);
}

void LightingState::Reset()
{
    ambient = Math::Vector4(0.2f, 0.2f, 0.2f, 1.0f);
    localViewer = true;
    enabled = false;
}

LineState* LineState::Clone() const
{
    return new ("Renderer_RenderStates", __LINE__) LineState(*this);
}

const char* LineState::GetClassName() const
{
    return "Renderer::LineState";
}

std::uint32_t LineState::GetSize() const
{
    return sizeof(LineState);
}

void LineState::Apply(IRenderer& renderer) const
{
    renderer.SetLine(*this);
}

void LineState::Capture(IRenderer& renderer)
{
    renderer.GetLine(*this);
}

void LineState::Reset()
{
    width = 1.0f;
}

Material::Material(const Math::Vector4& ambientColor, const Math::Vector4& diffuseColor,
                   const Math::Vector4& specularColor, const Math::Vector4& emissionColor,
                   float shininessValue)
    : ambient(ambientColor), diffuse(diffuseColor), specular(specularColor), emission(emissionColor),
      shininess(shininessValue)
{
}

Material* Material::Clone() const
{
    return new ("Renderer_RenderStates", __LINE__) Material(*this);
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

NormalizeNormalsState* NormalizeNormalsState::Clone() const
{
    return new ("Renderer_RenderStates", __LINE__) NormalizeNormalsState(*this);
}

const char* NormalizeNormalsState::GetClassName() const
{
    return "Renderer::NormalizeNormalsState";
}

std::uint32_t NormalizeNormalsState::GetSize() const
{
    return sizeof(NormalizeNormalsState);
}

void NormalizeNormalsState::Apply(IRenderer& renderer) const
{
    renderer.SetNormalizeNormals(*this);
}

void NormalizeNormalsState::Capture(IRenderer& renderer)
{
    renderer.GetNormalizeNormals(*this);
}

void NormalizeNormalsState::Reset()
{
    enabled = false;
}

PointState* PointState::Clone() const
{
    return new ("Renderer_RenderStates", __LINE__) PointState(*this);
}

const char* PointState::GetClassName() const
{
    return "Renderer::PointState";
}

std::uint32_t PointState::GetSize() const
{
    return sizeof(PointState);
}

void PointState::Apply(IRenderer& renderer) const
{
    renderer.SetPoint(*this);
}

void PointState::Capture(IRenderer& renderer)
{
    renderer.GetPoint(*this);
}

void PointState::Reset()
{
    size = 1.0f;
}

ScissorState* ScissorState::Clone() const
{
    return new ("Renderer_RenderStates", __LINE__) ScissorState(*this);
}

const char* ScissorState::GetClassName() const
{
    return "Renderer::ScissorState";
}

std::uint32_t ScissorState::GetSize() const
{
    return sizeof(ScissorState);
}

void ScissorState::Apply(IRenderer& renderer) const
{
    renderer.SetScissor(*this);
}

void ScissorState::Capture(IRenderer& renderer)
{
    renderer.GetScissor(*this);
}

void ScissorState::Reset()
{
    x = 0;
    y = 0;
    width = 640;
    height = 480;
    enabled = false;
}

ShadingState* ShadingState::Clone() const
{
    return new ("Renderer_RenderStates", __LINE__) ShadingState(*this);
}

const char* ShadingState::GetClassName() const
{
    return "Renderer::ShadingState";
}

std::uint32_t ShadingState::GetSize() const
{
    return sizeof(ShadingState);
}

void ShadingState::Apply(IRenderer& renderer) const
{
    renderer.SetShading(*this);
}

void ShadingState::Capture(IRenderer& renderer)
{
    renderer.GetShading(*this);
}

void ShadingState::Reset()
{
    model = ShadingSmooth;
}

StencilBufferState* StencilBufferState::Clone() const
{
    return new ("Renderer_RenderStates", __LINE__) StencilBufferState(*this);
}

const char* StencilBufferState::GetClassName() const
{
    return "Renderer::StencilBufferState";
}

std::uint32_t StencilBufferState::GetSize() const
{
    return sizeof(StencilBufferState);
}

void StencilBufferState::Apply(IRenderer& renderer) const
{
    renderer.SetStencilBuffer(*this);
}

void StencilBufferState::Capture(IRenderer& renderer)
{
    renderer.GetStencilBuffer(*this);
}

void StencilBufferState::Reset()
{
    function = CompareAlways;
    failOperation = StencilKeep;
    depthFailOperation = StencilKeep;
    passOperation = StencilKeep;
    reference = 0;
    compareMask = 0xFFFFFFFFu;
    writeMask = 0xFFFFFFFFu;
    enabled = false;
}

const char* TexturingState::GetClassName() const
{
    return "Renderer::TexturingState";
}

std::uint32_t TexturingState::GetSize() const
{
    return sizeof(TexturingState);
}

void TexturingState::Reset()
{
    applyMode = TextureDecal;
    filter = FilterNearest;
    wrapS = WrapRepeat;
    wrapT = WrapRepeat;
    reserved = 0;
    enabled = false;
}

#define RENDERER_DEFINE_TEXTURE_UNIT_STATE(Class, Unit)                                                      \
    Class* Class::Clone() const                                                                              \
    {                                                                                                        \
        return new ("Renderer_RenderStates", __LINE__) Class(*this);                                         \
    }                                                                                                        \
    const char* Class::GetClassName() const                                                                  \
    {                                                                                                        \
        return "Renderer::" #Class;                                                                          \
    }                                                                                                        \
    std::uint32_t Class::GetSize() const                                                                     \
    {                                                                                                        \
        return sizeof(Class);                                                                                \
    }                                                                                                        \
    void Class::Apply(IRenderer& renderer) const                                                             \
    {                                                                                                        \
        renderer.SetTextureUnit##Unit(*this);                                                                \
    }                                                                                                        \
    void Class::Capture(IRenderer& renderer)                                                                 \
    {                                                                                                        \
        renderer.GetTextureUnit##Unit(*this);                                                                \
    }

RENDERER_DEFINE_TEXTURE_UNIT_STATE(TextureUnit0State, 0)
RENDERER_DEFINE_TEXTURE_UNIT_STATE(TextureUnit1State, 1)
RENDERER_DEFINE_TEXTURE_UNIT_STATE(TextureUnit2State, 2)
RENDERER_DEFINE_TEXTURE_UNIT_STATE(TextureUnit3State, 3)
RENDERER_DEFINE_TEXTURE_UNIT_STATE(TextureUnit4State, 4)
RENDERER_DEFINE_TEXTURE_UNIT_STATE(TextureUnit5State, 5)
RENDERER_DEFINE_TEXTURE_UNIT_STATE(TextureUnit6State, 6)
RENDERER_DEFINE_TEXTURE_UNIT_STATE(TextureUnit7State, 7)

TriangleOffsetState* TriangleOffsetState::Clone() const
{
    return new ("Renderer_RenderStates", __LINE__) TriangleOffsetState(*this);
}

const char* TriangleOffsetState::GetClassName() const
{
    return "Renderer::TriangleOffsetState";
}

std::uint32_t TriangleOffsetState::GetSize() const
{
    return sizeof(TriangleOffsetState);
}

void TriangleOffsetState::Apply(IRenderer& renderer) const
{
    renderer.SetTriangleOffset(*this);
}

void TriangleOffsetState::Capture(IRenderer& renderer)
{
    renderer.GetTriangleOffset(*this);
}

void TriangleOffsetState::Reset()
{
    factor = 0.0f;
    units = 0.0f;
    enabled = false;
}

} // namespace Renderer
