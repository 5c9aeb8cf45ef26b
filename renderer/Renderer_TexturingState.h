#pragma once

#include "renderer/Renderer_Codes.h"
#include "renderer/Renderer_State.h"

namespace Renderer
{

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

} // namespace Renderer
