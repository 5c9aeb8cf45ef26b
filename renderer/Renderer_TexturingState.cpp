#include "renderer/Renderer_TexturingState.h"

#include "renderer/Renderer_IRenderer.h"

namespace Renderer
{

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
        return new ("Renderer_TexturingState", __LINE__) Class(*this);                                       \
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

} // namespace Renderer
