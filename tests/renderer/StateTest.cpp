#include "RendererTestSupport.h"

#include "renderer/Renderer_RenderStates.h"

#include <gtest/gtest.h>

#include <functional>
#include <typeinfo>
#include <vector>

using namespace Renderer;
using RendererTest::AppliedText;

namespace
{

// One row per state class: how to make one, how to change every field its
// Reset restores, and the setter call its class defaults make.
struct StateCase
{
    std::function<Core::RefPtr<State>()> make;
    std::function<void(State&)> change;
    const char* defaults;
    // False for the material, which is always made from values.
    bool madeAtDefaults = true;
};

template <class T> Core::RefPtr<State> Make()
{
    return Core::RefPtr<State>(new T());
}

template <class T> std::function<void(State&)> Change(std::function<void(T&)> change)
{
    return [change](State& state) { change(dynamic_cast<T&>(state)); };
}

void ChangeTexturing(TexturingState& s)
{
    s.applyMode = TextureModulate;
    s.filter = FilterLinear;
    s.wrapS = WrapClamp;
    s.wrapT = WrapClampToBorder;
    s.reserved = 9;
    s.enabled = true;
}

const char* const TexturingDefaults = "(1, 0, 0, 0, 0, false, false, false)";

std::string Call(const char* name, const char* fields)
{
    return std::string(name) + fields;
}

std::vector<std::pair<std::string, StateCase>> AllStates()
{
    return {
        {"SetMaterial",
         {[]
          {
              return Core::RefPtr<State>(new Material(Math::Vector4(1, 2, 3, 4), Math::Vector4(5, 6, 7, 8),
                                                      Math::Vector4(9, 10, 11, 12),
                                                      Math::Vector4(13, 14, 15, 16), 17));
          },
          Change<Material>([](Material& s) { s.shininess = 3; }),
          "((0.2, 0.2, 0.2, 1), (0, 0, 0, 1), (0, 0, 0, 1), (0, 0, 0, 1), 0)", false}},
        {"SetNormalizeNormals",
         {Make<NormalizeNormalsState>, Change<NormalizeNormalsState>([](auto& s) { s.enabled = true; }),
          "(false)"}},
        {"SetLighting",
         {Make<LightingState>,
          Change<LightingState>(
              [](auto& s)
              {
                  s.ambient = Math::Vector4(1, 0, 0, 0.5f);
                  s.localViewer = false;
                  s.enabled = true;
              }),
          "((0.2, 0.2, 0.2, 1), true, false)"}},
        {"SetTextureUnit7",
         {Make<TextureUnit7State>, Change<TexturingState>(ChangeTexturing), TexturingDefaults}},
        {"SetTextureUnit6",
         {Make<TextureUnit6State>, Change<TexturingState>(ChangeTexturing), TexturingDefaults}},
        {"SetTextureUnit5",
         {Make<TextureUnit5State>, Change<TexturingState>(ChangeTexturing), TexturingDefaults}},
        {"SetTextureUnit4",
         {Make<TextureUnit4State>, Change<TexturingState>(ChangeTexturing), TexturingDefaults}},
        {"SetTextureUnit3",
         {Make<TextureUnit3State>, Change<TexturingState>(ChangeTexturing), TexturingDefaults}},
        {"SetTextureUnit2",
         {Make<TextureUnit2State>, Change<TexturingState>(ChangeTexturing), TexturingDefaults}},
        {"SetTextureUnit1",
         {Make<TextureUnit1State>, Change<TexturingState>(ChangeTexturing), TexturingDefaults}},
        {"SetTextureUnit0",
         {Make<TextureUnit0State>, Change<TexturingState>(ChangeTexturing), TexturingDefaults}},
        {"SetLine", {Make<LineState>, Change<LineState>([](auto& s) { s.width = 3; }), "(1)"}},
        {"SetPoint", {Make<PointState>, Change<PointState>([](auto& s) { s.size = 4; }), "(1)"}},
        {"SetDithering",
         {Make<DitheringState>, Change<DitheringState>([](auto& s) { s.enabled = false; }), "(true)"}},
        {"SetTriangleOffset",
         {Make<TriangleOffsetState>,
          Change<TriangleOffsetState>(
              [](auto& s)
              {
                  s.factor = 1.5f;
                  s.units = 2;
                  s.enabled = true;
              }),
          "(0, 0, false)"}},
        {"SetStencilBuffer",
         {Make<StencilBufferState>,
          Change<StencilBufferState>(
              [](auto& s)
              {
                  s.function = CompareEqual;
                  s.failOperation = StencilZero;
                  s.depthFailOperation = StencilReplace;
                  s.passOperation = StencilInvert;
                  s.reference = -3;
                  s.compareMask = 0xF0;
                  s.writeMask = 0x0F;
                  s.enabled = true;
              }),
          "(7, 0, 0, 0, 0, 4294967295, 4294967295, false)"}},
        {"SetDepthBuffer",
         {Make<DepthBufferState>,
          Change<DepthBufferState>(
              [](auto& s)
              {
                  s.function = CompareGreater;
                  s.testEnabled = false;
                  s.writeEnabled = false;
              }),
          "(1, true, true)"}},
        {"SetShading",
         {Make<ShadingState>, Change<ShadingState>([](auto& s) { s.model = ShadingFlat; }), "(1)"}},
        {"SetFilling",
         {Make<FillingState>, Change<FillingState>([](auto& s) { s.mode = FillLines; }), "(2)"}},
        {"SetFog",
         {Make<FogState>,
          Change<FogState>(
              [](auto& s)
              {
                  s.mode = FogExponential;
                  s.start = 5;
                  s.end = 50;
                  s.density = 0.25f;
                  s.enabled = true;
              }),
          "(0, (1, 1, 1, 1), 0, 100, 0, false)"}},
        {"SetCulling",
         {Make<CullingState>,
          Change<CullingState>(
              [](auto& s)
              {
                  s.face = CullFront;
                  s.enabled = false;
              }),
          "(0, true)"}},
        {"SetAlphaTesting",
         {Make<AlphaTestingState>,
          Change<AlphaTestingState>(
              [](auto& s)
              {
                  s.function = CompareNotEqual;
                  s.reference = 0.5f;
                  s.enabled = true;
              }),
          "(7, 0, false)"}},
        {"SetAlphaBlending",
         {Make<AlphaBlendingState>,
          Change<AlphaBlendingState>(
              [](auto& s)
              {
                  s.source = BlendOne;
                  s.destination = BlendOne;
                  s.enabled = true;
              }),
          "(6, 7, false)"}},
        {"SetScissor",
         {Make<ScissorState>,
          Change<ScissorState>(
              [](auto& s)
              {
                  s.x = 1;
                  s.y = 2;
                  s.width = 3;
                  s.height = 4;
                  s.enabled = true;
              }),
          "(0, 0, 640, 480, false)"}},
        {"SetColorMask",
         {Make<ColorMaskState>,
          Change<ColorMaskState>(
              [](auto& s)
              {
                  s.red = false;
                  s.alpha = false;
              }),
          "(true, true, true, true)"}},
        {"SetCurrentColor",
         {Make<CurrentColorState>,
          Change<CurrentColorState>([](auto& s) { s.color = Math::Vector4(0.5f, 0, 1, 0); }),
          "((1, 1, 1, 1))"}},
    };
}

TEST(RenderState, DefaultsAndResetFollowTheTableInFieldOrder)
{
    const auto renderer = RendererTest::MakeRenderer();
    for (const auto& [setter, c] : AllStates())
    {
        SCOPED_TRACE(setter);
        const Core::RefPtr<State> state = c.make();
        const std::string defaults = Call(setter.c_str(), c.defaults);
        if (c.madeAtDefaults)
        {
            EXPECT_EQ(AppliedText(*state, *renderer), defaults);
        }
        c.change(*state);
        EXPECT_NE(AppliedText(*state, *renderer), defaults);
        state->Reset();
        EXPECT_EQ(AppliedText(*state, *renderer), defaults);
    }
}

TEST(RenderState, ResetKeepsTheTextureFlagsTheFogColourAndTheBaseWord)
{
    TextureUnit2State unit;
    unit.coordinateGeneration = true;
    unit.oneDimensional = true;
    unit.enabled = true;
    unit.baseWord = 7;
    unit.Reset();
    EXPECT_TRUE(unit.coordinateGeneration);
    EXPECT_TRUE(unit.oneDimensional);
    EXPECT_FALSE(unit.enabled);
    EXPECT_EQ(unit.baseWord, 7u);

    FogState fog;
    fog.color = Math::Vector4(0.1f, 0.2f, 0.3f, 0.4f);
    fog.enabled = true;
    fog.Reset();
    EXPECT_EQ(fog.color.y, 0.2f);
    EXPECT_FALSE(fog.enabled);

    State base;
    base.baseWord = 7;
    base.Reset();
    EXPECT_EQ(base.baseWord, 0u);
}

TEST(RenderState, CloneKeepsTheConcreteTypeEveryFieldAndTheBaseWord)
{
    const auto renderer = RendererTest::MakeRenderer();
    for (const auto& [setter, c] : AllStates())
    {
        SCOPED_TRACE(setter);
        const Core::RefPtr<State> state = c.make();
        c.change(*state);
        state->baseWord = 42;
        const Core::RefPtr<State> clone(state->Clone());
        EXPECT_NE(clone.Get(), state.Get());
        EXPECT_EQ(typeid(*clone), typeid(*state));
        EXPECT_STREQ(clone->GetClassName(), state->GetClassName());
        EXPECT_EQ(clone->baseWord, 42u);
        EXPECT_EQ(AppliedText(*clone, *renderer), AppliedText(*state, *renderer));
    }
}

TEST(RenderState, CaptureThenApplyLeavesEverySettingUnchanged)
{
    const auto renderer = RendererTest::MakeRenderer();
    // Move every setting away from its default first.
    std::vector<std::string> changed;
    for (const auto& [setter, c] : AllStates())
    {
        const Core::RefPtr<State> state = c.make();
        c.change(*state);
        changed.push_back(AppliedText(*state, *renderer));
    }
    const std::string before = renderer->DescribeStates();

    std::size_t i = 0;
    for (const auto& [setter, c] : AllStates())
    {
        SCOPED_TRACE(setter);
        const Core::RefPtr<State> state = c.make();
        state->Capture(*renderer);
        EXPECT_EQ(AppliedText(*state, *renderer), changed[i++]);
    }
    EXPECT_EQ(renderer->DescribeStates(), before);
}

TEST(RenderState, CurrentColourTravelsAsTheColourItself)
{
    const auto renderer = RendererTest::MakeRenderer();
    CurrentColorState state;
    state.color = Math::Vector4(0.25f, 0.5f, 0.75f, 1);
    state.Apply(*renderer);
    EXPECT_EQ(renderer->GetCalls().back().ToString(), "SetCurrentColor((0.25, 0.5, 0.75, 1))");

    renderer->SetCurrentColor(Math::Vector4(1, 0, 0, 0.5f));
    state.Capture(*renderer);
    EXPECT_EQ(renderer->GetCalls().back().name, "GetCurrentColor");
    EXPECT_EQ(state.color.x, 1.0f);
    EXPECT_EQ(state.color.w, 0.5f);
}

} // namespace
