#include "RendererTestSupport.h"

#include "renderer/Renderer_Effect.h"
#include "renderer/Renderer_RenderStates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <typeinfo>
#include <vector>

using namespace Renderer;

namespace
{

std::vector<std::string> PassCalls(const Effect& effect, RecordingRenderer& renderer)
{
    renderer.ClearLog();
    effect.GetTechnique(0)->GetPass(0)->Apply();
    return renderer.GetCallStrings();
}

const char* const Depth = "SetDepthBuffer(1, true, false)";
const char* const Blending = "SetAlphaBlending(6, 7, true)";
const char* const AlphaTest = "SetAlphaTesting(6, 0, true)";
const char* const LightingOff = "SetLighting((0.2, 0.2, 0.2, 1), true, false)";
const char* const CullingOff = "SetCulling(0, false)";
const char* const White = "SetCurrentColor((1, 1, 1, 1))";

struct PresetCase
{
    const char* name;
    Core::RefPtr<Effect> (*make)();
    const char* className;
    bool blended;
    std::vector<std::string> pass;
};

Core::RefPtr<Effect> MakeParticle()
{
    return CreateParticleEffect();
}

TEST(PresetEffect, EachIsOneTechniqueWithOnePassOfItsStates)
{
    const std::vector<PresetCase> cases = {
        {"default", CreateDefaultEffect, "Renderer::Effect", true, {Depth, Blending, CullingOff}},
        {"texture",
         CreateTextureEffect,
         "Renderer::Effect",
         false,
         {"SetTextureUnit0(2, 1, 0, 0, 0, true, false, false)", Depth, Blending, AlphaTest, LightingOff,
          CullingOff}},
        {"nearest texture",
         CreateNearestTextureEffect,
         "Renderer::Effect",
         false,
         {"SetTextureUnit0(2, 0, 2, 2, 0, true, false, false)", Depth, Blending, AlphaTest, LightingOff}},
        {"background",
         CreateBackgroundEffect,
         "Renderer::Effect",
         false,
         {"SetTextureUnit0(0, 1, 0, 0, 0, true, false, false)", Depth}},
        {"sprite",
         CreateSpriteEffect,
         "Renderer::Effect",
         true,
         {White, "SetTextureUnit0(2, 1, 2, 2, 0, true, false, false)", Depth, Blending, AlphaTest,
          LightingOff, CullingOff}},
        {"particle",
         MakeParticle,
         "Renderer::ParticleEffect",
         true,
         {White, "SetTextureUnit0(2, 1, 0, 0, 0, true, false, false)", Depth, Blending, AlphaTest,
          LightingOff, CullingOff}},
        {"line",
         CreateLineEffect,
         "Renderer::Effect",
         false,
         {White, LightingOff, Depth, Blending, AlphaTest}},
        {"point",
         CreatePointEffect,
         "Renderer::Effect",
         false,
         {White, LightingOff, Depth, Blending, AlphaTest}},
    };
    const auto renderer = RendererTest::MakeRenderer();
    for (const PresetCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        const Core::RefPtr<Effect> effect = c.make();
        EXPECT_STREQ(effect->GetClassName(), c.className);
        EXPECT_EQ(effect->blended, c.blended);
        ASSERT_EQ(effect->GetTechniqueCount(), 1u);
        const Core::RefPtr<Technique> technique = effect->GetTechnique(0);
        ASSERT_EQ(technique->GetPassCount(), 1u);
        EXPECT_EQ(PassCalls(*effect, *renderer), c.pass);

        // One saved state per state of the pass, of the same types.
        const Core::RefPtr<Pass> pass = technique->GetPass(0);
        std::vector<std::string> passTypes;
        std::vector<std::string> savedTypes;
        for (std::uint32_t i = 0; i < pass->GetStateCount(); ++i)
        {
            passTypes.push_back(pass->GetState(i)->GetClassName());
        }
        for (std::uint32_t i = 0; i < technique->GetSavedStateCount(); ++i)
        {
            savedTypes.push_back(technique->GetSavedState(i)->GetClassName());
        }
        std::sort(passTypes.begin(), passTypes.end());
        std::sort(savedTypes.begin(), savedTypes.end());
        EXPECT_EQ(savedTypes, passTypes);
    }
    EXPECT_NE(CreateLineEffect().Get(), CreatePointEffect().Get());
}

TEST(PresetEffect, SpriteDrawRestoresWhatWasCapturedBefore)
{
    const auto renderer = RendererTest::MakeRenderer();
    DepthBufferState depth;
    depth.function = CompareAlways;
    renderer->SetDepthBuffer(depth);
    TextureUnit0State unit;
    unit.applyMode = TextureBlend;
    renderer->SetTextureUnit0(unit);
    renderer->SetCurrentColor(Math::Vector4(0.5f, 0.5f, 0.5f, 1));
    const std::string before = renderer->DescribeStates();

    const Core::RefPtr<Effect> sprite = CreateSpriteEffect();
    const Core::RefPtr<Technique> technique = sprite->GetTechnique(0);
    technique->SaveStates();
    technique->GetPass(0)->Apply();
    EXPECT_NE(renderer->DescribeStates(), before);
    technique->RestoreStates();
    EXPECT_EQ(renderer->DescribeStates(), before);
}

TEST(PresetEffect, BackgroundSavesOnlyUnitZeroAndDepth)
{
    const auto renderer = RendererTest::MakeRenderer();
    const Core::RefPtr<Technique> technique = CreateBackgroundEffect()->GetTechnique(0);
    technique->SaveStates();
    technique->RestoreStates();
    std::vector<std::string> names = renderer->GetCallNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"GetDepthBuffer", "GetTextureUnit0", "SetDepthBuffer",
                                               "SetTextureUnit0"}));
}

TEST(ParticleEffect, FactorsOneAndOneGiveAdditiveBlending)
{
    const auto renderer = RendererTest::MakeRenderer();
    const Core::RefPtr<ParticleEffect> effect = CreateParticleEffect();
    effect->sourceFactor = BlendOne;
    effect->destinationFactor = BlendOne;
    effect->UpdateStates();
    const std::vector<std::string> calls = PassCalls(*effect, *renderer);
    EXPECT_NE(std::find(calls.begin(), calls.end(), "SetAlphaBlending(1, 1, true)"), calls.end());
}

TEST(ParticleEffect, CloneBlendsWithItsOwnPass)
{
    const auto renderer = RendererTest::MakeRenderer();
    const Core::RefPtr<ParticleEffect> effect = CreateParticleEffect();
    const Core::RefPtr<ParticleEffect> clone(effect->Clone());
    ASSERT_TRUE(clone->blendingState);
    EXPECT_NE(clone->blendingState.Get(), effect->blendingState.Get());

    clone->sourceFactor = BlendZero;
    clone->destinationFactor = BlendSourceColor;
    clone->UpdateStates();
    const std::vector<std::string> cloneCalls = PassCalls(*clone, *renderer);
    EXPECT_NE(std::find(cloneCalls.begin(), cloneCalls.end(), "SetAlphaBlending(0, 2, true)"),
              cloneCalls.end());
    const std::vector<std::string> sourceCalls = PassCalls(*effect, *renderer);
    EXPECT_NE(std::find(sourceCalls.begin(), sourceCalls.end(), Blending), sourceCalls.end());
}

TEST(Effect, TextureSlotsHoldThirtyTwoCountedReferences)
{
    const Core::RefPtr<RendererTest::FakeTexture> texture(new RendererTest::FakeTexture("a.png"));
    const auto effect = CreateTextureEffect();
    effect->SetTexture(31, texture);
    for (std::uint32_t slot = 0; slot < 31; ++slot)
    {
        EXPECT_EQ(effect->GetTexture(slot), nullptr) << slot;
    }
    EXPECT_EQ(effect->GetTexture(31).Get(), texture.Get());
    EXPECT_EQ(texture->GetReferenceCount(), 2u);
    effect->SetTexture(31, texture);
    EXPECT_EQ(texture->GetReferenceCount(), 2u);

    effect->SetTexture(32, texture);
    EXPECT_EQ(effect->GetTexture(32), nullptr);
    EXPECT_EQ(texture->GetReferenceCount(), 2u);

    effect->SetTexture(31, nullptr);
    EXPECT_EQ(texture->GetReferenceCount(), 1u);
}

TEST(Effect, CloneSharesTexturesButNotStates)
{
    const Core::RefPtr<RendererTest::FakeTexture> texture(new RendererTest::FakeTexture("a.png"));
    const auto effect = CreateSpriteEffect();
    effect->SetTexture(1, texture);
    effect->value = 2.5f;
    const Core::RefPtr<Effect> clone(effect->Clone());

    EXPECT_STREQ(clone->GetClassName(), "Renderer::Effect");
    EXPECT_EQ(clone->GetTexture(1).Get(), texture.Get());
    EXPECT_TRUE(clone->blended);
    EXPECT_EQ(clone->value, 2.5f);
    ASSERT_EQ(clone->GetTechniqueCount(), 1u);
    EXPECT_NE(clone->GetTechnique(0).Get(), effect->GetTechnique(0).Get());

    const Core::RefPtr<Pass> clonePass = clone->GetTechnique(0)->GetPass(0);
    const Core::RefPtr<Pass> sourcePass = effect->GetTechnique(0)->GetPass(0);
    ASSERT_EQ(clonePass->GetStateCount(), sourcePass->GetStateCount());
    auto& cloneDepth = dynamic_cast<DepthBufferState&>(*clonePass->GetState(2));
    cloneDepth.writeEnabled = true;
    EXPECT_FALSE(dynamic_cast<DepthBufferState&>(*sourcePass->GetState(2)).writeEnabled);
}

} // namespace
