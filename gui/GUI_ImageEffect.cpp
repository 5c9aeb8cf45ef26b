#include "gui/GUI_ImageEffect.h"

#include "renderer/Renderer_Pass.h"
#include "renderer/Renderer_RenderStates.h"
#include "renderer/Renderer_Technique.h"

namespace GUI
{

ImageEffect::ImageEffect(std::uint32_t modeValue) : mode(modeValue)
{
    textureUnit = new ("GUI_ImageEffect", __LINE__) Renderer::TextureUnit0State();
    textureUnit->enabled = true;
    textureUnit->applyMode = Renderer::TextureModulate;
    textureUnit->filter = mode;
    textureUnit->wrapS = Renderer::WrapClampToEdge;
    textureUnit->wrapT = Renderer::WrapClampToEdge;
    textureUnit->reserved = 0;
    textureUnit->coordinateGeneration = false;
    textureUnit->oneDimensional = false;

    Core::RefPtr<Renderer::DepthBufferState> depth(new ("GUI_ImageEffect", __LINE__)
                                                       Renderer::DepthBufferState());
    depth->testEnabled = true;
    depth->writeEnabled = false;
    depth->function = Renderer::CompareLess;

    Core::RefPtr<Renderer::AlphaBlendingState> blending(new ("GUI_ImageEffect", __LINE__)
                                                            Renderer::AlphaBlendingState());
    blending->enabled = true;
    blending->source = Renderer::BlendSourceAlpha;
    blending->destination = Renderer::BlendOneMinusSourceAlpha;

    Core::RefPtr<Renderer::AlphaTestingState> alphaTest(new ("GUI_ImageEffect", __LINE__)
                                                            Renderer::AlphaTestingState());
    alphaTest->enabled = true;
    alphaTest->function = Renderer::CompareNotEqual;
    alphaTest->reference = 0.0f;

    Core::RefPtr<Renderer::LightingState> lighting(new ("GUI_ImageEffect", __LINE__)
                                                       Renderer::LightingState());
    lighting->enabled = false;

    Core::RefPtr<Renderer::Pass> pass(new ("GUI_ImageEffect", __LINE__) Renderer::Pass());
    pass->AddState(textureUnit);
    pass->AddState(depth);
    pass->AddState(blending);
    pass->AddState(alphaTest);
    pass->AddState(lighting);
    Core::RefPtr<Renderer::Technique> technique(new ("GUI_ImageEffect", __LINE__) Renderer::Technique());
    technique->AddPass(pass);
    technique->BuildSavedStates();
    AddTechnique(technique);
}

ImageEffect* ImageEffect::Clone() const
{
    return new ("GUI_ImageEffect", __LINE__) ImageEffect(mode);
}

const char* ImageEffect::GetClassName() const
{
    return "GUI::ImageEffect";
}

std::uint32_t ImageEffect::GetSize() const
{
    return sizeof(ImageEffect);
}

void ImageEffect::UpdateStates()
{
    textureUnit->filter = mode;
}

ImageRenderContext* ImageRenderContext::Clone() const
{
    return new ("GUI_ImageEffect", __LINE__) ImageRenderContext(*this);
}

const char* ImageRenderContext::GetClassName() const
{
    return "GUI::ImageRenderContext";
}

std::uint32_t ImageRenderContext::GetSize() const
{
    return sizeof(ImageRenderContext);
}

void ImageRenderContext::Reset()
{
    mode = 0;
    TextRenderContext::Reset();
}

void ImageRenderContext::PrepareDraw()
{
    if (!effect)
    {
        return;
    }
    if (ImageEffect* imageEffect = dynamic_cast<ImageEffect*>(effect.Get()))
    {
        imageEffect->mode = mode;
    }
    effect->UpdateStates();
}

} // namespace GUI
