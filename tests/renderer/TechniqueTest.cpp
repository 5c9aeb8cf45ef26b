#include "RendererTestSupport.h"

#include "renderer/Renderer_Pass.h"
#include "renderer/Renderer_RenderStates.h"
#include "renderer/Renderer_Technique.h"

#include <gtest/gtest.h>

#include <typeinfo>

using namespace Renderer;

namespace
{

template <class T> Core::RefPtr<T> New()
{
    return Core::RefPtr<T>(new T());
}

TEST(Pass, AddStateReplacesTheSameTypeInPlaceAndAppendsOthers)
{
    const auto pass = New<Pass>();
    const auto depth = New<DepthBufferState>();
    const auto culling = New<CullingState>();
    const auto unit0 = New<TextureUnit0State>();
    const auto unit1 = New<TextureUnit1State>();
    const auto otherDepth = New<DepthBufferState>();

    EXPECT_EQ(pass->AddState(depth), 0u);
    EXPECT_EQ(pass->AddState(culling), 1u);
    EXPECT_EQ(pass->AddState(unit0), 2u);
    EXPECT_EQ(pass->AddState(unit1), 3u);
    EXPECT_EQ(depth->GetReferenceCount(), 2u);

    EXPECT_EQ(pass->AddState(otherDepth), 0u);
    EXPECT_EQ(pass->GetStateCount(), 4u);
    EXPECT_EQ(pass->GetState(0).Get(), otherDepth.Get());
    EXPECT_EQ(pass->GetState(1).Get(), culling.Get());
    EXPECT_EQ(depth->GetReferenceCount(), 1u);

    EXPECT_EQ(pass->AddState(nullptr), Pass::NoIndex);
    EXPECT_EQ(pass->GetStateCount(), 4u);
    EXPECT_EQ(pass->GetState(4), nullptr);
}

TEST(Technique, SavesOneDefaultStatePerTypeThePassesSet)
{
    const auto first = New<Pass>();
    auto culling = New<CullingState>();
    culling->enabled = false;
    first->AddState(culling);
    const auto second = New<Pass>();
    second->AddState(New<CullingState>());
    auto blending = New<AlphaBlendingState>();
    blending->enabled = true;
    blending->source = BlendOne;
    second->AddState(blending);

    const auto technique = New<Technique>();
    technique->AddPass(first);
    technique->AddPass(second);
    technique->BuildSavedStates();
    technique->BuildSavedStates();

    ASSERT_EQ(technique->GetSavedStateCount(), 2u);
    const Core::RefPtr<State> a = technique->GetSavedState(0);
    const Core::RefPtr<State> b = technique->GetSavedState(1);
    EXPECT_NE(typeid(*a), typeid(*b));
    for (const auto& saved : {a, b})
    {
        EXPECT_TRUE(typeid(*saved) == typeid(CullingState) || typeid(*saved) == typeid(AlphaBlendingState));
        EXPECT_NE(saved.Get(), culling.Get());
        EXPECT_NE(saved.Get(), blending.Get());
    }
    // At their class defaults: putting them on a fresh renderer changes nothing.
    const auto renderer = RendererTest::MakeRenderer();
    const std::string fresh = renderer->DescribeStates();
    technique->RestoreStates();
    EXPECT_EQ(renderer->DescribeStates(), fresh);
    EXPECT_EQ(renderer->CountCalls("SetCulling"), 1u);
    EXPECT_EQ(renderer->CountCalls("SetAlphaBlending"), 1u);
}

TEST(Technique, DrawSeesThePassAndLeavesTheRendererAsItFoundIt)
{
    const auto renderer = RendererTest::MakeRenderer();
    DepthBufferState depth;
    depth.function = CompareGreater;
    renderer->SetDepthBuffer(depth);
    CullingState culling;
    culling.face = CullFront;
    renderer->SetCulling(culling);
    renderer->SetCurrentColor(Math::Vector4(0, 1, 0, 1));
    const std::string before = renderer->DescribeStates();

    const auto pass = New<Pass>();
    auto passDepth = New<DepthBufferState>();
    passDepth->writeEnabled = false;
    pass->AddState(passDepth);
    auto passCulling = New<CullingState>();
    passCulling->enabled = false;
    pass->AddState(passCulling);
    pass->AddState(New<CurrentColorState>());
    const auto technique = New<Technique>();
    technique->AddPass(pass);
    technique->BuildSavedStates();

    float positions[9] = {};
    renderer->SetVertexArray(positions);
    renderer->ClearLog();
    technique->SaveStates();
    pass->Apply();
    renderer->Draw(3);
    technique->RestoreStates();

    ASSERT_EQ(renderer->GetDraws().size(), 1u);
    const std::string& during = renderer->GetDraws()[0].states;
    EXPECT_NE(during.find("DepthBuffer(1, true, false)"), std::string::npos);
    EXPECT_NE(during.find("Culling(0, false)"), std::string::npos);
    EXPECT_NE(during.find("CurrentColor((1, 1, 1, 1))"), std::string::npos);
    EXPECT_EQ(renderer->DescribeStates(), before);
    // Only the three kinds the pass sets were saved and restored.
    EXPECT_EQ(renderer->GetCalls().size(), 3u + 3u + 1u + 3u);
}

TEST(Technique, EmptyTechniqueSavesAndRestoresNothing)
{
    const auto renderer = RendererTest::MakeRenderer();
    const auto technique = New<Technique>();
    technique->BuildSavedStates();
    technique->SaveStates();
    technique->RestoreStates();
    EXPECT_EQ(technique->GetSavedStateCount(), 0u);
    EXPECT_TRUE(renderer->GetCalls().empty());
}

TEST(Technique, CloneSharesNoPassStateOrSavedState)
{
    const auto pass = New<Pass>();
    pass->AddState(New<DepthBufferState>());
    pass->word = 5;
    const auto technique = New<Technique>();
    technique->AddPass(pass);
    technique->BuildSavedStates();

    const Core::RefPtr<Technique> clone(technique->Clone());
    ASSERT_EQ(clone->GetPassCount(), 1u);
    ASSERT_EQ(clone->GetSavedStateCount(), 1u);
    const Core::RefPtr<Pass> clonePass = clone->GetPass(0);
    EXPECT_NE(clonePass.Get(), pass.Get());
    EXPECT_EQ(clonePass->word, 0u);
    EXPECT_NE(clonePass->GetState(0).Get(), pass->GetState(0).Get());
    EXPECT_NE(clone->GetSavedState(0).Get(), technique->GetSavedState(0).Get());
    EXPECT_EQ(typeid(*clone->GetSavedState(0)), typeid(DepthBufferState));

    static_cast<DepthBufferState&>(*clonePass->GetState(0)).function = CompareNever;
    EXPECT_EQ(static_cast<DepthBufferState&>(*pass->GetState(0)).function, CompareLess);
}

TEST(Technique, WithoutARendererNothingIsApplied)
{
    const auto renderer = RendererTest::MakeRenderer();
    IRenderer::SetInstance(nullptr);
    const auto pass = New<Pass>();
    pass->AddState(New<DepthBufferState>());
    const auto technique = New<Technique>();
    technique->AddPass(pass);
    technique->BuildSavedStates();
    technique->SaveStates();
    pass->Apply();
    technique->RestoreStates();
    EXPECT_TRUE(renderer->GetCalls().empty());
}

} // namespace
